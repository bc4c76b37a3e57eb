#pragma once
// A plain child window that holds the open deck while the card editor is
// not part of the build: it shows which deck is open and closes by the
// editor's rules (ask to save while the deck may need it, then hand back to
// the start window).

#include "Deck.h"

#include <QWidget>

class QCloseEvent;
class QLabel;

namespace rillo {
class EditorShell;
}

namespace rillo::shell {

class DeckWindow : public QWidget {
    Q_OBJECT
public:
    DeckWindow(EditorShell& shell, QWidget* parent = nullptr);

    Deck& deck() { return deck_; }
    void showPage(int page);
    int page() const { return page_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void refresh();

    EditorShell& shell_;
    Deck deck_;
    QLabel* summary_;
    int page_ = 0;
};

}  // namespace rillo::shell
