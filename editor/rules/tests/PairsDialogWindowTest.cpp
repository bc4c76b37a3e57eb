// The pairs dialog window: centred over the main window, modal, closed by
// the grid's buttons, the Edit menu on a right click.
#include "GridView.h"
#include "PairsDialog.h"
#include "ScriptedUi.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace rillo::testing {
namespace {

class PairsDialogWindowTest : public ::testing::Test {
protected:
    PairsDialogWindowTest() {
        main.setGeometry(100, 80, 1200, 800);
        main.show();
        Grid& g = deck.card31();
        g.setValue(Card31::Element, 2, "10");
        g.setValue(Card31::NDP, 2, "3");
        g.setValue(Card31::JK, 2, std::to_string(JkItem::Inflow));
        g.setActiveCell(Card31::Tabular, 2);
    }
    Deck deck;
    ScriptedUi ui;
    QWidget main;
};

TEST_F(PairsDialogWindowTest, OpensCentredOverTheMainWindow) {
    PairsDialog dialog(deck, ui, &main);
    ASSERT_TRUE(dialog.load(2));
    const QRect m = main.frameGeometry(), d = dialog.frameGeometry();
    EXPECT_NEAR(d.center().x(), m.center().x(), 1);
    EXPECT_NEAR(d.center().y(), m.center().y(), 1);
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.view()->model()->columnCount(), 8);
    EXPECT_EQ(dialog.logic().grid().value(1, 1), "Time (hours):");
}

TEST_F(PairsDialogWindowTest, OkClosesTheModalDialogWithThePairsCopied) {
    PairsDialog dialog(deck, ui, &main);
    QTimer::singleShot(0, &dialog, [&] {
        Grid& g = dialog.logic().grid();
        g.setArray(1, 2, {{"1", "2", "3", "4", "5", "6"}});
        g.userClickButton(1, g.rowCount());
    });
    EXPECT_TRUE(dialog.run(2));
    EXPECT_EQ(deck.card31a().value(6, 2), "6.000000");
    EXPECT_TRUE(ui.dialogue().empty());
}

TEST_F(PairsDialogWindowTest, CancelAndTheWindowsCloseButtonCopyNothing) {
    PairsDialog dialog(deck, ui, &main);
    QTimer::singleShot(0, &dialog, [&] {
        Grid& g = dialog.logic().grid();
        g.setArray(1, 2, {{"1", "2", "3", "4", "5", "6"}});
        g.userClickButton(2, g.rowCount());
    });
    EXPECT_FALSE(dialog.run(2));
    QTimer::singleShot(0, &dialog, [&] {
        dialog.logic().grid().setValue(1, 2, "9");
        dialog.close();
    });
    EXPECT_FALSE(dialog.run(2));
    EXPECT_EQ(deck.card31a().value(1, 2), "0.000000");
}

TEST_F(PairsDialogWindowTest, TheKeyboardAloneFillsThePairsAndPressesOk) {
    PairsDialog dialog(deck, ui, &main);
    QTimer::singleShot(0, &dialog, [&] {
        GridView* view = dialog.view();
        QApplication::setActiveWindow(&dialog);
        view->setFocus();
        const auto focused = [view] { return QApplication::focusWidget() ? QApplication::focusWidget() : view; };
        // Three pairs: six values, then Tab lands on "&OK" and Enter presses it.
        for (const char* value : {"1", "2", "3", "4", "5", "6"}) {
            QTest::keyClicks(focused(), QString::fromLatin1(value));
            QTest::keyClick(focused(), Qt::Key_Tab);
        }
        const Grid& g = dialog.logic().grid();
        EXPECT_EQ(g.activeCol(), 1);
        EXPECT_EQ(g.activeRow(), g.rowCount());
        if (dialog.isVisible()) QTest::keyClick(focused(), Qt::Key_Return);
        if (dialog.isVisible()) dialog.reject();
    });
    EXPECT_TRUE(dialog.run(2));
    EXPECT_EQ(deck.card31a().value(6, 2), "6.000000");
    EXPECT_EQ(deck.card31a().value(7, 2), "");
    EXPECT_TRUE(ui.dialogue().empty());
}

TEST_F(PairsDialogWindowTest, RightClickPopsUpTheEditMenu) {
    QMenu edit;
    edit.addAction("Copy");
    PairsDialog dialog(deck, ui, &main, &edit);
    ASSERT_TRUE(dialog.load(2));
    dialog.show();
    QWidget* viewport = dialog.view()->viewport();
    const QPoint at(20, 10);
    QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::RightButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
    EXPECT_TRUE(edit.isVisible());
    edit.hide();
}

}  // namespace
}  // namespace rillo::testing
