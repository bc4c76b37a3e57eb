#include "BasicHelpWindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace rillo::shell {

namespace {
const QChar CR(13);
}

QString BasicHelpWindow::newFileText() {
    return QStringLiteral("To start a new file select either the \"New\" button on the toolbar, ") +
           QStringLiteral("or select new file from the file menu.  This will bring up the \"Input Form\", this ") +
           QStringLiteral("form will allow you to start a brand new RILLO file from scratch.") + CR +
           QStringLiteral("The \"Input Form\" has several \"cards\", with these cards you are able to ") +
           QStringLiteral("enter data to create a new RILLO file.") + CR + CR +
           QStringLiteral("When finished with entering all of the data you must press done on the last card ") +
           QStringLiteral("(Conveyance Print 4.4).  This will bring you to the \"Edit Form\" to check your data ") +
           QStringLiteral("before saving it to a file.");
}

QString BasicHelpWindow::openFileText() {
    return QStringLiteral("To open an existing file select either the \"Open \" button on the ") +
           QStringLiteral("toolbar or select open file from the file menu.  This will search for RILLO files ") +
           QStringLiteral("and load them into the \"Edit Form\".");
}

QString BasicHelpWindow::editSaveText() {
    return QStringLiteral("Editing a file is either done by finishing a new file or opening ") +
           QStringLiteral("an existing file.  The purpose of the \"Edit Form\" is to correct any data ") +
           QStringLiteral("that may have a problem.  Once this is done you can save the RILLO file by ") +
           QStringLiteral("selecting the \"Save\" button on the toolbar or from the file menu.");
}

QString BasicHelpWindow::withLineBreaks(const QString& text) {
    QString result = text;
    result.replace(CR, QLatin1Char('\n'));
    return result;
}

BasicHelpWindow::BasicHelpWindow(QWidget* parent) : QDialog(parent), tabs_(new QTabWidget(this)) {
    setObjectName(QStringLiteral("frmBasicHelp"));
    setWindowTitle(QStringLiteral("Basic Help"));
    tabs_->setObjectName(QStringLiteral("SSTab1"));

    const QString captions[3] = {QStringLiteral("New File"), QStringLiteral("Open File"),
                                 QStringLiteral("Edit/Save File")};
    const QString texts[3] = {newFileText(), openFileText(), editSaveText()};
    for (int i = 0; i < 3; ++i) {
        auto* page = new QWidget(tabs_);
        labels_[i] = new QLabel(withLineBreaks(texts[i]), page);
        labels_[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        labels_[i]->setTextFormat(Qt::PlainText);
        labels_[i]->setWordWrap(true);
        labels_[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(14, 14, 14, 14);
        layout->addWidget(labels_[i]);
        tabs_->addTab(page, captions[i]);
    }

    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("Command1"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);
    resize(480, 320);
}

QLabel* BasicHelpWindow::pageLabel(int page) const {
    return page >= 0 && page < 3 ? labels_[page] : nullptr;
}

void BasicHelpWindow::centreOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize outer = frameGeometry().size();
    move(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
}

bool BasicHelpWindow::event(QEvent* event) {
    // Centred when shown and whenever it becomes the active window again.
    if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate) centreOnScreen();
    return QDialog::event(event);
}

}  // namespace rillo::shell
