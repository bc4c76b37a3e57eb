#pragma once
// The start-up sequence: the main window is created hidden, the splash
// window shows for 3000 ms, then the main window appears at its stored
// placement with the start window inside it.

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

namespace rillo::shell {

class MainWindow;
class SplashWindow;

class StartUp : public QObject {
    Q_OBJECT
public:
    StartUp();
    ~StartUp() override;

    /// Shows the splash window; the rest follows when its timer fires. A
    /// deck given is opened once the main window is up.
    void begin(const QString& deck = {});
    /// The splash's timer fired: the splash goes and the main window comes.
    void showMainWindow();

    /// The program's one main window (null once it has been closed).
    MainWindow* mainWindow() const;
    SplashWindow* splash() const;

private:
    QPointer<MainWindow> main_;
    QPointer<SplashWindow> splash_;
    QString deck_;
};

}  // namespace rillo::shell
