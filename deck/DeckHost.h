#pragma once
// What opening and saving a deck need of the card editor and the main
// window, so that the same procedures serve the windows, the command line
// and the tests.

#include "Deck.h"

#include <memory>
#include <string>

namespace rillo {

/// The card editor's pages, in their order (editor/EditorPages.h says what
/// each one is called and which option makes it available).
namespace Page {
enum : int { Options, Card11, Card14, Card15, Card17, Card19, Card21, Card23, Card31, Card31a, Card41, Card43, Help, Count };
}

class EditorHost {
public:
    virtual ~EditorHost() = default;
    /// The card editor's deck, created with the editor on first use.
    virtual Deck& deck() = 0;
    /// The editor's caption becomes the deck's path.
    virtual void setEditorCaption(const std::string& caption) = 0;
    /// Hides the start window and shows the editor maximised.
    virtual void showEditor() = 0;
    /// Brings a page of the editor to the front.
    virtual void showPage(int page) = 0;
    /// Closes the editor (its own closing rules run).
    virtual void unloadEditor() = 0;
    /// Drops an editor that was created but never shown (what a failed open
    /// read), without its closing dialogue. An editor the user has seen is
    /// kept.
    virtual void discardDeck() = 0;
};

/// A host without windows: for the command line and the tests.
class HeadlessHost : public EditorHost {
public:
    Deck& deck() override {
        if (!deck_) deck_ = std::make_unique<Deck>();
        return *deck_;
    }
    void setEditorCaption(const std::string& caption) override { caption_ = caption; }
    void showEditor() override {
        ++shown_;
        deckShown_ = deck_ != nullptr;
    }
    void showPage(int page) override { page_ = page; }
    void unloadEditor() override {
        ++unloaded_;
        deck_.reset();
        deckShown_ = false;
    }
    void discardDeck() override {
        if (!deckShown_) deck_.reset();
    }

    bool hasDeck() const { return deck_ != nullptr; }
    const std::string& caption() const { return caption_; }
    int shown() const { return shown_; }
    int page() const { return page_; }
    int unloaded() const { return unloaded_; }

private:
    std::unique_ptr<Deck> deck_;
    std::string caption_;
    int shown_ = 0, page_ = -1, unloaded_ = 0;
    bool deckShown_ = false;
};

}  // namespace rillo
