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

    connect(deckButton, &QPushButton::clicked, this, [this] { logic_.browseDeck(); });
    connect(hydrographButton, &QPushButton::clicked, this, [this] { logic_.browseHydrograph(); });
    connect(runButton, &QPushButton::clicked, this, [this] { logic_.run(); });
    connect(stopButton, &QPushButton::clicked, this, [this] { logic_.stop(); });
    connect(resultsButton, &QPushButton::clicked, this, [this] { logic_.showResults(); });
    connect(outputName, &QLineEdit::textEdited, this, [this](const QString& t) { logic_.setOutText(t.toStdString()); });
    connect(subcatchmentName, &QLineEdit::textEdited, this,
            [this](const QString& t) { logic_.setPeakText(t.toStdString()); });
    connect(gutterName, &QLineEdit::textEdited, this, [this](const QString& t) { logic_.setSwmText(t.toStdString()); });

    logic_.load();
    // Twips to pixels at the usual 15 twips per pixel.
    move(logic_.state().leftTwips / 15, logic_.state().topTwips / 15);
    refresh();
}

void RunForm::buildWidgets() {
    deckButton = new QPushButton(QString::fromUtf8(texts::deckButton), this);
    deckButton->setObjectName("cmdBrowse");
    deckButton->setToolTip(QString::fromUtf8(texts::deckButtonTip));
    deckCaption = newLabel(texts::deckLabel, this);
    deckCaption->setObjectName("Label5");
    deckName = newLabel("", this);
    deckName->setObjectName("lblInput");
    deckName->setToolTip(QString::fromUtf8(texts::deckLabelTip));

    hydrographButton = new QPushButton(QString::fromUtf8(texts::hydrographButton), this);
    hydrographButton->setObjectName("cmdLook");
    hydrographButton->setToolTip(QString::fromUtf8(texts::hydrographButtonTip));
    hydrographCaption = newLabel(texts::hydrographLabel, this);
    hydrographCaption->setObjectName("Label6");
    hydrographName = newLabel("", this);
    hydrographName->setObjectName("lblInKorva");
    hydrographName->setToolTip(QString::fromUtf8(texts::hydrographLabelTip));

    auto* label1 = newLabel(texts::outputNamesNote, this);
    label1->setObjectName("Label1");
    auto* label2 = newLabel(texts::mainOutputLabel, this);
    label2->setObjectName("Label2");
    auto* label3 = newLabel(texts::subcatchmentOutputLabel, this);
    label3->setObjectName("Label3");
    auto* label4 = newLabel(texts::gutterOutputLabel, this);
    label4->setObjectName("Label4");
    outputName = new QLineEdit(this);
    outputName->setObjectName("txtOut");
    subcatchmentName = new QLineEdit(this);
    subcatchmentName->setObjectName("txtPeak");
    gutterName = new QLineEdit(this);
    gutterName->setObjectName("txtSwm");
    label2->setBuddy(outputName);
    label3->setBuddy(subcatchmentName);
    label4->setBuddy(gutterName);

    outputFolder = newLabel("", this);
    outputFolder->setObjectName("lblOutput");
    instructions = newLabel("", this);
    instructions->setObjectName("lblInstruct");
    runButton = new QPushButton(QString::fromUtf8(texts::runButton), this);
    runButton->setObjectName("cmdRun");
    runButton->setToolTip(QString::fromUtf8(texts::runButtonTip));
    runButton->setAutoDefault(false);
    deckButton->setAutoDefault(false);
    hydrographButton->setAutoDefault(false);

    auto* image1 = new QLabel(this);
    image1->setObjectName("Image1");
    image1->setPixmap(style()->standardIcon(QStyle::SP_DriveHDIcon).pixmap(48, 48));
    image1->setAccessibleName(QStringLiteral("Disk drive"));

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(image1, row, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(instructions, row++, 1, 1, 2);
    ++row;
    grid->addWidget(deckButton, row, 0);
    grid->addWidget(deckCaption, row, 1);
    grid->addWidget(deckName, row++, 2);
    grid->addWidget(hydrographButton, row, 0);
    grid->addWidget(hydrographCaption, row, 1);
    grid->addWidget(hydrographName, row++, 2);
    grid->addWidget(label1, row++, 0, 1, 3);
    grid->addWidget(label2, row, 0, 1, 2);
    grid->addWidget(outputName, row++, 2);
    grid->addWidget(label3, row, 0, 1, 2);
    grid->addWidget(subcatchmentName, row++, 2);
    grid->addWidget(label4, row, 0, 1, 2);
    grid->addWidget(gutterName, row++, 2);
    grid->addWidget(outputFolder, row++, 0, 1, 3);
    grid->addWidget(runButton, row++, 2, Qt::AlignRight);
    grid->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buildRunControls());
    layout->addStretch(1);
    // Room for every label that appears as the user goes on, so that showing
    // one never squeezes the wrapped instructions.
    instructions->setMinimumHeight(fontMetrics().lineSpacing() * 4);
    // The labels that appear after a browse keep their room while hidden, so
    // the buttons and text boxes never move when they show.
    for (QLabel* shown : {deckCaption, deckName, hydrographCaption, hydrographName, outputFolder}) {
        QSizePolicy policy = shown->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        shown->setSizePolicy(policy);
    }
    setMinimumSize(660, 440);
}

QLayout* RunForm::buildRunControls() {
    progressBar = new QProgressBar(this);
    progressBar->setObjectName("prgRun");
    progressBar->setTextVisible(false);
    progressLabel = new QLabel(this);
    progressLabel->setObjectName("lblProgress");
    resultsNote = new QLabel(this);
    resultsNote->setObjectName("lblResults");
    resultsNote->setWordWrap(true);
    stopButton = new QPushButton(QString::fromUtf8(texts::cmdStop), this);
    stopButton->setObjectName("cmdStop");
    stopButton->setToolTip(QString::fromUtf8(texts::cmdStopTip));
    stopButton->setAutoDefault(false);
    resultsButton = new QPushButton(QString::fromUtf8(texts::cmdResults), this);
    resultsButton->setObjectName("cmdResults");
    resultsButton->setToolTip(QString::fromUtf8(texts::cmdResultsTip));
    resultsButton->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->addWidget(progressBar, 1);
    row->addWidget(progressLabel, 1);
    row->addWidget(resultsNote, 2);
    row->addWidget(stopButton);
    row->addWidget(resultsButton);
    return row;
}

void RunForm::buildMenus() {
    auto* bar = new QMenuBar(this);
    auto* file = bar->addMenu(QString::fromUtf8(texts::fileMenu));
    file->setObjectName("mnuFile");
    auto* exit = file->addAction(QString::fromUtf8(texts::exitCommand));
    exit->setObjectName("mnuFileExit");
    auto* option = bar->addMenu(QString::fromUtf8(texts::optionMenu));
    option->setObjectName("mnuOption");
    auto* clear = option->addAction(QString::fromUtf8(texts::clearCommand));
    clear->setObjectName("mnuOptionClear");
    clearAction_ = clear;
    auto* help = bar->addMenu(QString::fromUtf8(texts::helpMenu));
    help->setObjectName("mnuHelp");
    auto* about = help->addAction(QString::fromUtf8(texts::aboutCommand));
    about->setObjectName("mnuAbout");
    layout()->setMenuBar(bar);

    connect(exit, &QAction::triggered, this, [this] { logic_.exit(); });
    connect(clear, &QAction::triggered, this, [this] { logic_.clearAllEntries(); });
    connect(about, &QAction::triggered, this, [this] { logic_.about(); });
}

void RunForm::refresh() {
    const RunFormState& s = logic_.state();
    setWindowTitle(QString::fromStdString(s.title));
    mirror(deckButton, s.deckButton);
    mirror(deckCaption, s.deckCaption);
    mirrorText(deckName, s.deckName);
    mirror(hydrographButton, s.hydrographButton);
    mirror(hydrographCaption, s.hydrographCaption);
    mirrorText(hydrographName, s.hydrographName);
    mirrorText(outputName, s.outputName);
    mirrorText(subcatchmentName, s.subcatchmentName);
    mirrorText(gutterName, s.gutterName);
    mirrorText(outputFolder, s.outputFolder);
    mirrorText(instructions, s.instructions);
    mirror(runButton, s.runButton);
    mirror(stopButton, s.stopButton);
    mirror(resultsButton, s.resultsButton);
    mirrorText(resultsNote, s.resultsNote);
    progressBar->setVisible(s.progress.visible);
    progressLabel->setVisible(s.progress.visible);
    progressLabel->setText(QString::fromStdString(s.progress.text));
    // No step count yet: a busy indicator.
    progressBar->setRange(0, s.progress.steps);
    progressBar->setValue(s.progress.step);
    if (clearAction_) clearAction_->setEnabled(s.clearEnabled);
    if (s.outputNameFocusRequests != focusRequestsSeen_) {
        focusRequestsSeen_ = s.outputNameFocusRequests;
        outputName->setFocus();
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
