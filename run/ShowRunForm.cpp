#include "ShowRunForm.h"

#include "RunForm.h"
#include "StandardComponents.h"

namespace rillo::run {

void showRunForm(QWidget* parent, UiServices& ui, const QString& applicationFolder, std::function<void()> showAbout,
                 std::function<void(const RunPaths&)> showResults,
                 std::function<std::string(const RunPaths&)> resultsProblem) {
    RunForm form(ui, standardComponents(), applicationFolder, parent);
    form.logic().setAboutHook(std::move(showAbout));
    if (showResults) form.logic().setResultsHook(std::move(showResults));
    if (resultsProblem) form.logic().setResultsCheck(std::move(resultsProblem));
    // Modal over the window that opened it only, so that the results windows
    // of its runs, windows of their own, stay usable beside it.
    form.setWindowModality(Qt::WindowModal);
    form.exec();
}

}  // namespace rillo::run
