#include "RunFormLogic.h"
#include "ScriptedUi.h"
#include "TestFiles.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <utility>

namespace rillo::run {
namespace {

namespace fs = std::filesystem;
using testing::deckText;
using testing::exists;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

/// The scripted user, also noting the default button of every question.
/// While a message is open, `whileOpen` may make things happen (a run that
/// ends); a message dismissed meanwhile is answered No.
class RecordingUi : public rillo::testing::ScriptedUi {
public:
    std::vector<Answer> questionDefaults;
    std::function<void(const Message&)> whileOpen;

    void dismissMessage() override {
        if (open_.empty()) return;
        open_.back() = true;
        note("(dismissed)");
    }
    void note(const std::string& what) { notes.push_back(what); }
    std::vector<std::string> notes;  ///< messages and dismissals, in order

protected:
    Answer showMessage(const Message& m) override {
        if (m.buttons == Buttons::YesNo) questionDefaults.push_back(m.defaultButton);
        note(m.text);
        open_.push_back(false);
        if (auto hook = std::exchange(whileOpen, nullptr)) hook(m);
        const bool dismissed = open_.back();
        open_.pop_back();
        if (dismissed) return Answer::No;
        return ScriptedUi::showMessage(m);
    }

private:
    std::vector<bool> open_;
};

/// What the fake components saw, and how they behave.
struct Calls {
    std::vector<std::string> log;
    std::vector<std::string> engineArgs;
    fs::path engineFolder;
    std::vector<bool> outputsPresentAtCall;  ///< main, sub, gutter, log
    bool preRunFails = false;
    bool notReady = false;    ///< the engine cannot start
    bool engineFails = false;
    bool hold = false;        ///< the run goes on until the test ends it
    EngineListener* listener = nullptr;  ///< of a run that goes on
};

class FakePreRun : public PreRunComponent {
public:
    explicit FakePreRun(Calls& calls) : calls_(calls) {}
    void setInputFile(const std::string& deckPath) override { calls_.log.push_back("setInputFile " + deckPath); }
    void prepare() override {
        calls_.log.push_back("prepare");
        if (calls_.preRunFails) throw RuntimeError("The deck is locked by another run.");
    }

private:
    Calls& calls_;
};

/// Begins the three outputs when it starts and finishes them when it ends.
class FakeEngine : public EngineComponent {
public:
    explicit FakeEngine(Calls& calls) : calls_(calls) {}
    ~FakeEngine() override {
        if (calls_.listener) calls_.log.push_back("ended by release");
        calls_.listener = nullptr;
    }
    void checkReady() override {
        calls_.log.push_back("check");
        if (calls_.notReady) throw RuntimeError("The model program /opt/rillo-model is not there.");
    }
    void start(const RunPaths& p, EngineListener& listener) override {
        calls_.log.push_back("run");
        calls_.engineArgs = {p.deck, p.mainOutput, p.subcatchmentOutput, p.gutterOutput, p.hydrographInput};
        calls_.engineFolder = fs::current_path();
        calls_.outputsPresentAtCall.clear();
        for (const auto& output : {p.mainOutput, p.subcatchmentOutput, p.gutterOutput, p.log})
            calls_.outputsPresentAtCall.push_back(exists(output));
        if (calls_.engineFails) {
            listener.engineFinished({EngineOutcome::Failed, "The model program ended with status 3.", p.log});
            return;
        }
        for (const auto& output : {p.mainOutput, p.subcatchmentOutput, p.gutterOutput}) writeFile(output, "new\n");
        if (calls_.hold) {
            calls_.listener = &listener;
            return;
        }
        listener.engineFinished({});
    }
    void stop() override {
        calls_.log.push_back("stop");
        if (EngineListener* listener = std::exchange(calls_.listener, nullptr))
            listener->engineFinished({EngineOutcome::Stopped, "The run was stopped.", {}});
    }

private:
    Calls& calls_;
};

/// Ends a run that goes on, as the engine would.
void finishRun(Calls& calls, EngineOutcome outcome = EngineOutcome::Completed) {
    ASSERT_NE(calls.listener, nullptr) << "no run is going";
    std::exchange(calls.listener, nullptr)->engineFinished({outcome, {}, {}});
}

/// Enabled buttons, e.g. "browse run".
std::string enabledButtons(const RunFormState& s) {
    std::string out;
    auto add = [&out](bool on, const char* name) {
        if (on) out += (out.empty() ? "" : " ") + std::string(name);
    };
    add(s.deckButton.enabled, "browse");
    add(s.hydrographButton.enabled, "look");
    add(s.runButton.enabled, "run");
    return out;
}

class RunFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedFolder_ = fs::current_path();
        registry.addPreRun(ComponentRegistry::standardPreRun,
                           [this](const ComponentContext&) { return std::make_unique<FakePreRun>(calls); });
        registry.addEngine(ComponentRegistry::standardEngine,
                           [this](const ComponentContext&) { return std::make_unique<FakeEngine>(calls); });
        form = std::make_unique<RunFormLogic>(ui, registry, app.folder());
        form->load();
    }
    void TearDown() override { fs::current_path(savedFolder_); }

    std::string addDeck(const std::string& name, char iopt) {
        writeFile(decks.file(name), deckText(iopt));
        return decks.file(name);
    }
    void chooseDeck(const std::string& name) {
        ui.fileName(decks.file(name));
        form->browseDeck();
    }
    const RunFormState& state() const { return form->state(); }

    TempFolder decks, app;
    RecordingUi ui;
    Calls calls;
    ComponentRegistry registry;
    std::unique_ptr<RunFormLogic> form;

private:
    fs::path savedFolder_;
};

TEST_F(RunFormTest, LoadShowsOnlyTheDeckBrowse) {
    EXPECT_EQ(state().title, "Rillo2000 Input/Output File Entry Form");
    EXPECT_EQ(state().leftTwips, 500);
    EXPECT_EQ(state().topTwips, 500);
    EXPECT_EQ(state().instructions.text,
              "To run Rillo2000, choose an input file with the Rillo2000 input file button.  (also choose an input "
              "file from KORVA if needed) Enter relevant output files in text boxes below. Click \"Run RILLO\" to "
              "execute the program.");
    EXPECT_EQ(enabledButtons(state()), "browse");
    for (const ControlState* c : {&state().deckCaption, &state().hydrographCaption, &state().outputFolder, &state().deckName,
                                  &state().hydrographName})
        EXPECT_FALSE(c->visible);
    EXPECT_TRUE(ui.dialogue().empty());
}

TEST_F(RunFormTest, DeckBrowseAsksWithItsDialogAndRemembersTheFolder) {
    addDeck("basin.sin", '0');
    writeFile(decks.file("SCRATCH"), "stale");
    chooseDeck("basin.sin");

    const FileDialogRequest& request = ui.lastFileRequest();
    EXPECT_EQ(request.title, "Get RILLO file");
    EXPECT_EQ(request.filter, "RILLO Input Files (*.sin)|*.sin|All Files (*.*)|*.*");
    EXPECT_EQ(request.flags, unsigned(FileMustExist | PathMustExist | HideReadOnly));
    EXPECT_EQ(request.initialDir, defaultFolder());
    EXPECT_EQ(ui.setting("Rillo 2000", "CommonDialog", "DirectoryOpen", ""), decks.folder());

    EXPECT_FALSE(exists(decks.file("SCRATCH")));
    EXPECT_EQ(state().title, "RILLO Run Modual File: basin.sin");
    EXPECT_TRUE(state().deckName.visible);
    EXPECT_EQ(state().deckName.text, "basin.sin");
    EXPECT_TRUE(state().deckCaption.visible);
    EXPECT_EQ(state().outputFolder.text, "All output files will be sent to: " + decks.path().string());
    EXPECT_GT(state().outputNameFocusRequests, 0);
    EXPECT_EQ(enabledButtons(state()), "run");

    // The next form opens its dialog in the remembered folder.
    RunFormLogic next(ui, registry, app.folder());
    next.load();
    ui.fileCancel();
    next.browseDeck();
    EXPECT_EQ(ui.lastFileRequest().initialDir, decks.folder());
}

TEST_F(RunFormTest, DeckWithoutImportedHydrographsRunsAtOnceWithAnEmptyHydrographPath) {
    addDeck("basin.sin", '0');
    chooseDeck("basin.sin");
    ui.yes();  // run another
    form->run();

    EXPECT_EQ(calls.log,
              (std::vector<std::string>{"setInputFile " + decks.file("basin.sin"), "prepare", "check", "run"}));
    EXPECT_EQ(calls.engineArgs, (std::vector<std::string>{decks.file("basin.sin"), decks.file("basin.sot"),
                                                          decks.file("basinsub.ssb"), decks.file("basingut.ssb"),
                                                          ""}));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Rillo2000|None|Program Completed|OK",
                                                       "Rillo2000|None|Run another input file?|YesNo -> Yes"}));
    EXPECT_EQ(enabledButtons(state()), "browse");
    EXPECT_FALSE(state().deckName.visible);
    EXPECT_EQ(form->deckFileName(), "");
    EXPECT_EQ(ui.pointer, Pointer::Normal);
    EXPECT_FALSE(state().closed);
}

TEST_F(RunFormTest, DeckWithImportedHydrographsWaitsForTheHydrographFile) {
    addDeck("basin.sin", '1');
    chooseDeck("basin.sin");
    EXPECT_EQ(enabledButtons(state()), "look");

    ui.fileName("/korva/storm 1.kvd");
    form->browseHydrograph();
    const FileDialogRequest& request = ui.lastFileRequest();
    EXPECT_EQ(request.title, "Get KORVA input file ");
    EXPECT_EQ(request.filter, "KORVA Input Files (*.kvd)|*.kvd|SWMM Files (*sub.ssb)|*sub.ssb|All Files (*.*)|*.*");
    EXPECT_EQ(request.initialDir, "");
    EXPECT_EQ(request.fileName, "");
    EXPECT_EQ(enabledButtons(state()), "run");
    EXPECT_TRUE(state().hydrographCaption.visible);
    EXPECT_EQ(state().hydrographName.text, "storm 1.kvd");

    ui.no();
    form->run();
    ASSERT_EQ(calls.engineArgs.size(), 5u);
    EXPECT_EQ(calls.engineArgs[4], "/korva/storm 1.kvd");
    EXPECT_TRUE(state().closed) << "No to another run unloads the form";
}

TEST_F(RunFormTest, TypedOutputNamesReachTheEngineTrimmed) {
    addDeck("basin.sin", '0');
    chooseDeck("basin.sin");
    form->setOutText("  out.txt ");
    form->setSwmText(" gutters");
    form->setPeakText("peaks  ");
    ui.no();
    form->run();
    EXPECT_EQ(calls.engineArgs, (std::vector<std::string>{decks.file("basin.sin"), decks.file("out.txt.sot"),
                                                          decks.file("peakssub.ssb"), decks.file("guttersgut.ssb"),
                                                          ""}));
}

TEST_F(RunFormTest, NoQuestionWhenNoOutputExists) {
    addDeck("basin.sin", '0');
    writeFile(decks.file("other.sot"), "unrelated");
    chooseDeck("basin.sin");
    ui.no();
    form->run();
    EXPECT_EQ(ui.messages().front(), "Rillo2000|None|Program Completed|OK");
    EXPECT_EQ(ui.questionDefaults.size(), 1u) << "only the run-another question";
    EXPECT_EQ(readFile(decks.file("other.sot")), "unrelated");
}

TEST_F(RunFormTest, NoToOverwriteLeavesEveryFileAndTheFormAsTheyWere) {
    addDeck("basin.sin", '0');
    writeFile(decks.file("basingut.ssb"), "old gutter");
    chooseDeck("basin.sin");
    form->setOutText("main");
    const RunFormState before = state();

    ui.no();
    form->run();
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{
                                 "File Exists|Information|The output file already exists Do you want to overwrite?\n" +
                                 decks.file("basingut.ssb") + "|YesNo -> No"}));
    EXPECT_EQ(ui.questionDefaults, (std::vector<Answer>{Answer::No}));
    EXPECT_EQ(readFile(decks.file("basingut.ssb")), "old gutter");
    EXPECT_FALSE(exists(decks.file("main.sot")));
    EXPECT_EQ(calls.log, (std::vector<std::string>{"setInputFile " + decks.file("basin.sin"), "prepare", "check"}));
    EXPECT_EQ(enabledButtons(state()), enabledButtons(before));
    EXPECT_EQ(state().outputName.text, "main");
    EXPECT_EQ(state().deckName.text, before.deckName.text);
    EXPECT_EQ(ui.pointer, Pointer::Normal);
}

TEST_F(RunFormTest, YesToOverwriteDeletesTheOldOutputsBeforeTheEngineRuns) {
    addDeck("basin.sin", '0');
    writeFile(decks.file("basin.sot"), "old main");
    writeFile(decks.file("basinsub.ssb"), "old sub");
    chooseDeck("basin.sin");
    ui.yes().no();
    form->run();
    EXPECT_EQ(calls.outputsPresentAtCall, (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(readFile(decks.file("basin.sot")), "new\n");
    EXPECT_EQ(ui.messages().at(1), "Rillo2000|None|Program Completed|OK");
}

/// The names in a folder, sorted.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(RunFormTest, OldOutputsGoOnlyWhenTheNewOnesAreCompleteAndComeBackWhenARunStopsOrFails) {
    addDeck("basin.sin", '0');
    const auto writeOld = [this] {
        writeFile(decks.file("basin.sot"), "old main");
        writeFile(decks.file("basingut.ssb"), "old gutter");
        writeFile(decks.file("basin.sot.log"), "old log");
    };
    writeOld();
    writeFile(decks.file("basin.sot.previous"), "a file of the user's");
    const std::vector<std::string> before = namesIn(decks.path());

    // Stopped: everything is as it was, the old log included.
    chooseDeck("basin.sin");
    calls.hold = true;
    ui.yes();
    form->run();
    EXPECT_EQ(ui.messages().at(0), "File Exists|Information|The output file already exists Do you want to overwrite?"
                                   "\n" + decks.file("basin.sot") + "\n" + decks.file("basingut.ssb") + "\n" +
                                       decks.file("basin.sot.log") + "|YesNo -> Yes");
    EXPECT_EQ(readFile(decks.file("basin.sot")), "new\n") << "the engine writes under the output's own name";
    form->stop();
    EXPECT_EQ(namesIn(decks.path()), before);
    EXPECT_EQ(readFile(decks.file("basin.sot")), "old main");
    EXPECT_EQ(readFile(decks.file("basingut.ssb")), "old gutter");
    EXPECT_EQ(readFile(decks.file("basin.sot.log")), "old log");
    EXPECT_EQ(readFile(decks.file("basin.sot.previous")), "a file of the user's");

    // Closed with the run going: the same.
    ui.yes();
    form->run();
    ui.yes();
    EXPECT_TRUE(form->requestClose());
    EXPECT_EQ(namesIn(decks.path()), before);
    EXPECT_EQ(readFile(decks.file("basin.sot")), "old main");

    // Failed: the old outputs are back; the failed run's log stays to say why.
    calls.hold = false;
    calls.engineFails = true;
    chooseDeck("basin.sin");
    ui.yes();
    form->run();
    EXPECT_EQ(ui.messages().back(), "Illo2000 DLL Error|Exclamation|The Rillo 2000 Process Failed.|OK");
    EXPECT_EQ(namesIn(decks.path()), before);
    EXPECT_EQ(readFile(decks.file("basin.sot")), "old main");
    EXPECT_EQ(readFile(decks.file("basingut.ssb")), "old gutter");

    // Completed: the old outputs are gone, and nothing is left set aside.
    calls.engineFails = false;
    writeOld();
    chooseDeck("basin.sin");
    ui.yes().no();
    form->run();
    EXPECT_EQ(ui.messages().back(), "Rillo2000|None|Run another input file?|YesNo -> No");
    EXPECT_EQ(namesIn(decks.path()), (std::vector<std::string>{"basin.sin", "basin.sot", "basin.sot.previous",
                                                               "basingut.ssb", "basinsub.ssb"}));
    EXPECT_EQ(readFile(decks.file("basin.sot")), "new\n");
    EXPECT_EQ(readFile(decks.file("basin.sot.previous")), "a file of the user's");
}

TEST_F(RunFormTest, FailingEngineReportsTheFailureAndResetsTheForm) {
    addDeck("basin.sin", '1');
    chooseDeck("basin.sin");
    ui.fileName("/korva/storm.kvd");
    form->browseHydrograph();
    calls.engineFails = true;
    form->run();

    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"Illo2000 DLL Error|Exclamation|The Rillo 2000 Process Failed.|OK"}));
    EXPECT_EQ(enabledButtons(state()), "browse");
    EXPECT_FALSE(state().deckName.visible);
    EXPECT_FALSE(state().hydrographName.visible);
    EXPECT_EQ(form->deckFileName(), "");
    EXPECT_EQ(form->hydrographFileName(), "");
    EXPECT_EQ(ui.pointer, Pointer::Normal);
    EXPECT_FALSE(state().closed);
    // Why, and where the engine's own messages are, folded under the text.
    EXPECT_EQ(ui.messageDetails.back(), "The model program ended with status 3.\n\nThe model program's messages "
                                        "are kept in " + decks.file("basin.sot.log"));
}

TEST_F(RunFormTest, UnregisteredEngineIsAFailedRun) {
    addDeck("basin.sin", '0');
    chooseDeck("basin.sin");
    form->setComponentIdentities(ComponentRegistry::standardPreRun, "Site.Missing");
    form->run();
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"Illo2000 DLL Error|Exclamation|The Rillo 2000 Process Failed.|OK"}));
}

TEST_F(RunFormTest, PreRunFailureIsReportedUnderRunAndStopsBeforeAnyFileIsTouched) {
    addDeck("basin.sin", '0');
    writeFile(app.file("SCRATCH"), "stale");
    chooseDeck("basin.sin");
    calls.preRunFails = true;
    form->run();
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"cmdRun_Click|Critical|The deck is locked by another run.|OK"}));
    EXPECT_TRUE(exists(app.file("SCRATCH")));
    EXPECT_EQ(calls.log.back(), "prepare");
    EXPECT_EQ(enabledButtons(state()), "run") << "the form stays as it was";
    EXPECT_EQ(ui.pointer, Pointer::Normal);
}

TEST_F(RunFormTest, RunClearsScratchInTheApplicationFolderAndRunsThere) {
    addDeck("basin.sin", '0');
    writeFile(app.file("SCRATCH"), "stale");
    writeFile(decks.file("SCRATCH2"), "kept");
    chooseDeck("basin.sin");
    ui.no();
    form->run();
    EXPECT_FALSE(exists(app.file("SCRATCH")));
    EXPECT_TRUE(exists(decks.file("SCRATCH2")));
    EXPECT_TRUE(fs::equivalent(calls.engineFolder, app.path()));
}

TEST_F(RunFormTest, MissingApplicationFolderIsReportedUnderRun) {
    addDeck("basin.sin", '0');
    RunFormLogic lost(ui, registry, app.file("gone"));
    lost.load();
    ui.fileName(decks.file("basin.sin"));
    lost.browseDeck();
    lost.run();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("cmdRun_Click|Critical|Cannot change to the program folder", 0), 0u)
        << ui.messages()[0];
    EXPECT_TRUE(calls.engineArgs.empty());
}

TEST_F(RunFormTest, OutputNameWithAFolderIsRefusedBeforeAnythingIsDeleted) {
    addDeck("basin.sin", '0');
    writeFile(decks.file("basin.sot"), "old");
    chooseDeck("basin.sin");
    form->setOutText("../elsewhere");
    form->run();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("cmdRun_Click|Critical|An output file name cannot name a folder", 0), 0u);
    EXPECT_TRUE(calls.log.empty());
    EXPECT_EQ(readFile(decks.file("basin.sot")), "old");
}

TEST_F(RunFormTest, ClearAllEntriesEnablesBothBrowsesAndResetsTheTitle) {
    addDeck("basin.sin", '0');
    chooseDeck("basin.sin");
    form->setOutText("main");
    form->clearAllEntries();
    EXPECT_EQ(enabledButtons(state()), "browse look");
    EXPECT_EQ(state().title, "Rillo2000 Input/Output File Entry Form");
    EXPECT_EQ(state().outputName.text, "");
    EXPECT_EQ(state().outputFolder.text, "");
    EXPECT_FALSE(state().outputFolder.visible);
    EXPECT_EQ(form->deckFileName(), "");
    EXPECT_EQ(form->deckFolder(), decks.folder()) << "the folders keep their values";
}

TEST_F(RunFormTest, HydrographChosenBeforeTheDeckIsForgottenByTheDeckBrowse) {
    addDeck("basin.sin", '0');
    form->clearAllEntries();
    ui.fileName("/korva/storm.kvd");
    form->browseHydrograph();
    EXPECT_EQ(enabledButtons(state()), "browse") << "no Run without a deck";

    chooseDeck("basin.sin");
    EXPECT_FALSE(state().hydrographName.visible);
    ui.no();
    form->run();
    ASSERT_EQ(calls.engineArgs.size(), 5u);
    EXPECT_EQ(calls.engineArgs[4], "") << "never a hydrograph name without its folder";
}

TEST_F(RunFormTest, CancelledBrowsesResetTheFormSilently) {
    addDeck("basin.sin", '1');
    chooseDeck("basin.sin");
    ui.fileCancel();
    form->browseHydrograph();
    EXPECT_EQ(enabledButtons(state()), "browse");
    EXPECT_EQ(form->deckFileName(), "");

    ui.pointer = Pointer::Hourglass;
    ui.fileCancel();
    form->browseDeck();
    EXPECT_EQ(enabledButtons(state()), "browse");
    EXPECT_EQ(ui.pointer, Pointer::Normal);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(RunFormTest, UnusableDeckIsReportedUnderOpenAndResetsTheForm) {
    writeFile(decks.file("short.sin"), "   2   1   1   2\r\n   3   4\r\n");
    chooseDeck("short.sin");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("mnuFileOpen_Click|Critical|", 0), 0u) << ui.messages()[0];
    EXPECT_NE(ui.messages()[0].find("fewer than three lines"), std::string::npos);
    EXPECT_EQ(enabledButtons(state()), "browse");
    EXPECT_FALSE(state().deckName.visible);

    ui.clearDialogue();
    chooseDeck("missing.sin");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("mnuFileOpen_Click|Critical|", 0), 0u);
    EXPECT_EQ(enabledButtons(state()), "browse");
}

TEST_F(RunFormTest, ExitUnloadsAndAboutCallsTheHook) {
    int shown = 0;
    form->about();  // no hook: nothing happens
    form->setAboutHook([&shown] { ++shown; });
    form->about();
    EXPECT_EQ(shown, 1);
    form->exit();
    EXPECT_TRUE(state().closed);
}

// ---- runs that must not cost the user a file ----

TEST_F(RunFormTest, RunWhoseOutputIsOneOfItsInputsIsRefusedBeforeAnythingIsDeleted) {
    // The default subcatchment output of korva.sin is korvasub.ssb, the
    // hydrograph input picked from the same folder.
    addDeck("korva.sin", '1');
    writeFile(decks.file("korvasub.ssb"), "hydrographs of an earlier run");
    writeFile(app.file("SCRATCH"), "stale");
    chooseDeck("korva.sin");
    ui.fileName(decks.file("korvasub.ssb"));
    form->browseHydrograph();
    form->run();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("cmdRun_Click|Critical|The subcatchment hydrograph output file would be the "
                                     "KORVA input file itself: " + decks.file("korvasub.ssb"), 0), 0u)
        << ui.messages()[0];
    EXPECT_EQ(readFile(decks.file("korvasub.ssb")), "hydrographs of an earlier run");
    EXPECT_TRUE(calls.log.empty()) << "neither component was called";
    EXPECT_TRUE(exists(app.file("SCRATCH")));
    EXPECT_EQ(enabledButtons(state()), "run") << "the form stays as it was, to type another name";

    // A deck named x.sot would be its own main output.
    ui.clearDialogue();
    addDeck("x.sot", '0');
    chooseDeck("x.sot");
    form->run();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].find("main output file would be the RILLO input file itself"), std::string::npos);
    EXPECT_EQ(readFile(decks.file("x.sot")), deckText('0'));
}

TEST_F(RunFormTest, EngineThatCannotStartIsReportedBeforeTheOldOutputsAreTouched) {
    addDeck("basin.sin", '0');
    writeFile(decks.file("basin.sot"), "old main");
    chooseDeck("basin.sin");
    calls.notReady = true;
    form->run();
    // No overwrite question: nothing would come of a Yes.
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"Illo2000 DLL Error|Exclamation|The Rillo 2000 Process Failed.|OK"}));
    EXPECT_EQ(ui.messageDetails.back(), "The model program /opt/rillo-model is not there.");
    EXPECT_EQ(readFile(decks.file("basin.sot")), "old main");
    EXPECT_EQ(calls.log.back(), "check");
    EXPECT_EQ(enabledButtons(state()), "browse") << "reset as after any failed engine";
}

TEST_F(RunFormTest, NamesPickedInTheDialogAreUsedExactly) {
    addDeck(" basin.sin", '1');
    addDeck("basin.sin", '0');
    writeFile(decks.file(" storm.kvd"), "hydrographs");
    chooseDeck(" basin.sin");
    EXPECT_EQ(state().deckName.text, " basin.sin");
    ui.fileName(decks.file(" storm.kvd"));
    form->browseHydrograph();
    ui.no();
    form->run();
    ASSERT_EQ(calls.engineArgs.size(), 5u);
    EXPECT_EQ(calls.engineArgs[0], decks.file(" basin.sin"));
    EXPECT_EQ(calls.engineArgs[1], decks.file("basin.sot")) << "output names are trimmed";
    EXPECT_EQ(calls.engineArgs[4], decks.file(" storm.kvd"));
}

TEST_F(RunFormTest, AFolderPickedWithForwardSlashesIsShownInTheSystemsOwnSpelling) {
    // A Qt file dialog gives '/' on Windows too; the form shows the folder
    // with the system's separators and the engine still gets the path given.
    addDeck("basin.sin", '0');
    std::string picked = rillo::fileText(decks.path()) + "/basin.sin";
    std::replace(picked.begin(), picked.end(), '\\', '/');
    ui.fileName(picked);
    form->browseDeck();
    EXPECT_EQ(state().outputFolder.text, "All output files will be sent to: " + rillo::fileText(decks.path()));
    ui.no();  // run another
    form->run();
    ASSERT_EQ(calls.engineArgs.size(), 5u);
    EXPECT_EQ(calls.engineArgs[0], picked);
}

TEST_F(RunFormTest, BackslashIsPartOfTheNameWhereItSeparatesNoFolders) {
    if (fs::path::preferred_separator == L'\\') GTEST_SKIP() << "a folder separator here";
    addDeck("a\\b.sin", '0');
    chooseDeck("a\\b.sin");
    EXPECT_EQ(state().deckName.text, "a\\b.sin");
    EXPECT_EQ(state().title, "RILLO Run Modual File: a\\b.sin");
    EXPECT_EQ(state().outputFolder.text, "All output files will be sent to: " + decks.path().string());
    EXPECT_EQ(ui.setting("Rillo 2000", "CommonDialog", "DirectoryOpen", ""), decks.folder());
    ui.no();
    form->run();
    EXPECT_EQ(calls.engineArgs.at(0), decks.file("a\\b.sin"));
    EXPECT_EQ(calls.engineArgs.at(1), decks.file("a\\b.sot"));
}

TEST_F(RunFormTest, OldLogIsAskedAboutWithTheOutputs) {
    addDeck("basin.sin", '0');
    writeFile(decks.file("basin.sot.log"), "log of an earlier run");
    chooseDeck("basin.sin");
    ui.no();
    form->run();
    EXPECT_EQ(ui.messages().at(0), "File Exists|Information|The output file already exists Do you want to "
                                   "overwrite?\n" + decks.file("basin.sot.log") + "|YesNo -> No");
    EXPECT_EQ(readFile(decks.file("basin.sot.log")), "log of an earlier run");

    ui.yes().no();
    form->run();
    EXPECT_EQ(calls.outputsPresentAtCall, (std::vector<bool>{false, false, false, false}));
}

// ---- a run that goes on while the form is used ----

TEST_F(RunFormTest, RunPressedAgainWhileARunIsGoingStartsNoSecondRun) {
    addDeck("basin.sin", '0');
    chooseDeck("basin.sin");
    calls.hold = true;
    form->run();
    EXPECT_TRUE(state().running);
    EXPECT_EQ(enabledButtons(state()), "");
    form->run();
    form->clearAllEntries();
    EXPECT_EQ(std::count(calls.log.begin(), calls.log.end(), "run"), 1);
    EXPECT_EQ(form->deckFileName(), "basin.sin") << "Clear All Entries waits for the run";
    EXPECT_TRUE(ui.messages().empty());

    ui.no();
    finishRun(calls);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Rillo2000|None|Program Completed|OK",
                                                       "Rillo2000|None|Run another input file?|YesNo -> No"}));
    EXPECT_FALSE(state().running);
    EXPECT_TRUE(state().closed);
}

TEST_F(RunFormTest, ProgressIsShownAndStopEndsTheRunAndRemovesItsOutputs) {
    addDeck("basin.sin", '0');
    writeFile(decks.file("other.sot"), "unrelated");
    chooseDeck("basin.sin");
    form->setOutText("main");
    const RunFormState before = state();
    calls.hold = true;
    form->run();
    EXPECT_TRUE(state().progress.visible);
    EXPECT_EQ(state().progress.steps, 0) << "busy until the engine counts its steps";
    EXPECT_EQ(state().progress.text, "The model is running...");
    EXPECT_TRUE(state().stopButton.visible && state().stopButton.enabled);
    EXPECT_FALSE(state().outputName.enabled);
    EXPECT_FALSE(state().clearEnabled);
    EXPECT_EQ(ui.pointer, Pointer::Normal) << "the windows stay usable";

    calls.listener->engineProgress(3, 120);
    EXPECT_EQ(state().progress.step, 3);
    EXPECT_EQ(state().progress.steps, 120);
    EXPECT_EQ(state().progress.text, "Step 3 of 120");
    EXPECT_TRUE(exists(decks.file("main.sot")));

    // A progress line that comes after Stop leaves the stopping notice.
    Calls stopping = calls;
    calls.listener = nullptr;  // the engine does not end at once
    form->stop();
    EXPECT_EQ(state().progress.text, "Stopping the model...");
    stopping.listener->engineProgress(4, 120);
    EXPECT_EQ(state().progress.text, "Stopping the model...");
    EXPECT_EQ(state().progress.step, 4);
    std::exchange(stopping.listener, nullptr)->engineFinished({EngineOutcome::Stopped, "The run was stopped.", {}});
    EXPECT_EQ(calls.log.back(), "stop");
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"Rillo2000|Information|The model run was stopped. The output files it had "
                                        "begun were removed.|OK"}));
    for (const char* output : {"main.sot", "basinsub.ssb", "basingut.ssb"})
        EXPECT_FALSE(exists(decks.file(output))) << output;
    EXPECT_EQ(readFile(decks.file("other.sot")), "unrelated");
    // The form is as it was when Run was pressed: ready to run again.
    EXPECT_FALSE(state().running);
    EXPECT_FALSE(state().progress.visible);
    EXPECT_FALSE(state().stopButton.visible);
    EXPECT_EQ(enabledButtons(state()), enabledButtons(before));
    EXPECT_TRUE(state().outputName.enabled);
    EXPECT_EQ(state().outputName.text, "main");
    EXPECT_TRUE(state().clearEnabled);
    EXPECT_FALSE(state().closed);
    EXPECT_EQ(form->lastCompletedOutput(), "") << "a stopped run has no results";

    ui.no();
    calls.hold = false;
    form->run();
    EXPECT_EQ(ui.messages().back(), "Rillo2000|None|Run another input file?|YesNo -> No");
}

TEST_F(RunFormTest, ClosingWhileARunIsGoingAsksAndEndsTheRun) {
    addDeck("basin.sin", '0');
    chooseDeck("basin.sin");
    EXPECT_TRUE(form->requestClose()) << "nothing to ask while no run is going";
    calls.hold = true;
    form->run();

    ui.no();
    form->exit();
    EXPECT_FALSE(state().closed);
    EXPECT_TRUE(state().running);
    EXPECT_EQ(ui.questionDefaults.back(), Answer::No);

    ui.yes();
    EXPECT_TRUE(form->requestClose());
    EXPECT_EQ(calls.log.back(), "ended by release");
    EXPECT_FALSE(state().running);
    EXPECT_FALSE(exists(decks.file("basin.sot")));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{
                  "Rillo2000|Question|A model run is going. Stop it and close the form?|YesNo -> No",
                  "Rillo2000|Question|A model run is going. Stop it and close the form?|YesNo -> Yes"}));

    // A form unloaded with a run going ends it too.
    calls.hold = true;
    form->run();
    ASSERT_TRUE(exists(decks.file("basin.sot")));
    form.reset();
    EXPECT_EQ(calls.log.back(), "ended by release");
    EXPECT_FALSE(exists(decks.file("basin.sot")));
}

TEST_F(RunFormTest, ARunThatEndsWhileTheCloseQuestionIsOpenTakesTheQuestionAway) {
    addDeck("basin.sin", '0');
    chooseDeck("basin.sin");
    calls.hold = true;
    form->run();
    ui.whileOpen = [this](const Message&) { finishRun(calls); };
    ui.yes();  // run another
    EXPECT_FALSE(form->requestClose()) << "the form stays for the next run";
    EXPECT_EQ(ui.notes, (std::vector<std::string>{"A model run is going. Stop it and close the form?", "(dismissed)",
                                                  "Program Completed", "Run another input file?"}));
    EXPECT_FALSE(state().running);
    EXPECT_EQ(ui.pendingReplies(), 0u);

    // No to another run closes the form: the close goes on.
    chooseDeck("basin.sin");
    ui.yes();  // overwrite
    form->run();
    ASSERT_TRUE(state().running);
    ui.whileOpen = [this](const Message&) { finishRun(calls); };
    ui.no();  // run another
    EXPECT_TRUE(form->requestClose());
    EXPECT_TRUE(state().closed);
}

TEST_F(RunFormTest, ResultsThatCannotBeShownOpenNoWindowAndShowResultsSaysWhy) {
    addDeck("basin.sin", '0');
    int shown = 0;
    form->setResultsHook([&shown](const RunPaths&) { ++shown; });
    std::string checked;
    form->setResultsCheck([&checked](const RunPaths& run) {
        checked = run.mainOutput;
        return run.mainOutput + ", line 1: not a report of this program's model";
    });
    chooseDeck("basin.sin");
    ui.yes();
    form->run();
    EXPECT_EQ(checked, decks.file("basin.sot"));
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Rillo2000|None|Program Completed|OK",
                                                       "Rillo2000|None|Run another input file?|YesNo -> Yes"}));
    EXPECT_TRUE(state().resultsNote.visible);
    EXPECT_EQ(state().resultsNote.text,
              "The results window cannot read the outputs of this run: Show Results says why.");
    EXPECT_TRUE(state().resultsButton.enabled);

    ui.clearDialogue();
    form->showResults();
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{
                                 "Rillo2000|Information|The results window cannot show the outputs of this run. They "
                                 "are not in the format of the bundled model (another engine may have written "
                                 "them):\n" + decks.file("basin.sot") +
                                 ", line 1: not a report of this program's model|OK"}));

    // Outputs it can read open the window as before, and the line goes.
    form->setResultsCheck([](const RunPaths&) { return std::string(); });
    chooseDeck("basin.sin");
    ui.yes().yes();
    form->run();
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(state().resultsNote.visible);
}

TEST_F(RunFormTest, ResultsAreShownAfterProgramCompletedAndBeforeRunAnother) {
    addDeck("basin.sin", '0');
    EXPECT_FALSE(state().resultsButton.visible) << "nobody to show results";
    std::vector<std::string> shown, dialogueWhenShown;
    form->setResultsHook([&](const rillo::run::RunPaths& run) {
        shown.push_back(run.mainOutput);
        shown.push_back(run.subcatchmentOutput);
        dialogueWhenShown = ui.messages();
    });
    EXPECT_TRUE(state().resultsButton.visible);
    EXPECT_FALSE(state().resultsButton.enabled) << "no run has completed";

    chooseDeck("basin.sin");
    ui.yes();
    form->run();
    EXPECT_EQ(shown, (std::vector<std::string>{decks.file("basin.sot"), decks.file("basinsub.ssb")}));
    EXPECT_EQ(dialogueWhenShown, (std::vector<std::string>{"Rillo2000|None|Program Completed|OK"}));
    EXPECT_EQ(ui.messages().back(), "Rillo2000|None|Run another input file?|YesNo -> Yes");

    // The cleared form still shows the last run's results.
    EXPECT_EQ(form->deckFileName(), "");
    EXPECT_TRUE(state().resultsButton.enabled);
    form->clearAllEntries();
    form->showResults();
    EXPECT_EQ(shown, (std::vector<std::string>{decks.file("basin.sot"), decks.file("basinsub.ssb"),
                                               decks.file("basin.sot"), decks.file("basinsub.ssb")}));

    // Overwriting those outputs takes their results away.
    chooseDeck("basin.sin");
    calls.hold = true;
    ui.yes();
    form->run();
    EXPECT_FALSE(state().resultsButton.enabled);
    form->stop();
    EXPECT_FALSE(state().resultsButton.enabled);
    form->showResults();
    EXPECT_EQ(shown.size(), 4u);
}

}  // namespace
}  // namespace rillo::run
