#pragma once
// A main window stand-in for the card editor's tests: the scripted user,
// an Edit menu, and a count of every call.

#include "CardEditor.h"
#include "EditorShell.h"
#include "ScriptedUi.h"

#include <QMenu>
#include <QWidget>

#include <memory>

namespace rillo::testing {

class TestShell : public EditorShell {
public:
    UiServices& ui() override { return scripted; }
    void setDeckOpenState() override { ++deckOpenStates; }
    QMenu* editMenu() override { return &menu; }
    /// As a save does: a deck that was written is no longer modified.
    bool saveDeck() override {
        ++saves;
        if (saveSucceeds && savedDeck) savedDeck->markSaved();
        return saveSucceeds;
    }
    void showCover() override { ++covers; }
    bool isEditorActive() override { return editorActive; }
    QWidget* mainWindow() override { return nullptr; }

    ScriptedUi scripted;
    QMenu menu;
    /// The deck a successful save marks as saved.
    Deck* savedDeck = nullptr;
    int deckOpenStates = 0, saves = 0, covers = 0;
    bool editorActive = true;
    bool saveSucceeds = true;
};

/// What Open deck needs of the main window, over a card editor that it
/// creates on first use, as the main window does.
class EditorTestHost : public EditorHost {
public:
    explicit EditorTestHost(TestShell& shell) : shell_(shell) {}
    CardEditor& editorWindow();
    Deck& deck() override { return editorWindow().deck(); }
    void setEditorCaption(const std::string& caption) override;
    void showEditor() override;
    void showPage(int page) override { editorWindow().showPage(page); }
    void unloadEditor() override { editor.reset(); }
    void discardDeck() override {
        if (!editor || editor->isVisible()) return;
        editor.reset();
    }

    std::unique_ptr<CardEditor> editor;

private:
    TestShell& shell_;
};

}  // namespace rillo::testing
