#include "GridTableModel.h"

#include <QBrush>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

namespace rillo {

namespace {

Qt::Alignment alignment(const CellFormat& f) {
    Qt::Alignment a;
    switch (f.hAlign) {
    case HAlign::Left: a = Qt::AlignLeft; break;
    case HAlign::Right: a = Qt::AlignRight; break;
    case HAlign::Center: a = Qt::AlignHCenter; break;
    case HAlign::General:
    default:
        // Numbers to the right, text to the left, as spreadsheets do.
        if (f.type == CellFloat || f.type == CellInteger) a = Qt::AlignRight;
        else if (f.type == CellButton) a = Qt::AlignHCenter;
        else a = Qt::AlignLeft;
        break;
    }
    switch (f.vAlign) {
    case VAlign::Top: a |= Qt::AlignTop; break;
    case VAlign::Bottom: a |= Qt::AlignBottom; break;
    case VAlign::Center:
    default: a |= Qt::AlignVCenter; break;
    }
    return a;
}

QVariant background(const CellFormat& f) {
    if (f.backColor == ColorButtonFace || f.locked)
        return QBrush(QGuiApplication::palette().color(QPalette::Button));
    if (f.backColor & 0x80000000u) return {};  // other system colours: the view's own
    const auto c = f.backColor;
    return QBrush(QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                         static_cast<int>((c >> 16) & 0xFF)));
}

/// "&Add Row" reads "Add Row"; "&&" stands for one "&".
QString withoutAccessKey(const QString& label) {
    QString out;
    for (qsizetype i = 0; i < label.size(); ++i) {
        if (label[i] == QLatin1Char('&') && i + 1 < label.size()) ++i;  // the marker goes, "&&" leaves one
        out += label[i];
    }
    return out;
}

}  // namespace

GridTableModel::GridTableModel(Grid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {
    grid_.addObserver(this);
}

GridTableModel::~GridTableModel() { grid_.removeObserver(this); }

bool GridTableModel::valid(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && grid_.contains(gridCol(index), gridRow(index));
}

const CellFormat& GridTableModel::format(const QModelIndex& index) const {
    return grid_.format(gridCol(index), gridRow(index));
}

int GridTableModel::frozenRows() const { return std::clamp(grid_.rowsFrozen(), 0, grid_.rowCount()); }

int GridTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : grid_.rowCount(); }

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.colCount();
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    if (!valid(index)) return {};
    const int col = gridCol(index), row = gridRow(index);
    const CellFormat& f = grid_.format(col, row);
    switch (role) {
    case Qt::DisplayRole:
        if (f.type == CellCombo) return QString::fromStdString(grid_.comboText(col, row));
        if (f.type == CellButton) return QString::fromStdString(f.buttonText);
        return QString::fromStdString(grid_.value(col, row));
    case Qt::EditRole:
        if (f.type == CellButton) return QString::fromStdString(f.buttonText);
        return QString::fromStdString(grid_.value(col, row));
    case Qt::AccessibleTextRole:
        // A button's name is read without its access-key marker.
        if (f.type == CellButton) return withoutAccessKey(QString::fromStdString(f.buttonText));
        return data(index, Qt::DisplayRole);
    case Qt::BackgroundRole: return background(f);
    case Qt::TextAlignmentRole: return QVariant::fromValue(alignment(f));
    case CellTypeRole: return f.type;
    default: return {};
    }
}

bool GridTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !valid(index)) return false;
    const int col = gridCol(index), row = gridRow(index);
    if (col != grid_.activeCol() || row != grid_.activeRow()) return false;
    QString text;
    if (grid_.format(col, row).type == CellCombo && value.typeId() == QMetaType::Int)
        text = value.toInt() < 0 ? QString() : QString::number(value.toInt());
    else
        text = value.toString();
    return grid_.userEnterText(text.toStdString());
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
    if (!valid(index)) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (grid_.isEditable(gridCol(index), gridRow(index))) f |= Qt::ItemIsEditable;
    return f;
}

QString GridTableModel::columnLetters(int col) {
    QString letters;
    while (col > 0) {
        const int digit = (col - 1) % 26;
        letters.prepend(QChar('A' + digit));
        col = (col - 1) / 26;
    }
    return letters;
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || section < 0) return {};
    if (orientation == Qt::Horizontal) {
        if (section >= grid_.colCount()) return {};
        // A grid with a frozen caption row shows the captions as its header.
        if (frozenRows() >= 1) return data(cellIndex(section + 1, 1), Qt::DisplayRole);
        return columnLetters(section + 1);
    }
    if (section >= grid_.rowCount()) return {};
    return section + 1;
}

void GridTableModel::rowsAboutToBeInserted(int row, int count) {
    beginInsertRows({}, row - 1, row - 1 + count - 1);
}

void GridTableModel::rowsInserted() { endInsertRows(); }

void GridTableModel::rowsAboutToBeRemoved(int row, int count) {
    beginRemoveRows({}, row - 1, row - 1 + count - 1);
}

void GridTableModel::rowsRemoved() { endRemoveRows(); }

void GridTableModel::aboutToReset() { beginResetModel(); }

void GridTableModel::reset() { endResetModel(); }

void GridTableModel::cellsChanged(int col1, int row1, int col2, int row2) {
    col1 = std::max(col1, 1), row1 = std::max(row1, 1);
    col2 = std::min(col2, grid_.colCount()), row2 = std::min(row2, grid_.rowCount());
    if (col1 > col2 || row1 > row2) return;
    emit dataChanged(cellIndex(col1, row1), cellIndex(col2, row2));
    if (row1 == 1 && frozenRows() >= 1) emit headerDataChanged(Qt::Horizontal, col1 - 1, col2 - 1);
}

void GridTableModel::activeCellChanged(int col, int row) { emit caretMoved(col, row); }

}  // namespace rillo
