#include "UiServices.h"

#include <cstdlib>
#include <filesystem>

namespace rillo {

std::string AppVersion::text() {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

std::string AppVersion::shortText() { return std::to_string(major) + "." + std::to_string(minor); }

Answer UiServices::message(const std::string& text, const std::string& title, Icon icon, Buttons buttons,
                           Answer defaultButton, const std::string& details) {
    Message m{text, title.empty() ? std::string(AppVersion::title) : title, icon, buttons, defaultButton, details};
    return showMessage(m);
}

bool UiServices::ask(const std::string& text, const std::string& title, Icon icon) {
    return message(text, title, icon, Buttons::YesNo, Answer::Yes) == Answer::Yes;
}

void trapErrors(UiServices& ui, const std::function<void()>& handler, const std::string& title, Icon icon) {
    try {
        handler();
    } catch (const CancelError&) {
    } catch (const std::bad_alloc&) {
        ui.setPointer(Pointer::Normal);
        ui.message("Out of memory", title, icon);
    } catch (const std::exception& e) {
        ui.setPointer(Pointer::Normal);
        ui.message(e.what(), title, icon);
    }
}

std::string defaultFolder() {
#ifdef _WIN32
    return "C:\\";
#else
    const char* home = std::getenv("HOME");
    std::string folder = home && *home ? home : "/";
    if (folder.back() != '/') folder += '/';
    return folder;
#endif
}

bool isFolderSeparator(char c) {
    return c == '/' || (c == '\\' && std::filesystem::path::preferred_separator == L'\\');
}

std::string shownPath(const std::string& path) {
    std::string shown = path;
    if (std::filesystem::path::preferred_separator == L'\\')
        for (char& c : shown)
            if (c == '/') c = '\\';
    return shown;
}

std::string folderOf(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (isFolderSeparator(path[i - 1])) return path.substr(0, i);
    return {};
}

}  // namespace rillo
