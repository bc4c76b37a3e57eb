#include "StartUp.h"

#include "MainWindow.h"
#include "SplashWindow.h"

#include <utility>

namespace rillo::shell {

StartUp::StartUp() : main_(new MainWindow) {
    // The program ends when the main window has closed; the reference is
    // cleared with it.
    main_->setAttribute(Qt::WA_DeleteOnClose);
}

StartUp::~StartUp() {
    delete splash_.data();
    delete main_.data();
}

MainWindow* StartUp::mainWindow() const { return main_.data(); }

SplashWindow* StartUp::splash() const { return splash_.data(); }

void StartUp::begin(const QString& deck) {
    deck_ = deck;
    splash_ = new SplashWindow;
    connect(splash_.data(), &SplashWindow::timerFired, this, &StartUp::showMainWindow);
    splash_->show();
    splash_->repaint();
}

void StartUp::showMainWindow() {
    if (main_) {
        main_->restorePlacement();
        main_->show();
        main_->loadCover();
    }
    // Closed after the main window is up, so that the program never runs
    // without a window in between.
    if (splash_) {
        splash_->close();
        splash_->deleteLater();
    }
    if (main_ && !deck_.isEmpty()) main_->openDeckFile(std::exchange(deck_, QString()));
}

}  // namespace rillo::shell
