// The grid view as assistive technology sees it: a named table whose cells
// sit where the view's own focus notices say, whose button cells are
// buttons that can be pressed, and whose cells follow rows as they come.
#include "AddGridRow.h"
#include "GridTableModel.h"
#include "GridView.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rillo;

namespace {

struct Buttons : GridListener {
    std::vector<std::string> events;
    void buttonClicked(Grid&, int c, int r, bool) override {
        events.push_back("Button " + std::to_string(c) + "," + std::to_string(r));
    }
    void leaveCell(Grid&, int c, int r, int nc, int nr, bool&) override {
        events.push_back("Leave " + std::to_string(c) + "," + std::to_string(r) + "->" + std::to_string(nc) + "," +
                         std::to_string(nr));
    }
};

class GridAccessibleTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.setColCount(3);
        grid.setRowCount(3);
        grid.setValue(1, 1, "Subcatchment\nnumber");
        grid.setValue(2, 1, "Area (acres)");
        grid.setValue(3, 1, "Width (feet)");
        for (int c = 1; c <= 3; ++c) {
            grid.setLocked(c, 1, true);
            grid.setFloat(c, 2, 2, 0, 1000);
        }
        grid.setButton(1, 3, "&Add Row");
        grid.setRowsFrozen(1);
        addGridRow(grid, 0);
        grid.setValue(1, 3, "7");
        grid.setActiveCell(1, 2);
        grid.setListener(&buttons);
        view = std::make_unique<GridView>(grid);
        view->setAccessibleName(QStringLiteral("Subcatchment (1.5)"));
        view->resize(500, 250);
        view->show();
        QApplication::setActiveWindow(view.get());
        view->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
        table = QAccessible::queryAccessibleInterface(view.get());
        ASSERT_NE(table, nullptr);
        ASSERT_NE(table->tableInterface(), nullptr);
    }

    QAccessibleInterface* cell(int col, int row) { return table->tableInterface()->cellAt(row - 1, col - 1); }

    Grid grid{"g"};
    Buttons buttons;
    std::unique_ptr<GridView> view;
    QAccessibleInterface* table = nullptr;
};

}  // namespace

TEST_F(GridAccessibleTest, TheTableIsNamedAndDescribesItsColumnsByTheirCaptions) {
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->text(QAccessible::Name), "Subcatchment (1.5)");
    EXPECT_EQ(table->text(QAccessible::Description),
              "Columns: Subcatchment number; Area (acres); Width (feet)");
    EXPECT_EQ(table->tableInterface()->columnDescription(1), "Area (acres)");
    view->setAccessibleDescription(QStringLiteral("Own words"));
    EXPECT_EQ(table->text(QAccessible::Description), "Own words");

    QAccessibleInterface* value = cell(1, 3);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->role(), QAccessible::Cell);
    EXPECT_EQ(value->text(QAccessible::Name), "7.00");
    EXPECT_EQ(value->text(QAccessible::Description), "Subcatchment number");
    EXPECT_TRUE(value->state().editable);
    ASSERT_NE(value->tableCellInterface(), nullptr);
    EXPECT_EQ(value->tableCellInterface()->columnHeaderCells().value(0)->text(QAccessible::Name),
              "Subcatchment number");
    EXPECT_EQ(table->child(table->indexOfChild(value)), value);
    EXPECT_TRUE(cell(2, 1)->state().invisible);  // the caption row shows as the header
}

TEST_F(GridAccessibleTest, AButtonCellIsAButtonThatThePressActionAndTheKeysPress) {
    QAccessibleInterface* add = cell(1, 4);
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add->role(), QAccessible::Button);
    EXPECT_EQ(add->text(QAccessible::Name), "Add Row");
    ASSERT_NE(add->actionInterface(), nullptr);
    EXPECT_TRUE(add->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    EXPECT_FALSE(add->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    add->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(buttons.events, (std::vector<std::string>{"Leave 1,2->1,4", "Button 1,4"}));

    // Space and Enter on the focused button cell press it and leave the caret there.
    buttons.events.clear();
    QTest::keyClick(view.get(), Qt::Key_Space);
    QTest::keyClick(view.get(), Qt::Key_Return);
    QTest::keyClick(view.get(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(buttons.events, (std::vector<std::string>{"Button 1,4", "Button 1,4", "Button 1,4"}));
    EXPECT_EQ(grid.activeRow(), 4);

    // On any other cell Enter still moves down, and no button is pressed.
    buttons.events.clear();
    grid.setActiveCell(2, 2);
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(buttons.events, (std::vector<std::string>{"Leave 2,2->2,3"}));
    EXPECT_FALSE(cell(2, 3)->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

TEST_F(GridAccessibleTest, SetFocusMovesTheCaretThroughTheGridAndTheCaretCellIsTheFocusedChild) {
    QAccessibleInterface* target = cell(3, 3);
    target->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_EQ(buttons.events, (std::vector<std::string>{"Leave 1,2->3,3"}));
    EXPECT_EQ(grid.activeCol(), 3);
    EXPECT_EQ(grid.activeRow(), 3);
    EXPECT_TRUE(target->state().focused);
    EXPECT_FALSE(cell(1, 2)->state().focused);
    EXPECT_EQ(table->focusChild(), target);
    // The point at the cell's middle is that cell.
    const QPoint middle = target->rect().center();
    EXPECT_EQ(table->childAt(middle.x(), middle.y()), target);
}

TEST_F(GridAccessibleTest, CellsFollowTheRowsWhenRowsAreAddedAndTheGridIsReshaped) {
    EXPECT_EQ(cell(1, 3)->text(QAccessible::Name), "7.00");
    QAccessibleInterface* button = cell(1, 4);
    EXPECT_EQ(button->role(), QAccessible::Button);
    const QAccessible::Id buttonId = QAccessible::uniqueId(button);
    addGridRow(grid, 0);  // a new empty row 4; the button moves to row 5
    // Told of the new row as the view tells it, the table keeps the moved
    // button as the same object (a screen reader may be on it).
    QAccessibleTableModelChangeEvent inserted(view.get(), QAccessibleTableModelChangeEvent::RowsInserted);
    inserted.setFirstRow(3);
    inserted.setLastRow(3);
    table->tableInterface()->modelChange(&inserted);
    EXPECT_EQ(QAccessible::accessibleInterface(buttonId), button);
    EXPECT_EQ(cell(1, 5), button);
    grid.setValue(1, 4, "9");
    EXPECT_EQ(cell(1, 4)->text(QAccessible::Name), "9.00");
    EXPECT_EQ(cell(1, 4)->role(), QAccessible::Cell);
    EXPECT_EQ(cell(1, 5)->role(), QAccessible::Button);
    EXPECT_EQ(table->childCount(), (5 + 1) * (3 + 1));
    grid.setRowCount(2);
    EXPECT_EQ(table->tableInterface()->rowCount(), 2);
    EXPECT_EQ(cell(1, 4), nullptr);
}

namespace {

/// Leaving a cell asks a question in a modal box, as a range rule does,
/// and a No keeps the caret in the emptied cell and gives the grid the focus.
struct Question : GridListener {
    GridView* view = nullptr;
    void leaveCell(Grid& g, int c, int r, int, int, bool& cancel) override {
        QDialog box(view->window());
        box.setModal(true);
        auto* no = new QPushButton(QStringLiteral("No"), &box);
        QObject::connect(no, &QPushButton::clicked, &box, &QDialog::reject);
        QTimer::singleShot(50, no, [no] { no->click(); });
        no->setFocus();
        box.exec();
        g.setValue(c, r, "");
        cancel = true;
        // The window comes back when the box goes, as on a desktop.
        QApplication::setActiveWindow(view->window());
        view->setFocus();
    }
};

}  // namespace

TEST_F(GridAccessibleTest, TheCaretCellHasTheFocusWhileTheGridHasTheKeyboardAlsoAfterAQuestion) {
    Question question;
    question.view = view.get();
    grid.setListener(&question);
    // Typing opens the cell's editor: the keyboard is still in the grid.
    QTest::keyClicks(view.get(), QStringLiteral("5"));
    ASSERT_NE(QApplication::focusWidget(), view.get()) << "the editor has the keyboard";
    ASSERT_TRUE(view->isAncestorOf(QApplication::focusWidget()));
    QAccessibleInterface* caret = cell(1, 2);
    EXPECT_TRUE(caret->state().focused) << "typing goes into this cell";
    EXPECT_EQ(table->focusChild(), caret);

    // Leaving it asks a question; No keeps the caret there.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::qWait(50);
    ASSERT_EQ(grid.activeCol(), 1);
    ASSERT_EQ(grid.activeRow(), 2);
    EXPECT_TRUE(caret->state().focused);
    EXPECT_EQ(table->focusChild(), caret);
    for (int c = 2; c <= 3; ++c) EXPECT_FALSE(cell(c, 2)->state().focused) << c;
}
