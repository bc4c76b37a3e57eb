#include "MainWindow.h"

#include "AboutWindow.h"
#include "AppPaths.h"
#include "CardEditor.h"
#include "BasicHelpWindow.h"
#include "ChildFrame.h"
#include "CoverWindow.h"
#include "DeckReader.h"
#include "DeckWriter.h"
#include "EditCommands.h"
#include "Pictures.h"
#include "ResultsWindow.h"
#include "ShowResults.h"
#include "ShowRunForm.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

namespace rillo::shell {

MainWindow::MainWindow(UiServices* ui, QWidget* parent)
    : QMainWindow(parent),
      ui_(ui ? ui : &qtUi_),
      applicationFolder_(QCoreApplication::applicationDirPath()),
      mdi_(new QMdiArea(this)),
      picture1_(new QWidget(this)),
      sbStatusBar_(new QStatusBar(picture1_)),
      statusPanel_(new QLabel(QStringLiteral("Status"), sbStatusBar_)),
      datePanel_(new QLabel(sbStatusBar_)),
      timePanel_(new QLabel(sbStatusBar_)),
      prgBar_(new QProgressBar(picture1_)),
      clock_(new QTimer(this)),
      tbToolBar_(new QToolBar(this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(AppVersion::title));
    setWindowIcon(programIcon());
    // The View menu alone shows and hides the bars.
    setContextMenuPolicy(Qt::NoContextMenu);

    qtUi_.setDialogParent(this);
    qtUi_.setProgressBar(prgBar_);

    mdi_->setObjectName(QStringLiteral("mdiArea"));
    mdi_->setBackground(palette().brush(QPalette::Dark));
    // A child larger than the frame scrolls instead of holding the frame's
    // size up.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The start window follows the viewport, which has its new size only
    // after the frame's own resize event.
    mdi_->viewport()->installEventFilter(this);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &MainWindow::childActivated);

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mdi_, 1);
    layout->addWidget(picture1_);
    setCentralWidget(central);

    cover_ = new CoverWindow;
    cover_->setPopupMenu(mnuFile_);
    connect(cover_, &CoverWindow::openClicked, this, &MainWindow::fileOpen);
    connect(cover_, &CoverWindow::newClicked, this, &MainWindow::fileNew);
    connect(cover_, &CoverWindow::runClicked, this, &MainWindow::fileRun);
    connect(cover_, &CoverWindow::helpClicked, this, &MainWindow::helpBasic);
    connect(cover_, &CoverWindow::exitClicked, this, &MainWindow::fileExit);
    coverFrame_ = new ChildFrame(nullptr, Qt::FramelessWindowHint);
    coverFrame_->setObjectName(QStringLiteral("coverFrame"));
    coverFrame_->setWindowIcon(programIcon());
    coverFrame_->setWidget(cover_);
    coverFrame_->setClosable(false);
    coverFrame_->setSystemMenu(nullptr);
    mdi_->addSubWindow(coverFrame_);
    coverFrame_->hide();

    setNoDeckState();
}

MainWindow::~MainWindow() {
    for (const QPointer<QWidget>& window : results_) delete window.data();
}

// ---- Building the window ----

QAction* MainWindow::addCommand(const QString& name, const QString& caption, void (MainWindow::*handler)(),
                                const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

QAction* MainWindow::addCommand(const QString& name, const QString& caption, const QString& key,
                                void (MainWindow::*handler)(), const QKeySequence& shortcut) {
    QAction* action = addCommand(name, caption, handler, shortcut);
    action->setIcon(toolbarImage(key));
    // The image is the toolbar's; the menus show captions alone.
    action->setIconVisibleInMenu(false);
    action->setIconText(key);
    action->setToolTip(key);
    return action;
}

void MainWindow::createActions() {
    newAct_ = addCommand(QStringLiteral("mnuFileNew"), QStringLiteral("&New"), QStringLiteral("New"),
                         &MainWindow::fileNew, QKeySequence(Qt::CTRL | Qt::Key_N));
    openAct_ = addCommand(QStringLiteral("mnuFileOpen"), QStringLiteral("&Open..."), QStringLiteral("Open"),
                          &MainWindow::fileOpen, QKeySequence(Qt::CTRL | Qt::Key_O));
    closeAct_ = addCommand(QStringLiteral("mnuFileClose"), QStringLiteral("&Close"), &MainWindow::fileClose);
    runAct_ = addCommand(QStringLiteral("mnuFileRun"), QStringLiteral("&Run Rillo2000"), &MainWindow::fileRun);
    saveAct_ = addCommand(QStringLiteral("mnuFileSave"), QStringLiteral("&Save"), QStringLiteral("Save"),
                          &MainWindow::fileSave);
    exitAct_ = addCommand(QStringLiteral("mnuFileExit"), QStringLiteral("E&xit"), &MainWindow::fileExit);

    cutAct_ = addCommand(QStringLiteral("mnuEditCut"), QStringLiteral("Cu&t"), QStringLiteral("Cut"),
                         &MainWindow::editCut, QKeySequence(Qt::CTRL | Qt::Key_X));
    copyAct_ = addCommand(QStringLiteral("mnuEditCopy"), QStringLiteral("&Copy"), QStringLiteral("Copy"),
                          &MainWindow::editCopy, QKeySequence(Qt::CTRL | Qt::Key_C));
    pasteAct_ = addCommand(QStringLiteral("mnuEditPaste"), QStringLiteral("&Paste"), QStringLiteral("Paste"),
                           &MainWindow::editPaste, QKeySequence(Qt::CTRL | Qt::Key_V));

    viewToolbarAct_ = new QAction(QStringLiteral("&Toolbar"), this);
    viewToolbarAct_->setObjectName(QStringLiteral("mnuViewToolbar"));
    viewToolbarAct_->setCheckable(true);
    viewToolbarAct_->setChecked(true);
    connect(viewToolbarAct_, &QAction::toggled, this,
            [this](bool checked) { trap([&] { tbToolBar_->setVisible(checked); }); });
    viewStatusBarAct_ = new QAction(QStringLiteral("Status &Bar"), this);
    viewStatusBarAct_->setObjectName(QStringLiteral("mnuViewStatusBar"));
    viewStatusBarAct_->setCheckable(true);
    viewStatusBarAct_->setChecked(true);
    connect(viewStatusBarAct_, &QAction::toggled, this, [this](bool checked) {
        trap([&] {
            sbStatusBar_->setVisible(checked);
            picture1_->setVisible(checked);
        });
    });

    helpBasicAct_ = addCommand(QStringLiteral("mnuHelpBasic"), QStringLiteral("&Basic Help"), &MainWindow::helpBasic);
    helpAboutAct_ = addCommand(QStringLiteral("mnuHelpAbout"), QStringLiteral("&About "), &MainWindow::helpAbout);
}

void MainWindow::createMenus() {
    mnuFile_ = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile_->setObjectName(QStringLiteral("mnuFile"));
    mnuFile_->addAction(newAct_);
    mnuFile_->addAction(openAct_);
    mnuFile_->addAction(closeAct_);
    mnuFile_->addAction(runAct_);
    fileBar0_ = mnuFile_->addSeparator();
    fileBar0_->setObjectName(QStringLiteral("mnuFileBar0"));
    mnuFile_->addAction(saveAct_);
    mnuFile_->addSeparator()->setObjectName(QStringLiteral("mnuFileBar1"));
    mnuFile_->addAction(exitAct_);

    mnuEdit_ = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEdit_->setObjectName(QStringLiteral("mnuEdit"));
    mnuEdit_->addAction(cutAct_);
    mnuEdit_->addAction(copyAct_);
    mnuEdit_->addAction(pasteAct_);

    mnuView_ = menuBar()->addMenu(QStringLiteral("&View"));
    mnuView_->setObjectName(QStringLiteral("mnuView"));
    mnuView_->addAction(viewToolbarAct_);
    mnuView_->addAction(viewStatusBarAct_);

    mnuHelp_ = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp_->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp_->addAction(helpBasicAct_);
    mnuHelp_->addAction(helpAboutAct_);
}

void MainWindow::createToolBar() {
    tbToolBar_->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar_->setWindowTitle(QStringLiteral("Toolbar"));
    tbToolBar_->setMovable(false);
    tbToolBar_->setFloatable(false);
    tbToolBar_->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, tbToolBar_);

    tbToolBar_->addAction(newAct_);
    tbToolBar_->addAction(openAct_);
    tbToolBar_->addAction(saveAct_);
    // Two separators that are never shown.
    tbToolBar_->addSeparator()->setVisible(false);
    tbToolBar_->addSeparator()->setVisible(false);
    tbToolBar_->addAction(cutAct_);
    tbToolBar_->addAction(copyAct_);
    tbToolBar_->addAction(pasteAct_);
    // The button that shows the buttons a narrow window cuts off.
    if (auto* more = tbToolBar_->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More toolbar buttons"));
}

void MainWindow::createStatusBar() {
    picture1_->setObjectName(QStringLiteral("Picture1"));
    sbStatusBar_->setObjectName(QStringLiteral("sbStatusBar"));
    statusPanel_->setObjectName(QStringLiteral("pnlStatus"));
    datePanel_->setObjectName(QStringLiteral("pnlDate"));
    timePanel_->setObjectName(QStringLiteral("pnlTime"));
    for (QLabel* panel : {statusPanel_, datePanel_, timePanel_}) {
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
    }
    sbStatusBar_->addWidget(statusPanel_, 1);
    sbStatusBar_->addPermanentWidget(datePanel_);
    sbStatusBar_->addPermanentWidget(timePanel_);

    const int height = twipsToPixels(StatusBarHeight, logicalDpiY());
    picture1_->setFixedHeight(height);
    auto* layout = new QVBoxLayout(picture1_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(sbStatusBar_);
    picture1_->installEventFilter(this);

    prgBar_->setObjectName(QStringLiteral("prgBar"));
    prgBar_->setTextVisible(false);
    prgBar_->setMaximum(10000);
    prgBar_->hide();
    placeProgressBar();

    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &MainWindow::updateClock);
    clock_->start();
    updateClock();
}

void MainWindow::updateClock() {
    const QLocale locale;
    const QString date = locale.toString(QDate::currentDate(), QLocale::ShortFormat);
    const QString time = locale.toString(QTime::currentTime(), QLocale::ShortFormat);
    if (datePanel_->text() != date) datePanel_->setText(date);
    if (timePanel_->text() != time) timePanel_->setText(time);
}

void MainWindow::placeProgressBar() {
    const double dpiX = logicalDpiX(), dpiY = logicalDpiY();
    const QRect status = sbStatusBar_->geometry();
    const TwipRect bar =
        progressBarPlacement(pixelsToTwips(status.top(), dpiY),
                             status.height() > 0 ? pixelsToTwips(status.height(), dpiY) : StatusBarHeight);
    prgBar_->setGeometry(twipsToPixels(bar.left, dpiX), twipsToPixels(bar.top, dpiY), twipsToPixels(bar.width, dpiX),
                         twipsToPixels(bar.height, dpiY));
    prgBar_->raise();
}

void MainWindow::restorePlacement() {
    placeProgressBar();
    trap([this] {
        const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        if (!screen) return;
        const double dpiX = logicalDpiX(), dpiY = logicalDpiY();
        const QRect all = screen->virtualGeometry();
        const TwipRect desktop{pixelsToTwips(all.left(), dpiX), pixelsToTwips(all.top(), dpiY),
                               pixelsToTwips(all.width(), dpiX), pixelsToTwips(all.height(), dpiY)};
        const TwipRect placement = loadPlacement(*ui_, pixelsToTwips(screen->geometry().width(), dpiX),
                                                 pixelsToTwips(screen->geometry().height(), dpiY), desktop);
        wantedPlacement_ = QRect(twipsToPixels(placement.left, dpiX), twipsToPixels(placement.top, dpiY),
                                 twipsToPixels(placement.width, dpiX), twipsToPixels(placement.height, dpiY));
        applyPlacement();
    });
}

void MainWindow::applyPlacement() {
    if (wantedPlacement_.isEmpty()) return;
    // The stored placement is the outer frame. Before the window exists a
    // move places the frame and the frame's size is not known yet: the size
    // is corrected once the window manager has framed the window.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    move(wantedPlacement_.topLeft());
    resize(wantedPlacement_.width() - frame.left() - frame.right(),
           wantedPlacement_.height() - frame.top() - frame.bottom());
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!wantedPlacement_.isEmpty()) settlePlacement(PlacementChecks);
}

void MainWindow::settlePlacement(int checksLeft) {
    // A window manager frames a window some time after it is shown; without
    // one there is no frame to wait for.
    const bool framed = windowHandle() && !windowHandle()->frameMargins().isNull();
    if (!framed && checksLeft > 0) {
        QTimer::singleShot(PlacementCheckMs, this, [this, checksLeft] { settlePlacement(checksLeft - 1); });
        return;
    }
    if (wantedPlacement_.isEmpty()) return;
    if (frameGeometry() != wantedPlacement_ &&
        !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
        applyPlacement();
    wantedPlacement_ = QRect();
}

// ---- Child windows ----

void MainWindow::loadCover() { showCover(); }

void MainWindow::fitCover() {
    if (coverFrame_) coverFrame_->setGeometry(mdi_->viewport()->rect());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (watched == mdi_->viewport()) fitCover();
        if (watched == picture1_) placeProgressBar();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showCover() {
    if (exiting_ || !coverFrame_) return;
    coverFrame_->show();
    fitCover();
    mdi_->setActiveSubWindow(coverFrame_);
    coverActivated();
}

void MainWindow::coverActivated() {
    ui_->setPointer(Pointer::Normal);
    setNoDeckState();
    coverFrame_->setWindowState(Qt::WindowNoState);
    fitCover();
}

void MainWindow::childActivated(QMdiSubWindow* child) {
    if (!child) return;
    if (child == coverFrame_)
        coverActivated();
    else if (child == editorFrame_)
        setDeckOpenState();
}

void MainWindow::createEditor() {
    auto* editor = new CardEditor(*this, nullptr);
    auto* frame = new ChildFrame;
    frame->setObjectName(QStringLiteral("editorFrame"));
    // Shown in the menu bar while the editor is maximised.
    frame->setWindowIcon(programIcon());
    frame->setWidget(editor);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    connect(frame, &ChildFrame::closed, this, &MainWindow::editorClosed);
    editor->deck().setModifiedObserver([frame](bool modified) { frame->setWindowModified(modified); });
    mdi_->addSubWindow(frame);
    frame->hide();
    editor_ = editor;
    editorFrame_ = frame;
}

void MainWindow::editorClosed() {
    editor_ = nullptr;
    editorFrame_ = nullptr;
    // One child at a time: the start window is back whatever the editor did.
    if (!exiting_ && coverFrame_ && coverFrame_->isHidden()) showCover();
}

BasicHelpWindow* MainWindow::helpWindow() const { return help_.data(); }

QWidget* MainWindow::activeChild() const {
    if (editor_ && editorFrame_ && !editorFrame_->isHidden()) return editor_;
    return cover_;
}

Deck& MainWindow::deck() {
    if (!editor_) createEditor();
    return editor_->deck();
}

void MainWindow::setEditorCaption(const std::string& caption) {
    if (!editor_) createEditor();
    const QString title = QString::fromStdString(caption);
    editor_->setWindowTitle(title);
    // The frame's title (and the main window's, while the editor is
    // maximised) marks a deck with changes its file does not hold.
    QString marked = title;
    marked.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    editorFrame_->setWindowTitle(marked + QLatin1String("[*]"));
    editorFrame_->setWindowModified(editor_->deck().modified());
}

void MainWindow::showEditor() {
    if (!editor_) createEditor();
    coverFrame_->hide();
    editorFrame_->showMaximized();
    mdi_->setActiveSubWindow(editorFrame_);
    // The keyboard goes with the new window (the start window's button it
    // was on is hidden).
    editor_->focusFirstControl();
    setDeckOpenState();
}

void MainWindow::showPage(int page) {
    if (editor_) editor_->showPage(page);
}

void MainWindow::unloadEditor() {
    if (editorFrame_) editorFrame_->close();
}

void MainWindow::discardDeck() {
    // Only an editor the user never saw: its deck is what a failed open read.
    if (!editor_ || !editorFrame_ || !editorFrame_->isHidden()) return;
    delete editorFrame_;
    editorFrame_ = nullptr;
    editor_ = nullptr;
}

bool MainWindow::isEditorActive() { return editor_ && activeChild() == editor_; }

// ---- Menu and toolbar states ----

void MainWindow::setNoDeckState() { setDeckShown(false); }

void MainWindow::setDeckOpenState() { setDeckShown(true); }

void MainWindow::setDeckShown(bool deckOpen) {
    // New, Open and Save hide and show their toolbar buttons with them; the
    // edit commands' buttons go with the Edit menu.
    for (QAction* action : {newAct_, openAct_, runAct_}) action->setVisible(!deckOpen);
    for (QAction* action : {fileBar0_, saveAct_, cutAct_, copyAct_, pasteAct_}) action->setVisible(deckOpen);
    mnuEdit_->menuAction()->setVisible(deckOpen);
}

QAction* MainWindow::menuItem(const QString& name) const {
    for (QMenu* menu : {mnuFile_, mnuEdit_, mnuView_, mnuHelp_}) {
        for (QAction* item : menu->actions())
            if (item->objectName() == name) return item;
    }
    return nullptr;
}

QAction* MainWindow::toolbarButton(int position) const {
    const QList<QAction*> buttons = tbToolBar_->actions();
    return position >= 1 && position <= buttons.size() ? buttons.at(position - 1) : nullptr;
}

// ---- Commands ----

void MainWindow::trap(const std::function<void()>& handler) { trapErrors(*ui_, handler); }

void MainWindow::fileNew() {
    trap([this] {
        ui_->dialogFileName().clear();
        // A new deck is in no file until it is saved: the template is only
        // where it came from.
        if (openDeck(*ui_, *this, templatePath(applicationFolder_).toStdString()) == OpenResult::Opened && editor_)
            setEditorCaption(newDeckCaption);
    });
}

void MainWindow::fileOpen() {
    trap([this] { openDeck(*ui_, *this, {}); });
}

void MainWindow::openDeckFile(const QString& path) {
    trap([this, &path] { openDeck(*ui_, *this, path.toStdString()); });
}

void MainWindow::fileClose() {
    trap([this] {
        if (activeChild() == cover_) return;
        unloadEditor();
        // An editor whose save did not happen stays, and stays in front.
        if (!editor_) showCover();
    });
}

void MainWindow::fileRun() {
    trap([this] {
        auto showAbout = [this] {
            AboutWindow about(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this);
            about.exec();
        };
        // Each completed run's results open in a window of their own, which
        // stays beside the next run and after the run form has closed.
        QPointer<QWidget> lastResults;
        auto showResults = [this, &lastResults](const run::RunPaths& run) {
            std::erase_if(results_, [](const QPointer<QWidget>& w) { return w.isNull(); });
            lastResults = results::showResults({run.mainOutput, run.subcatchmentOutput, run.gutterOutput}, *ui_);
            results_.push_back(lastResults);
        };
        auto resultsProblem = [](const run::RunPaths& run) {
            return results::whyNotShown({run.mainOutput, run.subcatchmentOutput, run.gutterOutput});
        };
        run::showRunForm(this, *ui_, applicationFolder_, showAbout, showResults, resultsProblem);
        // The form's questions brought the main window up; the last results
        // come back in front of it once the form has closed.
        if (lastResults) {
            lastResults->raise();
            lastResults->activateWindow();
        }
    });
}

void MainWindow::fileSave() {
    trap([this] {
        if (!editor_) return;
        saveDeck();
    });
}

bool MainWindow::saveDeck() {
    lastSave_ = rillo::saveDeck(*ui_, *this);
    const bool saved = lastSave_ == SaveResult::Saved;
    // The title names the file the deck now lives in (the editor may have
    // gone with "Finished with this File?").
    if (saved && editor_ && !ui_->dialogFileName().empty()) setEditorCaption(ui_->dialogFileName());
    return saved;
}

void MainWindow::fileExit() {
    trap([this] { close(); });
}

void MainWindow::editCut() {
    trap([this] { EditCommands(*ui_, QApplication::focusWidget()).cut(); });
}

void MainWindow::editCopy() {
    trap([this] { EditCommands(*ui_, QApplication::focusWidget()).copy(); });
}

void MainWindow::editPaste() {
    trap([this] { EditCommands(*ui_, QApplication::focusWidget()).paste(); });
}

void MainWindow::helpBasic() {
    trap([this] {
        if (!help_) {
            help_ = new BasicHelpWindow(this);
            help_->setAttribute(Qt::WA_DeleteOnClose);
        }
        help_->show();
        help_->raise();
        help_->activateWindow();
    });
}

void MainWindow::helpAbout() {
    trap([this] {
        AboutWindow about(this);
        about.exec();
    });
}

// ---- Exit ----

void MainWindow::closeEvent(QCloseEvent* event) {
    if (exiting_) {
        event->accept();
        return;
    }
    trap([this] {
        const Qt::WindowStates state = windowState();
        if (!(state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
            const double dpiX = logicalDpiX(), dpiY = logicalDpiY();
            const QRect outer = frameGeometry();
            savePlacement(*ui_, {pixelsToTwips(outer.left(), dpiX), pixelsToTwips(outer.top(), dpiY),
                                pixelsToTwips(outer.width(), dpiX), pixelsToTwips(outer.height(), dpiY)});
        }
    });
    exiting_ = true;
    // Every window of the program closes in turn, each by its own rules: the
    // run form asks before it stops a model run, and a No keeps the program.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible() && !window->close()) {
            exiting_ = false;
            event->ignore();
            return;
        }
    }
    if (editorFrame_ && !editorFrame_->close()) {
        // The user asked to save and the save did not happen: the deck stays
        // open, and so does the program.
        exiting_ = false;
        event->ignore();
        return;
    }
    if (coverFrame_) {
        coverFrame_->setClosable(true);
        coverFrame_->close();
        coverFrame_ = nullptr;
        cover_ = nullptr;
    }
    event->accept();
}

}  // namespace rillo::shell
