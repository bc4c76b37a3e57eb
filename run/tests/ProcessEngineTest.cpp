#include "DeckPreRun.h"
#include "EnvironmentGuard.h"
#include "ProcessEngine.h"
#include "RunFormLogic.h"
#include "ScriptedUi.h"
#include "StandardComponents.h"
#include "TestFiles.h"
#include "UiServices.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QDeadlineTimer>
#include <QFile>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace rillo::run {
namespace {

namespace fs = std::filesystem;
using testing::deckText;
using testing::exists;
using testing::testEngine;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

using EnvironmentValue = rillo::testing::EnvironmentGuard;

/// Lets the event loop run until `done` holds (or a generous time is up, so
/// that a fault fails the test instead of hanging it).
template <typename Done>
bool waitUntil(Done done, int patienceMs = 30000) {
    QDeadlineTimer deadline(patienceMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

/// What an engine reported.
struct Reports : EngineListener {
    std::vector<std::string> steps;  ///< "N/M"
    std::vector<EngineResult> results;
    std::function<void()> onProgress;
    void engineProgress(int step, int stepCount) override {
        steps.push_back(std::to_string(step) + "/" + std::to_string(stepCount));
        if (onProgress) onProgress();
    }
    void engineFinished(const EngineResult& result) override { results.push_back(result); }
};

/// The record the test program leaves: its folder and its arguments.
struct EngineRecord {
    std::string folder;
    std::vector<std::string> args;
};

EngineRecord readRecord(const std::string& path) {
    EngineRecord record;
    std::istringstream in(readFile(path));
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("cwd=", 0) == 0) record.folder = line.substr(4);
        if (line.rfind("arg=", 0) == 0) record.args.push_back(line.substr(4));
    }
    return record;
}

class ProcessEngineTest : public ::testing::Test {
protected:
    ProcessEngineTest()
        : record_(app.file("record.txt")),
          recordVariable_("RILLO_TEST_ENGINE_RECORD", record_),
          engineVariable_("RILLO_ENGINE", testEngine()) {}

    RunPaths paths(const std::string& hydrograph = "") const {
        RunPaths p;
        p.deck = decks.file("basin.sin");
        p.mainOutput = decks.file("basin.sot");
        p.subcatchmentOutput = decks.file("basinsub.ssb");
        p.gutterOutput = decks.file("basingut.ssb");
        p.hydrographInput = hydrograph;
        p.log = decks.file("basin.sot.log");
        return p;
    }
    /// Runs the engine to its end and gives the one result it reported.
    EngineResult runEngine(ProcessEngine& engine, const RunPaths& p, Reports& reports) {
        engine.start(p, reports);
        EXPECT_TRUE(waitUntil([&reports] { return !reports.results.empty(); })) << "the run did not end";
        EXPECT_EQ(reports.results.size(), 1u);
        return reports.results.empty() ? EngineResult{EngineOutcome::Failed, "no report", {}} : reports.results[0];
    }
    EngineResult runEngine(ProcessEngine& engine, const std::string& hydrograph = "") {
        Reports reports;
        return runEngine(engine, paths(hydrograph), reports);
    }
    EngineRecord record() const { return readRecord(record_); }
    std::string log() const { return readFile(decks.file("basin.sot.log")); }

    TempFolder decks, app;
    rillo::testing::ScriptedUi ui;

private:
    std::string record_;
    EnvironmentValue recordVariable_, engineVariable_;
};

TEST_F(ProcessEngineTest, RunsTheProgramInTheApplicationFolderWithTheFivePathsInOrder) {
    ProcessEngine engine(ui, app.folder());
    engine.checkReady();
    const EngineResult result = runEngine(engine, "/korva/storm.kvd");
    EXPECT_EQ(result.outcome, EngineOutcome::Completed) << result.reason;
    EXPECT_EQ(result.logPath, decks.file("basin.sot.log"));

    const EngineRecord r = record();
    EXPECT_TRUE(fs::equivalent(r.folder, app.path()));
    EXPECT_EQ(r.args, (std::vector<std::string>{decks.file("basin.sin"), decks.file("basin.sot"),
                                                decks.file("basinsub.ssb"), decks.file("basingut.ssb"),
                                                "/korva/storm.kvd"}));
    EXPECT_TRUE(exists(decks.file("basin.sot")));
    EXPECT_TRUE(exists(decks.file("basingut.ssb")));
    EXPECT_TRUE(exists(decks.file("basinsub.ssb")));
    EXPECT_NE(log().find("model output line"), std::string::npos);
    EXPECT_NE(log().find("model warning line"), std::string::npos);
}

TEST_F(ProcessEngineTest, EmptyHydrographPathIsStillTheFifthArgument) {
    ProcessEngine engine(ui, app.folder());
    runEngine(engine);
    const EngineRecord r = record();
    ASSERT_EQ(r.args.size(), 5u);
    EXPECT_EQ(r.args[4], "");
}

TEST_F(ProcessEngineTest, PathsWithBlanksQuotesAndShellSignsArriveUnchanged) {
    const std::string odd = decks.file("my \"wet\" basin; $(touch injected) 'x'.sin");
    ProcessEngine engine(ui, app.folder());
    RunPaths p = paths();
    p.deck = odd;
    p.mainOutput = decks.file("a b.sot");
    Reports reports;
    runEngine(engine, p, reports);
    const EngineRecord r = record();
    ASSERT_EQ(r.args.size(), 5u);
    EXPECT_EQ(r.args[0], odd);
    EXPECT_EQ(r.args[1], decks.file("a b.sot"));
    EXPECT_FALSE(exists(app.file("injected")));
    EXPECT_FALSE(exists(decks.file("injected")));
}

TEST_F(ProcessEngineTest, EveryKindOfFailureIsReportedWithItsReasonAndExplainedInTheLog) {
    ProcessEngine engine(ui, app.folder());
    {
        EnvironmentValue status("RILLO_TEST_ENGINE_EXIT", "3");
        EnvironmentValue error("RILLO_TEST_ENGINE_ERROR", "ERROR 12: card 3.1 names element 40 twice");
        const EngineResult result = runEngine(engine);
        EXPECT_EQ(result.outcome, EngineOutcome::Failed);
        EXPECT_EQ(result.reason, "The model program " + QDir::toNativeSeparators(QString::fromStdString(testEngine())).toStdString() +
                                     " ended with status 3. Its last message: ERROR 12: card 3.1 names element 40 twice");
        EXPECT_EQ(result.logPath, decks.file("basin.sot.log"));
        EXPECT_NE(log().find("ended with status 3"), std::string::npos) << log();
        EXPECT_NE(log().find("model output line"), std::string::npos);
    }
    {
        EnvironmentValue crash("RILLO_TEST_ENGINE_CRASH", "1");
        const EngineResult result = runEngine(engine);
        EXPECT_EQ(result.outcome, EngineOutcome::Failed);
        EXPECT_NE(result.reason.find("crashed"), std::string::npos) << result.reason;
        EXPECT_NE(log().find("crashed"), std::string::npos) << log();
    }
    {
        // Gone between the check and the start.
        EnvironmentValue missing("RILLO_ENGINE", app.file("no-such-program"));
        const EngineResult result = runEngine(engine);
        EXPECT_EQ(result.outcome, EngineOutcome::Failed);
        EXPECT_NE(result.reason.find("could not be started"), std::string::npos) << result.reason;
        EXPECT_NE(log().find("could not be started"), std::string::npos) << log();
    }
}

TEST_F(ProcessEngineTest, ProgramThatCannotRunIsFoundOutBeforeTheRun) {
    ProcessEngine engine(ui, app.folder());
    auto reasonWhyNot = [&engine]() -> std::string {
        try {
            engine.checkReady();
            return "ready";
        } catch (const RuntimeError& e) {
            return e.what();
        }
    };
    EXPECT_EQ(reasonWhyNot(), "ready");
    {
        EnvironmentValue missing("RILLO_ENGINE", app.file("no-such-program"));
        EXPECT_EQ(reasonWhyNot().rfind("The model program " + app.file("no-such-program") + " is not there.", 0), 0u)
            << reasonWhyNot();
    }
    {
        writeFile(app.file("not-executable"), "#!/bin/sh\nexit 0\n");
        EnvironmentValue plain("RILLO_ENGINE", app.file("not-executable"));
        EXPECT_NE(reasonWhyNot().find("it is not an executable file"), std::string::npos) << reasonWhyNot();
    }
    {
        EnvironmentValue notOnPath("RILLO_ENGINE", "rillo-no-such-model-program");
        EXPECT_NE(reasonWhyNot().find("was not found on the search path"), std::string::npos) << reasonWhyNot();
    }
    {
        // Nothing named and nothing bundled: the reason says where to name it.
        EnvironmentValue none("RILLO_ENGINE", "  ");
        const std::string why = reasonWhyNot();
        EXPECT_EQ(why.rfind("The model program " + app.file(ProcessEngine::bundledProgramName()) + " is not there.", 0), 0u)
            << why;
        EXPECT_NE(why.find("section Engine"), std::string::npos) << why;
        EXPECT_NE(why.find("RILLO_ENGINE"), std::string::npos) << why;
    }
    EXPECT_FALSE(exists(decks.file("basin.sot.log"))) << "a check writes nothing";
}

TEST_F(ProcessEngineTest, ProgressLinesAreReportedAsTheyComeAndKeptInTheLog) {
    EnvironmentValue steps("RILLO_TEST_ENGINE_STEPS", "4");
    ProcessEngine engine(ui, app.folder());
    Reports reports;
    const EngineResult result = runEngine(engine, paths(), reports);
    EXPECT_EQ(result.outcome, EngineOutcome::Completed);
    // Steps that arrive together are reported as the last of them.
    ASSERT_FALSE(reports.steps.empty());
    EXPECT_TRUE(std::is_sorted(reports.steps.begin(), reports.steps.end()));
    EXPECT_LE(reports.steps.size(), 4u);
    EXPECT_EQ(reports.steps.back(), "4/4");
    EXPECT_NE(log().find("step 4 of 4"), std::string::npos);
    EXPECT_NE(log().find("model warning line"), std::string::npos);
}

TEST_F(ProcessEngineTest, StopEndsTheProgramAndKillsOneThatWillNotEnd) {
    ProcessEngine engine(ui, app.folder());
    engine.setGracePeriod(300);
    {
        EnvironmentValue steps("RILLO_TEST_ENGINE_STEPS", "1000");
        EnvironmentValue slow("RILLO_TEST_ENGINE_STEP_MS", "50");
        Reports reports;
        reports.onProgress = [&engine] { engine.stop(); };
        const EngineResult result = runEngine(engine, paths(), reports);
        EXPECT_EQ(result.outcome, EngineOutcome::Stopped);
        EXPECT_LT(reports.steps.size(), 10u);
        EXPECT_NE(log().find("The run was stopped."), std::string::npos) << log();
    }
    {
        EnvironmentValue hang("RILLO_TEST_ENGINE_HANG", "1");
        Reports reports;
        engine.start(paths(), reports);
        ASSERT_TRUE(waitUntil([this] { return log().find("model output line") != std::string::npos; }));
        engine.stop();
        engine.stop();  // a second Stop changes nothing
        ASSERT_TRUE(waitUntil([&reports] { return !reports.results.empty(); }));
        EXPECT_EQ(reports.results.size(), 1u);
        EXPECT_EQ(reports.results[0].outcome, EngineOutcome::Stopped);
    }
    engine.stop();  // no run going: nothing happens
}

TEST_F(ProcessEngineTest, ReleasingARunningEngineEndsItsProgramWithoutAWord) {
    EnvironmentValue hang("RILLO_TEST_ENGINE_HANG", "1");
    Reports reports;
    {
        ProcessEngine engine(ui, app.folder());
        engine.setGracePeriod(200);
        engine.start(paths(), reports);
        ASSERT_TRUE(waitUntil([this] { return log().find("model output line") != std::string::npos; }));
        EXPECT_THROW(engine.start(paths(), reports), RuntimeError) << "one run at a time";
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(reports.results.empty());
    EXPECT_NE(log().find("The run was ended before it was done."), std::string::npos) << log();
}

TEST_F(ProcessEngineTest, BundledModelProgramRunsUnlessAnotherIsNamed) {
    EnvironmentValue none("RILLO_ENGINE", "");
    ProcessEngine engine(ui, app.folder());
    EXPECT_EQ(fs::path(engine.programName()), fs::path(app.file(ProcessEngine::bundledProgramName())));
    fs::copy_file(testEngine(), app.file(ProcessEngine::bundledProgramName()));
    engine.checkReady();
    EXPECT_EQ(runEngine(engine).outcome, EngineOutcome::Completed);
    EXPECT_TRUE(exists(decks.file("basingut.ssb")));

    // The environment and the settings still name another, the settings first.
    EnvironmentValue named("RILLO_ENGINE", app.file("site-engine"));
    EXPECT_EQ(engine.programName(), app.file("site-engine"));
    ui.saveSetting("Rillo 2000", "Engine", "Program", app.file("settings-engine"));
    EXPECT_EQ(engine.programName(), app.file("settings-engine"));
    EXPECT_THROW(engine.checkReady(), RuntimeError) << "the named program is not there";
}

// The whole run: the form with the standard components and the test program.
class StandardRunTest : public ProcessEngineTest {
protected:
    void SetUp() override {
        savedFolder_ = fs::current_path();
        addStandardComponents(registry);
    }
    void TearDown() override { fs::current_path(savedFolder_); }

    std::unique_ptr<RunFormLogic> openForm() {
        auto form = std::make_unique<RunFormLogic>(ui, registry, app.folder());
        form->load();
        return form;
    }
    /// Presses Run and lets the engine work until the form says something.
    void runUntilAMessage(RunFormLogic& form) {
        const std::size_t before = ui.messages().size();
        form.run();
        EXPECT_TRUE(waitUntil([&] { return ui.messages().size() > before; }));
    }

    ComponentRegistry registry;

private:
    fs::path savedFolder_;
};

// ---- runs that must not cost the user a file ----

TEST_F(StandardRunTest, RunWhoseOutputIsOneOfItsInputsIsRefusedBeforeAnythingIsDeleted) {
    // The default subcatchment output of korva.sin is korvasub.ssb, the
    // hydrograph input picked from the same folder.
    writeFile(decks.file("korva.sin"), deckText('1'));
    writeFile(decks.file("korvasub.ssb"), "hydrographs of an earlier run");
    writeFile(app.file("SCRATCH"), "stale");
    auto form = openForm();
    ui.fileName(decks.file("korva.sin")).fileName(decks.file("korvasub.ssb"));
    form->browseDeck();
    form->browseHydrograph();
    runUntilAMessage(*form);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("cmdRun_Click|Critical|The subcatchment hydrograph output file would be the "
                                     "KORVA input file itself: " + decks.file("korvasub.ssb"), 0), 0u)
        << ui.messages()[0];
    EXPECT_EQ(readFile(decks.file("korvasub.ssb")), "hydrographs of an earlier run");
    EXPECT_FALSE(exists(app.file("record.txt"))) << "the engine never ran";
    EXPECT_TRUE(exists(app.file("SCRATCH")));
    EXPECT_TRUE(form->state().runButton.enabled) << "the form stays as it was, to type another name";

    // A deck named x.sot would be its own main output.
    writeFile(decks.file("x.sot"), deckText('0'));
    ui.fileName(decks.file("x.sot"));
    form->clearAllEntries();
    form->browseDeck();
    runUntilAMessage(*form);
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_NE(ui.messages()[1].find("main output file would be the RILLO input file itself"), std::string::npos)
        << ui.messages()[1];
    EXPECT_EQ(readFile(decks.file("x.sot")), deckText('0'));
}

TEST_F(StandardRunTest, NoEngineCostsNoOldOutputsAndTheFailureSaysWhy) {
    EnvironmentValue none("RILLO_ENGINE", "");  // and no model program beside this one
    writeFile(decks.file("basin.sin"), deckText('0'));
    writeFile(decks.file("basin.sot"), "old main");
    auto form = openForm();
    ui.fileName(decks.file("basin.sin"));
    form->browseDeck();
    runUntilAMessage(*form);
    // No overwrite question: nothing would come of a Yes.
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"Illo2000 DLL Error|Exclamation|The Rillo 2000 Process Failed.|OK"}));
    ASSERT_EQ(ui.messageDetails.size(), 1u);
    EXPECT_EQ(ui.messageDetails[0].rfind(
                  "The model program " + app.file(ProcessEngine::bundledProgramName()) + " is not there.", 0),
              0u)
        << ui.messageDetails[0];
    EXPECT_EQ(readFile(decks.file("basin.sot")), "old main");
    EXPECT_FALSE(form->state().runButton.enabled) << "reset as after any failed engine";
}

TEST_F(StandardRunTest, NamesPickedInTheDialogAreUsedExactly) {
    writeFile(decks.file(" basin.sin"), deckText('1'));
    writeFile(decks.file("basin.sin"), deckText('0'));
    writeFile(decks.file(" storm.kvd"), "hydrographs");
    auto form = openForm();
    ui.fileName(decks.file(" basin.sin")).fileName(decks.file(" storm.kvd")).no();
    form->browseDeck();
    EXPECT_EQ(form->state().deckName.text, " basin.sin");
    form->browseHydrograph();
    runUntilAMessage(*form);
    EXPECT_EQ(ui.messages().front(), "Rillo2000|None|Program Completed|OK");
    const EngineRecord r = record();
    ASSERT_EQ(r.args.size(), 5u);
    EXPECT_EQ(r.args[0], decks.file(" basin.sin"));
    EXPECT_EQ(r.args[1], decks.file("basin.sot")) << "output names are trimmed";
    EXPECT_EQ(r.args[4], decks.file(" storm.kvd"));
}

TEST_F(StandardRunTest, BackslashIsPartOfTheNameWhereItSeparatesNoFolders) {
    if (fs::path::preferred_separator == L'\\') GTEST_SKIP() << "a folder separator here";
    writeFile(decks.file("a\\b.sin"), deckText('0'));
    auto form = openForm();
    ui.fileName(decks.file("a\\b.sin")).no();
    form->browseDeck();
    EXPECT_EQ(form->state().deckName.text, "a\\b.sin");
    EXPECT_EQ(form->state().title, "RILLO Run Modual File: a\\b.sin");
    EXPECT_EQ(form->state().outputFolder.text, "All output files will be sent to: " + decks.path().string());
    EXPECT_EQ(ui.setting("Rillo 2000", "CommonDialog", "DirectoryOpen", ""), decks.folder());
    runUntilAMessage(*form);
    const EngineRecord r = record();
    ASSERT_EQ(r.args.size(), 5u);
    EXPECT_EQ(r.args[0], decks.file("a\\b.sin"));
    EXPECT_EQ(r.args[1], decks.file("a\\b.sot"));
}

TEST_F(StandardRunTest, OldLogIsAskedAboutWithTheOutputs) {
    writeFile(decks.file("basin.sin"), deckText('0'));
    writeFile(decks.file("basin.sot.log"), "log of an earlier run");
    auto form = openForm();
    ui.fileName(decks.file("basin.sin")).no();
    form->browseDeck();
    runUntilAMessage(*form);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"File Exists|Information|The output file already exists Do "
                                                       "you want to overwrite?\n" + decks.file("basin.sot.log") +
                                                       "|YesNo -> No"}));
    EXPECT_EQ(readFile(decks.file("basin.sot.log")), "log of an earlier run");
    EXPECT_FALSE(exists(app.file("record.txt")));
}

// ---- runs to the end ----

TEST_F(StandardRunTest, DeckWithBlanksAndQuotesRunsToCompletion) {
    // Windows allows no double quote in a file's name: apostrophes stand in.
    const std::string name = rillo::testing::fileNameWorks(decks.path(), "\"") ? "storm \"A\" basin" : "storm 'A' basin";
    const std::string deck = decks.file(name + ".sin");
    writeFile(deck, deckText('0'));
    RunFormLogic form(ui, registry, app.folder());
    form.load();
    ui.fileName(deck).no();
    form.browseDeck();
    form.run();
    ASSERT_TRUE(waitUntil([&form] { return !form.state().running; }));

    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Rillo2000|None|Program Completed|OK",
                                                       "Rillo2000|None|Run another input file?|YesNo -> No"}));
    const EngineRecord r = record();
    ASSERT_EQ(r.args.size(), 5u);
    EXPECT_EQ(r.args[0], deck);
    EXPECT_EQ(r.args[1], decks.file(name + ".sot"));
    EXPECT_TRUE(exists(decks.file(name + "sub.ssb")));
    EXPECT_TRUE(exists(decks.file(name + "gut.ssb")));
}

TEST_F(StandardRunTest, FailingProgramIsReportedAsAFailedProcess) {
    writeFile(decks.file("basin.sin"), deckText('0'));
    EnvironmentValue status("RILLO_TEST_ENGINE_EXIT", "1");
    RunFormLogic form(ui, registry, app.folder());
    form.load();
    ui.fileName(decks.file("basin.sin"));
    form.browseDeck();
    form.run();
    ASSERT_TRUE(waitUntil([&form] { return !form.state().running; }));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"Illo2000 DLL Error|Exclamation|The Rillo 2000 Process Failed.|OK"}));
    EXPECT_NE(log().find("ended with status 1"), std::string::npos);
}

TEST_F(StandardRunTest, FileThatIsNoDeckStopsBeforeTheEngine) {
    writeFile(decks.file("basin.sin"), deckText('0'));
    RunFormLogic form(ui, registry, app.folder());
    form.load();
    ui.fileName(decks.file("basin.sin"));
    form.browseDeck();
    writeFile(decks.file("basin.sin"), "not a deck\r\n");  // changed on disk after it was chosen
    form.run();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("cmdRun_Click|Critical|The file ", 0), 0u) << ui.messages()[0];
    EXPECT_FALSE(exists(app.file("record.txt")));
}

}  // namespace
}  // namespace rillo::run
