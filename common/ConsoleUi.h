#pragma once
// The headless side of the user-interface services, for the command line:
// every message becomes "Title: text" on the error stream, its further
// lines indented below it, a Yes/No
// question gets a fixed answer that is printed after it, and file dialogs
// answer with names given in advance.

#include "UiServices.h"

#include <iosfwd>
#include <map>
#include <tuple>

namespace rillo {

class ConsoleUi : public UiServices {
public:
    explicit ConsoleUi(std::ostream& out);

    void setAnswerYes(bool yes) { answerYes_ = yes; }
    /// The name a save dialog answers with; empty: the dialog is cancelled.
    void setSaveFileName(const std::string& path) { saveName_ = path; }
    void setOpenFileName(const std::string& path) { openName_ = path; }
    /// Whether any message with an icon of warning or failure was shown.
    int messagesShown() const { return shown_; }

    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::string openFileName(const FileDialogRequest& request) override;
    std::string saveFileName(const FileDialogRequest& request) override;
    std::string setting(const std::string& app, const std::string& section, const std::string& key,
                        const std::string& defaultValue) override;
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override;
    void setProgressMaximum(int) override {}
    void setProgressValue(int) override {}
    void setProgressVisible(bool) override {}
    void setPointer(Pointer) override {}
    std::string clipboardText() override { return clipboard_; }
    void setClipboardText(const std::string& text) override { clipboard_ = text; }

    /// A message as printed: "Title: " and the text's first line, then each
    /// further line of the text on a line of its own, indented by two blanks
    /// (blank lines left out).
    static std::string lines(const std::string& title, const std::string& text);

protected:
    Answer showMessage(const Message& message) override;

private:
    std::ostream& out_;
    bool answerYes_ = false;
    std::string saveName_, openName_, clipboard_;
    int shown_ = 0;
    std::map<std::tuple<std::string, std::string, std::string>, std::string> settings_;
};

}  // namespace rillo
