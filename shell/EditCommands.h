#pragma once
// Cut, Copy and Paste of the Edit menu and the toolbar, on the focused
// control: a card grid (its clipboard verbs) or a text box (its selection).
// Any other control is left alone, except that Copy and Cut always clear the
// clipboard first. Errors go to the caller.

#include "Clipboard.h"

class QWidget;

namespace rillo {
class Grid;
}

namespace rillo::shell {

class EditCommands {
public:
    /// `focused` is the application's focused control (may be null).
    EditCommands(Clipboard& clipboard, QWidget* focused) : clipboard_(clipboard), focused_(focused) {}

    void copy();
    void cut();
    void paste();

    /// The card grid a control presents, or null when it is no grid.
    static Grid* gridOf(QWidget* control);

private:
    Clipboard& clipboard_;
    QWidget* focused_;
};

}  // namespace rillo::shell
