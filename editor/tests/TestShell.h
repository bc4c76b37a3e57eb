#pragma once
// A main window stand-in for the card editor's tests: the scripted user,
// the program-wide flags, an Edit menu, and a count of every call.

#include "EditorShell.h"
#include "ScriptedUi.h"

#include <QMenu>
#include <QWidget>

namespace rillo::testing {

class TestShell : public EditorShell {
public:
    UiServices& ui() override { return scripted; }
    AppFlags& flags() override { return appFlags; }
    void setDeckOpenState() override { ++deckOpenStates; }
    QMenu* editMenu() override { return &menu; }
    void saveDeck() override { ++saves; }
    void showCover() override { ++covers; }
    bool isEditorActive() override { return editorActive; }
    QWidget* mainWindow() override { return nullptr; }

    ScriptedUi scripted;
    AppFlags appFlags;
    QMenu menu;
    int deckOpenStates = 0, saves = 0, covers = 0;
    bool editorActive = true;
};

}  // namespace rillo::testing
