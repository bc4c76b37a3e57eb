#include "CardEditor.h"
#include "CoverWindow.h"
#include "MainWindow.h"
#include "ScriptedUi.h"
#include "WindowPlacement.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

using namespace rillo;
using namespace rillo::shell;
using rillo::testing::ScriptedUi;

namespace {

const char* const AskSave = "Rillo 2000|None|Do you Want to Save?|YesNo -> No";

std::string& stored(ScriptedUi& ui, const char* key) { return ui.settings[{"Rillo2000", "Startup", key}]; }

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(appFolder.isValid());
        templateFile = appFolder.filePath(QStringLiteral("blank.sin"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(RILLO_TEMPLATE), templateFile));
        window = std::make_unique<MainWindow>(&ui);
        window->setApplicationFolder(appFolder.path());
    }

    /// Loads and shows the window as the start-up sequence does.
    void start() {
        window->restorePlacement();
        window->show();
        window->loadCover();
    }

    bool shown(const char* item) const { return window->menuItem(QLatin1String(item))->isVisible(); }
    /// Positions 1 to 8 of the toolbar that are visible.
    std::vector<int> toolbarShown() const {
        std::vector<int> visible;
        for (int position = 1; position <= 8; ++position)
            if (window->toolbarButton(position)->isVisible()) visible.push_back(position);
        return visible;
    }
    void expectNoDeckState() const {
        EXPECT_TRUE(shown("mnuFileNew") && shown("mnuFileOpen") && shown("mnuFileRun"));
        EXPECT_FALSE(shown("mnuFileBar0") || shown("mnuFileSave"));
        EXPECT_FALSE(window->editMenu()->menuAction()->isVisible());
        EXPECT_EQ(toolbarShown(), (std::vector<int>{1, 2}));
        expectAlwaysShown();
    }
    void expectDeckOpenState() const {
        EXPECT_FALSE(shown("mnuFileNew") || shown("mnuFileOpen") || shown("mnuFileRun"));
        EXPECT_TRUE(shown("mnuFileBar0") && shown("mnuFileSave"));
        EXPECT_TRUE(window->editMenu()->menuAction()->isVisible());
        EXPECT_EQ(toolbarShown(), (std::vector<int>{3, 6, 7, 8}));
        expectAlwaysShown();
    }
    void expectAlwaysShown() const {
        EXPECT_TRUE(shown("mnuFileClose") && shown("mnuFileExit"));
        EXPECT_TRUE(window->menuItem(QStringLiteral("mnuViewToolbar"))->isVisible());
        EXPECT_TRUE(window->menuItem(QStringLiteral("mnuHelpAbout"))->isVisible());
    }

    ScriptedUi ui;
    QTemporaryDir appFolder;
    QString templateFile;
    std::unique_ptr<MainWindow> window;
};

}  // namespace

TEST_F(MainWindowTest, MenusInOrderWithTheirAccessKeysAndShortcuts) {
    QStringList bar;
    for (QAction* menu : window->menuBar()->actions()) bar << menu->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&Edit", "&View", "&Help"}));
    QStringList file;
    for (QAction* item : window->fileMenu()->actions()) file << (item->isSeparator() ? "-" : item->text());
    EXPECT_EQ(file, (QStringList{"&New", "&Open...", "&Close", "&Run Rillo2000", "-", "&Save", "-", "E&xit"}));
    EXPECT_EQ(window->menuItem("mnuFileNew")->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(window->menuItem("mnuEditPaste")->shortcut(), QKeySequence("Ctrl+V"));
    EXPECT_EQ(window->menuItem("mnuHelpAbout")->text(), "&About ");
    EXPECT_EQ(window->toolbarButton(7)->toolTip(), "Copy");
    EXPECT_TRUE(window->toolbarButton(4)->isSeparator() && window->toolbarButton(5)->isSeparator());
}

TEST_F(MainWindowTest, StartWindowAndEditorEachSetTheirMenuAndToolbarState) {
    start();
    EXPECT_EQ(window->activeChild(), window->cover());
    expectNoDeckState();

    window->fileNew();
    ASSERT_NE(window->editorWindow(), nullptr);
    EXPECT_EQ(window->activeChild(), window->editorWindow());
    EXPECT_TRUE(window->cover()->isHidden() || !window->cover()->isVisibleTo(window.get()));
    EXPECT_TRUE(window->isEditorActive());
    expectDeckOpenState();

    window->deck().setText(Field::Title, "Mill Creek");
    ui.no();
    window->fileClose();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{AskSave});
    EXPECT_EQ(window->editorWindow(), nullptr);
    EXPECT_EQ(window->activeChild(), window->cover());
    EXPECT_TRUE(window->cover()->isVisible());
    expectNoDeckState();
    EXPECT_EQ(ui.pointer, Pointer::Normal);
}

TEST_F(MainWindowTest, HiddenEditMenuTakesNoShortcuts) {
    start();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ui.clipboard = "from another program";
    for (const auto key : {Qt::Key_C, Qt::Key_X, Qt::Key_V}) QTest::keyClick(window.get(), key, Qt::ControlModifier);
    EXPECT_EQ(ui.clipboard, "from another program");

    window->fileNew();
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ui.clipboard, "") << "Copy clears the clipboard while the Edit menu is shown";
}

TEST_F(MainWindowTest, CloseOnTheStartWindowDoesNothing) {
    start();
    window->fileClose();
    EXPECT_TRUE(ui.dialogue().empty());
    EXPECT_EQ(window->editorWindow(), nullptr);
    EXPECT_TRUE(window->cover()->isVisible());
    expectNoDeckState();
}

TEST_F(MainWindowTest, NewClearsTheDialogFileNameAndOpensTheTemplate) {
    start();
    ui.dialogFileName() = "/decks/previous.sin";
    window->fileNew();
    EXPECT_EQ(ui.dialogFileName(), "");
    ASSERT_NE(window->editorWindow(), nullptr);
    EXPECT_EQ(window->editorWindow()->windowTitle(), MainWindow::newDeckCaption) << "not the template's own path";
    EXPECT_TRUE(ui.dialogue().empty());

    // The save dialog then starts with an empty file name.
    ui.fileCancel();
    window->fileSave();
    EXPECT_EQ(ui.lastFileRequest().fileName, "");
    EXPECT_EQ(window->lastSave(), SaveResult::Cancelled);
}

TEST_F(MainWindowTest, TheKeyboardGoesWithTheOpenedDeckToItsOptionAndEnterChoosesIt) {
    start();
    QApplication::setActiveWindow(window.get());
    window->cover()->button(QStringLiteral("cmdNew"))->setFocus();
    window->fileNew();
    ASSERT_NE(window->editorWindow(), nullptr);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->objectName(), "optIopt0");
    QTest::keyClick(focus, Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    auto* tabs = window->editorWindow()->findChild<QTabWidget*>("SSTab1");
    EXPECT_EQ(tabs->currentIndex(), 1);

    // In a grid Tab moves the caret; Ctrl+Shift+Tab takes the keyboard back
    // out, even inside the frame that switches its windows with Ctrl+Tab.
    tabs->setCurrentIndex(3);
    QWidget* grid = window->editorWindow()->findChild<QWidget*>("fpCard15");
    grid->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), grid);
    QTest::keyClick(grid, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NE(QApplication::focusWidget(), grid);
    EXPECT_TRUE(QApplication::focusWidget() && tabs->isAncestorOf(QApplication::focusWidget()));
}

TEST_F(MainWindowTest, NewWithoutItsTemplateReportsAndStaysOnTheStartWindow) {
    start();
    ASSERT_TRUE(QFile::remove(templateFile));
    window->fileNew();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("Rillo2000|None|Error reading the file. Please check the file for data validity.\n", 0), 0u);
    EXPECT_NE(ui.messages()[0].find("blank.sin does not exist."), std::string::npos);
    EXPECT_EQ(window->activeChild(), window->cover());
    expectNoDeckState();
}

TEST_F(MainWindowTest, AFailedOpenLeavesNoDeckForTheNextOpenOrForExit) {
    start();
    // A template that ends inside card 1.5 after two subcatchments.
    QFile bad(templateFile);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write("   2   1   1   2\r\n   3   4\r\nWATERSHED   0\r\nT\r\n\r\n"
              "      100  0 0  5.0    0   10                                                  0\r\n"
              "    0    5\r\n    1    1    7\r\n    1    2    7\r\n");
    bad.close();
    window->fileNew();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(window->editorWindow(), nullptr);
    window->fileExit();  // asks nothing about a deck the user never saw
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, ToolbarButtonsRunTheirMenuCommands) {
    start();
    ui.fileCancel();
    QTest::mouseClick(window->toolBar()->widgetForAction(window->toolbarButton(2)), Qt::LeftButton);  // "Open"
    ASSERT_EQ(ui.dialogue().size(), 1u);
    EXPECT_EQ(ui.dialogue()[0], "open: Open Files -> (cancel)");

    // The two separators have no command.
    window->toolbarButton(4)->trigger();
    window->toolbarButton(5)->trigger();
    EXPECT_EQ(ui.dialogue().size(), 1u);
    EXPECT_EQ(window->editorWindow(), nullptr);
}

TEST_F(MainWindowTest, StatusBarItemHidesAndShowsTheStatusBarWithTheProgressContainer) {
    start();
    QAction* item = window->menuItem(QStringLiteral("mnuViewStatusBar"));
    ASSERT_TRUE(item->isChecked());
    EXPECT_TRUE(window->statusContainer()->isVisible());
    EXPECT_TRUE(window->statusBarPanels()->isVisible());
    EXPECT_EQ(window->progressBar()->parentWidget(), window->statusContainer());

    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(window->statusContainer()->isVisible());
    EXPECT_TRUE(window->statusBarPanels()->isHidden());

    item->trigger();
    EXPECT_TRUE(window->statusContainer()->isVisible());
    EXPECT_TRUE(window->statusBarPanels()->isVisible());

    QAction* toolbar = window->menuItem(QStringLiteral("mnuViewToolbar"));
    toolbar->trigger();
    EXPECT_FALSE(window->toolBar()->isVisible());
    toolbar->trigger();
    EXPECT_TRUE(window->toolBar()->isVisible());
}

TEST_F(MainWindowTest, StatusPanelsAndProgressBarPlacement) {
    start();
    const auto panels = window->statusBarPanels()->findChildren<QLabel*>();
    ASSERT_GE(panels.size(), 3);
    EXPECT_EQ(window->statusBarPanels()->findChild<QLabel*>("pnlStatus")->text(), "Status");
    EXPECT_FALSE(window->statusBarPanels()->findChild<QLabel*>("pnlDate")->text().isEmpty());
    EXPECT_FALSE(window->statusBarPanels()->findChild<QLabel*>("pnlTime")->text().isEmpty());

    const double dpiX = window->logicalDpiX(), dpiY = window->logicalDpiY();
    const QRect bar = window->progressBar()->geometry();
    EXPECT_EQ(bar.left(), twipsToPixels(960, dpiX));
    EXPECT_EQ(bar.width(), twipsToPixels(4215, dpiX));
    EXPECT_EQ(bar.height(), twipsToPixels(307.5, dpiY));
    EXPECT_EQ(window->statusContainer()->height(), twipsToPixels(360, dpiY));
    EXPECT_FALSE(window->progressBar()->isVisible());
}

TEST_F(MainWindowTest, FirstStartWithEmptySettingsIsTopLeftAnd1500TwipsSmallerThanTheScreen) {
    start();
    const QScreen* screen = window->screen();
    const double dpiX = window->logicalDpiX(), dpiY = window->logicalDpiY();
    const QRect outer = window->frameGeometry();
    EXPECT_EQ(outer.topLeft(), QPoint(0, 0));
    EXPECT_EQ(outer.width(), twipsToPixels(pixelsToTwips(screen->geometry().width(), dpiX) - 1500, dpiX));
    EXPECT_EQ(outer.height(), twipsToPixels(pixelsToTwips(screen->geometry().height(), dpiY) - 1500, dpiY));
}

TEST_F(MainWindowTest, PlacementIsRestoredAndWrittenBackOnExit) {
    const double dpiX = window->logicalDpiX(), dpiY = window->logicalDpiY();
    stored(ui, "Left") = singleText(pixelsToTwips(40, dpiX));
    stored(ui, "Top") = singleText(pixelsToTwips(30, dpiY));
    stored(ui, "Width") = singleText(pixelsToTwips(500, dpiX));
    stored(ui, "Height") = singleText(pixelsToTwips(400, dpiY));
    start();
    EXPECT_EQ(window->frameGeometry(), QRect(40, 30, 500, 400));

    window->move(60, 50);
    window->resize(520, 410);
    window->close();
    EXPECT_EQ(stored(ui, "Left"), singleText(pixelsToTwips(window->frameGeometry().left(), dpiX)));
    EXPECT_EQ(stored(ui, "Width"), singleText(pixelsToTwips(window->frameGeometry().width(), dpiX)));
    EXPECT_EQ(stored(ui, "Height"), singleText(pixelsToTwips(window->frameGeometry().height(), dpiY)));
}

TEST_F(MainWindowTest, StartWindowFillsTheFrameAfterTheWindowShrinks) {
    // A window manager frames the window after it is shown and the placement
    // then shrinks it to the stored outer size: the start window must follow
    // without scroll bars.
    start();
    window->resize(1200, 900);
    QTest::qWait(10);
    window->resize(1100, 840);
    QTest::qWait(10);
    auto* mdi = window->findChild<QMdiArea*>(QStringLiteral("mdiArea"));
    ASSERT_NE(mdi, nullptr);
    auto* coverFrame = window->findChild<QMdiSubWindow*>(QStringLiteral("coverFrame"));
    ASSERT_NE(coverFrame, nullptr);
    EXPECT_EQ(coverFrame->geometry(), mdi->viewport()->rect());
    EXPECT_FALSE(mdi->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(mdi->verticalScrollBar()->isVisible());
}

TEST_F(MainWindowTest, ExitWhileMaximizedLeavesTheStoredPlacementUntouched) {
    stored(ui, "Left") = "1500";
    stored(ui, "Top") = "750";
    stored(ui, "Width") = "6000";
    stored(ui, "Height") = "4500";
    start();
    window->showMaximized();
    QTest::qWait(10);
    ASSERT_TRUE(window->windowState() & Qt::WindowMaximized);
    window->fileExit();
    EXPECT_EQ(stored(ui, "Left"), "1500");
    EXPECT_EQ(stored(ui, "Top"), "750");
    EXPECT_EQ(stored(ui, "Width"), "6000");
    EXPECT_EQ(stored(ui, "Height"), "4500");
}

TEST_F(MainWindowTest, ExitWithADeckOpenClosesTheEditorByItsRules) {
    start();
    window->fileNew();
    window->deck().setText(Field::Title, "Mill Creek");
    ui.no();
    window->fileExit();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{AskSave});
    EXPECT_EQ(window->editorWindow(), nullptr);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, AYesToSavingThatDoesNotSaveKeepsTheDeckAndTheProgramOpen) {
    start();
    window->fileNew();
    window->deck().setText(Field::Title, "Mill Creek");

    // Close: Yes, then the save dialog is cancelled.
    ui.yes().fileCancel();
    window->fileClose();
    EXPECT_EQ(ui.dialogue(), (std::vector<std::string>{"Rillo 2000|None|Do you Want to Save?|YesNo -> Yes",
                                                       "save: Save Rillo File -> (cancel)"}));
    ASSERT_NE(window->editorWindow(), nullptr);
    EXPECT_EQ(window->activeChild(), window->editorWindow());
    EXPECT_FALSE(window->cover()->isVisible());
    expectDeckOpenState();
    EXPECT_EQ(window->deck().text(Field::Title), "Mill Creek");

    // Exit: Yes, then the deck's checks refuse it (card 1.2 is empty).
    ui.clearDialogue();
    const QString path = appFolder.filePath(QStringLiteral("mill.sin"));
    ui.yes().fileName(path.toStdString());
    window->fileExit();
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"Rillo 2000|None|Do you Want to Save?|YesNo -> Yes",
                                        "Rillo 2000|Exclamation|File Save was Unsuccessful|OK",
                                        "Rillo 2000|None|Check for input on card 1.2 to 1.3|OK"}));
    EXPECT_TRUE(window->isVisible());
    ASSERT_NE(window->editorWindow(), nullptr);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(window->deck().modified());

    // Close: Yes, and this time the save happens; the start window is back.
    for (Field f : {Field::Steps, Field::TimeStep, Field::Hyetographs, Field::HyetographPoints, Field::HyetographInterval})
        window->deck().setText(f, "1");
    ui.clearDialogue();
    ui.yes().fileName(path.toStdString()).no();
    window->fileClose();
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Rillo 2000|None|Do you Want to Save?|YesNo -> Yes",
                                                       "Rillo 2000|None|Save Complete!|OK",
                                                       "Rillo 2000|None|Finished with this File?|YesNo -> No"}));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(window->editorWindow(), nullptr);
    EXPECT_TRUE(window->cover()->isVisible());
    expectNoDeckState();
}

TEST_F(MainWindowTest, TheEditorsTitleNamesTheFileTheDeckWasLastSavedTo) {
    start();
    window->fileNew();
    for (Field f : {Field::Steps, Field::TimeStep, Field::Hyetographs, Field::HyetographPoints, Field::HyetographInterval})
        window->deck().setText(f, "1");
    const QString first = appFolder.filePath(QStringLiteral("first.sin"));
    ui.fileName(first.toStdString()).no();
    window->fileSave();
    ASSERT_NE(window->editorWindow(), nullptr);
    EXPECT_EQ(window->editorWindow()->windowTitle(), first);

    // Saved again under another name: the title follows.
    const QString second = appFolder.filePath(QStringLiteral("second.sin"));
    ui.dialogFileName() = second.toStdString();
    ui.fileName(second.toStdString()).no();
    window->fileSave();
    EXPECT_EQ(window->editorWindow()->windowTitle(), second);

    // A save that does not happen leaves it.
    ui.fileCancel();
    window->fileSave();
    EXPECT_EQ(window->editorWindow()->windowTitle(), second);
}

TEST_F(MainWindowTest, EditCommandsActOnTheFocusedTextBox) {
    start();
    QWidget other;
    auto* box = new QLineEdit(QStringLiteral("12.5 cfs"), &other);
    other.show();
    QApplication::setActiveWindow(&other);
    box->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), box);
    box->setSelection(0, 4);

    window->editCopy();
    EXPECT_EQ(ui.clipboard, "12.5");
    window->editCut();
    EXPECT_EQ(box->text(), QStringLiteral(" cfs"));
    box->setCursorPosition(4);
    window->toolbarButton(8)->trigger();  // "Paste"
    EXPECT_EQ(box->text(), QStringLiteral(" cfs12.5"));
}

// ---------------------------------------------------------------------------
// The deck's modified flag through the windows: the closing question and
// the title read it, and only a change, a save or an open moves it.

namespace {

/// The title the window system shows for the editor's frame.
QString shownFrameTitle(MainWindow& window) {
    auto* frame = window.findChild<QMdiSubWindow*>(QStringLiteral("editorFrame"));
    if (!frame) return {};
    QString title = frame->windowTitle();
    title.replace(QLatin1String("[*]"), frame->isWindowModified() ? QLatin1String("*") : QLatin1String(""));
    return title;
}

}  // namespace

TEST_F(MainWindowTest, AnUneditedDeckClosesWithoutAskingAndTheTitleMarksEdits) {
    start();
    const QString basin = appFolder.filePath(QStringLiteral("basin.sin"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(RILLO_EXAMPLES_DIR "/basin.sin"), basin));
    ui.fileName(basin.toStdString());
    window->fileOpen();
    ASSERT_NE(window->editorWindow(), nullptr);
    EXPECT_FALSE(window->deck().modified());
    EXPECT_EQ(shownFrameTitle(*window).toStdString(), basin.toStdString());
    window->editorWindow()->activate();  // as every return to the editor does
    EXPECT_FALSE(window->deck().modified());

    window->deck().card15().setValue(Card15::Area, 2, "13.5");
    EXPECT_EQ(shownFrameTitle(*window).toStdString(), basin.toStdString() + "*");

    // Saved (element 105 drains to no element: Yes, go on): the mark goes,
    // and closing has nothing to ask.
    ui.fileName(basin.toStdString()).yes().no();
    window->fileSave();
    EXPECT_EQ(window->lastSave(), SaveResult::Saved) << window->lastSave().describe();
    EXPECT_EQ(shownFrameTitle(*window).toStdString(), basin.toStdString());
    ui.clearDialogue();
    window->fileClose();
    EXPECT_TRUE(ui.dialogue().empty()) << ::testing::PrintToString(ui.dialogue());
    EXPECT_EQ(window->editorWindow(), nullptr);
    EXPECT_TRUE(window->cover()->isVisible());

    // The next deck opened starts clean, though the last one was edited and not saved.
    ui.fileName(basin.toStdString());
    window->fileOpen();
    window->deck().setText(Field::Title, "Changed, then dropped");
    ui.no();
    window->fileClose();
    ui.fileName(basin.toStdString());
    window->fileOpen();
    EXPECT_FALSE(window->deck().modified());
    EXPECT_EQ(shownFrameTitle(*window).toStdString(), basin.toStdString());
}

TEST_F(MainWindowTest, YesToFinishedAfterASaveGoesToTheStartWindowWithoutAskingToSave) {
    start();
    window->fileNew();
    for (Field f : {Field::Steps, Field::TimeStep, Field::Hyetographs, Field::HyetographPoints, Field::HyetographInterval})
        window->deck().setText(f, "1");
    const QString path = appFolder.filePath(QStringLiteral("done.sin"));

    // The editor is activated again while the questions close (what a
    // window system may do as each message box goes): that is no edit.
    QPointer<CardEditor> editor = window->editorWindow();
    ui.afterMessage = [editor](const std::string&) {
        if (editor) editor->activate();
    };
    ui.fileName(path.toStdString()).yes();
    window->fileSave();
    ui.afterMessage = nullptr;
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Rillo 2000|None|Save Complete!|OK",
                                                       "Rillo 2000|None|Finished with this File?|YesNo -> Yes"}));
    EXPECT_TRUE(window->lastSave().finished);
    EXPECT_EQ(window->editorWindow(), nullptr);
    EXPECT_TRUE(window->cover()->isVisible());
    expectNoDeckState();
}

namespace {

/// Modal message boxes that take the activation from the editor's child
/// window as they open and give it back as they close, as the child window
/// sees it on Windows (X11 window managers give it back later, after the
/// dialogue is over).
class BoxesOverTheWindow : public ScriptedUi {
public:
    MainWindow* owner = nullptr;

protected:
    Answer showMessage(const Message& message) override {
        QWidget* child = owner && owner->editorWindow() ? owner->editorWindow()->parentWidget() : nullptr;
        QWidget box;
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
        if (child) QApplication::sendEvent(child, &deactivate);
        const Answer answer = ScriptedUi::showMessage(message);
        if (child) QApplication::sendEvent(child, &activate);
        box.hide();
        return answer;
    }
};

}  // namespace

TEST(MainWindowActivation, TheSavesOwnMessageBoxesDoNotMakeTheEditorAskToSaveAgain) {
    QTemporaryDir appFolder;
    ASSERT_TRUE(QFile::copy(QStringLiteral(RILLO_TEMPLATE), appFolder.filePath(QStringLiteral("blank.sin"))));
    BoxesOverTheWindow ui;
    MainWindow window(&ui);
    ui.owner = &window;
    window.setApplicationFolder(appFolder.path());
    window.restorePlacement();
    window.show();
    window.loadCover();
    QApplication::setActiveWindow(&window);
    window.fileNew();
    for (Field f : {Field::Steps, Field::TimeStep, Field::Hyetographs, Field::HyetographPoints, Field::HyetographInterval})
        window.deck().setText(f, "1");
    ASSERT_TRUE(window.deck().modified());

    // "Save Complete!", then Yes to "Finished with this File?": the start
    // window is back, without "Do you Want to Save?" in between.
    const QString path = appFolder.filePath(QStringLiteral("mill.sin"));
    ui.fileName(path.toStdString()).yes();
    window.fileSave();
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Rillo 2000|None|Save Complete!|OK",
                                                       "Rillo 2000|None|Finished with this File?|YesNo -> Yes"}));
    EXPECT_EQ(window.editorWindow(), nullptr);
    EXPECT_TRUE(window.cover()->isVisible());
}
