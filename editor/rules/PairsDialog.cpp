#include "PairsDialog.h"

#include "GridView.h"

#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

namespace rillo {

PairsDialog::PairsDialog(Deck& deck, UiServices& ui, QWidget* mainWindow, QMenu* editMenu)
    : QDialog(mainWindow), logic_(deck, ui), mainWindow_(mainWindow), editMenu_(editMenu) {
    setModal(true);
    setWindowTitle(tr("Tabular Values"));
    instruction_ = new QLabel(QString::fromUtf8(PairsDialogLogic::Instruction), this);
    view_ = new GridView(logic_.grid(), this);
    view_->setAccessibleName(tr("Tabular Values (3.1a)"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(instruction_);
    layout->addWidget(view_, 1);
    resize(940, 320);

    logic_.setCloseHandler([this](bool accepted) {
        if (accepted)
            accept();
        else
            reject();
    });
    connect(view_, &GridView::mouseReleased, this, [this](int button, int, const QPoint& globalPos) {
        if (button == 2 && editMenu_) editMenu_->popup(globalPos);
    });
}

void PairsDialog::centreOverMainWindow() {
    if (!mainWindow_) return;
    const QRect main = mainWindow_->frameGeometry();
    const QSize own = frameGeometry().size();
    move(main.left() + (main.width() - own.width()) / 2, main.top() + (main.height() - own.height()) / 2);
}

bool PairsDialog::load(int row) {
    if (!logic_.load(row)) return false;
    centreOverMainWindow();
    return true;
}

bool PairsDialog::run(int row) {
    if (!load(row)) return false;
    return exec() == QDialog::Accepted && logic_.result() == PairsDialogLogic::Result::Accepted;
}

}  // namespace rillo
