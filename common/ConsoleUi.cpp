#include "ConsoleUi.h"

#include <ostream>

namespace rillo {

ConsoleUi::ConsoleUi(std::ostream& out) : out_(out) {}

std::string ConsoleUi::oneLine(const std::string& text) {
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            line += "\\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            line += "\\n";
        } else {
            line += c;
        }
    }
    return line;
}

Answer ConsoleUi::showMessage(const Message& message) {
    ++shown_;
    out_ << oneLine(message.title) << ": " << oneLine(message.text) << '\n';
    if (message.buttons == Buttons::YesNo) {
        out_ << (answerYes_ ? "Yes" : "No") << '\n';
        return answerYes_ ? Answer::Yes : Answer::No;
    }
    return Answer::Ok;
}

std::optional<std::string> ConsoleUi::input(const std::string& prompt, const std::string& title,
                                            const std::string&) {
    out_ << oneLine(title.empty() ? std::string(AppVersion::title) : title) << ": " << oneLine(prompt) << '\n';
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
