#include "AddGridRow.h"
#include "GridTableModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace rillo;

namespace {

/// Captions in row 1, the template row 2 and the "&Add Row" row 3.
void makeCardGrid(Grid& g) {
    g.setColCount(4);
    g.setRowCount(3);
    for (int c = 1; c <= 4; ++c) {
        g.setValue(c, 1, "Caption " + std::to_string(c));
        g.setLocked(c, 1, true);
        g.setBackColor(c, 1, ColorButtonFace);
    }
    g.setFloat(1, 2, 4, 0, 100);
    g.setInteger(2, 2, 0, 1900);
    g.setCombo(3, 2, "Choose one\t1 = Channel\t2 = Pipe");
    g.setButton(4, 2, "Tabular");
    g.setButton(1, 3, "&Add Row");
    g.setRowsFrozen(1);
}

}  // namespace

TEST(GridTableModel, StaysConsistentWhileRowsComeAndGo) {
    Grid g("g");
    makeCardGrid(g);
    GridTableModel model(g);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    for (int i = 0; i < 20; ++i) addGridRow(g, 0);
    EXPECT_EQ(model.rowCount(), 23);
    EXPECT_EQ(model.data(model.cellIndex(1, 23)).toString(), "&Add Row");
    g.setValue(2, 5, "7");
    g.deleteRow(4);
    EXPECT_EQ(model.data(model.cellIndex(2, 4)).toString(), "7");
    g.insertRow(3);
    EXPECT_EQ(model.data(model.cellIndex(2, 5)).toString(), "7");
    g.setRowCount(10);
    EXPECT_EQ(model.rowCount(), 10);
    g.setColCount(6);
    EXPECT_EQ(model.columnCount(), 6);
    g.setRowCount(0);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.data(model.index(0, 0)).isValid());
}

TEST(GridTableModel, PresentsEachCellTypeAndRefusesEditingWhereTheGridDoes) {
    Grid g("g");
    makeCardGrid(g);
    GridTableModel model(g);
    g.setValue(1, 2, "2.5");
    g.setValue(3, 2, "2");

    EXPECT_EQ(model.data(model.cellIndex(1, 2)).toString(), "2.5000");
    EXPECT_EQ(model.data(model.cellIndex(3, 2)).toString(), "2 = Pipe");        // combo shows its item
    EXPECT_EQ(model.data(model.cellIndex(3, 2), Qt::EditRole).toString(), "2");  // and edits its index
    EXPECT_EQ(model.data(model.cellIndex(4, 2)).toString(), "Tabular");
    EXPECT_EQ(model.data(model.cellIndex(4, 2), GridTableModel::CellTypeRole).toInt(), CellButton);
    EXPECT_TRUE(model.data(model.cellIndex(1, 2), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);

    EXPECT_TRUE(model.flags(model.cellIndex(1, 2)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.cellIndex(1, 1)) & Qt::ItemIsEditable);  // locked caption
    EXPECT_FALSE(model.flags(model.cellIndex(4, 2)) & Qt::ItemIsEditable);  // button
    EXPECT_TRUE(model.data(model.cellIndex(1, 1), Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model.data(model.cellIndex(1, 2), Qt::BackgroundRole).isValid());
}

TEST(GridTableModel, SetDataIsTheUsersEntryIntoTheActiveCellOnly) {
    Grid g("g");
    makeCardGrid(g);
    GridTableModel model(g);
    g.setActiveCell(1, 2);

    EXPECT_FALSE(model.setData(model.cellIndex(2, 2), "5"));  // not the active cell
    EXPECT_EQ(g.value(2, 2), "");
    EXPECT_FALSE(model.setData(model.cellIndex(1, 2), "abc"));
    EXPECT_FALSE(model.setData(model.cellIndex(1, 2), "100.5"));  // above the maximum
    EXPECT_EQ(g.value(1, 2), "");
    EXPECT_TRUE(model.setData(model.cellIndex(1, 2), "12.5"));
    EXPECT_EQ(g.value(1, 2), "12.5000");
    EXPECT_TRUE(g.changePending());

    g.setActiveCell(3, 2);
    EXPECT_TRUE(model.setData(model.cellIndex(3, 2), 1));  // a combo takes the item index
    EXPECT_EQ(g.value(3, 2), "1");
    EXPECT_TRUE(model.setData(model.cellIndex(3, 2), -1));
    EXPECT_EQ(g.value(3, 2), "");
}

TEST(GridTableModel, FrozenCaptionsAreTheHeaderAndFollowTheirCells) {
    Grid g("g");
    makeCardGrid(g);
    GridTableModel model(g);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Caption 2");
    EXPECT_EQ(model.headerData(1, Qt::Vertical).toInt(), 2);  // grid row numbers

    QSignalSpy headerChanged(&model, &QAbstractItemModel::headerDataChanged);
    g.setValue(2, 1, "New caption");
    ASSERT_EQ(headerChanged.count(), 1);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "New caption");

    g.setRowsFrozen(0);  // the hidden index grid has no captions
    EXPECT_EQ(model.headerData(27, Qt::Horizontal).toString(), "");
    g.setColCount(28);
    EXPECT_EQ(model.headerData(27, Qt::Horizontal).toString(), "AB");
}
