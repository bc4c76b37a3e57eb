#include "GridDelegate.h"

#include "GridNumberValidator.h"
#include "GridTableModel.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace rillo {

namespace {

const GridTableModel* gridModel(const QModelIndex& index) {
    return qobject_cast<const GridTableModel*>(index.model());
}

}  // namespace

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
    const GridTableModel* model = gridModel(index);
    if (!model) return nullptr;
    const CellFormat& f = model->format(index);
    switch (f.type) {
    case CellButton: return nullptr;
    case CellCombo: {
        auto* combo = new QComboBox(parent);
        for (const auto& item : model->grid().comboItems(GridTableModel::gridCol(index), GridTableModel::gridRow(index)))
            combo->addItem(QString::fromStdString(item));
        combo->setFrame(false);
        return combo;
    }
    case CellFloat: {
        auto* edit = new QLineEdit(parent);
        edit->setValidator(new GridNumberValidator(f.floatMin, f.floatMax, f.decimals, edit));
        edit->setFrame(false);
        return edit;
    }
    case CellInteger: {
        auto* edit = new QLineEdit(parent);
        edit->setValidator(new GridNumberValidator(f.intMin, f.intMax, edit));
        edit->setFrame(false);
        return edit;
    }
    default: {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        return edit;
    }
    }
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString value = index.data(Qt::EditRole).toString();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        bool ok = false;
        const int i = value.toInt(&ok);
        combo->setCurrentIndex(ok && i >= 0 && i < combo->count() ? i : -1);
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setAlignment(index.data(Qt::TextAlignmentRole).value<Qt::Alignment>());
        edit->setText(value);
        edit->selectAll();
    }
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    model->setData(index, editorValue(editor), Qt::EditRole);
}

QVariant GridDelegate::editorValue(const QWidget* editor) {
    if (auto* combo = qobject_cast<const QComboBox*>(editor)) return combo->currentIndex();
    if (auto* edit = qobject_cast<const QLineEdit*>(editor)) return edit->text();
    return {};
}

bool GridDelegate::isAcceptable(const QWidget* editor) {
    auto* edit = qobject_cast<const QLineEdit*>(editor);
    return !edit || edit->hasAcceptableInput();
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (index.data(GridTableModel::CellTypeRole).toInt() != CellButton) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // The caret on a button cell shows as on any cell: the cell's highlight
    // around the button, and the button's focus frame.
    const bool current = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
    painter->fillRect(option.rect, current ? option.palette.highlight() : option.palette.button());
    QStyleOptionButton button;
    button.rect = option.rect.adjusted(2, 2, -2, -2);
    button.text = index.data(Qt::DisplayRole).toString();
    button.palette = option.palette;
    button.fontMetrics = option.fontMetrics;
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    if (option.state & QStyle::State_HasFocus) button.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
    style->drawControl(QStyle::CE_PushButton, &button, painter, widget);
}

bool GridDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (!editor || event->type() != QEvent::KeyPress) return QStyledItemDelegate::eventFilter(object, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto* edit = qobject_cast<QLineEdit*>(editor);
    bool leaves = false;
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter: leaves = true; break;
    case Qt::Key_Up:
    case Qt::Key_Down: leaves = edit != nullptr; break;  // a combo's own item keys
    case Qt::Key_Left: leaves = edit && !edit->hasSelectedText() && edit->cursorPosition() == 0; break;
    case Qt::Key_Right:
        leaves = edit && !edit->hasSelectedText() && edit->cursorPosition() == edit->text().size();
        break;
    default: break;
    }
    if (!leaves) return QStyledItemDelegate::eventFilter(object, event);
    // An entry the cell would refuse keeps the editor open.
    if (isAcceptable(editor)) emit navigationKey(editor, key->key(), key->modifiers());
    return true;
}

}  // namespace rillo
