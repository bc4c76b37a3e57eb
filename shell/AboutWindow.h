#pragma once
// The About window: title, version and what the program is.

#include <QDialog>

class QLabel;

namespace rillo::shell {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

    QLabel* titleLabel() const { return lblTitle_; }
    QLabel* versionLabel() const { return lblVersion_; }
    QLabel* descriptionLabel() const { return lblDescription_; }

    static QString descriptionText();

private:
    QLabel* lblTitle_;
    QLabel* lblVersion_;
    QLabel* lblDescription_;
};

}  // namespace rillo::shell
