#include "GridAccessible.h"

#include "GridTableModel.h"
#include "GridView.h"

#include <QApplication>
#include <QHeaderView>
#include <QPointer>
#include <QRegularExpression>

namespace rillo {

namespace {

/// Whether the keyboard is in the view: on it, or in its cell editor.
bool hasKeyboard(const GridView* view) {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == view || view->isAncestorOf(focus));
}

/// One child of a grid's table: a cell, a column or row header, or the
/// corner where the headers meet.
class GridCellAccessible : public QAccessibleInterface,
                           public QAccessibleTableCellInterface,
                           public QAccessibleActionInterface {
public:
    enum class Kind { Cell, ColumnHeader, RowHeader, Corner };

    GridCellAccessible(GridView* view, Kind kind, const QModelIndex& index, int section)
        : view_(view), kind_(kind), index_(index), section_(section) {}

    /// Where this child now is in the table's numbering; -1 when its cell is gone.
    int logicalIndex() const {
        if (!view_) return -1;
        const GridAccessible* table = tableOf();
        if (!table) return -1;
        switch (kind_) {
        case Kind::Cell: return index_.isValid() ? table->childIndex(index_.row(), index_.column()) : -1;
        case Kind::ColumnHeader:
            return section_ < view_->gridModel()->columnCount() ? table->childIndex(-1, section_) : -1;
        case Kind::RowHeader: return section_ < view_->gridModel()->rowCount() ? table->childIndex(section_, -1) : -1;
        case Kind::Corner: return 0;
        }
        return -1;
    }

    bool isValid() const override { return view_ && (kind_ != Kind::Cell || index_.isValid()); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(view_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        const GridTableModel* model = view_->gridModel();
        switch (kind_) {
        case Kind::Cell:
            if (t == QAccessible::Name) return model->data(index_, Qt::AccessibleTextRole).toString();
            if (t == QAccessible::Description)
                return model->headerData(index_.column(), Qt::Horizontal).toString().simplified();
            return {};
        case Kind::ColumnHeader:
            return t == QAccessible::Name ? model->headerData(section_, Qt::Horizontal).toString().simplified()
                                          : QString();
        case Kind::RowHeader:
            return t == QAccessible::Name ? model->headerData(section_, Qt::Vertical).toString() : QString();
        case Kind::Corner: return {};
        }
        return {};
    }

    QRect rect() const override {
        if (!isValid()) return {};
        switch (kind_) {
        case Kind::Cell: {
            const QRect r = view_->visualRect(index_);
            return QRect(view_->viewport()->mapToGlobal(r.topLeft()), r.size());
        }
        case Kind::ColumnHeader: {
            const QHeaderView* h = view_->horizontalHeader();
            return QRect(h->mapToGlobal(QPoint(h->sectionViewportPosition(section_), 0)),
                         QSize(h->sectionSize(section_), h->height()));
        }
        case Kind::RowHeader: {
            const QHeaderView* h = view_->verticalHeader();
            return QRect(h->mapToGlobal(QPoint(0, h->sectionViewportPosition(section_))),
                         QSize(h->width(), h->sectionSize(section_)));
        }
        case Kind::Corner: {
            const QHeaderView* v = view_->verticalHeader();
            const QHeaderView* h = view_->horizontalHeader();
            return QRect(view_->mapToGlobal(QPoint(view_->frameWidth(), view_->frameWidth())),
                         QSize(v->width(), h->height()));
        }
        }
        return {};
    }

    bool isButton() const {
        return kind_ == Kind::Cell && isValid() && view_->gridModel()->format(index_).type == CellButton;
    }

    QAccessible::Role role() const override {
        switch (kind_) {
        case Kind::Cell: return isButton() ? QAccessible::Button : QAccessible::Cell;
        case Kind::ColumnHeader: return QAccessible::ColumnHeader;
        case Kind::RowHeader: return QAccessible::RowHeader;
        case Kind::Corner: return QAccessible::Pane;
        }
        return QAccessible::NoRole;
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        if (kind_ != Kind::Cell) {
            const QHeaderView* h = kind_ == Kind::RowHeader ? view_->verticalHeader() : view_->horizontalHeader();
            s.invisible = !view_->isVisible() || h->isHidden();
            return s;
        }
        const QRect r = view_->visualRect(index_);
        s.invisible = !view_->isVisible() || view_->isRowHidden(index_.row());
        s.offscreen = s.invisible || !view_->viewport()->rect().intersects(r);
        s.focusable = !view_->isRowHidden(index_.row());
        // The caret cell has the focus whenever the grid has the keyboard
        // (also while its cell editor is open), as Qt's own table says.
        s.focused = hasKeyboard(view_) && view_->gridModel()->activeIndex() == index_;
        s.selectable = true;
        s.selected = isSelected();
        const bool editable = view_->gridModel()->flags(index_) & Qt::ItemIsEditable;
        s.editable = editable;
        s.readOnly = !editable && !isButton();
        s.disabled = !view_->isEnabled();
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (kind_ == Kind::Cell && t == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        if (kind_ == Kind::Cell && t == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return isValid() && view_->selectionModel()->isSelected(index_); }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        const GridAccessible* table = tableOf();
        if (!table || !isValid()) return {};
        return {table->child(table->childIndex(-1, index_.column()))};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override {
        const GridAccessible* table = tableOf();
        if (!table || !isValid()) return {};
        return {table->child(table->childIndex(index_.row(), -1))};
    }
    int columnIndex() const override { return index_.column(); }
    int rowIndex() const override { return index_.row(); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // QAccessibleActionInterface
    QStringList actionNames() const override {
        if (!isValid() || view_->isRowHidden(index_.row()) || !view_->isEnabled()) return {};
        if (isButton()) return {pressAction(), setFocusAction()};
        return {setFocusAction()};
    }
    void doAction(const QString& name) override {
        if (!actionNames().contains(name)) return;
        if (name == pressAction())
            view_->pressButtonCell(index_);
        else if (name == setFocusAction())
            view_->moveCaretTo(index_);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == pressAction() && isButton()) return {QStringLiteral("Space")};
        return {};
    }

private:
    const GridAccessible* tableOf() const {
        return view_ ? dynamic_cast<const GridAccessible*>(QAccessible::queryAccessibleInterface(view_.data()))
                     : nullptr;
    }

    QPointer<GridView> view_;
    Kind kind_;
    QPersistentModelIndex index_;
    int section_;
};

}  // namespace

GridAccessible::GridAccessible(GridView* view) : QAccessibleWidget(view, QAccessible::Table) {}

GridAccessible::~GridAccessible() { forgetChildren(); }

QAccessibleInterface* GridAccessible::create(const QString&, QObject* object) {
    if (auto* view = qobject_cast<GridView*>(object)) return new GridAccessible(view);
    return nullptr;
}

GridView* GridAccessible::view() const { return static_cast<GridView*>(widget()); }

int GridAccessible::childIndex(int row, int column) const { return (row + 1) * (columnCount() + 1) + column + 1; }

QString GridAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Description && view()->accessibleDescription().isEmpty()) {
        QStringList captions;
        for (int c = 0; c < columnCount(); ++c) captions << columnDescription(c);
        return QStringLiteral("Columns: ") + captions.join(QStringLiteral("; "));
    }
    return QAccessibleWidget::text(t);
}

int GridAccessible::columnCount() const { return view()->gridModel()->columnCount(); }

int GridAccessible::rowCount() const { return view()->gridModel()->rowCount(); }

int GridAccessible::childCount() const { return (rowCount() + 1) * (columnCount() + 1); }

QAccessibleInterface* GridAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    if (const auto it = children_.constFind(index); it != children_.constEnd()) {
        auto* cached = static_cast<GridCellAccessible*>(QAccessible::accessibleInterface(*it));
        // Rows come and go: a child that moved is made anew.
        if (cached && cached->logicalIndex() == index) return cached;
        if (cached) QAccessible::deleteAccessibleInterface(*it);
        children_.erase(it);
    }
    const int width = columnCount() + 1;
    const int row = index / width - 1, column = index % width - 1;
    GridCellAccessible* cell = nullptr;
    if (row < 0 && column < 0)
        cell = new GridCellAccessible(view(), GridCellAccessible::Kind::Corner, {}, 0);
    else if (row < 0)
        cell = new GridCellAccessible(view(), GridCellAccessible::Kind::ColumnHeader, {}, column);
    else if (column < 0)
        cell = new GridCellAccessible(view(), GridCellAccessible::Kind::RowHeader, {}, row);
    else
        cell = new GridCellAccessible(view(), GridCellAccessible::Kind::Cell, view()->gridModel()->index(row, column), 0);
    children_.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* cell = dynamic_cast<const GridCellAccessible*>(child);
    if (!cell || !child->parent() || child->parent()->object() != view()) return -1;
    return cell->logicalIndex();
}

QAccessibleInterface* GridAccessible::childAt(int x, int y) const {
    const QPoint global(x, y);
    const QPoint inViewport = view()->viewport()->mapFromGlobal(global);
    if (view()->viewport()->rect().contains(inViewport)) {
        const QModelIndex index = view()->indexAt(inViewport);
        return index.isValid() ? child(childIndex(index.row(), index.column())) : nullptr;
    }
    const QHeaderView* header = view()->horizontalHeader();
    const QPoint inHeader = header->mapFromGlobal(global);
    if (header->isVisible() && header->rect().contains(inHeader)) {
        const int section = header->logicalIndexAt(inHeader);
        return section >= 0 ? child(childIndex(-1, section)) : nullptr;
    }
    return nullptr;
}

QAccessibleInterface* GridAccessible::focusChild() const {
    const QModelIndex current = view()->gridModel()->activeIndex();
    if (hasKeyboard(view()) && current.isValid()) return child(childIndex(current.row(), current.column()));
    return QAccessibleWidget::focusChild();
}

void* GridAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QAccessibleInterface* GridAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
    return child(childIndex(row, column));
}

int GridAccessible::selectedCellCount() const {
    return static_cast<int>(view()->selectionModel()->selectedIndexes().size());
}

QList<QAccessibleInterface*> GridAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (const QModelIndex& index : view()->selectionModel()->selectedIndexes())
        cells << child(childIndex(index.row(), index.column()));
    return cells;
}

QString GridAccessible::columnDescription(int column) const {
    return view()->gridModel()->headerData(column, Qt::Horizontal).toString().simplified();
}

QString GridAccessible::rowDescription(int row) const {
    return view()->gridModel()->headerData(row, Qt::Vertical).toString();
}

void GridAccessible::modelChange(QAccessibleTableModelChangeEvent* event) {
    if (event->modelChangeType() == QAccessibleTableModelChangeEvent::DataChanged) return;
    // Cells whose grid cell is still there keep their identity (a screen
    // reader may be on the "Add Row" button that just moved down); the rest go.
    QHash<int, QAccessible::Id> kept;
    for (const QAccessible::Id id : std::as_const(children_)) {
        auto* cell = static_cast<GridCellAccessible*>(QAccessible::accessibleInterface(id));
        const int at = cell ? cell->logicalIndex() : -1;
        if (at >= 0 && !kept.contains(at))
            kept.insert(at, id);
        else if (cell)
            QAccessible::deleteAccessibleInterface(id);
    }
    children_ = kept;
}

void GridAccessible::forgetChildren() const {
    for (const QAccessible::Id id : std::as_const(children_)) QAccessible::deleteAccessibleInterface(id);
    children_.clear();
}

}  // namespace rillo
