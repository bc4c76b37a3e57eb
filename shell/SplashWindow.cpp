#include "SplashWindow.h"

#include "Pictures.h"
#include "UiServices.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace rillo::shell {

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      lblVersion_(new QLabel(this)),
      lblProductName_(new QLabel(this)),
      timer_(new QTimer(this)) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QString::fromLatin1(AppVersion::title));

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    auto* maker = new QLabel(frame);
    maker->setObjectName(QStringLiteral("picLogo"));
    showArtwork(maker, QStringLiteral("splash"), QSize(180, 180));
    maker->setAlignment(Qt::AlignCenter);

    auto* company = new QLabel(QStringLiteral("Nordal District"), frame);
    company->setObjectName(QStringLiteral("lblCompany"));
    auto* description =
        new QLabel(QStringLiteral("A distributed rainfall-runoff routing model based on EPA's SWMM Runoff Block"), frame);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);

    auto* rain = new QLabel(frame);
    showArtwork(rain, QStringLiteral("rain"), QSize(64, 64));
    auto* pipe = new QLabel(frame);
    showArtwork(pipe, QStringLiteral("pipe"), QSize(64, 64));

    lblVersion_->setObjectName(QStringLiteral("lblVersion"));
    lblVersion_->setText(QStringLiteral("Version %1").arg(QString::fromStdString(AppVersion::shortText())));
    lblProductName_->setObjectName(QStringLiteral("lblProductName"));
    lblProductName_->setText(QString::fromLatin1(AppVersion::title));

    QFont big = lblProductName_->font();
    big.setPointSizeF(big.pointSizeF() * 2.4);
    big.setBold(true);
    lblProductName_->setFont(big);
    QFont medium = company->font();
    medium.setPointSizeF(medium.pointSizeF() * 1.3);
    company->setFont(medium);
    lblVersion_->setFont(medium);

    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(18, 18, 18, 18);
    grid->setHorizontalSpacing(18);
    grid->addWidget(maker, 0, 0, 4, 1);
    grid->addWidget(company, 0, 1, 1, 2);
    grid->addWidget(lblProductName_, 1, 1, 1, 2);
    grid->addWidget(lblVersion_, 2, 1, 1, 2);
    grid->addWidget(description, 3, 1, 1, 2);
    grid->addWidget(rain, 4, 1, Qt::AlignLeft);
    grid->addWidget(pipe, 4, 2, Qt::AlignRight);
    setFixedSize(560, 300);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - rect().center());
    }

    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setSingleShot(true);
    timer_->setInterval(3000);
    connect(timer_, &QTimer::timeout, this, &SplashWindow::timerFired);
    timer_->start();
}

}  // namespace rillo::shell
