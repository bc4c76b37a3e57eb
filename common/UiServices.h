#pragma once
// The one door through which deck, editor, shell and run code reach the user
// and the platform: message and input boxes, file dialogs, the settings
// store, the main window's progress bar, the mouse pointer and the clipboard.
// The windows, the command line and the tests each provide their own.

#include "Clipboard.h"
#include "Version.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace rillo {

/// The application's title and version, from one record.
struct AppVersion {
    static constexpr const char* title = "Rillo2000";
    static constexpr int major = RILLO_VERSION_MAJOR;
    static constexpr int minor = RILLO_VERSION_MINOR;
    static constexpr int revision = RILLO_VERSION_PATCH;
    static std::string text();       ///< "1.4.6"
    static std::string shortText();  ///< "1.4"
};

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct Message {
    std::string text;
    std::string title;  ///< never empty once shown: the application title by default
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    Answer defaultButton = Answer::Ok;
    /// More for those who look: shown folded away under the text (empty: none).
    std::string details;
};

/// Flags of the file dialogs.
enum FileDialogFlag : unsigned {
    FileMustExist = 1u << 0,
    PathMustExist = 1u << 1,
    HideReadOnly = 1u << 2,
    OverwritePrompt = 1u << 3,
    NoChangeDir = 1u << 4,
};

struct FileDialogRequest {
    std::string title;
    /// "Description (*.sin)|*.sin|All Files (*.*)|*.*"
    std::string filter;
    unsigned flags = 0;
    std::string initialDir;
    std::string fileName;
};

/// A run-time error: carries the description that the handler reports.
class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(const std::string& description) : std::runtime_error(description) {}
    std::string description() const { return what(); }
};

/// The user cancelled a file dialog; callers can tell it from every other failure.
class CancelError : public RuntimeError {
public:
    CancelError() : RuntimeError("Cancel was selected.") {}
};

enum class Pointer { Normal, Hourglass };

class UiServices : public Clipboard {
public:
    ~UiServices() override = default;

    /// Shows a message box; an empty title becomes the application title.
    Answer message(const std::string& text, const std::string& title = {}, Icon icon = Icon::None,
                   Buttons buttons = Buttons::Ok, Answer defaultButton = Answer::Ok,
                   const std::string& details = {});
    /// Closes the innermost message box still open (a question answered No):
    /// for a question that what has happened since makes moot. Nothing
    /// happens when none is open.
    virtual void dismissMessage() {}
    /// Yes/No question; true for Yes.
    bool ask(const std::string& text, const std::string& title = {}, Icon icon = Icon::None);
    /// Input box: the text, or nothing when cancelled.
    virtual std::optional<std::string> input(const std::string& prompt, const std::string& title = {},
                                             const std::string& defaultText = {}) = 0;
    /// File dialogs: the chosen full path; a cancel throws CancelError.
    virtual std::string openFileName(const FileDialogRequest& request) = 0;
    virtual std::string saveFileName(const FileDialogRequest& request) = 0;

    virtual std::string setting(const std::string& app, const std::string& section, const std::string& key,
                                const std::string& defaultValue = {}) = 0;
    virtual void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                             const std::string& value) = 0;

    virtual void setProgressMaximum(int maximum) = 0;
    virtual void setProgressValue(int value) = 0;
    virtual void setProgressVisible(bool visible) = 0;
    virtual void setPointer(Pointer pointer) = 0;

    /// The file name the main window's file dialog remembers between uses:
    /// the open and save dialogs start from it and leave the chosen name in it.
    std::string& dialogFileName() { return dialogFileName_; }

protected:
    virtual Answer showMessage(const Message& message) = 0;

private:
    std::string dialogFileName_;
};

/// Runs an event handler, trapping run-time errors: a failure is reported in
/// a message box with its description (title and icon as given; the
/// application title by default) and the handler ends. A cancelled file
/// dialog ends the handler silently.
void trapErrors(UiServices& ui, const std::function<void()>& handler, const std::string& title = {},
                Icon icon = Icon::None);

/// The user's home folder with a trailing separator: the default folder of
/// the file dialogs where there are no drive letters.
std::string defaultFolder();

/// Whether `c` separates folders in a path on this platform: "/" everywhere,
/// and "\\" too on Windows (elsewhere it is an ordinary character of a name).
bool isFolderSeparator(char c);

/// A path as the user reads it on this system: with backslashes on Windows
/// (a file dialog gives '/'), unchanged elsewhere. Only for showing; the
/// path itself is kept as it was given.
std::string shownPath(const std::string& path);

/// The folder part of a full file name, with its trailing separator, split
/// by this platform's rules.
std::string folderOf(const std::string& path);

}  // namespace rillo
