#include "AboutWindow.h"

#include "Pictures.h"
#include "UiServices.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace rillo::shell {

namespace {

QFrame* separatorLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

QString AboutWindow::descriptionText() {
    return QStringLiteral(
        "RILLO is a distributed rainfall stormwater runoff model based on EPA SWMM Runoff Block.  It incorporates "
        "surface runoff and routing through pipes, channels and detention basins.  It can be used by itself to "
        "model surface runoff or can import hydrographs generated with the KORVA 2000 unit hydrograph model of the "
        "Nordal District.");
}

AboutWindow::AboutWindow(QWidget* parent)
    : QDialog(parent), lblTitle_(new QLabel(this)), lblVersion_(new QLabel(this)), lblDescription_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Rillo2000"));

    auto* photo = new QLabel(this);
    photo->setObjectName(QStringLiteral("picPhoto"));
    showArtwork(photo, QStringLiteral("about"), QSize(150, 110));
    photo->setFrameShape(QFrame::Panel);
    photo->setFrameShadow(QFrame::Sunken);
    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("picIcon"));
    showArtwork(logo, QStringLiteral("splash"), QSize(48, 48));
    auto* company = new QLabel(QStringLiteral("Nordal District"), this);
    company->setObjectName(QStringLiteral("lblCompany"));

    lblTitle_->setObjectName(QStringLiteral("lblTitle"));
    lblTitle_->setText(QString::fromLatin1(AppVersion::title));
    QFont titleFont = lblTitle_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);
    lblVersion_->setObjectName(QStringLiteral("lblVersion"));
    lblVersion_->setText(QStringLiteral("Version %1").arg(QString::fromStdString(AppVersion::text())));
    lblDescription_->setObjectName(QStringLiteral("lblDescription"));
    lblDescription_->setText(descriptionText());
    lblDescription_->setWordWrap(true);
    lblDescription_->setMinimumWidth(320);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 14, 14, 14);
    grid->addWidget(logo, 0, 0, Qt::AlignTop);
    grid->addWidget(lblTitle_, 0, 1);
    grid->addWidget(lblVersion_, 1, 1);
    grid->addWidget(company, 2, 1);
    grid->addWidget(separatorLine(this), 3, 0, 1, 3);
    grid->addWidget(photo, 4, 0, 1, 1, Qt::AlignTop);
    grid->addWidget(lblDescription_, 4, 1, 1, 2);
    grid->addWidget(separatorLine(this), 5, 0, 1, 3);
    grid->addWidget(ok, 6, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
}

}  // namespace rillo::shell
