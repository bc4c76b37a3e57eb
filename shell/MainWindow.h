#pragma once
// The program's one top-level window: a frame that holds one child window
// at a time (the start window while no deck is open, the card editor while
// one is), with the menus, toolbar, status bar and progress bar, and the
// document commands. It lends the deck procedures its file dialog and
// progress bar through the user-interface services, and remembers its
// placement between runs.

#include "DeckHost.h"
#include "DeckWriter.h"
#include "EditorShell.h"
#include "QtUi.h"

#include <QMainWindow>
#include <QPointer>

#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QProgressBar;
class QStatusBar;
class QTimer;
class QToolBar;

namespace rillo {
class CardEditor;
}

namespace rillo::shell {

class BasicHelpWindow;
class ChildFrame;
class CoverWindow;

class MainWindow : public QMainWindow, public EditorHost, public EditorShell {
    Q_OBJECT
public:
    /// The window reaches the user through `ui` when given (tests script
    /// it), otherwise through its own Qt services.
    explicit MainWindow(UiServices* ui = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// The editor's caption for a deck made by File > New until it is saved.
    static constexpr const char* newDeckCaption = "Untitled";

    /// The folder of the template deck (the program's folder by default).
    void setApplicationFolder(const QString& folder) { applicationFolder_ = folder; }
    const QString& applicationFolder() const { return applicationFolder_; }

    /// Loading: places the progress bar over the status bar and the window
    /// where the settings say.
    void restorePlacement();
    /// Shows the start window as the first child.
    void loadCover();

    // The commands; every one reports its errors in a message box.
    void fileNew();
    void fileOpen();
    /// Opens the deck at `path` as File > Open does once a file is picked
    /// (a deck named on the command line, a double-clicked deck).
    void openDeckFile(const QString& path);
    void fileClose();
    void fileRun();
    void fileSave();
    void fileExit();
    void editCut();
    void editCopy();
    void editPaste();
    void helpBasic();
    void helpAbout();

    /// Menus and toolbar to the no-deck state (the start window was activated).
    void setNoDeckState();

    // EditorHost
    Deck& deck() override;
    void setEditorCaption(const std::string& caption) override;
    void showEditor() override;
    void showPage(int page) override;
    void unloadEditor() override;
    void discardDeck() override;

    // EditorShell
    UiServices& ui() override { return *ui_; }
    void setDeckOpenState() override;
    QMenu* editMenu() override { return mnuEdit_; }
    /// Saves the editor's deck; true when it was written.
    bool saveDeck() override;
    /// What the last save did (tests and the status of a save).
    const SaveResult& lastSave() const { return lastSave_; }
    void showCover() override;
    bool isEditorActive() override;
    QWidget* mainWindow() override { return this; }

    QtUi& qtUi() { return qtUi_; }
    QMenu* fileMenu() const { return mnuFile_; }
    /// A menu item by name ("mnuFileNew", ...).
    QAction* menuItem(const QString& name) const;
    QToolBar* toolBar() const { return tbToolBar_; }
    /// Toolbar button by position, 1 to 8.
    QAction* toolbarButton(int position) const;
    QWidget* statusContainer() const { return picture1_; }
    QStatusBar* statusBarPanels() const { return sbStatusBar_; }
    QProgressBar* progressBar() const { return prgBar_; }
    CoverWindow* cover() const { return cover_; }
    /// The open deck's window, or null.
    CardEditor* editorWindow() const { return editor_; }
    /// The child window the commands act on: the editor when a deck is
    /// open, otherwise the start window.
    QWidget* activeChild() const;
    BasicHelpWindow* helpWindow() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    QAction* addCommand(const QString& name, const QString& caption, void (MainWindow::*handler)(),
                        const QKeySequence& shortcut = {});
    /// A command that the toolbar also shows: `key` is its tool tip and
    /// the key of its image.
    QAction* addCommand(const QString& name, const QString& caption, const QString& key,
                        void (MainWindow::*handler)(), const QKeySequence& shortcut = {});
    /// The menus and toolbar in one state or the other.
    void setDeckShown(bool deckOpen);
    void trap(const std::function<void()>& handler);
    void createEditor();
    void editorClosed();
    void coverActivated();
    void childActivated(QMdiSubWindow* child);
    void fitCover();
    void placeProgressBar();
    /// Moves the window's outer frame to the placement restored on load.
    void applyPlacement();
    /// After the window is shown: waits up to `checksLeft` short intervals
    /// for the window manager's frame, then corrects the placement to it.
    void settlePlacement(int checksLeft);
    static constexpr int PlacementChecks = 40;
    static constexpr int PlacementCheckMs = 50;
    void updateClock();

    QtUi qtUi_;
    UiServices* ui_;
    QString applicationFolder_;

    QMdiArea* mdi_;
    QWidget* picture1_;
    QStatusBar* sbStatusBar_;
    QLabel* statusPanel_;
    QLabel* datePanel_;
    QLabel* timePanel_;
    QProgressBar* prgBar_;
    QTimer* clock_;
    QToolBar* tbToolBar_;

    // One action per command, shared by its menu item and its toolbar button.
    QAction* newAct_ = nullptr;
    QAction* openAct_ = nullptr;
    QAction* closeAct_ = nullptr;
    QAction* runAct_ = nullptr;
    QAction* saveAct_ = nullptr;
    QAction* exitAct_ = nullptr;
    QAction* cutAct_ = nullptr;
    QAction* copyAct_ = nullptr;
    QAction* pasteAct_ = nullptr;
    QAction* viewToolbarAct_ = nullptr;
    QAction* viewStatusBarAct_ = nullptr;
    QAction* helpBasicAct_ = nullptr;
    QAction* helpAboutAct_ = nullptr;
    QAction* fileBar0_ = nullptr;  // the separator above Save

    QMenu* mnuFile_ = nullptr;
    QMenu* mnuEdit_ = nullptr;
    QMenu* mnuView_ = nullptr;
    QMenu* mnuHelp_ = nullptr;

    CoverWindow* cover_ = nullptr;
    ChildFrame* coverFrame_ = nullptr;
    QPointer<ChildFrame> editorFrame_;
    CardEditor* editor_ = nullptr;
    QPointer<BasicHelpWindow> help_;
    /// Results windows of runs: windows of their own that use this window's
    /// user-interface services, so they go when it goes.
    std::vector<QPointer<QWidget>> results_;
    SaveResult lastSave_;
    bool exiting_ = false;
    QRect wantedPlacement_;  // in pixels, until the window is up
};

}  // namespace rillo::shell
