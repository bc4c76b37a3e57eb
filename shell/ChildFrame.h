#pragma once
// The frame of a child window of the main window: it says when its window
// has closed, and can be told to refuse closing (the start window closes
// only when the program exits).

#include <QMdiSubWindow>

namespace rillo::shell {

class ChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit ChildFrame(QWidget* parent = nullptr, Qt::WindowFlags flags = {}) : QMdiSubWindow(parent, flags) {}

    void setClosable(bool closable) { closable_ = closable; }

signals:
    /// The child window accepted closing; the frame is deleted later.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool closable_ = true;
};

}  // namespace rillo::shell
