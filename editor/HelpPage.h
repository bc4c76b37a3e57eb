#pragma once
// The card editor's help page: the labels lblCard(0) to lblCard(11), one per
// card group, and the help label lblHelp inside the picture box Picture1,
// scrolled by VScroll1. Clicking a card label shows that group's help text;
// so does Space or Enter on a card label that has the keyboard focus.

#include <QLabel>
#include <QWidget>

#include <array>
#include <functional>

class QScrollBar;

namespace rillo {

/// A card label of the help page: it looks like a link, takes the keyboard
/// focus (shown by a focus frame), opens its help on Space or Enter, and is
/// a link with a press action to assistive technology.
class CardLabel : public QLabel {
    Q_OBJECT
public:
    explicit CardLabel(QWidget* parent = nullptr);
    void setActivation(std::function<void()> activate) { activate_ = std::move(activate); }
    /// Opens the card's help as a click does (nothing while disabled).
    void activate();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void()> activate_;
};

class HelpPage : public QWidget {
    Q_OBJECT
public:
    explicit HelpPage(QWidget* parent = nullptr);

    CardLabel* cardLabel(int group) const;  ///< lblCard(group), nullptr outside 0 to 11
    QLabel* helpLabel() const { return lblHelp_; }
    QWidget* picture() const { return picture_; }
    QScrollBar* scrollBar() const { return vScroll_; }

    /// lblHelp shows the help text of a card group; outside 0 to 11 nothing changes.
    void showHelp(int group);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    void fitHelpLabel();
    void scrollHelp(int value);

    std::array<CardLabel*, 12> lblCard_{};
    QWidget* picture_;
    QLabel* lblHelp_;
    QScrollBar* vScroll_;
};

}  // namespace rillo
