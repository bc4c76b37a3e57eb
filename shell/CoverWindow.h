#pragma once
// The start window that fills the main window while no deck is open: five
// large buttons for the entry commands, and the main window's File menu on
// a right click on its background, its frame or its first two pictures.

#include <QWidget>

class QFrame;
class QLabel;
class QMenu;
class QPushButton;

namespace rillo::shell {

class CoverWindow : public QWidget {
    Q_OBJECT
public:
    explicit CoverWindow(QWidget* parent = nullptr);

    /// The menu a right click pops up (the main window's File menu).
    void setPopupMenu(QMenu* menu) { popupMenu_ = menu; }

    QPushButton* button(const QString& name) const;
    QFrame* frame() const { return frame1_; }

signals:
    void openClicked();
    void newClicked();
    void runClicked();
    void helpClicked();
    void exitClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* addButton(const QString& name, const QString& caption, void (CoverWindow::*signal)());
    void popUp(const QPoint& globalPos);

    QFrame* frame1_;
    QLabel* image1_;
    QLabel* image5_;
    QLabel* image6_;
    QMenu* popupMenu_ = nullptr;
};

}  // namespace rillo::shell
