// The run from the start window through the real windows: the start
// window's button opens the run form over the main window, the form runs the
// bundled example deck through the model program named by RILLO_ENGINE, and
// the outputs land beside the deck.

#include "AboutWindow.h"
#include "EnvironmentGuard.h"
#include "CoverWindow.h"
#include "MainWindow.h"
#include "Platform.h"
#include "HydrographPlot.h"
#include "HydrographFile.h"
#include "ResultsWindow.h"
#include "RunForm.h"
#include "ScriptedUi.h"
#include "TestSystem.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>

using namespace rillo;
using namespace rillo::shell;
using rillo::testing::ScriptedUi;

namespace {

using rillo::testing::EnvironmentGuard;

std::vector<std::string> linesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    std::vector<std::string> lines;
    for (const QString& line : QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines.push_back(line.toStdString());
    return lines;
}

/// Runs `step` once the next modal window is up; a window still open after
/// `patience` is closed, so that a fault ends the test instead of hanging it.
/// The timers end with `scope`.
void whenModal(QObject& scope, const std::function<void(QWidget*)>& step, int patience = 10000) {
    QTimer::singleShot(0, &scope, [step] { step(QApplication::activeModalWidget()); });
    QTimer::singleShot(patience, &scope, [] {
        while (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "A modal window was left open: " << modal->windowTitle().toStdString();
            modal->close();
            QCoreApplication::processEvents();
        }
    });
}

/// The main window over a program folder of its own, with a copy of the
/// example deck in a deck folder of its own.
class RunFromStartWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(appFolder.isValid() && deckFolder.isValid());
        ASSERT_TRUE(QFile::copy(QStringLiteral(RILLO_EXAMPLES_DIR "/basin.sin"), deck));
    }
    /// A file of the deck folder.
    QString inDecks(const QString& name) const { return QDir(deckFolder.path()).filePath(name); }
    void showStartWindow() {
        window->setApplicationFolder(appFolder.path());
        window->show();
        window->loadCover();
    }

    QTemporaryDir appFolder, deckFolder;
    const QString deck = inDecks(QStringLiteral("basin.sin"));
    EnvironmentGuard environment;
    QObject scope;
    ScriptedUi ui;
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(&ui);
};

TEST_F(RunFromStartWindow, RunsTheExampleDeckThroughTheEngineNamedByTheEnvironment) {
    // A folder name with a blank, as a user's documents folder may have.
    ASSERT_TRUE(QDir(deckFolder.path()).mkdir(QStringLiteral("Mill Creek")));
    const QDir decks(deckFolder.filePath(QStringLiteral("Mill Creek")));
    const QString deck = decks.filePath(QStringLiteral("basin.sin"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(RILLO_EXAMPLES_DIR "/basin.sin"), deck));
    // Stale scratch files in both folders.
    for (const QString& scratch : {decks.filePath(QStringLiteral("SCRATCH")),
                                   QDir(appFolder.path()).filePath(QStringLiteral("SCRATCH"))}) {
        QFile file(scratch);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString record = QDir(appFolder.path()).filePath(QStringLiteral("engine.txt"));

    environment.set("RILLO_ENGINE", rillo::testing::builtPath(RILLO_TEST_ENGINE));
    environment.set("RILLO_TEST_ENGINE_RECORD", record.toStdString());

    window->restorePlacement();
    showStartWindow();

    ui.fileName(deck.toStdString());
    ui.no();  // "Run another input file?": No ends the form.
    std::string formTitle, aboutTitle;
    bool formOverMain = false, aboutOverForm = false;
    whenModal(scope, [&](QWidget* modal) {
        auto* form = qobject_cast<run::RunForm*>(modal);
        ASSERT_NE(form, nullptr) << "the run form is not the modal window";
        formTitle = form->windowTitle().toStdString();
        formOverMain = form->parentWidget() == window.get();

        // Help > About opens the About window over the form.
        whenModal(scope, [&](QWidget* about) {
            aboutOverForm = qobject_cast<AboutWindow*>(about) && about->parentWidget() == form;
            if (about) aboutTitle = about->windowTitle().toStdString();
            if (about) about->close();
        });
        form->findChild<QAction*>(QStringLiteral("mnuAbout"))->trigger();

        QTest::mouseClick(form->deckButton, Qt::LeftButton);
        QTest::mouseClick(form->runButton, Qt::LeftButton);
    });
    window->cover()->button(QStringLiteral("cmdRun"))->click();

    EXPECT_EQ(formTitle, "Rillo2000 Input/Output File Entry Form");
    EXPECT_TRUE(formOverMain);
    EXPECT_EQ(aboutTitle, "About Rillo2000");
    EXPECT_TRUE(aboutOverForm);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    EXPECT_EQ(ui.dialogue(), (std::vector<std::string>{
                                 "open: Get RILLO file -> " + deck.toStdString(),
                                 "Rillo2000|None|Program Completed|OK",
                                 "Rillo2000|None|Run another input file?|YesNo -> No",
                             }));
    const QString folder = decks.path() + QLatin1Char('/');
    for (const char* output : {"basin.sot", "basingut.ssb", "basinsub.ssb"})
        EXPECT_TRUE(QFile::exists(folder + QLatin1String(output))) << output;
    EXPECT_FALSE(QFile::exists(decks.filePath(QStringLiteral("SCRATCH"))));
    EXPECT_FALSE(QFile::exists(QDir(appFolder.path()).filePath(QStringLiteral("SCRATCH"))));

    // The engine ran in the program's folder with the five paths in order,
    // the one with a blank as one argument and no hydrograph input.
    const std::string out = folder.toStdString();
    std::vector<std::string> recorded = linesOf(record);
    if (!recorded.empty())  // in the system's own spelling
        recorded[0] = "cwd=" + QDir(QString::fromStdString(recorded[0].substr(4))).canonicalPath().toStdString();
    EXPECT_EQ(recorded, (std::vector<std::string>{
                                   "cwd=" + QDir(appFolder.path()).canonicalPath().toStdString(),
                                   "argc=5",
                                   "arg=" + deck.toStdString(),
                                   "arg=" + out + "basin.sot",
                                   "arg=" + out + "basinsub.ssb",
                                   "arg=" + out + "basingut.ssb",
                                   "arg=",
                               }));
    // The main window is back on the start window, in the no-deck state.
    EXPECT_EQ(window->activeChild(), window->cover());
    EXPECT_TRUE(window->menuItem(QStringLiteral("mnuFileRun"))->isVisible());
}

TEST_F(RunFromStartWindow, AnotherEnginesOutputsInterruptNothingAndTheFormSaysWhyNoResultsShow) {
    // The stand-in writes outputs of its own format.
    environment.set("RILLO_ENGINE", rillo::testing::builtPath(RILLO_TEST_ENGINE));
    showStartWindow();
    ui.fileName(deck.toStdString());
    ui.yes();  // "Run another input file?"
    std::string line, explained;
    whenModal(scope, [&](QWidget* modal) {
        auto* form = qobject_cast<run::RunForm*>(modal);
        ASSERT_NE(form, nullptr);
        QTest::mouseClick(form->deckButton, Qt::LeftButton);
        QTest::mouseClick(form->runButton, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([form] { return !form->logic().state().running; }, 10000));
        // Long enough for a results window to have read its files.
        QTest::qWait(300);
        auto* note = form->findChild<QLabel*>(QStringLiteral("lblResults"));
        if (note && note->isVisible()) line = note->text().toStdString();
        const std::size_t before = ui.messages().size();
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("cmdResults")), Qt::LeftButton);
        if (ui.messages().size() > before) explained = ui.messages().back();
        form->close();
    });
    window->cover()->button(QStringLiteral("cmdRun"))->click();
    QTest::qWait(100);

    EXPECT_EQ(ui.dialogue(), (std::vector<std::string>{
                                 "open: Get RILLO file -> " + deck.toStdString(),
                                 "Rillo2000|None|Program Completed|OK",
                                 "Rillo2000|None|Run another input file?|YesNo -> Yes",
                                 explained,
                             }));
    EXPECT_EQ(line, "The results window cannot read the outputs of this run: Show Results says why.");
    EXPECT_EQ(explained.rfind("Rillo2000|Information|The results window cannot show the outputs of this run.", 0), 0u)
        << explained;
    EXPECT_NE(explained.find(inDecks(QStringLiteral("basin.sot")).toStdString() + ", line "), std::string::npos)
        << explained;
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<results::ResultsWindow*>(top), nullptr) << "no results window opened";
}

TEST_F(RunFromStartWindow, TheBundledModelRunsTheExampleAndItsResultsShowWhatItWrote) {
    // The program's folder holds the bundled model and nothing names another.
    const QString bundled = QDir(appFolder.path()).filePath(platform::executableName(QStringLiteral("rillo-model")));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(rillo::testing::builtPath(RILLO_MODEL_PROGRAM)), bundled));
    QFile(bundled).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    environment.set("RILLO_ENGINE", "");

    showStartWindow();
    ui.fileName(deck.toStdString());
    ui.no();  // "Run another input file?"
    whenModal(scope, [&](QWidget* modal) {
        auto* form = qobject_cast<run::RunForm*>(modal);
        ASSERT_NE(form, nullptr);
        QTest::mouseClick(form->deckButton, Qt::LeftButton);
        QTest::mouseClick(form->runButton, Qt::LeftButton);
    });
    window->cover()->button(QStringLiteral("cmdRun"))->click();
    EXPECT_EQ(ui.dialogue(), (std::vector<std::string>{
                                 "open: Get RILLO file -> " + deck.toStdString(),
                                 "Rillo2000|None|Program Completed|OK",
                                 "Rillo2000|None|Run another input file?|YesNo -> No",
                             }));

    // The results window opened on that run, and outlived the form.
    results::ResultsWindow* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* r = qobject_cast<results::ResultsWindow*>(w); r && r->isVisible()) shown = r;
    ASSERT_NE(shown, nullptr);
    if (shown->isLoading()) {
        QSignalSpy loaded(shown, &results::ResultsWindow::loaded);
        ASSERT_TRUE(loaded.wait(30000));
    }
    const std::string base = inDecks(QStringLiteral("basin")).toStdString();
    const model::Hydrographs written[] = {model::readHydrographsFile(base + "sub.ssb"),
                                          model::readHydrographsFile(base + "gut.ssb")};
    const results::RunResults& run = shown->results();
    std::size_t flows = 0;
    for (results::SeriesId id : run.series()) {
        if (run.isRain(id)) continue;
        ASSERT_TRUE(shown->setTicked(id, true));
        const model::Hydrographs& file = written[id.file == results::SeriesFile::Gut ? 1 : 0];
        const std::vector<results::PlotPoint> curve = shown->plot()->points(id);
        ASSERT_EQ(curve.size(), file.steps());
        for (std::size_t step = 0; step < file.steps(); ++step) {
            EXPECT_DOUBLE_EQ(curve[step].y, file.value(step, id.column)) << run.label(id);
            EXPECT_DOUBLE_EQ(curve[step].x, file.hoursAt(step));
        }
        ++flows;
    }
    EXPECT_EQ(flows, 8u) << "five subcatchments and three elements are saved by the example";

    // The window uses the main window's services: it goes when that goes.
    const QPointer<QWidget> held(shown);
    window.reset();
    EXPECT_TRUE(held.isNull());
}

TEST_F(RunFromStartWindow, FileRunOpensTheSameFormAndAFailingEngineIsReported) {

    environment.set("RILLO_ENGINE", rillo::testing::builtPath(RILLO_TEST_ENGINE));
    environment.set("RILLO_TEST_ENGINE_EXIT", "3");

    showStartWindow();

    ui.fileName(deck.toStdString());
    bool runEnabledAfterFailure = true, browseEnabledAfterFailure = false;
    whenModal(scope, [&](QWidget* modal) {
        auto* form = qobject_cast<run::RunForm*>(modal);
        ASSERT_NE(form, nullptr) << "the run form is not the modal window";
        QTest::mouseClick(form->deckButton, Qt::LeftButton);
        QTest::mouseClick(form->runButton, Qt::LeftButton);
        // The engine runs while the windows go on.
        EXPECT_TRUE(QTest::qWaitFor([form] { return !form->logic().state().running; }, 10000));
        runEnabledAfterFailure = form->runButton->isEnabled();
        browseEnabledAfterFailure = form->deckButton->isEnabled();
        form->findChild<QAction*>(QStringLiteral("mnuFileExit"))->trigger();
    });
    window->menuItem(QStringLiteral("mnuFileRun"))->trigger();

    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"Illo2000 DLL Error|Exclamation|The Rillo 2000 Process Failed.|OK"}));
    EXPECT_FALSE(runEnabledAfterFailure);
    EXPECT_TRUE(browseEnabledAfterFailure);
    // The log beside the main output says why.
    const auto log = linesOf(inDecks(QStringLiteral("basin.sot.log")));
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("ended with status 3"), std::string::npos) << log.back();
    // The message box's details say so, and where the log is.
    ASSERT_FALSE(ui.messageDetails.empty());
    EXPECT_NE(ui.messageDetails.back().find("ended with status 3"), std::string::npos) << ui.messageDetails.back();
    // Shown in the system's own spelling.
    const std::string logPath = QDir::toNativeSeparators(inDecks(QStringLiteral("basin.sot.log"))).toStdString();
    EXPECT_NE(ui.messageDetails.back().find(logPath), std::string::npos) << ui.messageDetails.back();
}

TEST_F(RunFromStartWindow, ClosingTheProgramDuringARunAsksAndStopsTheRun) {
    const QString output = inDecks(QStringLiteral("basin.sot"));

    environment.set("RILLO_ENGINE", rillo::testing::builtPath(RILLO_TEST_ENGINE));
    environment.set("RILLO_TEST_ENGINE_STEPS", "1000");
    environment.set("RILLO_TEST_ENGINE_STEP_MS", "50");

    showStartWindow();

    ui.fileName(deck.toStdString());
    bool keptAfterNo = false, closedAfterYes = false, runningAfterNo = false;
    whenModal(scope, [&](QWidget* modal) {
        auto* form = qobject_cast<run::RunForm*>(modal);
        ASSERT_NE(form, nullptr) << "the run form is not the modal window";
        QTest::mouseClick(form->deckButton, Qt::LeftButton);
        QTest::mouseClick(form->runButton, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(output); }, 10000));
        ui.no();
        window->close();
        keptAfterNo = window->isVisible() && form->isVisible();
        runningAfterNo = form->logic().state().running;
        ui.yes();
        window->close();
        closedAfterYes = !window->isVisible() && !form->isVisible();
    });
    window->menuItem(QStringLiteral("mnuFileRun"))->trigger();

    EXPECT_TRUE(keptAfterNo);
    EXPECT_TRUE(runningAfterNo);
    EXPECT_TRUE(closedAfterYes);
    EXPECT_FALSE(QFile::exists(output)) << "the outputs the run had begun are gone";
    const std::string question = "Rillo2000|Question|A model run is going. Stop it and close the form?|YesNo -> ";
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{question + "No", question + "Yes"}));
}

}  // namespace
