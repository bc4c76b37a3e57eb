#include "AppPaths.h"
#include "ScriptedUi.h"
#include "WindowPlacement.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace rillo;
using namespace rillo::shell;
using rillo::testing::ScriptedUi;

namespace {

const TwipRect desktop{0, 0, 12000, 9000};

void store(ScriptedUi& ui, const char* key, const std::string& value) {
    ui.settings[{"Rillo2000", "Startup", key}] = value;
}

}  // namespace

TEST(Placement, EmptySettingsGiveTopLeftAndScreenLess1500) {
    ScriptedUi ui;
    EXPECT_EQ(loadPlacement(ui, 12000, 9000, desktop), (TwipRect{0, 0, 10500, 7500}));
}

TEST(Placement, StoredValuesAreUsedAndOddOnesFallBack) {
    ScriptedUi ui;
    store(ui, "Left", "300");
    store(ui, "Top", "450.5");
    store(ui, "Width", "6000");
    store(ui, "Height", "4500");
    EXPECT_EQ(loadPlacement(ui, 12000, 9000, desktop), (TwipRect{300, 450.5, 6000, 4500}));

    // Text that is no number takes that key's default.
    store(ui, "Left", "left edge");
    EXPECT_EQ(loadPlacement(ui, 12000, 9000, desktop), (TwipRect{0, 450.5, 6000, 4500}));

    // A window with no size could never be seen again: the default size.
    store(ui, "Width", "0");
    EXPECT_EQ(loadPlacement(ui, 12000, 9000, desktop), (TwipRect{0, 450.5, 10500, 7500}));

    // Wholly off the desktop (a screen that is gone): the defaults.
    store(ui, "Width", "6000");
    store(ui, "Left", "50000");
    EXPECT_EQ(loadPlacement(ui, 12000, 9000, desktop), (TwipRect{0, 0, 10500, 7500}));
}

TEST(Placement, SavedAsSinglePrecisionDecimalTextAndReadBack) {
    ScriptedUi ui;
    savePlacement(ui, {15, 7.5, 10500, 7499.25});
    EXPECT_EQ(ui.settings[std::make_tuple(std::string("Rillo2000"), std::string("Startup"), std::string("Left"))], "15");
    EXPECT_EQ(ui.settings[std::make_tuple(std::string("Rillo2000"), std::string("Startup"), std::string("Top"))], "7.5");
    EXPECT_EQ(singleText(1.0 / 3), "0.33333334");
    EXPECT_EQ(singleText(1e7), "10000000");
    EXPECT_EQ(loadPlacement(ui, 12000, 9000, desktop), (TwipRect{15, 7.5, 10500, 7499.25}));
}

TEST(Placement, TwipsAndPixels) {
    EXPECT_DOUBLE_EQ(pixelsToTwips(96, 96), 1440);
    EXPECT_DOUBLE_EQ(pixelsToTwips(10, 120), 120);
    EXPECT_EQ(twipsToPixels(1500, 96), 100);
    EXPECT_EQ(twipsToPixels(307.5, 96), 21);
    EXPECT_EQ(twipsToPixels(pixelsToTwips(333, 144), 144), 333);
}

TEST(Placement, ProgressBarSitsHalfwayOverTheStatusBar) {
    EXPECT_EQ(progressBarPlacement(0, 360), (TwipRect{960, 0, 4215, 307.5}));
    EXPECT_EQ(progressBarPlacement(60, 300), (TwipRect{960, 30, 4215, 277.5}));
}

TEST(TemplatePath, BesideTheProgramFirstThenTheSharedFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QDir dir(root.path());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("bin")) && dir.mkpath(QStringLiteral("share/rillo2000")));
    const QString bin = dir.filePath(QStringLiteral("bin"));
    const QString beside = dir.filePath(QStringLiteral("bin/blank.sin"));
    const QString shared = dir.filePath(QStringLiteral("share/rillo2000/blank.sin"));

    // Neither: the name beside the program, so opening it reports the error.
    EXPECT_EQ(templatePath(bin), beside);

    ASSERT_TRUE(QFile::copy(QStringLiteral(RILLO_TEMPLATE), shared));
    EXPECT_EQ(templatePath(bin), shared);

    ASSERT_TRUE(QFile::copy(QStringLiteral(RILLO_TEMPLATE), beside));
    EXPECT_EQ(templatePath(bin), beside);
}
