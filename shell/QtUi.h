#pragma once
// The user-interface services on Qt Widgets: message boxes, the input box,
// the file dialogs, the per-user settings store, the main window's progress
// bar, the hourglass pointer and the system clipboard.

#include "UiServices.h"

#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

class QProgressBar;
class QWidget;

namespace rillo::shell {

class QtUi : public UiServices {
public:
    QtUi() = default;
    ~QtUi() override;
    QtUi(const QtUi&) = delete;
    QtUi& operator=(const QtUi&) = delete;

    /// The window that dialogs are centred over (the main window).
    void setDialogParent(QWidget* parent);
    /// The progress bar that loading and saving drive.
    void setProgressBar(QProgressBar* bar);

    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::string openFileName(const FileDialogRequest& request) override;
    std::string saveFileName(const FileDialogRequest& request) override;
    std::string setting(const std::string& app, const std::string& section, const std::string& key,
                        const std::string& defaultValue) override;
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override;
    void setProgressMaximum(int maximum) override;
    void setProgressValue(int value) override;
    void setProgressVisible(bool visible) override;
    /// The hourglass is pushed once however often it is asked for, and the
    /// normal pointer takes back exactly what was pushed.
    void setPointer(Pointer pointer) override;
    std::string clipboardText() override;
    /// The empty text clears the clipboard.
    void setClipboardText(const std::string& text) override;

    bool hourglassShown() const { return hourglass_; }

    /// Pixels a message box keeps beside its title for the window frame's
    /// icon and buttons.
    static constexpr int TitleFrameAllowance = 140;

    /// "Desc (*.a;*.b)|*.a;*.b|All Files (*.*)|*.*" as Qt name filters:
    /// "Desc (*.a *.b)", "All Files (*)".
    static QStringList nameFilters(const std::string& filter);
    /// The extension of the first filter when it names exactly one ("sin"
    /// for "Rillo Files (*.sin)|*.sin|..."), else empty: a saved name
    /// typed without an extension gets it.
    static QString defaultSuffix(const std::string& filter);

    void dismissMessage() override;

protected:
    Answer showMessage(const Message& message) override;

private:
    QWidget* dialogParent() const;
    std::string fileDialog(const FileDialogRequest& request, bool save);

    QPointer<QWidget> parent_;
    QPointer<QProgressBar> bar_;
    bool hourglass_ = false;
    int lastPercent_ = -1;
    /// The message boxes open now, the innermost last.
    QList<QPointer<QMessageBox>> open_;
};

}  // namespace rillo::shell
