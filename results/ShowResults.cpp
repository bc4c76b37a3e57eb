#include "ShowResults.h"

#include "ResultsWindow.h"

namespace rillo::results {

ResultsWindow* showResults(const ResultsFiles& files, UiServices& ui, QWidget* parent) {
    auto* window = new ResultsWindow(files, ui, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

}  // namespace rillo::results
