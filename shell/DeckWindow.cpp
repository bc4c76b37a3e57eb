#include "DeckWindow.h"

#include "EditorShell.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace rillo::shell {

DeckWindow::DeckWindow(EditorShell& shell, QWidget* parent)
    : QWidget(parent), shell_(shell), summary_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmEdit"));
    summary_->setAlignment(Qt::AlignCenter);
    summary_->setTextFormat(Qt::PlainText);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    shell_.flags().returnToCover = false;
    shell_.flags().askSaveOnClose = true;
    refresh();
}

void DeckWindow::showPage(int page) {
    page_ = page;
    refresh();
}

void DeckWindow::refresh() {
    summary_->setText(QStringLiteral("%1\n\n%2 conveyance element rows")
                          .arg(windowTitle())
                          .arg(deck_.fpCard31().lastDataRow() > 1 ? deck_.fpCard31().lastDataRow() - 1 : 0));
}

bool DeckWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        shell_.flags().askSaveOnClose = true;
        shell_.setDeckOpenState();
    }
    return QWidget::event(event);
}

void DeckWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowTitleChange) refresh();
    QWidget::changeEvent(event);
}

void DeckWindow::closeEvent(QCloseEvent* event) {
    AppFlags& flags = shell_.flags();
    trapErrors(shell_.ui(), [&] {
        if (flags.askSaveOnClose) {
            if (shell_.ui().ask("Do you Want to Save?", "Rillo 2000")) {
                shell_.saveDeck();
                flags.askSaveOnClose = false;
            }
            flags.returnToCover = true;
        }
    });
    event->accept();
    if (flags.returnToCover) shell_.showCover();
}

}  // namespace rillo::shell
