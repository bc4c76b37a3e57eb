#include "ScriptedUi.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace rillo::testing {

ScriptedUi::ScriptedUi() = default;

ScriptedUi::~ScriptedUi() {
    EXPECT_TRUE(replies_.empty()) << replies_.size() << " scripted replies were never asked for";
}

ScriptedUi& ScriptedUi::yes() { return replies_.push_back({Kind::Yes, {}}), *this; }
ScriptedUi& ScriptedUi::no() { return replies_.push_back({Kind::No, {}}), *this; }
ScriptedUi& ScriptedUi::inputText(const std::string& text) { return replies_.push_back({Kind::Input, text}), *this; }
ScriptedUi& ScriptedUi::inputCancel() { return replies_.push_back({Kind::InputCancel, {}}), *this; }
ScriptedUi& ScriptedUi::fileName(const std::string& path) { return replies_.push_back({Kind::File, path}), *this; }
ScriptedUi& ScriptedUi::fileCancel() { return replies_.push_back({Kind::FileCancel, {}}), *this; }

const char* ScriptedUi::iconName(Icon icon) {
    switch (icon) {
    case Icon::None: return "None";
    case Icon::Information: return "Information";
    case Icon::Exclamation: return "Exclamation";
    case Icon::Critical: return "Critical";
    case Icon::Question: return "Question";
    }
    return "?";
}

bool ScriptedUi::take(std::initializer_list<Kind> kinds, const std::string& question, Reply& reply) {
    if (replies_.empty()) {
        ADD_FAILURE() << "Unscripted question: " << question;
        return false;
    }
    if (std::find(kinds.begin(), kinds.end(), replies_.front().kind) == kinds.end()) {
        ADD_FAILURE() << "The next scripted reply does not answer: " << question;
        return false;
    }
    reply = replies_.front();
    replies_.pop_front();
    return true;
}

Answer ScriptedUi::showMessage(const Message& m) {
    std::string line = m.title + "|" + iconName(m.icon) + "|" + m.text + "|";
    messageDetails.push_back(m.details);
    if (m.buttons == Buttons::Ok) {
        log_.push_back(line + "OK");
        if (afterMessage) afterMessage(m.text);
        return Answer::Ok;
    }
    Reply reply{};
    const bool ok = take({Kind::Yes, Kind::No}, line, reply);
    const bool yes = ok && reply.kind == Kind::Yes;
    log_.push_back(line + "YesNo -> " + (yes ? "Yes" : "No"));
    if (afterMessage) afterMessage(m.text);
    return yes ? Answer::Yes : Answer::No;
}

std::vector<std::string> ScriptedUi::messages() const {
    std::vector<std::string> out;
    for (const auto& line : log_)
        if (line.rfind("input: ", 0) != 0 && line.rfind("open: ", 0) != 0 && line.rfind("save: ", 0) != 0)
            out.push_back(line);
    return out;
}

std::optional<std::string> ScriptedUi::input(const std::string& prompt, const std::string&, const std::string&) {
    Reply reply{};
    if (!take({Kind::Input, Kind::InputCancel}, "input box: " + prompt, reply) || reply.kind == Kind::InputCancel) {
        log_.push_back("input: " + prompt + " -> (cancel)");
        return std::nullopt;
    }
    log_.push_back("input: " + prompt + " -> " + reply.text);
    return reply.text;
}

std::string ScriptedUi::fileDialog(const char* kind, const FileDialogRequest& request) {
    lastRequest_ = request;
    Reply reply{};
    if (!take({Kind::File, Kind::FileCancel}, std::string(kind) + " dialog: " + request.title, reply) ||
        reply.kind == Kind::FileCancel) {
        log_.push_back(std::string(kind) + ": " + request.title + " -> (cancel)");
        throw CancelError();
    }
    log_.push_back(std::string(kind) + ": " + request.title + " -> " + reply.text);
    return reply.text;
}

std::string ScriptedUi::openFileName(const FileDialogRequest& request) { return fileDialog("open", request); }
std::string ScriptedUi::saveFileName(const FileDialogRequest& request) { return fileDialog("save", request); }

std::string ScriptedUi::setting(const std::string& app, const std::string& section, const std::string& key,
                                const std::string& defaultValue) {
    const auto it = settings.find({app, section, key});
    return it == settings.end() ? defaultValue : it->second;
}

void ScriptedUi::saveSetting(const std::string& app, const std::string& section, const std::string& key,
                             const std::string& value) {
    settings[{app, section, key}] = value;
}

}  // namespace rillo::testing
