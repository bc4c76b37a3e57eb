#pragma once
// A scripted stand-in for the user: it records every message, input box and
// file dialog in order and answers questions from a queue of replies. A
// question that arrives with no matching reply fails the running test, so a
// test states the whole dialogue.

#include "UiServices.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace rillo::testing {

class ScriptedUi : public UiServices {
public:
    ScriptedUi();
    ~ScriptedUi() override;

    // Replies, consumed in order.
    ScriptedUi& yes();
    ScriptedUi& no();
    ScriptedUi& inputText(const std::string& text);
    ScriptedUi& inputCancel();
    ScriptedUi& fileName(const std::string& path);
    ScriptedUi& fileCancel();

    /// Every exchange so far, one line each:
    ///   "Title|Icon|text|OK"  or  "...|YesNo -> Yes"
    ///   "input: prompt -> text"   "open: title -> path"   "save: title -> path"
    const std::vector<std::string>& dialogue() const { return log_; }
    /// Only the message boxes, as "Title|Icon|text|Buttons".
    std::vector<std::string> messages() const;
    void clearDialogue() { log_.clear(); }
    /// Replies not yet used.
    std::size_t pendingReplies() const { return replies_.size(); }
    /// The last file dialog request (to check filters, flags, folders).
    const FileDialogRequest& lastFileRequest() const { return lastRequest_; }

    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::string openFileName(const FileDialogRequest& request) override;
    std::string saveFileName(const FileDialogRequest& request) override;
    std::string setting(const std::string& app, const std::string& section, const std::string& key,
                        const std::string& defaultValue) override;
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override;
    void setProgressMaximum(int maximum) override { progressMax = maximum; }
    void setProgressValue(int value) override { progress.push_back(value); }
    void setProgressVisible(bool visible) override { progressVisible = visible; }
    void setPointer(Pointer p) override { pointer = p; }
    std::string clipboardText() override { return clipboard; }
    void setClipboardText(const std::string& text) override { clipboard = text; }

    // Observable state.
    /// The details of every message box in order ("" for a box without).
    std::vector<std::string> messageDetails;
    int progressMax = 0;
    std::vector<int> progress;
    bool progressVisible = false;
    Pointer pointer = Pointer::Normal;
    std::string clipboard;
    std::map<std::tuple<std::string, std::string, std::string>, std::string> settings;
    /// Runs as each message box closes, with its text (what the window
    /// system does then, such as activating the window below it).
    std::function<void(const std::string&)> afterMessage;

    static const char* iconName(Icon icon);

protected:
    Answer showMessage(const Message& message) override;

private:
    enum class Kind { Yes, No, Input, InputCancel, File, FileCancel };
    struct Reply {
        Kind kind;
        std::string text;
    };
    bool take(std::initializer_list<Kind> kinds, const std::string& question, Reply& reply);
    std::string fileDialog(const char* kind, const FileDialogRequest& request);

    std::deque<Reply> replies_;
    std::vector<std::string> log_;
    FileDialogRequest lastRequest_;
};

}  // namespace rillo::testing
