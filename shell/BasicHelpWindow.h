#pragma once
// The basic help window: three pages of how-to text. It opens without
// blocking and is centred on the screen every time it is activated.

#include <QDialog>

class QLabel;
class QTabWidget;

namespace rillo::shell {

class BasicHelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit BasicHelpWindow(QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    QLabel* pageLabel(int page) const;

    /// The help texts as written, with a carriage return at each line break.
    static QString newFileText();
    static QString openFileText();
    static QString editSaveText();
    /// Text for a label: each carriage return becomes a line break.
    static QString withLineBreaks(const QString& text);

    /// Centres the window on the screen it is on.
    void centreOnScreen();

protected:
    bool event(QEvent* event) override;

private:
    QTabWidget* tabs_;
    QLabel* labels_[3];
};

}  // namespace rillo::shell
