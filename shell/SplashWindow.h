#pragma once
// The splash window shown while the program starts. Its timer fires once,
// 3000 ms after it loads, and the start-up sequence goes on from there.

#include <QWidget>

class QLabel;
class QTimer;

namespace rillo::shell {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

    QLabel* versionLabel() const { return lblVersion_; }
    QLabel* productNameLabel() const { return lblProductName_; }
    QTimer* timer() const { return timer_; }

signals:
    /// The timer fired (once).
    void timerFired();

private:
    QLabel* lblVersion_;
    QLabel* lblProductName_;
    QTimer* timer_;
};

}  // namespace rillo::shell
