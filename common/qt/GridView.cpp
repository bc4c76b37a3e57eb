#include "GridView.h"

#include "GridAccessible.h"
#include "GridDelegate.h"
#include "GridTableModel.h"
#include "VirtualKeys.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

namespace rillo {

namespace {

constexpr int kColumnWidth = 110;
constexpr int kMaxHeaderLines = 7;

bool isNavigationKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: return true;
    default: return false;
    }
}

/// Ctrl+Tab and Ctrl+Shift+Tab: the keys that leave a control that uses Tab itself.
bool isFocusLeavingKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    return (qtKey == Qt::Key_Tab || qtKey == Qt::Key_Backtab) && (modifiers & Qt::ControlModifier);
}

/// The grid's key code and shift state of a Qt key (Backtab is Shift+Tab).
std::pair<int, int> gridKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    int shift = shiftState(modifiers);
    if (qtKey == Qt::Key_Backtab) shift |= ShiftMask;
    return {virtualKey(qtKey, modifiers), shift};
}

}  // namespace

GridView::GridView(Grid& grid, QWidget* parent)
    : QTableView(parent), grid_(grid), model_(new GridTableModel(grid, this)), delegate_(new GridDelegate(this)) {
    static const bool accessible = (QAccessible::installFactory(&GridAccessible::create), true);
    (void)accessible;
    setModel(model_);
    setItemDelegate(delegate_);
    setSelectionMode(ContiguousSelection);
    setSelectionBehavior(SelectItems);
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setAutoScroll(false);

    const int rowHeight = fontMetrics().height() + 8;
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    horizontalHeader()->setTextElideMode(Qt::ElideNone);

    connect(delegate_, &GridDelegate::navigationKey, this, &GridView::editorNavigationKey);
    connect(model_, &GridTableModel::caretMoved, this, &GridView::followGrid);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &GridView::selectionToGrid);
    connect(model_, &QAbstractItemModel::modelReset, this, &GridView::updateCaptionRow);
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int) {
        if (first == 0) updateCaptionRow();
    });
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex&, int first, int) {
        if (first == 0) updateCaptionRow();
    });
    connect(model_, &QAbstractItemModel::headerDataChanged, this, &GridView::updateHeaderHeight);
    // Rows that come or go move the view's current cell with them; the caret
    // shown stays the grid's caret.
    const auto followCaret = [this] { followGrid(grid_.activeCol(), grid_.activeRow()); };
    connect(model_, &QAbstractItemModel::rowsInserted, this, followCaret);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, followCaret);
    connect(model_, &QAbstractItemModel::modelReset, this, followCaret);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &GridView::updateHeaderHeight);

    updateCaptionRow();
    following_ = true;
    selectionModel()->setCurrentIndex(model_->activeIndex(), QItemSelectionModel::ClearAndSelect);
    following_ = false;
}

GridView::~GridView() {
    // The model goes with the view; no grid event may come from closing it.
    disconnect(model_, nullptr, this, nullptr);
}

void GridView::updateCaptionRow() {
    const bool frozen = model_->frozenRows() >= 1;
    for (int r = 0; r < std::min(model_->rowCount(), 1); ++r) setRowHidden(r, frozen);
    updateHeaderHeight();
}

void GridView::updateHeaderHeight() {
    QHeaderView* header = horizontalHeader();
    const QFontMetrics fm = header->fontMetrics();
    int height = fm.height() + 8;
    if (model_->frozenRows() >= 1) {
        for (int c = 0; c < model_->columnCount(); ++c) {
            const QString text = model_->headerData(c, Qt::Horizontal).toString();
            const QRect r = fm.boundingRect(QRect(0, 0, std::max(header->sectionSize(c) - 8, 20), 10000),
                                            Qt::AlignCenter | Qt::TextWordWrap, text);
            height = std::max(height, r.height() + 8);
        }
        height = std::min(height, fm.lineSpacing() * kMaxHeaderLines + 8);
    }
    if (header->minimumHeight() != height) header->setMinimumHeight(height);
}

bool GridView::event(QEvent* event) {
    // Tab and Shift+Tab move the grid's caret instead of the focus; with Ctrl
    // they take the focus on to the next or previous control.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isFocusLeavingKey(key->key(), key->modifiers())) {
            leaveFocus(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QTableView::event(event);
}

bool GridView::eventFilter(QObject* object, QEvent* event) {
    // Ctrl+Tab seen by the application before anyone else: a multiple-
    // document area would take it to switch its windows.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        QWidget* focus = QApplication::focusWidget();
        if (isFocusLeavingKey(key->key(), key->modifiers()) && focus && (focus == this || isAncestorOf(focus))) {
            leaveFocus(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QTableView::eventFilter(object, event);
}

void GridView::focusInEvent(QFocusEvent* event) {
    // First in the application's line while the keyboard is here.
    qApp->installEventFilter(this);
    // A caret left in the hidden caption row (where a grid that was only
    // written by the program has it) comes down to the first row in view.
    const int row = grid_.activeRow() - 1;
    if (row >= 0 && row < model_->rowCount() && isRowHidden(row)) {
        int shown = row;
        while (shown < model_->rowCount() && isRowHidden(shown)) ++shown;
        if (shown < model_->rowCount()) grid_.setActiveCell(grid_.activeCol(), shown + 1);
    }
    QTableView::focusInEvent(event);
    // Back from a message box or another control: assistive technology
    // hears where the caret is, as it hears of every move of it.
    if (QAccessible::isActive() && model_->activeIndex().isValid()) {
        if (auto* table = dynamic_cast<GridAccessible*>(QAccessible::queryAccessibleInterface(this))) {
            const QModelIndex caret = model_->activeIndex();
            QAccessibleEvent focus(this, QAccessible::Focus);
            focus.setChild(table->childIndex(caret.row(), caret.column()));
            QAccessible::updateAccessibility(&focus);
        }
    }
}

void GridView::keyPressEvent(QKeyEvent* event) {
    const auto [keyCode, shift] = gridKey(event->key(), event->modifiers());
    event->accept();
    const bool onButton = model_->format(model_->activeIndex()).type == CellButton;
    if (onButton && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && shift == 0) {
        // Enter presses a button cell, as it presses a focused push button.
        grid_.userClickButton(grid_.activeCol(), grid_.activeRow());
        return;
    }
    if (isNavigationKey(event->key())) {
        grid_.userKeyDown(keyCode, shift);
        return;
    }
    if (keyCode != 0) grid_.userKeyDown(keyCode, shift);
    const QModelIndex active = model_->activeIndex();
    if (event->key() == Qt::Key_Delete) return;  // the window's key release clears the cell
    if (event->key() == Qt::Key_Space && onButton && shift == 0) {
        grid_.userClickButton(grid_.activeCol(), grid_.activeRow());
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // Typing starts an entry in the active cell; a cell that is not for
        // typing takes nothing (and no search moves the caret).
        if (currentIndex() == active) edit(active, AnyKeyPressed, event);
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::keyReleaseEvent(QKeyEvent* event) {
    const auto [keyCode, shift] = gridKey(event->key(), event->modifiers());
    QTableView::keyReleaseEvent(event);
    if (!event->isAutoRepeat() && keyCode != 0) emit keyReleased(keyCode, shift);
}

void GridView::leaveFocus(bool forward) {
    if (!leaveEditor()) return;  // an entry the cell refuses keeps the focus here
    focusNextPrevChild(forward);
}

void GridView::editorNavigationKey(QWidget* editor, int qtKey, Qt::KeyboardModifiers modifiers) {
    if (editor != editor_) return;
    if (isFocusLeavingKey(qtKey, modifiers)) {
        leaveFocus(qtKey == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier));
        return;
    }
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    const auto [keyCode, shift] = gridKey(qtKey, modifiers);
    grid_.userKeyDown(keyCode, shift);
}

bool GridView::leaveEditor() {
    if (!editor_) return true;
    if (!GridDelegate::isAcceptable(editor_)) return false;
    QWidget* editor = editor_;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

bool GridView::askMoveTo(const QModelIndex& index) {
    if (!index.isValid()) return false;
    if (index == model_->activeIndex()) return true;
    if (!leaveEditor()) return false;
    return grid_.userMoveTo(GridTableModel::gridCol(index), GridTableModel::gridRow(index));
}

bool GridView::moveCaretTo(const QModelIndex& index) {
    if (!index.isValid() || index.model() != model_ || isRowHidden(index.row())) return false;
    const bool moved = askMoveTo(index);
    showCell(model_->activeIndex());
    setFocus(Qt::OtherFocusReason);
    return moved;
}

void GridView::pressButtonCell(const QModelIndex& index) {
    const QPersistentModelIndex cell = index;
    QTimer::singleShot(0, this, [this, cell] {
        if (cell.isValid() && model_->format(cell).type == CellButton)
            grid_.userClickButton(GridTableModel::gridCol(cell), GridTableModel::gridRow(cell));
    });
}

void GridView::followGrid(int col, int row) {
    const QModelIndex index = model_->cellIndex(col, row);
    if (editor_ && editorIndex_ != index) {
        // The program moved the caret away from an open editor.
        QWidget* editor = editor_;
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    }
    following_ = true;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    following_ = false;
    // A click leaves the cells where they are until the mouse is done with them.
    if (!clicking_) showCell(index);
}

void GridView::showCell(const QModelIndex& index) {
    if (index.isValid() && !isRowHidden(index.row())) scrollTo(index);
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (following_ || !current.isValid() || current == model_->activeIndex()) return;
    // A change that came another way than the grid: the grid has the last word.
    if (!askMoveTo(current)) {
        QTimer::singleShot(0, this, [this] { followGrid(grid_.activeCol(), grid_.activeRow()); });
    }
}

QModelIndex GridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex target = QTableView::moveCursor(action, modifiers);
    if (!target.isValid() || target == model_->activeIndex()) return target;
    return askMoveTo(target) ? target : model_->activeIndex();
}

void GridView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    pressedButton_ = QModelIndex();
    pressedOnActive_ = QModelIndex();
    dragSelecting_ = false;
    if (event->button() != Qt::LeftButton) {
        // Other buttons leave the caret and the selection alone.
        event->accept();
        return;
    }
    if (index.isValid()) {
        if (index != model_->activeIndex()) {
            if (event->modifiers() & Qt::ShiftModifier) {
                selectBlock(grid_.activeCol(), grid_.activeRow(), GridTableModel::gridCol(index),
                            GridTableModel::gridRow(index));
                event->accept();
                return;
            }
            // Scrolling now would put another cell under the pointer, and the
            // base class resolves the pointer again: the clicked cell stays
            // where it is (typing into it brings it fully into view).
            clicking_ = true;
            const bool moved = askMoveTo(index);
            clicking_ = false;
            if (!moved) {
                showCell(model_->activeIndex());
                event->accept();
                return;
            }
        } else {
            pressedOnActive_ = index;
        }
        if (model_->format(index).type == CellButton) pressedButton_ = index;
        dragSelecting_ = true;
    }
    QTableView::mousePressEvent(event);
}

void GridView::mouseMoveEvent(QMouseEvent* event) {
    // Dragging widens the selection from the caret, which stays put.
    if (dragSelecting_ && (event->buttons() & Qt::LeftButton) && !editor_) {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid())
            selectBlock(grid_.activeCol(), grid_.activeRow(), GridTableModel::gridCol(index),
                        GridTableModel::gridRow(index));
    }
    event->accept();
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    const QPersistentModelIndex button = pressedButton_, onActive = pressedOnActive_;
    pressedButton_ = QModelIndex();
    pressedOnActive_ = QModelIndex();
    dragSelecting_ = false;
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && index.isValid()) {
        if (button.isValid() && index == button) {
            grid_.userClickButton(GridTableModel::gridCol(index), GridTableModel::gridRow(index));
        } else if (onActive.isValid() && index == onActive && !editor_ &&
                   model_->format(index).type == CellCombo && edit(index, AllEditTriggers, event)) {
            // A second click on a combo cell drops its list down.
            if (auto* combo = qobject_cast<QComboBox*>(editor_.data())) combo->showPopup();
        }
    }
    const int shift = shiftState(event->modifiers());
    const int buttonNumber = mouseButton(event->button());
    const QPoint pos = event->position().toPoint();
    grid_.userMouseUp(buttonNumber, shift, pos.x(), pos.y());
    emit mouseReleased(buttonNumber, shift, event->globalPosition().toPoint());
}

bool GridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (editor_) return QTableView::edit(index, trigger, event);
    if (!index.isValid() || !(model_->flags(index) & Qt::ItemIsEditable)) return false;
    if (index != model_->activeIndex() && !askMoveTo(index)) return false;
    // EditMode 1 comes first, before the editor can take any key.
    if (!QTableView::edit(index, trigger, nullptr)) return false;
    editor_ = indexWidget(index);
    if (!editor_) return false;
    editorIndex_ = index;
    entered_ = false;
    showCell(index);
    grid_.userBeginEdit();
    if (editor_ && event && trigger == AnyKeyPressed) QCoreApplication::sendEvent(editor_, event);
    return true;
}

void GridView::commitData(QWidget* editor) {
    if (!editor || editor != editor_ || entered_) return;
    if (editorIndex_ != model_->activeIndex() || !GridDelegate::isAcceptable(editor)) return;
    entered_ = model_->setData(editorIndex_, GridDelegate::editorValue(editor), Qt::EditRole);
}

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (!editor || editor != editor_) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    const bool entered = entered_;
    editor_ = nullptr;
    editorIndex_ = QModelIndex();
    entered_ = false;
    const bool leaves = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, leaves ? QAbstractItemDelegate::NoHint : hint);
    // Every EditMode 1 has its EditMode 0: one with no change when nothing was entered.
    if (!entered) grid_.userCancelEdit();
    if (leaves) grid_.userKeyDown(KeyTab, hint == QAbstractItemDelegate::EditPreviousItem ? ShiftMask : 0);
}

void GridView::selectBlock(int col1, int row1, int col2, int row2) {
    const QItemSelection block(model_->cellIndex(std::min(col1, col2), std::min(row1, row2)),
                               model_->cellIndex(std::max(col1, col2), std::max(row1, row2)));
    selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
}

void GridView::selectionToGrid() {
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty()) {
        grid_.setSelection(grid_.activeCol(), grid_.activeRow(), grid_.activeCol(), grid_.activeRow());
        return;
    }
    int top = selection.first().top(), left = selection.first().left();
    int bottom = selection.first().bottom(), right = selection.first().right();
    for (const auto& range : selection) {
        top = std::min(top, range.top());
        left = std::min(left, range.left());
        bottom = std::max(bottom, range.bottom());
        right = std::max(right, range.right());
    }
    grid_.setSelection(left + 1, top + 1, right + 1, bottom + 1);
}

}  // namespace rillo
