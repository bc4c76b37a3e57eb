#include "ChildFrame.h"

#include <QCloseEvent>

namespace rillo::shell {

void ChildFrame::closeEvent(QCloseEvent* event) {
    if (!closable_) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted()) emit closed();
}

}  // namespace rillo::shell
