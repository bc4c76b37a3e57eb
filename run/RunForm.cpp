#include "RunForm.h"

#include "RunFormTexts.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace rillo::run {

namespace {

QLabel* newLabel(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setWordWrap(true);
    return label;
}

void mirror(QWidget* widget, const ControlState& state) {
    widget->setVisible(state.visible);
    widget->setEnabled(state.enabled);
}

void mirrorText(QLabel* label, const ControlState& state) {
    label->setText(QString::fromStdString(state.text));
    mirror(label, state);
}

void mirrorText(QLineEdit* box, const ControlState& state) {
    const QString text = QString::fromStdString(state.text);
    if (box->text() != text) box->setText(text);
    mirror(box, state);
}

}  // namespace

RunForm::RunForm(UiServices& ui, const ComponentRegistry& components, const QString& applicationFolder,
                 QWidget* parent)
    : QDialog(parent), logic_(ui, components, applicationFolder.toStdString()) {
    setObjectName("frmRillo2000");
    buildWidgets();
    buildMenus();

    logic_.setStateListener([this] { refresh(); });

    connect(cmdBrowse, &QPushButton::clicked, this, [this] { logic_.browseDeck(); });
    connect(cmdLook, &QPushButton::clicked, this, [this] { logic_.browseHydrograph(); });
    connect(cmdRun, &QPushButton::clicked, this, [this] { logic_.run(); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { logic_.stop(); });
    connect(cmdResults, &QPushButton::clicked, this, [this] { logic_.showResults(); });
    connect(txtOut, &QLineEdit::textEdited, this, [this](const QString& t) { logic_.setOutText(t.toStdString()); });
    connect(txtPeak, &QLineEdit::textEdited, this,
            [this](const QString& t) { logic_.setPeakText(t.toStdString()); });
    connect(txtSwm, &QLineEdit::textEdited, this, [this](const QString& t) { logic_.setSwmText(t.toStdString()); });

    logic_.load();
    // Twips to pixels at the usual 15 twips per pixel.
    move(logic_.state().leftTwips / 15, logic_.state().topTwips / 15);
    refresh();
}

void RunForm::buildWidgets() {
    cmdBrowse = new QPushButton(QString::fromUtf8(texts::cmdBrowse), this);
    cmdBrowse->setObjectName("cmdBrowse");
    cmdBrowse->setToolTip(QString::fromUtf8(texts::cmdBrowseTip));
    label5 = newLabel(texts::label5, this);
    label5->setObjectName("Label5");
    lblInput = newLabel("", this);
    lblInput->setObjectName("lblInput");
    lblInput->setToolTip(QString::fromUtf8(texts::lblInputTip));

    cmdLook = new QPushButton(QString::fromUtf8(texts::cmdLook), this);
    cmdLook->setObjectName("cmdLook");
    cmdLook->setToolTip(QString::fromUtf8(texts::cmdLookTip));
    label6 = newLabel(texts::label6, this);
    label6->setObjectName("Label6");
    lblInKorva = newLabel("", this);
    lblInKorva->setObjectName("lblInKorva");
    lblInKorva->setToolTip(QString::fromUtf8(texts::lblInKorvaTip));

    auto* label1 = newLabel(texts::label1, this);
    label1->setObjectName("Label1");
    auto* label2 = newLabel(texts::label2, this);
    label2->setObjectName("Label2");
    auto* label3 = newLabel(texts::label3, this);
    label3->setObjectName("Label3");
    auto* label4 = newLabel(texts::label4, this);
    label4->setObjectName("Label4");
    txtOut = new QLineEdit(this);
    txtOut->setObjectName("txtOut");
    txtPeak = new QLineEdit(this);
    txtPeak->setObjectName("txtPeak");
    txtSwm = new QLineEdit(this);
    txtSwm->setObjectName("txtSwm");
    label2->setBuddy(txtOut);
    label3->setBuddy(txtPeak);
    label4->setBuddy(txtSwm);

    lblOutput = newLabel("", this);
    lblOutput->setObjectName("lblOutput");
    lblInstruct = newLabel("", this);
    lblInstruct->setObjectName("lblInstruct");
    cmdRun = new QPushButton(QString::fromUtf8(texts::cmdRun), this);
    cmdRun->setObjectName("cmdRun");
    cmdRun->setToolTip(QString::fromUtf8(texts::cmdRunTip));
    cmdRun->setAutoDefault(false);
    cmdBrowse->setAutoDefault(false);
    cmdLook->setAutoDefault(false);

    auto* image1 = new QLabel(this);
    image1->setObjectName("Image1");
    image1->setPixmap(style()->standardIcon(QStyle::SP_DriveHDIcon).pixmap(48, 48));
    image1->setAccessibleName(QStringLiteral("Disk drive"));

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(image1, row, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(lblInstruct, row++, 1, 1, 2);
    ++row;
    grid->addWidget(cmdBrowse, row, 0);
    grid->addWidget(label5, row, 1);
    grid->addWidget(lblInput, row++, 2);
    grid->addWidget(cmdLook, row, 0);
    grid->addWidget(label6, row, 1);
    grid->addWidget(lblInKorva, row++, 2);
    grid->addWidget(label1, row++, 0, 1, 3);
    grid->addWidget(label2, row, 0, 1, 2);
    grid->addWidget(txtOut, row++, 2);
    grid->addWidget(label3, row, 0, 1, 2);
    grid->addWidget(txtPeak, row++, 2);
    grid->addWidget(label4, row, 0, 1, 2);
    grid->addWidget(txtSwm, row++, 2);
    grid->addWidget(lblOutput, row++, 0, 1, 3);
    grid->addWidget(cmdRun, row++, 2, Qt::AlignRight);
    grid->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buildRunControls());
    layout->addStretch(1);
    // Room for every label that appears as the user goes on, so that showing
    // one never squeezes the wrapped instructions.
    lblInstruct->setMinimumHeight(fontMetrics().lineSpacing() * 4);
    // The labels that appear after a browse keep their room while hidden, so
    // the buttons and text boxes never move when they show.
    for (QLabel* shown : {label5, lblInput, label6, lblInKorva, lblOutput}) {
        QSizePolicy policy = shown->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        shown->setSizePolicy(policy);
    }
    setMinimumSize(660, 440);
}

QLayout* RunForm::buildRunControls() {
    prgRun = new QProgressBar(this);
    prgRun->setObjectName("prgRun");
    prgRun->setTextVisible(false);
    lblProgress = new QLabel(this);
    lblProgress->setObjectName("lblProgress");
    lblResults = new QLabel(this);
    lblResults->setObjectName("lblResults");
    lblResults->setWordWrap(true);
    cmdStop = new QPushButton(QString::fromUtf8(texts::cmdStop), this);
    cmdStop->setObjectName("cmdStop");
    cmdStop->setToolTip(QString::fromUtf8(texts::cmdStopTip));
    cmdStop->setAutoDefault(false);
    cmdResults = new QPushButton(QString::fromUtf8(texts::cmdResults), this);
    cmdResults->setObjectName("cmdResults");
    cmdResults->setToolTip(QString::fromUtf8(texts::cmdResultsTip));
    cmdResults->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->addWidget(prgRun, 1);
    row->addWidget(lblProgress, 1);
    row->addWidget(lblResults, 2);
    row->addWidget(cmdStop);
    row->addWidget(cmdResults);
    return row;
}

void RunForm::buildMenus() {
    auto* bar = new QMenuBar(this);
    auto* file = bar->addMenu(QString::fromUtf8(texts::mnuFile));
    file->setObjectName("mnuFile");
    auto* exit = file->addAction(QString::fromUtf8(texts::mnuFileExit));
    exit->setObjectName("mnuFileExit");
    auto* option = bar->addMenu(QString::fromUtf8(texts::mnuOption));
    option->setObjectName("mnuOption");
    auto* clear = option->addAction(QString::fromUtf8(texts::mnuOptionClear));
    clear->setObjectName("mnuOptionClear");
    mnuOptionClear_ = clear;
    auto* help = bar->addMenu(QString::fromUtf8(texts::mnuHelp));
    help->setObjectName("mnuHelp");
    auto* about = help->addAction(QString::fromUtf8(texts::mnuAbout));
    about->setObjectName("mnuAbout");
    layout()->setMenuBar(bar);

    connect(exit, &QAction::triggered, this, [this] { logic_.exit(); });
    connect(clear, &QAction::triggered, this, [this] { logic_.clearAllEntries(); });
    connect(about, &QAction::triggered, this, [this] { logic_.about(); });
}

void RunForm::refresh() {
    const RunFormState& s = logic_.state();
    setWindowTitle(QString::fromStdString(s.title));
    mirror(cmdBrowse, s.cmdBrowse);
    mirror(label5, s.label5);
    mirrorText(lblInput, s.lblInput);
    mirror(cmdLook, s.cmdLook);
    mirror(label6, s.label6);
    mirrorText(lblInKorva, s.lblInKorva);
    mirrorText(txtOut, s.txtOut);
    mirrorText(txtPeak, s.txtPeak);
    mirrorText(txtSwm, s.txtSwm);
    mirrorText(lblOutput, s.lblOutput);
    mirrorText(lblInstruct, s.lblInstruct);
    mirror(cmdRun, s.cmdRun);
    mirror(cmdStop, s.cmdStop);
    mirror(cmdResults, s.cmdResults);
    mirrorText(lblResults, s.lblResults);
    prgRun->setVisible(s.progress.visible);
    lblProgress->setVisible(s.progress.visible);
    lblProgress->setText(QString::fromStdString(s.progress.text));
    // No step count yet: a busy indicator.
    prgRun->setRange(0, s.progress.steps);
    prgRun->setValue(s.progress.step);
    if (mnuOptionClear_) mnuOptionClear_->setEnabled(s.clearEnabled);
    if (s.txtOutFocusRequests != focusRequestsSeen_) {
        focusRequestsSeen_ = s.txtOutFocusRequests;
        txtOut->setFocus();
    }
    if (s.closed && isVisible()) done(QDialog::Accepted);
}

void RunForm::reject() {
    if (logic_.state().running)
        logic_.stop();
    else
        QDialog::reject();
}

void RunForm::closeEvent(QCloseEvent* event) {
    if (!logic_.requestClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace rillo::run
