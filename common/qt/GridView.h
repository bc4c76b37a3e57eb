#pragma once
// The Qt view of one rillo::Grid. It shows the grid through GridTableModel
// and GridDelegate and forwards what the user does into the grid, which
// raises the GridListener events and decides where the caret goes:
//  - a click on another cell asks the grid to move there (userMoveTo); when
//    the grid refuses, the caret stays. A click does not scroll, so the
//    cell under the pointer stays the clicked one; editing scrolls the cell
//    into view;
//  - Tab, Shift+Tab, Enter and the arrows go to userKeyDown, also while an
//    editor is open (its entry is entered first, so Change comes before
//    LeaveCell); the grid moves the caret and the view follows it;
//    Ctrl+Tab and Ctrl+Shift+Tab take the keyboard on to the next or
//    previous control;
//  - editing begins with typing, F2 or a double click (userBeginEdit) and
//    ends with the entry (userEnterText) or a cancel (userCancelEdit);
//  - a click on a button cell, and Space or Enter on one, is
//    userClickButton; every mouse release is userMouseUp; the selection goes
//    to setSelection.
// Assistive technology sees the view through GridAccessible.
// A grid with a frozen caption row shows its captions as the column header,
// so they stay in view while the rows scroll; grid row numbers stay the
// view's row numbers. Rows have one fixed height and columns are never sized
// from their contents, so tables of thousands of rows scroll at once.

#include "Grid.h"

#include <QPointer>
#include <QTableView>

namespace rillo {

class GridDelegate;
class GridTableModel;

class GridView : public QTableView {
    Q_OBJECT
public:
    /// The grid must outlive the view.
    explicit GridView(Grid& grid, QWidget* parent = nullptr);
    ~GridView() override;

    Grid& grid() const { return grid_; }
    GridTableModel* gridModel() const { return model_; }
    /// Whether a cell editor is open.
    bool isEditing() const { return editor_ != nullptr; }

    /// Moves the caret to a cell as a click would (the grid may refuse) and
    /// gives the view the focus. True when the caret is there.
    bool moveCaretTo(const QModelIndex& index);
    /// Presses a button cell as a click would, once control is back in the
    /// event loop (a press may open a modal dialog).
    void pressButtonCell(const QModelIndex& index);

signals:
    /// A key was released while the view (not a cell editor) had the focus:
    /// the grid's virtual key number and shift state.
    void keyReleased(int keyCode, int shift);
    /// A mouse button was released over the view (after the grid's MouseUp):
    /// 1 left, 2 right; the pointer in screen coordinates.
    void mouseReleased(int button, int shift, const QPoint& globalPos);

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* object, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void editorNavigationKey(QWidget* editor, int qtKey, Qt::KeyboardModifiers modifiers);
    /// Enters an open editor's entry and passes the focus on (Ctrl+Tab).
    void leaveFocus(bool forward);
    /// Enters and closes an open editor. False (editor left open) when the
    /// cell would refuse its entry.
    bool leaveEditor();
    /// Asks the grid to move its caret to a cell; the view follows.
    bool askMoveTo(const QModelIndex& index);
    void followGrid(int col, int row);
    /// Scrolls a cell fully into view (the hidden caption row stays hidden).
    void showCell(const QModelIndex& index);
    void selectBlock(int col1, int row1, int col2, int row2);
    void selectionToGrid();
    void updateCaptionRow();
    void updateHeaderHeight();

    Grid& grid_;
    GridTableModel* model_;
    GridDelegate* delegate_;
    QPointer<QWidget> editor_;
    QPersistentModelIndex editorIndex_;
    bool entered_ = false;  // the open editor's entry was taken by the grid
    bool following_ = false;
    bool clicking_ = false;  // a mouse press is moving the caret
    QPersistentModelIndex pressedButton_;
    QPersistentModelIndex pressedOnActive_;
    bool dragSelecting_ = false;
};

}  // namespace rillo
