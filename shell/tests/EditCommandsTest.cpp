#include "EditCommands.h"
#include "Grid.h"
#include "GridView.h"
#include "QtUi.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

using namespace rillo;
using rillo::shell::EditCommands;
using rillo::shell::QtUi;

namespace {

/// A clipboard that another program holds open.
class BusyClipboard : public Clipboard {
public:
    std::string clipboardText() override { throw RuntimeError("Can't open Clipboard"); }
    void setClipboardText(const std::string&) override { throw RuntimeError("Can't open Clipboard"); }
};

QLineEdit* textBox(QWidget& parent, const QString& text, int selStart, int selLength) {
    auto* box = new QLineEdit(text, &parent);
    box->setSelection(selStart, selLength);
    return box;
}

}  // namespace

TEST(EditCommands, OtherControlsAreLeftAloneButCopyAndCutClearTheClipboard) {
    QtUi ui;
    QWidget window;
    auto* combo = new QComboBox(&window);
    combo->addItems({QStringLiteral("0"), QStringLiteral("1")});
    combo->setEditable(true);
    combo->setCurrentIndex(1);
    auto* check = new QCheckBox(&window);

    ui.setClipboardText("kept");
    EditCommands(ui, combo).paste();
    EXPECT_EQ(ui.clipboardText(), "kept");
    EXPECT_EQ(combo->currentText(), QStringLiteral("1"));

    EditCommands(ui, combo).copy();
    EXPECT_EQ(ui.clipboardText(), "");

    ui.setClipboardText("kept");
    EditCommands(ui, check).cut();
    EXPECT_EQ(ui.clipboardText(), "");

    ui.setClipboardText("kept");
    EditCommands(ui, nullptr).copy();
    EXPECT_EQ(ui.clipboardText(), "");
    EditCommands(ui, nullptr).paste();  // nothing focused: nothing happens
}

TEST(EditCommands, TextBoxCutCopyAndPasteWorkOnTheSelection) {
    QtUi ui;
    QWidget window;

    QLineEdit* box = textBox(window, QStringLiteral("  12.50  3"), 2, 5);
    EditCommands(ui, box).copy();
    EXPECT_EQ(ui.clipboardText(), "12.50");
    EXPECT_EQ(box->text(), QStringLiteral("  12.50  3"));

    EditCommands(ui, box).cut();
    EXPECT_EQ(ui.clipboardText(), "12.50");
    EXPECT_EQ(box->text(), QStringLiteral("    3"));
    EXPECT_EQ(box->cursorPosition(), 2);

    // Paste replaces exactly the selection.
    box->setText(QStringLiteral("abcdef"));
    box->setSelection(1, 3);
    ui.setClipboardText("XY");
    EditCommands(ui, box).paste();
    EXPECT_EQ(box->text(), QStringLiteral("aXYef"));
    EXPECT_EQ(ui.clipboardText(), "XY");

    // Nothing selected: Paste inserts at the caret, Copy gives the empty text.
    box->setCursorPosition(0);
    EditCommands(ui, box).paste();
    EXPECT_EQ(box->text(), QStringLiteral("XYaXYef"));
    EditCommands(ui, box).copy();
    EXPECT_EQ(ui.clipboardText(), "");

    // An empty clipboard pastes the empty text over the selection.
    box->setSelection(0, 2);
    EditCommands(ui, box).paste();
    EXPECT_EQ(box->text(), QStringLiteral("aXYef"));
}

TEST(EditCommands, TextBoxTakesOneLineAndKeepsItsLimits) {
    QtUi ui;
    QWidget window;
    QLineEdit* box = textBox(window, QStringLiteral("title"), 0, 5);
    ui.setClipboardText("first line\r\nsecond line");
    EditCommands(ui, box).paste();
    EXPECT_EQ(box->text(), QStringLiteral("first line"));

    box->setMaxLength(5);
    box->setText(QString());
    ui.setClipboardText("1234567");
    EditCommands(ui, box).paste();
    EXPECT_EQ(box->text(), QStringLiteral("12345"));

    // A read-only box gives its text but never loses or takes any.
    box->setReadOnly(true);
    box->selectAll();
    EditCommands(ui, box).cut();
    EXPECT_EQ(ui.clipboardText(), "12345");
    EXPECT_EQ(box->text(), QStringLiteral("12345"));
    ui.setClipboardText("99");
    EditCommands(ui, box).paste();
    EXPECT_EQ(box->text(), QStringLiteral("12345"));
}

TEST(EditCommands, GridToGridGoesThroughTheClipboardVerbs) {
    QtUi ui;
    QWidget window;
    Grid source("source", 3, 4), target("target", 3, 4);
    source.setValue(1, 2, "10");
    source.setValue(2, 2, "20");
    source.setValue(1, 3, "30");
    source.setValue(2, 3, "40");
    auto* sourceView = new GridView(source, &window);
    auto* targetView = new GridView(target, &window);
    window.show();
    source.setSelection(1, 2, 2, 3);
    ASSERT_EQ(EditCommands::gridOf(sourceView), &source);
    EXPECT_EQ(EditCommands::gridOf(new QLineEdit(&window)), nullptr);

    ui.setClipboardText("stale");
    EditCommands(ui, sourceView).copy();
    EXPECT_EQ(ui.clipboardText().find("10\t20"), 0u) << ui.clipboardText();

    target.setActiveCell(2, 3);
    EditCommands(ui, targetView).paste();
    EXPECT_EQ(target.value(2, 3), "10");
    EXPECT_EQ(target.value(3, 3), "20");
    EXPECT_EQ(target.value(2, 4), "30");
    EXPECT_EQ(target.value(3, 4), "40");
    EXPECT_EQ(target.value(1, 3), "");

    // Cut empties the block it puts on the clipboard.
    source.setSelection(1, 3, 2, 3);
    EditCommands(ui, sourceView).cut();
    EXPECT_EQ(ui.clipboardText().find("30\t40"), 0u) << ui.clipboardText();
    EXPECT_EQ(source.value(1, 3), "");
    EXPECT_EQ(source.value(2, 3), "");
    EXPECT_EQ(source.value(1, 2), "10");
}

TEST(EditCommands, ClipboardErrorsGoToTheCaller) {
    BusyClipboard busy;
    QWidget window;
    QLineEdit* box = textBox(window, QStringLiteral("abc"), 0, 1);
    EXPECT_THROW(EditCommands(busy, box).copy(), RuntimeError);
    EXPECT_THROW(EditCommands(busy, box).paste(), RuntimeError);
    EXPECT_EQ(box->text(), QStringLiteral("abc"));
}
