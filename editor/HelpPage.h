#pragma once
// The card editor's help page: the labels lblCard(0) to lblCard(11), one per
// card group, and the help label lblHelp inside the picture box Picture1,
// scrolled by VScroll1. Clicking a card label shows that group's help text.

#include <QWidget>

#include <array>

class QLabel;
class QScrollBar;

namespace rillo {

class HelpPage : public QWidget {
    Q_OBJECT
public:
    explicit HelpPage(QWidget* parent = nullptr);

    QLabel* cardLabel(int group) const;  ///< lblCard(group), nullptr outside 0 to 11
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

    std::array<QLabel*, 12> lblCard_{};
    QWidget* picture_;
    QLabel* lblHelp_;
    QScrollBar* vScroll_;
};

}  // namespace rillo
