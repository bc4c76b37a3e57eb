#include "EditCommands.h"

#include "AddGridRow.h"
#include "Grid.h"

#include <QLineEdit>
#include <QRegularExpression>

#include "GridView.h"

namespace rillo::shell {

namespace {

QLineEdit* textBoxOf(QWidget* control) { return qobject_cast<QLineEdit*>(control); }

/// A text box holds one line: pasted text ends at its first line break, so
/// that a field of a fixed-column deck never receives one.
QString firstLine(const QString& text) {
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
}

}  // namespace

Grid* EditCommands::gridOf(QWidget* control) {
    if (auto* view = qobject_cast<GridView*>(control)) return &view->grid();
    return nullptr;
}

void EditCommands::copy() {
    clipboard_.setClipboardText({});
    if (Grid* grid = gridOf(focused_)) {
        grid->copySelection(clipboard_);
    } else if (QLineEdit* box = textBoxOf(focused_)) {
        clipboard_.setClipboardText(box->selectedText().toStdString());
    }
}

void EditCommands::cut() {
    clipboard_.setClipboardText({});
    if (Grid* grid = gridOf(focused_)) {
        grid->cutSelection(clipboard_);
    } else if (QLineEdit* box = textBoxOf(focused_)) {
        clipboard_.setClipboardText(box->selectedText().toStdString());
        // A read-only box gives its text but keeps it.
        if (!box->isReadOnly() && box->hasSelectedText()) box->insert(QString());
    }
}

void EditCommands::paste() {
    if (Grid* grid = gridOf(focused_)) {
        pasteBlock(*grid, clipboard_);
    } else if (QLineEdit* box = textBoxOf(focused_)) {
        if (box->isReadOnly()) return;
        box->insert(firstLine(QString::fromStdString(clipboard_.clipboardText())));
    }
}

}  // namespace rillo::shell
