#include "AboutWindow.h"
#include "BasicHelpWindow.h"
#include "CoverWindow.h"
#include "MainWindow.h"
#include "ScriptedUi.h"
#include "SplashWindow.h"
#include "StartUp.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace rillo;
using namespace rillo::shell;
using rillo::testing::ScriptedUi;

TEST(StartWindows, SplashShowsTwoPartVersionAndFiresOnceAfter3000ms) {
    SplashWindow splash;
    EXPECT_EQ(splash.versionLabel()->text(), QStringLiteral("Version 1.4"));
    EXPECT_EQ(splash.productNameLabel()->text(), QStringLiteral("Rillo2000"));
    EXPECT_EQ(splash.findChild<QLabel*>("lblCompany")->text(), QStringLiteral("Nordal District"));
    EXPECT_EQ(splash.timer()->interval(), 3000);
    EXPECT_TRUE(splash.timer()->isSingleShot());
    EXPECT_TRUE(splash.timer()->isActive());
}

TEST(StartWindows, AboutShowsThreePartVersionAndTheDescription) {
    AboutWindow about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Rillo2000"));
    EXPECT_EQ(about.versionLabel()->text(), QStringLiteral("Version 1.4.6"));
    EXPECT_EQ(about.titleLabel()->text(), QStringLiteral("Rillo2000"));
    const QString description = about.descriptionLabel()->text();
    EXPECT_TRUE(description.startsWith("RILLO is a distributed rainfall stormwater runoff model based on EPA SWMM "
                                       "Runoff Block.  It incorporates"));
    EXPECT_TRUE(description.endsWith("KORVA 2000 unit hydrograph model of the Nordal District."));
    EXPECT_EQ(description.count(QStringLiteral(".  ")), 2);
    QSignalSpy accepted(&about, &QDialog::accepted);
    about.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(accepted.count(), 1);
}

TEST(StartWindows, HelpTextsBreakLinesAtEachCarriageReturn) {
    BasicHelpWindow help;
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Basic Help"));
    ASSERT_EQ(help.tabs()->count(), 3);
    EXPECT_EQ(help.tabs()->tabText(2), QStringLiteral("Edit/Save File"));
    const QString first = help.pageLabel(0)->text();
    EXPECT_FALSE(first.contains(QChar(13)));
    EXPECT_EQ(first.count(QLatin1Char('\n')), 3);
    EXPECT_TRUE(first.contains("from scratch.\nThe \"Input Form\""));
    EXPECT_TRUE(first.contains("new RILLO file.\n\nWhen finished"));
    EXPECT_EQ(help.pageLabel(1)->text(), BasicHelpWindow::openFileText());
    EXPECT_TRUE(help.pageLabel(1)->text().contains("the \"Open \" button on the toolbar"));
}

TEST(StartWindows, HelpIsCentredOnTheScreenEachTimeItIsShown) {
    BasicHelpWindow help;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const auto expectCentred = [&] {
        const QRect outer = help.frameGeometry();
        EXPECT_EQ(outer.left(), (screen.width() - outer.width()) / 2);
        EXPECT_EQ(outer.top(), (screen.height() - outer.height()) / 2);
    };
    help.show();
    expectCentred();
    help.move(5, 7);
    help.hide();
    help.show();
    expectCentred();
    help.move(5, 7);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&help, &activate);
    expectCentred();
}

TEST(StartWindows, RightClickOnTheBackgroundPopsUpTheMenuButNotOnAButton) {
    CoverWindow cover;
    QMenu menu;
    menu.addAction(QStringLiteral("&New"));
    cover.setPopupMenu(&menu);
    cover.resize(700, 500);
    cover.show();

    QTest::mouseClick(cover.button(QStringLiteral("cmdOpen")), Qt::RightButton);
    EXPECT_FALSE(menu.isVisible());
    QTest::mouseClick(cover.findChild<QLabel*>("Image6"), Qt::RightButton);
    EXPECT_FALSE(menu.isVisible());

    for (QWidget* target : {static_cast<QWidget*>(&cover), static_cast<QWidget*>(cover.frame()),
                            static_cast<QWidget*>(cover.findChild<QLabel*>("Image1")),
                            static_cast<QWidget*>(cover.findChild<QLabel*>("Image5"))}) {
        QTest::mouseClick(target, Qt::RightButton, {}, QPoint(2, 2));
        EXPECT_TRUE(menu.isVisible()) << target->objectName().toStdString();
        menu.hide();
    }
    // The left button pops nothing up.
    QTest::mouseClick(&cover, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(menu.isVisible());
}

TEST(StartWindows, CoverButtonsCallTheMainWindowsCommands) {
    ScriptedUi ui;
    MainWindow window(&ui);
    window.show();
    window.loadCover();
    CoverWindow* cover = window.cover();
    EXPECT_EQ(cover->button("cmdNew")->text(), QStringLiteral("&Start New File"));

    ui.fileCancel();
    cover->button(QStringLiteral("cmdOpen"))->click();
    ASSERT_EQ(ui.dialogue().size(), 1u);
    EXPECT_EQ(ui.dialogue()[0], "open: Open Files -> (cancel)");

    cover->button(QStringLiteral("cmdHelp"))->click();
    ASSERT_NE(window.helpWindow(), nullptr);
    EXPECT_TRUE(window.helpWindow()->isVisible());

    cover->button(QStringLiteral("cmdExit"))->click();
    EXPECT_FALSE(window.isVisible());
    // Every window of the program closed with it.
    EXPECT_TRUE(window.helpWindow() == nullptr || !window.helpWindow()->isVisible());
}

TEST(StartWindows, StartUpShowsTheSplashThenTheMainWindowWithTheStartWindow) {
    StartUp startUp;
    startUp.begin();
    ASSERT_NE(startUp.splash(), nullptr);
    EXPECT_TRUE(startUp.splash()->isVisible());
    EXPECT_FALSE(startUp.mainWindow()->isVisible());

    startUp.showMainWindow();
    QTest::qWait(10);
    EXPECT_EQ(startUp.splash(), nullptr);
    ASSERT_NE(startUp.mainWindow(), nullptr);
    EXPECT_TRUE(startUp.mainWindow()->isVisible());
    EXPECT_EQ(startUp.mainWindow()->activeChild(), startUp.mainWindow()->cover());
    EXPECT_TRUE(startUp.mainWindow()->cover()->isVisible());

    startUp.mainWindow()->close();
    QTest::qWait(10);
    EXPECT_EQ(startUp.mainWindow(), nullptr);
}

TEST(StartWindows, ADeckNamedAtStartOpensInTheEditorOnceTheMainWindowIsUp) {
    // Any message on the way is answered, and named when the test fails.
    QStringList messages;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&messages] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            messages << box->text();
            box->done(QMessageBox::No);
        }
    });
    answer.start(20);
    StartUp startUp;
    startUp.begin(QStringLiteral(RILLO_EXAMPLES_DIR "/basin.sin"));
    startUp.showMainWindow();
    QTest::qWait(10);
    ASSERT_NE(startUp.mainWindow(), nullptr);
    EXPECT_TRUE(startUp.mainWindow()->isVisible());
    EXPECT_TRUE(startUp.mainWindow()->isEditorActive()) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_NE(startUp.mainWindow()->activeChild(), startUp.mainWindow()->cover());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    startUp.mainWindow()->close();
    QTest::qWait(10);
}
