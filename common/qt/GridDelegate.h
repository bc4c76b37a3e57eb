#pragma once
// The one delegate of every grid view. It draws and edits a cell by the cell
// type the model reports: float and integer cells get a line edit that takes
// only numbers within the cell's limits, combo cells a drop-down of their
// items (the value is the item's index), edit cells a plain line edit, and
// button cells are drawn as push buttons (the view turns a click into the
// grid's ButtonClicked).
//
// Keys that leave the cell while an editor is open (Tab, Shift+Tab, Enter,
// Up, Down, and Left/Right at either end of the text) are not handled here:
// the delegate reports them with navigationKey() and the view commits the
// entry and lets the grid move the caret.

#include <QStyledItemDelegate>

namespace rillo {

class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    /// The value an editor holds, as the model's setData takes it: text, or
    /// for a combo the chosen index (-1 for none).
    static QVariant editorValue(const QWidget* editor);
    /// Whether the editor's entry is one the cell takes (a number within the
    /// limits of a float or integer cell, or empty).
    static bool isAcceptable(const QWidget* editor);

signals:
    /// A key that leaves the cell was pressed in an editor.
    void navigationKey(QWidget* editor, int qtKey, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
};

}  // namespace rillo
