#include "DeckPreRun.h"
#include "ProcessEngine.h"
#include "RunFormLogic.h"
#include "ScriptedUi.h"
#include "StandardComponents.h"
#include "TestFiles.h"
#include "UiServices.h"

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace rillo::run {
namespace {

namespace fs = std::filesystem;
using testing::deckText;
using testing::exists;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

/// Sets an environment variable for one test and puts the old value back.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const std::string& value) : name_(name), had_(qEnvironmentVariableIsSet(name)) {
        if (had_) old_ = qgetenv(name);
        qputenv(name, QByteArray::fromStdString(value));
    }
    ~EnvironmentValue() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
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
          engineVariable_("RILLO_ENGINE", RILLO_TEST_ENGINE) {}

    void runEngine(ProcessEngine& engine, const std::string& hydrograph = "") {
        engine.run(decks.file("basin.sin"), decks.file("basin.sot"), decks.file("basinsub.ssb"),
                   decks.file("basingut.ssb"), hydrograph);
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
    runEngine(engine, "/korva/storm.kvd");

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
    engine.run(odd, decks.file("a b.sot"), decks.file("a bsub.ssb"), decks.file("a bgut.ssb"), "");
    const EngineRecord r = record();
    ASSERT_EQ(r.args.size(), 5u);
    EXPECT_EQ(r.args[0], odd);
    EXPECT_EQ(r.args[1], decks.file("a b.sot"));
    EXPECT_FALSE(exists(app.file("injected")));
    EXPECT_FALSE(exists(decks.file("injected")));
}

TEST_F(ProcessEngineTest, EveryKindOfFailureThrowsAndIsExplainedInTheLog) {
    ProcessEngine engine(ui, app.folder());
    {
        EnvironmentValue status("RILLO_TEST_ENGINE_EXIT", "3");
        EXPECT_THROW(runEngine(engine), RuntimeError);
        EXPECT_NE(log().find("ended with status 3"), std::string::npos) << log();
        EXPECT_NE(log().find("model output line"), std::string::npos);
    }
    {
        EnvironmentValue crash("RILLO_TEST_ENGINE_CRASH", "1");
        EXPECT_THROW(runEngine(engine), RuntimeError);
        EXPECT_NE(log().find("crashed"), std::string::npos) << log();
    }
    {
        EnvironmentValue missing("RILLO_ENGINE", app.file("no-such-program"));
        EXPECT_THROW(runEngine(engine), RuntimeError);
        EXPECT_NE(log().find("could not be started"), std::string::npos) << log();
    }
    {
        writeFile(app.file("not-executable"), "#!/bin/sh\nexit 0\n");
        EnvironmentValue plain("RILLO_ENGINE", app.file("not-executable"));
        EXPECT_THROW(runEngine(engine), RuntimeError);
    }
    {
        EnvironmentValue none("RILLO_ENGINE", "  ");
        EXPECT_THROW(runEngine(engine), RuntimeError);
        EXPECT_NE(log().find("No model program is named"), std::string::npos) << log();
    }
}

TEST_F(ProcessEngineTest, SettingsNameTheProgramBeforeTheEnvironment) {
    ProcessEngine engine(ui, app.folder());
    EXPECT_EQ(engine.programName(), RILLO_TEST_ENGINE);
    ui.saveSetting("Rillo 2000", "Engine", "Program", app.file("site-engine"));
    EXPECT_EQ(engine.programName(), app.file("site-engine"));
    EXPECT_THROW(runEngine(engine), RuntimeError) << "the named program is not there";
}

// The whole run: the form with the standard components and the test program.
class StandardRunTest : public ProcessEngineTest {
protected:
    void SetUp() override {
        savedFolder_ = fs::current_path();
        addStandardComponents(registry);
    }
    void TearDown() override { fs::current_path(savedFolder_); }

    ComponentRegistry registry;

private:
    fs::path savedFolder_;
};

TEST_F(StandardRunTest, DeckWithBlanksAndQuotesRunsToCompletion) {
    const std::string deck = decks.file("storm \"A\" basin.sin");
    writeFile(deck, deckText('0'));
    RunFormLogic form(ui, registry, app.folder());
    form.load();
    ui.fileName(deck).no();
    form.browseDeck();
    form.run();

    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Rillo2000|None|Program Completed|OK",
                                                       "Rillo2000|None|Run another input file?|YesNo -> No"}));
    const EngineRecord r = record();
    ASSERT_EQ(r.args.size(), 5u);
    EXPECT_EQ(r.args[0], deck);
    EXPECT_EQ(r.args[1], decks.file("storm \"A\" basin.sot"));
    EXPECT_TRUE(exists(decks.file("storm \"A\" basinsub.ssb")));
    EXPECT_TRUE(exists(decks.file("storm \"A\" basingut.ssb")));
}

TEST_F(StandardRunTest, FailingProgramIsReportedAsAFailedProcess) {
    writeFile(decks.file("basin.sin"), deckText('0'));
    EnvironmentValue status("RILLO_TEST_ENGINE_EXIT", "1");
    RunFormLogic form(ui, registry, app.folder());
    form.load();
    ui.fileName(decks.file("basin.sin"));
    form.browseDeck();
    form.run();
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
