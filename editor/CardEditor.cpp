#include "CardEditor.h"
#include "ControlNames.h"

#include "GridView.h"
#include "HelpPage.h"
#include "HelpTexts.h"

#include "ChangeSpread.h"
#include "PairsDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QKeyEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace rillo {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

/// Fields that hold a title rather than a short number.
bool isWideField(Field f) {
    return f == Field::Title || f == Field::SubTitle || f == Field::RoutingTitle || f == Field::RoutingSubTitle ||
           f == Field::Watershed;
}

/// Column widths that let each grid's numbers and captions read at a glance.
int columnWidth(GridId id) {
    switch (id) {
    case GridId::Card15:
    case GridId::Card31: return 130;
    case GridId::Card23: return 260;
    case GridId::Card110:
    case GridId::Card42:
    case GridId::Card44: return 72;
    default: return 100;
    }
}

/// What assistive technology calls each grid: its card.
QString gridName(GridId id) {
    switch (id) {
    case GridId::Card14: return QStringLiteral("Rainfall Hyetograph (1.4)");
    case GridId::Card15: return QStringLiteral("Subcatchment (1.5)");
    case GridId::Card110: return QStringLiteral("Subbasin Print (1.10)");
    case GridId::Card23: return QStringLiteral("Sub-Catchment Data (2.3)");
    case GridId::Card31: return QStringLiteral("Conveyance Element (3.1)");
    case GridId::Card31a: return QStringLiteral("Tabular Values (3.1a)");
    case GridId::Card31aIndex: return QStringLiteral("Tabular Values Index (3.1a)");
    case GridId::Card42: return QStringLiteral("Conveyance Save (4.2)");
    case GridId::Card44: return QStringLiteral("Conveyance Print (4.4)");
    case GridId::Count: break;
    }
    return {};
}

}  // namespace

CardEditor::CardEditor(EditorShell& shell, QWidget* parent) : QWidget(parent), shell_(shell) {
    setObjectName(QStringLiteral("frmEdit"));
    setWindowTitle(QStringLiteral("Card Editor"));

    for (int i = 0; i < GridCount; ++i) views_[static_cast<std::size_t>(i)] = makeGridView(static_cast<GridId>(i));

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    tabs_->setAccessibleName(QStringLiteral("Cards"));
    tabs_->setUsesScrollButtons(true);
    tabs_->setElideMode(Qt::ElideNone);
    for (const EditorPage& page : kEditorPages)
        tabs_->addTab(buildPage(page), qs(page.caption).replace(QLatin1Char('&'), QLatin1String("&&")));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildOptionFrame(), 0, Qt::AlignHCenter | Qt::AlignTop);
    layout->addWidget(tabs_, 1);

    // Load.
    tabs_->hide();
    tabs_->setTabEnabled(Page::Card31a, false);
    for (int i = 0; i < GridCount; ++i) deck_.grid(static_cast<GridId>(i)).setRowsFrozen(1);
    for (int i = 0; i < HelpGroupCount; ++i) help_->cardLabel(i)->setText(qs(pageCaption(i)));

    deck_.setFieldObserver([this](Field f) { showField(f); });

    // The editing rules listen to the card grids and trap their own errors.
    rules_ = std::make_unique<ChangeSpread>(deck_, shell_.ui(), static_cast<RulesHost&>(*this));
    rules_->attach();
}

CardEditor::~CardEditor() {
    deck_.setFieldObserver({});
    for (int i = 0; i < GridCount; ++i) deck_.grid(static_cast<GridId>(i)).setListener(nullptr);
    // The views observe the deck's grids: they go before the deck does.
    for (GridView*& view : views_) {
        delete view;
        view = nullptr;
    }
}

GridView* CardEditor::makeGridView(GridId id) {
    Grid& grid = deck_.grid(id);
    auto* view = new GridView(grid, this);
    view->setObjectName(QString::fromLatin1(controlName(id)));
    view->setAccessibleName(gridName(id));
    // Its first row is data, not captions: the columns are told here.
    if (id == GridId::Card31aIndex)
        view->setAccessibleDescription(QStringLiteral(
            "One row per special element. Columns: element number; first row of its pairs in Tabular Values "
            "(3.1a); number of those rows"));
    view->horizontalHeader()->setDefaultSectionSize(columnWidth(id));
    if (id == GridId::Card31) {
        // The two drop-down columns show their whole item texts.
        view->setColumnWidth(Card31::JK - 1, 220);
        view->setColumnWidth(Card31::Type - 1, 250);
    }
    connect(view, &GridView::keyReleased, this, [this, view](int keyCode, int) { gridKeyReleased(view, keyCode); });
    connect(view, &GridView::mouseReleased, this,
            [this, view](int button, int, const QPoint& pos) { gridMouseReleased(view, button, pos); });
    return view;
}

QWidget* CardEditor::buildOptionFrame() {
    frame2_ = new QGroupBox(QStringLiteral("Option to Generate Sub-Catchment Hydrographs"), this);
    frame2_->setObjectName(QStringLiteral("Frame2"));
    auto* frame4 = new QFrame(frame2_);
    frame4->setObjectName(QStringLiteral("Frame4"));
    frame4->setFrameShape(QFrame::StyledPanel);
    frame4->setAccessibleName(frame2_->title());
    optIopt0_ = new QRadioButton(QStringLiteral("Let RILLO Generate Sub-Catchment Hydrographs (0)"), frame4);
    optIopt0_->setObjectName(QStringLiteral("optIopt0"));
    optIopt1_ = new QRadioButton(QStringLiteral("Use KORVA Generated/Imported Hydrographs (1)"), frame4);
    optIopt1_->setObjectName(QStringLiteral("optIopt1"));
    options_ = new QButtonGroup(this);
    options_->addButton(optIopt0_, 0);
    options_->addButton(optIopt1_, 1);
    auto* optionLayout = new QVBoxLayout(frame4);
    optionLayout->addWidget(optIopt0_);
    optionLayout->addWidget(optIopt1_);
    connect(optIopt0_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) deck_.setIopt(0);
    });
    connect(optIopt1_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) deck_.setIopt(1);
    });

    cmdOK_ = new QPushButton(QStringLiteral("OK"), frame2_);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &CardEditor::chooseOption);

    auto* note = new QLabel(QStringLiteral("The Edit form allows you to fix files and save files."), frame2_);
    note->setObjectName(QStringLiteral("Label27"));

    auto* layout = new QVBoxLayout(frame2_);
    layout->addWidget(frame4);
    layout->addWidget(cmdOK_, 0, Qt::AlignHCenter);
    layout->addWidget(note, 0, Qt::AlignHCenter);
    frame2_->setMinimumWidth(460);
    showOption();
    return frame2_;
}

QWidget* CardEditor::fieldControl(Field field) {
    const FieldInfo& info = fieldInfo(field);
    QWidget* control = nullptr;
    if (info.checkBox) {
        auto* box = new QCheckBox;
        box->setChecked(deck_.checked(field));
        connect(box, &QCheckBox::toggled, this, [this, field](bool on) { deck_.setChecked(field, on); });
        control = box;
    } else if (field == Field::Option) {
        auto* combo = new QComboBox;
        combo->setEditable(true);
        combo->setEditText(qs(deck_.text(field)));
        combo->setMinimumContentsLength(8);
        // Its text box and list are what a screen reader lands on.
        combo->lineEdit()->setAccessibleName(QString::fromLatin1(info.label));
        combo->view()->setAccessibleName(QString::fromLatin1(info.label));
        connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                [this, field](const QString& text) { deck_.setText(field, text.toStdString()); });
        control = combo;
    } else {
        auto* edit = new QLineEdit(qs(deck_.text(field)));
        const int digit = edit->fontMetrics().horizontalAdvance(QLatin1Char('0'));
        if (isWideField(field))
            edit->setMinimumWidth(digit * 60);
        else
            edit->setFixedWidth(digit * 12);
        connect(edit, &QLineEdit::textEdited, this,
                [this, field](const QString& text) { deck_.setText(field, text.toStdString()); });
        control = edit;
    }
    control->setObjectName(QString::fromLatin1(controlName(field)));
    fields_[static_cast<std::size_t>(field)] = control;
    return control;
}

QWidget* CardEditor::buildPage(const EditorPage& page) {
    if (page.fields.empty() && !page.grid) return help_ = new HelpPage;
    GridView* grid = page.grid ? gridView(*page.grid) : nullptr;
    QWidget* built = page.fields.empty() ? gridPage(grid) : fieldPage(page, grid);
    if (page.hiddenGrid) {
        GridView* hidden = gridView(*page.hiddenGrid);
        hidden->setParent(built);
        hidden->hide();
    }
    return built;
}

QWidget* CardEditor::fieldPage(const EditorPage& entry, GridView* grid) {
    auto* page = new QWidget;
    auto* frame = new QFrame(page);
    frame->setObjectName(QString::fromLatin1(frameName(entry.page)));
    frame->setAccessibleName(qs(pageCaption(entry.page)));
    auto* form = new QGridLayout(frame);
    form->setHorizontalSpacing(12);
    int row = 0;
    for (Field f : entry.fields) {
        auto* label = new QLabel(QString::fromLatin1(fieldInfo(f).label), frame);
        label->setWordWrap(true);
        label->setMinimumWidth(380);
        label->setMaximumWidth(520);
        QWidget* control = fieldControl(f);
        control->setParent(frame);
        label->setBuddy(control);
        form->addWidget(label, row, 0, Qt::AlignVCenter);
        form->addWidget(control, row, 1, Qt::AlignLeft | Qt::AlignVCenter);
        ++row;
    }
    form->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(frame);
    if (grid) {
        grid->setParent(page);
        layout->addWidget(grid, 1);
    } else {
        layout->addStretch(1);
    }
    return page;
}

QWidget* CardEditor::gridPage(GridView* grid) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    grid->setParent(page);
    layout->addWidget(grid);
    return page;
}

GridView* CardEditor::viewOf(const Grid& grid) const {
    for (GridView* view : views_)
        if (view && &view->grid() == &grid) return view;
    return nullptr;
}

void CardEditor::showField(Field field) {
    if (field == Field::Option) showOption();
    QWidget* control = fields_[static_cast<std::size_t>(field)];
    const QString text = qs(deck_.text(field));
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (edit->text() != text) edit->setText(text);
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
        const QSignalBlocker blocker(box);
        box->setChecked(deck_.checked(field));
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->currentText() != text) combo->setEditText(text);
    }
}

void CardEditor::showOption() {
    if (!options_) return;
    const QSignalBlocker b0(optIopt0_), b1(optIopt1_);
    options_->setExclusive(false);
    optIopt0_->setChecked(deck_.iopt() == 0);
    optIopt1_->setChecked(deck_.iopt() == 1);
    options_->setExclusive(true);
}

void CardEditor::chooseOption() {
    frame2_->hide();
    // The store of tabular pairs is edited only through the pairs dialog,
    // whichever option is chosen (or none).
    tabs_->setTabEnabled(Page::Card31a, false);
    const int iopt = optIopt0_->isChecked() ? 0 : optIopt1_->isChecked() ? 1 : -1;
    if (iopt >= 0) {
        for (const EditorPage& page : kEditorPages)
            if (page.availableWith != PageOption::Either) tabs_->setTabEnabled(page.page, pageAvailable(page.page, iopt));
        tabs_->setCurrentIndex(iopt == 0 ? Page::Card11 : Page::Card21);
    }
    tabs_->show();
    // The keyboard goes on from the page tabs (the OK button it was on is gone).
    focusFirstControl();
    for (int page = 1; page < EditorPageCount; ++page)
        if (!tabs_->isTabEnabled(page))
            if (QLabel* label = help_->cardLabel(page)) label->setEnabled(false);
}

void CardEditor::showPage(int page) {
    if (page >= 0 && page < tabs_->count()) tabs_->setCurrentIndex(page);
}

void CardEditor::activate() {
    tabs_->setTabEnabled(Page::Options, false);
    shell_.setDeckOpenState();
}

void CardEditor::focusFirstControl() {
    if (frame2_->isVisible()) {
        // The keyboard starts on the chosen option.
        QRadioButton* chosen = optIopt1_->isChecked() ? optIopt1_ : optIopt0_;
        chosen->setFocus(Qt::OtherFocusReason);
    } else {
        tabs_->tabBar()->setFocus(Qt::OtherFocusReason);
    }
}

void CardEditor::keyPressEvent(QKeyEvent* event) {
    // Enter on the option frame is its OK, as on a dialog with a default button.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && frame2_->isVisible() &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        cmdOK_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CardEditor::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!focusWidget()) focusFirstControl();
    if (watchingSubWindow_) return;
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!sub) return;
    watchingSubWindow_ = true;
    connect(sub, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates old, Qt::WindowStates now) {
        const bool was = old & Qt::WindowActive, is = now & Qt::WindowActive;
        // The editor is activated when it becomes the active child. Taking
        // the activation back from a message box or dialog of the program's
        // own is no new activation: Windows takes it from the child as such a
        // window opens and gives it back as it closes, even inside a save,
        // whose "Finished with this File?" must not find the deck unsaved.
        if (was && !is) leftForAModalWindow_ = QApplication::activeModalWidget() != nullptr;
        if (is && !was) {
            if (!leftForAModalWindow_) activate();
            leftForAModalWindow_ = false;
        }
    });
    if (sub->windowState() & Qt::WindowActive) activate();
}

void CardEditor::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isWindow() && isActiveWindow()) activate();
}

void CardEditor::gridKeyReleased(GridView* view, int keyCode) {
    if (keyCode != KeyDelete) return;
    trapErrors(shell_.ui(), [&] {
        Grid& grid = view->grid();
        const int col = grid.activeCol(), row = grid.activeRow();
        // The caption row, and cells not open for typing, keep their text.
        if (row == 1 || !grid.isEditable(col, row)) return;
        // The rules clear the cell and, for an element's NDP or number, keep
        // its pairs and button in step.
        rules_->deleteKey(grid);
    });
}

void CardEditor::gridMouseReleased(GridView* view, int button, const QPoint& globalPos) {
    if (button != 2 || &view->grid() == &deck_.card31()) return;
    if (QMenu* menu = shell_.editMenu()) menu->popup(globalPos);
}

void CardEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    if (QMenu* menu = shell_.editMenu()) menu->popup(event->globalPosition().toPoint());
}

bool CardEditor::isEditorActive() { return shell_.isEditorActive(); }

void CardEditor::focusGrid(Grid& grid) {
    if (GridView* view = viewOf(grid)) view->setFocus();
}

void CardEditor::openPairsDialog(int row) {
    PairsDialog dialog(deck_, shell_.ui(), shell_.mainWindow(), shell_.editMenu());
    dialog.run(row);
}

void CardEditor::closeEvent(QCloseEvent* event) {
    event->accept();
    if (unloaded_) return;
    unloaded_ = true;
    // Only a deck with changes its file does not hold is asked about. A
    // save the user asked for that did not happen (dialog cancelled, a
    // check refused the deck, the write failed) keeps the editor open with
    // its deck, still modified: closing then would lose the edits.
    bool keepOpen = false;
    trapErrors(shell_.ui(), [&] {
        if (deck_.modified() && shell_.ui().ask("Do you Want to Save?", "Rillo 2000")) {
            keepOpen = true;  // until the save reports that it wrote the deck
            keepOpen = !shell_.saveDeck();
        }
        // The editor the user worked in hands control back to the start window.
        if (!keepOpen && isVisible()) shell_.showCover();
    });
    if (keepOpen) {
        unloaded_ = false;
        event->ignore();
    }
}

}  // namespace rillo
