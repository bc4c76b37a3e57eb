#include "ShowRunForm.h"

#include "RunForm.h"
#include "StandardComponents.h"

namespace rillo::run {

void showRunForm(QWidget* parent, UiServices& ui, const QString& applicationFolder, std::function<void()> showAbout,
                 std::function<void(const std::string&)> showResults) {
    RunForm form(ui, standardComponents(), applicationFolder, parent);
    form.logic().setAboutHook(std::move(showAbout));
    if (showResults) form.logic().setResultsHook(std::move(showResults));
    form.exec();
}

}  // namespace rillo::run
