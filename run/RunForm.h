#pragma once
// The window of the model run form: a thin view over RunFormLogic that
// forwards clicks and typed text and mirrors the logic's state.

#include "RunFormLogic.h"

#include <QDialog>

class QAction;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace rillo::run {

class RunForm : public QDialog {
    Q_OBJECT
public:
    RunForm(UiServices& ui, const ComponentRegistry& components, const QString& applicationFolder,
            QWidget* parent = nullptr);

    RunFormLogic& logic() { return logic_; }

    QPushButton* deckButton = nullptr;
    QLabel* deckCaption = nullptr;
    QLabel* deckName = nullptr;
    QPushButton* hydrographButton = nullptr;
    QLabel* hydrographCaption = nullptr;
    QLabel* hydrographName = nullptr;
    QLineEdit* outputName = nullptr;
    QLineEdit* subcatchmentName = nullptr;
    QLineEdit* gutterName = nullptr;
    QLabel* outputFolder = nullptr;
    QLabel* instructions = nullptr;
    QPushButton* runButton = nullptr;
    // Watching a run, and its results.
    QProgressBar* progressBar = nullptr;
    QLabel* progressLabel = nullptr;
    QLabel* resultsNote = nullptr;
    QPushButton* stopButton = nullptr;
    QPushButton* resultsButton = nullptr;

    /// Mirrors the logic's state into the widgets; closes the form once the
    /// logic has unloaded it.
    void refresh();

    /// Escape stops a run that is going; otherwise it closes the form.
    void reject() override;

protected:
    /// Closing while a run is going asks first, and stops the run.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWidgets();
    QLayout* buildRunControls();
    void buildMenus();

    QAction* clearAction_ = nullptr;

    RunFormLogic logic_;
    int focusRequestsSeen_ = 0;
};

}  // namespace rillo::run
