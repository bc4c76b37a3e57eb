#include "ShowResults.h"

#include "ResultsWindow.h"

#include <QGuiApplication>
#include <QScreen>

namespace rillo::results {

ResultsWindow* showResults(const ResultsFiles& files, UiServices& ui, QWidget* parent) {
    auto* window = new ResultsWindow(files, ui, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Whole on the screen of the window it was opened from, in its middle.
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        window->resize(window->size().boundedTo(room.size() * 0.9));
        QRect frame(QPoint(), window->size());
        frame.moveCenter(room.center());
        window->move(frame.topLeft());
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace rillo::results
