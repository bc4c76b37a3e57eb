#include "RunFormLogic.h"
#include "ScriptedUi.h"
#include "TestFiles.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace rillo::run {
namespace {

namespace fs = std::filesystem;
using testing::deckText;
using testing::exists;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

/// The scripted user, also noting the default button of every question.
class RecordingUi : public rillo::testing::ScriptedUi {
public:
    std::vector<Answer> questionDefaults;

protected:
    Answer showMessage(const Message& m) override {
        if (m.buttons == Buttons::YesNo) questionDefaults.push_back(m.defaultButton);
        return ScriptedUi::showMessage(m);
    }
};

/// What the fake components saw.
struct Calls {
    std::vector<std::string> log;
    std::vector<std::string> engineArgs;
    fs::path engineFolder;
    std::vector<bool> outputsPresentAtCall;
    bool preRunFails = false;
    bool engineFails = false;
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

class FakeEngine : public EngineComponent {
public:
    explicit FakeEngine(Calls& calls) : calls_(calls) {}
    void run(const std::string& deck, const std::string& main, const std::string& sub, const std::string& gutter,
             const std::string& hydrograph) override {
        calls_.log.push_back("run");
        calls_.engineArgs = {deck, main, sub, gutter, hydrograph};
        calls_.engineFolder = fs::current_path();
        calls_.outputsPresentAtCall.clear();
        for (const auto& output : {main, sub, gutter}) calls_.outputsPresentAtCall.push_back(exists(output));
        if (calls_.engineFails) throw RuntimeError("engine failed");
        for (const auto& output : {main, sub, gutter}) writeFile(output, "new\n");
    }

private:
    Calls& calls_;
};

/// Enabled buttons, e.g. "browse run".
std::string enabledButtons(const RunFormState& s) {
    std::string out;
    auto add = [&out](bool on, const char* name) {
        if (on) out += (out.empty() ? "" : " ") + std::string(name);
    };
    add(s.cmdBrowse.enabled, "browse");
    add(s.cmdLook.enabled, "look");
    add(s.cmdRun.enabled, "run");
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
    EXPECT_EQ(state().lblInstruct.text,
              "To run Rillo2000, choose an input file with the Rillo2000 input file button.  (also choose an input "
              "file from KORVA if needed) Enter relevant output files in text boxes below. Click \"Run RILLO\" to "
              "execute the program.");
    EXPECT_EQ(enabledButtons(state()), "browse");
    for (const ControlState* c : {&state().label5, &state().label6, &state().lblOutput, &state().lblInput,
                                  &state().lblInKorva})
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
    EXPECT_TRUE(state().lblInput.visible);
    EXPECT_EQ(state().lblInput.text, "basin.sin");
    EXPECT_TRUE(state().label5.visible);
    EXPECT_EQ(state().lblOutput.text, "All output files will be sent to: " + decks.path().string());
    EXPECT_GT(state().txtOutFocusRequests, 0);
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

    EXPECT_EQ(calls.log, (std::vector<std::string>{"setInputFile " + decks.file("basin.sin"), "prepare", "run"}));
    EXPECT_EQ(calls.engineArgs, (std::vector<std::string>{decks.file("basin.sin"), decks.file("basin.sot"),
                                                          decks.file("basinsub.ssb"), decks.file("basingut.ssb"),
                                                          ""}));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Rillo2000|None|Program Completed|OK",
                                                       "Rillo2000|None|Run another input file?|YesNo -> Yes"}));
    EXPECT_EQ(enabledButtons(state()), "browse");
    EXPECT_FALSE(state().lblInput.visible);
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
    EXPECT_TRUE(state().label6.visible);
    EXPECT_EQ(state().lblInKorva.text, "storm 1.kvd");

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
                                 "File Exists|Information|The output file already exists Do you want to overwrite?|"
                                 "YesNo -> No"}));
    EXPECT_EQ(ui.questionDefaults, (std::vector<Answer>{Answer::No}));
    EXPECT_EQ(readFile(decks.file("basingut.ssb")), "old gutter");
    EXPECT_FALSE(exists(decks.file("main.sot")));
    EXPECT_EQ(calls.log, (std::vector<std::string>{"setInputFile " + decks.file("basin.sin"), "prepare"}));
    EXPECT_EQ(enabledButtons(state()), enabledButtons(before));
    EXPECT_EQ(state().txtOut.text, "main");
    EXPECT_EQ(state().lblInput.text, before.lblInput.text);
    EXPECT_EQ(ui.pointer, Pointer::Normal);
}

TEST_F(RunFormTest, YesToOverwriteDeletesTheOldOutputsBeforeTheEngineRuns) {
    addDeck("basin.sin", '0');
    writeFile(decks.file("basin.sot"), "old main");
    writeFile(decks.file("basinsub.ssb"), "old sub");
    chooseDeck("basin.sin");
    ui.yes().no();
    form->run();
    EXPECT_EQ(calls.outputsPresentAtCall, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(readFile(decks.file("basin.sot")), "new\n");
    EXPECT_EQ(ui.messages().at(1), "Rillo2000|None|Program Completed|OK");
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
    EXPECT_FALSE(state().lblInput.visible);
    EXPECT_FALSE(state().lblInKorva.visible);
    EXPECT_EQ(form->deckFileName(), "");
    EXPECT_EQ(form->hydrographFileName(), "");
    EXPECT_EQ(ui.pointer, Pointer::Normal);
    EXPECT_FALSE(state().closed);
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
    EXPECT_EQ(state().txtOut.text, "");
    EXPECT_EQ(state().lblOutput.text, "");
    EXPECT_FALSE(state().lblOutput.visible);
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
    EXPECT_FALSE(state().lblInKorva.visible);
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
    EXPECT_FALSE(state().lblInput.visible);

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

}  // namespace
}  // namespace rillo::run
