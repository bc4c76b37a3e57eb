#include "ShowRunForm.h"

#include "RunForm.h"
#include "StandardComponents.h"

namespace rillo::run {

void showRunForm(QWidget* parent, UiServices& ui, const QString& applicationFolder, std::function<void()> showAbout) {
    RunForm form(ui, standardComponents(), applicationFolder, parent);
    form.logic().setAboutHook(std::move(showAbout));
    form.exec();
}

}  // namespace rillo::run
