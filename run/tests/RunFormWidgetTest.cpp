#include "RunForm.h"
#include "ScriptedUi.h"
#include "TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace rillo::run {
namespace {

using testing::deckText;
using testing::TempFolder;
using testing::writeFile;

QAction* action(QWidget& form, const char* name) { return form.findChild<QAction*>(name); }

TEST(RunFormWindow, ShowsTheCaptionsAndMirrorsTheLogic) {
    TempFolder decks, app;
    writeFile(decks.file("basin.sin"), deckText('0'));
    rillo::testing::ScriptedUi ui;
    ComponentRegistry registry;
    RunForm form(ui, registry, QString::fromStdString(app.folder()));

    EXPECT_EQ(form.windowTitle(), "Rillo2000 Input/Output File Entry Form");
    EXPECT_EQ(form.cmdLook->text(), " &KORVA Input File:");
    EXPECT_EQ(form.cmdRun->toolTip(), "Execute Rillo95b");
    EXPECT_EQ(form.findChild<QLabel*>("Label1")->text(),
              "Enter Output File Names as appropriate without extensions.                               "
              "(Extensions are assigned automaticaly)");
    ASSERT_NE(action(form, "mnuFileExit"), nullptr);
    ASSERT_NE(action(form, "mnuOptionClear"), nullptr);
    ASSERT_NE(action(form, "mnuAbout"), nullptr);

    EXPECT_TRUE(form.cmdBrowse->isEnabled());
    EXPECT_FALSE(form.cmdLook->isEnabled());
    EXPECT_FALSE(form.cmdRun->isEnabled());
    EXPECT_TRUE(form.lblInput->isHidden());

    form.show();
    ui.fileName(decks.file("basin.sin"));
    QTest::mouseClick(form.cmdBrowse, Qt::LeftButton);
    EXPECT_EQ(form.windowTitle(), "RILLO Run Modual File: basin.sin");
    EXPECT_FALSE(form.cmdBrowse->isEnabled());
    EXPECT_TRUE(form.cmdRun->isEnabled());
    EXPECT_FALSE(form.lblInput->isHidden());
    EXPECT_EQ(form.lblInput->text(), "basin.sin");

    QTest::keyClicks(form.txtOut, "main");
    EXPECT_EQ(form.logic().state().txtOut.text, "main");

    action(form, "mnuOptionClear")->trigger();
    EXPECT_EQ(form.txtOut->text(), "");
    EXPECT_TRUE(form.cmdLook->isEnabled());
    EXPECT_TRUE(form.lblInput->isHidden());

    int aboutShown = 0;
    form.logic().setAboutHook([&aboutShown] { ++aboutShown; });
    action(form, "mnuAbout")->trigger();
    EXPECT_EQ(aboutShown, 1);

    action(form, "mnuFileExit")->trigger();
    EXPECT_FALSE(form.isVisible());
}

TEST(RunFormWindow, TheTextBoxesStayInPlaceWhenTheFileLabelsAppear) {
    TempFolder decks, app;
    writeFile(decks.file("basin.sin"), deckText('1'));  // asks for a hydrograph file too
    writeFile(decks.file("storm.kvd"), "hydrographs\n");
    rillo::testing::ScriptedUi ui;
    ComponentRegistry registry;
    RunForm form(ui, registry, QString::fromStdString(app.folder()));
    form.show();
    QCoreApplication::processEvents();
    const auto places = [&] {
        std::vector<QRect> rects;
        for (QWidget* w : {static_cast<QWidget*>(form.txtOut), static_cast<QWidget*>(form.txtPeak),
                           static_cast<QWidget*>(form.txtSwm), static_cast<QWidget*>(form.cmdBrowse),
                           static_cast<QWidget*>(form.cmdLook)})
            rects.push_back(QRect(w->mapTo(&form, QPoint(0, 0)), w->size()));
        return rects;
    };
    const std::vector<QRect> before = places();

    ui.fileName(decks.file("basin.sin"));
    QTest::mouseClick(form.cmdBrowse, Qt::LeftButton);
    ASSERT_TRUE(form.label5->isVisible());
    QCoreApplication::processEvents();
    EXPECT_EQ(places(), before);

    ui.fileName(decks.file("storm.kvd"));
    QTest::mouseClick(form.cmdLook, Qt::LeftButton);
    ASSERT_TRUE(form.label6->isVisible());
    QCoreApplication::processEvents();
    EXPECT_EQ(places(), before);
}

}  // namespace
}  // namespace rillo::run

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
