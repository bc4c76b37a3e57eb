#include "ConsoleUi.h"

#include <ostream>

namespace rillo {

ConsoleUi::ConsoleUi(std::ostream& out) : out_(out) {}

std::string ConsoleUi::lines(const std::string& title, const std::string& text) {
    // A title is one line: any break in it becomes a blank.
    std::string out;
    for (char c : title) out += c == '\r' || c == '\n' ? ' ' : c;
    out += ": ";
    bool first = true;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(begin, end - begin);
        if (first)
            out += line + '\n';
        else if (!line.empty())
            out += "  " + line + '\n';
        first = false;
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        begin = end + 1;
    }
    return out;
}

Answer ConsoleUi::showMessage(const Message& message) {
    ++shown_;
    out_ << lines(message.title, message.text);
    if (message.buttons == Buttons::YesNo) {
        out_ << (answerYes_ ? "Yes" : "No") << '\n';
        return answerYes_ ? Answer::Yes : Answer::No;
    }
    return Answer::Ok;
}

std::optional<std::string> ConsoleUi::input(const std::string& prompt, const std::string& title,
                                            const std::string&) {
    out_ << lines(title.empty() ? std::string(AppVersion::title) : title, prompt);
    return std::nullopt;
}

std::string ConsoleUi::openFileName(const FileDialogRequest&) {
    if (openName_.empty()) throw CancelError();
    return openName_;
}

std::string ConsoleUi::saveFileName(const FileDialogRequest&) {
    if (saveName_.empty()) throw CancelError();
    return saveName_;
}

std::string ConsoleUi::setting(const std::string& app, const std::string& section, const std::string& key,
                               const std::string& defaultValue) {
    const auto it = settings_.find({app, section, key});
    return it == settings_.end() ? defaultValue : it->second;
}

void ConsoleUi::saveSetting(const std::string& app, const std::string& section, const std::string& key,
                            const std::string& value) {
    settings_[{app, section, key}] = value;
}

}  // namespace rillo
