#include "AddGridRow.h"
#include "GridTableModel.h"
#include "GridRecorder.h"
#include "GridView.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rillo;

namespace {

using Events = std::vector<std::string>;

using Recorder = rillo::testing::GridRecorder;

/// A shown view over a card grid: captions, the template row 2 (float,
/// integer, combo, edit, locked edit), data rows 3 to 5 and the "&Add Row" row.
class GridViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.setColCount(5);
        grid.setRowCount(3);
        for (int c = 1; c <= 5; ++c) {
            grid.setValue(c, 1, "Caption " + std::to_string(c));
            grid.setLocked(c, 1, true);
        }
        grid.setFloat(1, 2, 4, 0, 100);
        grid.setInteger(2, 2, 0, 1900);
        grid.setCombo(3, 2, "Choose one\t1 = Channel\t2 = Pipe");
        grid.setLocked(5, 2, true);
        grid.setButton(1, 3, "&Add Row");
        grid.setRowsFrozen(1);
        for (int i = 0; i < 3; ++i) addGridRow(grid, 0);
        grid.setActiveCell(1, 2);
        grid.setListener(&rec);
        view = std::make_unique<GridView>(grid);
        view->resize(700, 300);
        view->show();
        QApplication::setActiveWindow(view.get());
        view->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }

    /// Keys go where the user's keys would: the open editor, else the view.
    QWidget* target() {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : view.get();
    }
    void type(const QString& text) {
        for (const QChar c : text) QTest::keyClick(target(), c.toLatin1());
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(target(), k, m); }
    QPoint centre(int col, int row) { return view->visualRect(view->gridModel()->cellIndex(col, row)).center(); }
    void click(int col, int row, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseClick(view->viewport(), b, Qt::NoModifier, centre(col, row));
    }
    std::pair<int, int> current() const {
        const QModelIndex i = view->currentIndex();
        return {i.column() + 1, i.row() + 1};
    }

    Grid grid{"g"};
    Recorder rec;
    std::unique_ptr<GridView> view;
};

}  // namespace

TEST_F(GridViewTest, TypingThenTabEntersTheValueAndRaisesChangeBeforeLeaveCell) {
    type("2.5");
    EXPECT_TRUE(view->isEditing());
    key(Qt::Key_Tab);
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(grid.value(1, 2), "2.5000");
    EXPECT_EQ(rec.events, (Events{"Key 50/0", "EditMode 1,2 1", "EditMode 1,2 0 changed", "Key 9/0", "Change 1,2",
                                  "Leave 1,2->2,2"}));
    EXPECT_EQ(current(), std::make_pair(2, 2));
    EXPECT_EQ(grid.activeCol(), 2);
}

TEST_F(GridViewTest, EnterArrowsAndShiftTabMoveOnlyThroughTheGrid) {
    type("7");
    key(Qt::Key_Return);
    EXPECT_EQ(grid.value(1, 2), "7.0000");
    EXPECT_EQ(current(), std::make_pair(1, 3));
    key(Qt::Key_Right);  // no editor: one step, not two
    EXPECT_EQ(current(), std::make_pair(2, 3));
    type("12");
    key(Qt::Key_Down);  // leaves the editor downwards
    EXPECT_EQ(grid.value(2, 3), "12");
    EXPECT_EQ(current(), std::make_pair(2, 4));
    key(Qt::Key_Up);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(current(), std::make_pair(1, 3));
    EXPECT_EQ(rec.events.back(), "Leave 2,3->1,3");
    EXPECT_EQ(std::count(rec.events.begin(), rec.events.end(), "Key 9/1"), 1);
}

TEST_F(GridViewTest, ACancelledLeaveCellKeepsTheCaretButKeepsTheEntry) {
    rec.cancelLeave = true;
    type("3");
    key(Qt::Key_Tab);
    EXPECT_EQ(grid.value(1, 2), "3.0000");
    EXPECT_EQ(rec.events.back(), "Leave 1,2->2,2");
    EXPECT_EQ(current(), std::make_pair(1, 2));
    click(3, 4);
    EXPECT_EQ(current(), std::make_pair(1, 2));
    EXPECT_EQ(grid.activeRow(), 2);
    rec.cancelLeave = false;
    click(3, 4);
    EXPECT_EQ(current(), std::make_pair(3, 4));
}

TEST_F(GridViewTest, EscapeAndRefusedEntriesLeaveTheCellAsItWas) {
    grid.setValue(1, 2, "1");
    type("5");
    key(Qt::Key_Escape);
    EXPECT_EQ(grid.value(1, 2), "1.0000");
    EXPECT_EQ(rec.events, (Events{"Key 53/0", "EditMode 1,2 1", "EditMode 1,2 0"}));

    rec.events.clear();
    type("abc150");  // letters never get in; 150 is above the maximum of 100
    key(Qt::Key_Tab);
    EXPECT_TRUE(view->isEditing());  // the editor stays open, the caret stays
    EXPECT_EQ(current(), std::make_pair(1, 2));
    key(Qt::Key_Backspace);
    key(Qt::Key_Tab);
    EXPECT_EQ(grid.value(1, 2), "15.0000");
    EXPECT_EQ(current(), std::make_pair(2, 2));
}

TEST_F(GridViewTest, LockedAndButtonCellsRefuseTypingAndAButtonClickRaisesButtonClicked) {
    grid.setActiveCell(5, 2);
    type("9");
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(grid.value(5, 2), "");
    EXPECT_EQ(rec.events, (Events{"Key 57/0"}));

    rec.events.clear();
    click(1, 6);  // the "&Add Row" button
    EXPECT_EQ(rec.events, (Events{"Leave 5,2->1,6", "Button 1,6", "MouseUp 1/0"}));
    type("x");
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(grid.value(1, 6), "");
}

TEST_F(GridViewTest, MouseClicksMoveTheCaretRightClicksOnlyRaiseMouseUp) {
    QSignalSpy released(view.get(), &GridView::mouseReleased);
    click(2, 4);
    EXPECT_EQ(rec.events, (Events{"Leave 1,2->2,4", "MouseUp 1/0"}));
    rec.events.clear();
    click(3, 5, Qt::RightButton);
    EXPECT_EQ(rec.events, (Events{"MouseUp 2/0"}));
    EXPECT_EQ(current(), std::make_pair(2, 4));
    ASSERT_EQ(released.count(), 2);
    EXPECT_EQ(released.at(1).at(0).toInt(), 2);
}

TEST_F(GridViewTest, DoubleClickEditsAComboTakesTheItemIndex) {
    click(3, 3);  // a double click is a press and release, then the double click
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, centre(3, 3));
    auto* combo = qobject_cast<QComboBox*>(QApplication::focusWidget());
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(2);
    key(Qt::Key_Return);
    EXPECT_EQ(grid.value(3, 3), "2");
    EXPECT_EQ(view->gridModel()->data(view->gridModel()->cellIndex(3, 3)).toString(), "2 = Pipe");
    EXPECT_EQ(current(), std::make_pair(3, 4));
}

TEST_F(GridViewTest, TheViewFollowsTheGridAndTellsItTheSelection) {
    grid.setActiveCell(2, 5);
    EXPECT_EQ(current(), std::make_pair(2, 5));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(3, 4));
    EXPECT_EQ(grid.activeCol(), 2);
    EXPECT_EQ(grid.activeRow(), 5);
    EXPECT_EQ((std::vector<int>{grid.selCol1(), grid.selRow1(), grid.selCol2(), grid.selRow2()}),
              (std::vector<int>{2, 4, 3, 5}));
}

TEST_F(GridViewTest, DeleteRaisesKeyDownAndReportsItsReleaseWithoutEditing) {
    QSignalSpy released(view.get(), &GridView::keyReleased);
    grid.setValue(1, 2, "4");
    key(Qt::Key_Delete);
    EXPECT_EQ(grid.value(1, 2), "4.0000");
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(rec.events, (Events{"Key 46/0"}));
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released.at(0).at(0).toInt(), KeyDelete);
}

TEST_F(GridViewTest, TheShownCaretStaysTheGridsCaretWhenRowsComeAndGo) {
    grid.setActiveCell(1, 6);  // the "&Add Row" button
    ASSERT_EQ(current(), std::make_pair(1, 6));
    addGridRow(grid, 0);  // the button moves down; the grid's caret stays in row 6
    EXPECT_EQ(current(), std::make_pair(grid.activeCol(), grid.activeRow()));
    grid.setActiveCell(2, 4);
    grid.deleteRow(3);
    EXPECT_EQ(current(), std::make_pair(grid.activeCol(), grid.activeRow()));
    EXPECT_EQ(view->selectionModel()->selectedIndexes(), QModelIndexList{view->currentIndex()});
}

TEST_F(GridViewTest, ACaretLeftInTheHiddenCaptionRowComesIntoViewWithTheFocus) {
    view->clearFocus();
    grid.setActiveCell(3, 1);  // where a freshly read grid leaves it
    rec.events.clear();
    view->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(grid.activeRow(), 2);
    EXPECT_EQ(grid.activeCol(), 3);
    EXPECT_EQ(current(), std::make_pair(3, 2));
    EXPECT_TRUE(rec.events.empty());  // no cell of the caption row is left
    type("1");
    key(Qt::Key_Return);
    EXPECT_EQ(grid.value(3, 2), "1");
}

TEST_F(GridViewTest, CtrlTabTakesTheKeyboardOutOfTheGridWithTheEntryEntered) {
    QWidget form;
    auto* before = new QLineEdit(&form);
    view->setParent(&form);
    auto* after = new QLineEdit(&form);
    form.show();
    QApplication::setActiveWindow(&form);
    view->setFocus();
    key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), after);
    view->setFocus();
    type("4");  // an open editor: its entry goes in first
    key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), before);
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(grid.value(1, 2), "4.0000");
    EXPECT_EQ(current(), std::make_pair(1, 2));  // the caret did not move
    view->setParent(nullptr);
}

TEST_F(GridViewTest, TheCaretOnAButtonCellCanBeSeen) {
    const auto buttonCell = [&] { return view->viewport()->grab(view->visualRect(view->gridModel()->cellIndex(1, 6))).toImage(); };
    const QImage away = buttonCell();
    grid.setActiveCell(1, 6);
    QCoreApplication::processEvents();
    const QImage here = buttonCell();
    EXPECT_NE(here, away);
    // The highlight shows around the button, as on any cell with the caret.
    EXPECT_EQ(here.pixelColor(1, 1), view->palette().color(QPalette::Highlight));
}

TEST_F(GridViewTest, CaptionsStayInTheHeaderAndRowsKeepOneHeight) {
    EXPECT_TRUE(view->isRowHidden(0));
    EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal).toString(), "Caption 1");
    for (int i = 0; i < 2000; ++i) addGridRow(grid, 0);
    view->scrollToBottom();
    EXPECT_EQ(view->verticalHeader()->sectionSize(1), view->verticalHeader()->sectionSize(1500));
    EXPECT_TRUE(view->horizontalHeader()->isVisible());
}

namespace {

/// A wide, long grid of float cells in a small view, so that cells are cut
/// off at every edge.
class PartlyVisibleCellTest : public ::testing::Test {
protected:
    static constexpr int Cols = 14, Rows = 40;
    void SetUp() override {
        grid.setColCount(Cols);
        grid.setRowCount(Rows);
        for (int c = 1; c <= Cols; ++c) {
            grid.setValue(c, 1, "C" + std::to_string(c));
            grid.setLocked(c, 1, true);
            for (int r = 2; r <= Rows; ++r) {
                grid.setFloat(c, r, 4, 0, 100);
                grid.setValue(c, r, "0.06");
            }
        }
        grid.setRowsFrozen(1);
        grid.setActiveCell(3, 2);
        grid.setListener(&rec);
        view = std::make_unique<GridView>(grid);
        view->resize(430, 260);
        view->show();
        QApplication::setActiveWindow(view.get());
        view->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
        // Six and a half rows and three and a half columns show.
        const int rowHeight = view->rowHeight(1), colWidth = view->columnWidth(0);
        view->resize(view->width() - view->viewport()->width() + 3 * colWidth + colWidth / 2,
                     view->height() - view->viewport()->height() + 6 * rowHeight + rowHeight / 2);
        QCoreApplication::processEvents();
    }

    QRect cellRect(int col, int row) const { return view->visualRect(view->gridModel()->cellIndex(col, row)); }
    QRect viewport() const { return view->viewport()->rect(); }

    /// The cell the view shows cut off at `edge`, and a point on its visible part.
    std::pair<std::pair<int, int>, QPoint> cutOffCell(Qt::Edge edge) const {
        const QRect port = viewport();
        for (int c = 1; c <= Cols; ++c)
            for (int r = 2; r <= Rows; ++r) {
                const QRect cell = cellRect(c, r);
                const QRect shown = cell.intersected(port);
                if (shown.isEmpty() || shown == cell || shown.width() < 6 || shown.height() < 6) continue;
                const bool cut = (edge == Qt::RightEdge && cell.right() > port.right() && cell.top() >= 0 &&
                                  cell.bottom() <= port.bottom()) ||
                                 (edge == Qt::LeftEdge && cell.left() < 0 && cell.top() >= 0 &&
                                  cell.bottom() <= port.bottom()) ||
                                 (edge == Qt::BottomEdge && cell.bottom() > port.bottom() && cell.left() >= 0 &&
                                  cell.right() <= port.right()) ||
                                 (edge == Qt::TopEdge && cell.top() < 0 && cell.left() >= 0 &&
                                  cell.right() <= port.right());
                if (cut) return {{c, r}, shown.center()};
            }
        return {{0, 0}, {}};
    }

    Grid grid{"g"};
    Recorder rec;
    std::unique_ptr<GridView> view;
};

}  // namespace

TEST_F(PartlyVisibleCellTest, AClickOrDoubleClickOnACutOffCellPutsTheCaretAndTheTypingThere) {
    const int rowHeight = view->rowHeight(1), colWidth = view->columnWidth(0);
    const struct {
        Qt::Edge edge;
        QAbstractItemView::ScrollMode mode;
        int scrollH, scrollV;  // items or pixels, by the mode
    } cases[] = {
        {Qt::RightEdge, QAbstractItemView::ScrollPerItem, 2, 0},
        {Qt::BottomEdge, QAbstractItemView::ScrollPerItem, 0, 5},
        {Qt::LeftEdge, QAbstractItemView::ScrollPerPixel, 2 * colWidth + colWidth / 2, 0},
        {Qt::TopEdge, QAbstractItemView::ScrollPerPixel, 0, 3 * rowHeight + rowHeight / 2},
    };
    for (const auto& c : cases) {
        for (const bool doubleClick : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "edge " << c.edge << (doubleClick ? " double click" : " click"));
            view->setHorizontalScrollMode(c.mode);
            view->setVerticalScrollMode(c.mode);
            grid.setActiveCell(3, 2);
            view->horizontalScrollBar()->setValue(c.scrollH);
            view->verticalScrollBar()->setValue(c.scrollV);
            const auto [cell, point] = cutOffCell(c.edge);
            ASSERT_NE(cell.first, 0) << "no cell is cut off at that edge";
            const auto [col, row] = cell;
            if (doubleClick) {
                QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, point);
                QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, point);
                EXPECT_TRUE(view->isEditing());
            } else {
                QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, point);
            }
            EXPECT_EQ(grid.activeCol(), col);
            EXPECT_EQ(grid.activeRow(), row);
            EXPECT_EQ(view->currentIndex(), view->gridModel()->cellIndex(col, row));
            EXPECT_EQ(view->selectionModel()->selectedIndexes(),
                      QModelIndexList{view->gridModel()->cellIndex(col, row)});
            const std::string value = doubleClick ? "0.25" : "0.5";
            if (doubleClick) QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            for (const char ch : value) QTest::keyClick(QApplication::focusWidget(), ch);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            EXPECT_EQ(grid.value(col, row), doubleClick ? "0.2500" : "0.5000");
            int changed = 0;
            for (int cc = 1; cc <= Cols; ++cc)
                for (int r = 2; r <= Rows; ++r) changed += grid.value(cc, r) != "0.0600";
            EXPECT_EQ(changed, 1);
            for (int cc = 1; cc <= Cols; ++cc)
                for (int r = 2; r <= Rows; ++r) grid.setValue(cc, r, "0.06");
            // Typing shows the whole cell.
            EXPECT_TRUE(viewport().contains(cellRect(grid.activeCol(), grid.activeRow())) || !doubleClick);
        }
    }
}
