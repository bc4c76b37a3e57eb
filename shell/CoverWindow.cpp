#include "CoverWindow.h"

#include "Pictures.h"
#include "UiServices.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace rillo::shell {

CoverWindow::CoverWindow(QWidget* parent)
    : QWidget(parent),
      frame1_(new QFrame(this)),
      image1_(new QLabel(this)),
      image5_(new QLabel(this)),
      image6_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmCover"));
    setWindowTitle(QString::fromLatin1(AppVersion::title));
    setAutoFillBackground(true);

    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setFrameShape(QFrame::StyledPanel);
    frame1_->setFrameShadow(QFrame::Raised);
    frame1_->setAccessibleName(QStringLiteral("Commands"));
    image1_->setObjectName(QStringLiteral("Image1"));
    showArtwork(image1_, QStringLiteral("cover"), QSize(360, 240));
    image5_->setObjectName(QStringLiteral("Image5"));
    showArtwork(image5_, QStringLiteral("rain"), QSize(72, 72));
    image6_->setObjectName(QStringLiteral("Image6"));
    showArtwork(image6_, QStringLiteral("pipe"), QSize(72, 72));
    for (QLabel* image : {image1_, image5_, image6_}) image->setAlignment(Qt::AlignCenter);

    auto* buttons = new QVBoxLayout(frame1_);
    buttons->setContentsMargins(16, 16, 16, 16);
    buttons->setSpacing(10);
    buttons->addWidget(addButton(QStringLiteral("cmdOpen"), QStringLiteral("&Open File"), &CoverWindow::openClicked));
    buttons->addWidget(
        addButton(QStringLiteral("cmdNew"), QStringLiteral("&Start New File"), &CoverWindow::newClicked));
    buttons->addWidget(
        addButton(QStringLiteral("cmdRun"), QStringLiteral("&Run Existing File"), &CoverWindow::runClicked));
    buttons->addWidget(addButton(QStringLiteral("cmdHelp"), QStringLiteral("&Help"), &CoverWindow::helpClicked));
    buttons->addWidget(addButton(QStringLiteral("cmdExit"), QStringLiteral("E&xit"), &CoverWindow::exitClicked));

    // The pictures and the buttons keep together in the middle of the window.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(24, 24, 24, 24);
    grid->setHorizontalSpacing(32);
    grid->setVerticalSpacing(16);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(0, 1);
    grid->addWidget(image1_, 1, 1, 2, 1);
    grid->addWidget(frame1_, 1, 2, 1, 2);
    grid->addWidget(image5_, 2, 2);
    grid->addWidget(image6_, 2, 3);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(4, 1);

    // The pictures that do not pop the menu up keep their right clicks.
    for (QWidget* w : {static_cast<QWidget*>(frame1_), static_cast<QWidget*>(image1_),
                       static_cast<QWidget*>(image5_), static_cast<QWidget*>(image6_)})
        w->installEventFilter(this);
}

QPushButton* CoverWindow::addButton(const QString& name, const QString& caption, void (CoverWindow::*signal)()) {
    auto* button = new QPushButton(caption, frame1_);
    button->setObjectName(name);
    button->setMinimumSize(200, 40);
    QFont font = button->font();
    font.setPointSizeF(font.pointSizeF() * 1.2);
    button->setFont(font);
    connect(button, &QPushButton::clicked, this, signal);
    // A button's right click stops at the button.
    button->installEventFilter(this);
    return button;
}

QPushButton* CoverWindow::button(const QString& name) const { return findChild<QPushButton*>(name); }

void CoverWindow::popUp(const QPoint& globalPos) {
    if (popupMenu_) popupMenu_->popup(globalPos);
}

void CoverWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        popUp(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

bool CoverWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress) return QWidget::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::RightButton) return false;
    if (watched == frame1_ || watched == image1_ || watched == image5_)
        popUp(mouse->globalPosition().toPoint());
    // Handled here either way, so that it does not reach the background.
    return true;
}

}  // namespace rillo::shell
