#pragma once
// A main window stand-in for the card editor's tests: the scripted user,
// the program-wide flags, an Edit menu, and a count of every call.

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
    AppFlags& flags() override { return appFlags; }
    void setDeckOpenState() override { ++deckOpenStates; }
    QMenu* editMenu() override { return &menu; }
    bool saveDeck() override {
        ++saves;
        return saveSucceeds;
    }
    void showCover() override { ++covers; }
    bool isEditorActive() override { return editorActive; }
    QWidget* mainWindow() override { return nullptr; }

    ScriptedUi scripted;
    AppFlags appFlags;
    QMenu menu;
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
    AppFlags& flags() override { return shell_.appFlags; }
    void setEditorCaption(const std::string& caption) override;
    void showEditor() override;
    void showPage(int page) override { editorWindow().showPage(page); }
    void unloadEditor() override { editor.reset(); }
    void discardDeck() override {
        if (!editor || editor->isVisible()) return;
        editor.reset();
        shell_.appFlags.askSaveOnClose = false;
    }

    std::unique_ptr<CardEditor> editor;

private:
    TestShell& shell_;
};

}  // namespace rillo::testing
