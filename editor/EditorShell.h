#pragma once
// What the card editor needs of the main window that holds it.

#include "DeckHost.h"
#include "UiServices.h"

class QMenu;
class QWidget;

namespace rillo {

class EditorShell {
public:
    virtual ~EditorShell() = default;
    virtual UiServices& ui() = 0;
    /// Menus and toolbar to the deck-open state (the editor was activated).
    virtual void setDeckOpenState() = 0;
    /// The main window's Edit menu, popped up at the pointer by right clicks.
    virtual QMenu* editMenu() = 0;
    /// Runs Save deck on the editor's deck; true when the deck was written
    /// (false when the dialog was cancelled, a check refused it or the
    /// write failed).
    virtual bool saveDeck() = 0;
    /// Shows the start window again (the editor the user saw has closed).
    virtual void showCover() = 0;
    /// Whether the editor is the main window's active child window.
    virtual bool isEditorActive() = 0;
    /// The main window, for centring dialogs over it.
    virtual QWidget* mainWindow() = 0;
};

}  // namespace rillo
