#include "RunFormLogic.h"

#include "DeckLines.h"
#include "FilePath.h"
#include "NumberText.h"
#include "RunFormTexts.h"
#include "UiServices.h"

#include <filesystem>

namespace rillo::run {

namespace fs = std::filesystem;

namespace {

/// Deletes a file when there is one; a folder of that name is left alone.
void deleteIfExists(const fs::path& file) {
    std::error_code ec;
    const auto status = fs::symlink_status(file, ec);
    if (ec || !fs::exists(status) || fs::is_directory(status)) return;
    if (!fs::remove(file, ec) && ec)
        throw RuntimeError("Cannot delete the file " + fileText(file) + ": " + ec.message());
}

/// A name beside `file` that no file has: "<file>.previous", or with a number.
fs::path asideName(const fs::path& file) {
    std::error_code ec;
    for (int n = 1;; ++n) {
        fs::path candidate = file;
        candidate += n == 1 ? ".previous" : ".previous" + std::to_string(n);
        if (!fs::exists(fs::symlink_status(candidate, ec))) return candidate;
    }
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(filePath(path), ec);
}

}  // namespace

RunFormLogic::RunFormLogic(UiServices& ui, const ComponentRegistry& components, std::string applicationFolder)
    : ui_(ui), components_(components), applicationFolder_(std::move(applicationFolder)) {}

void RunFormLogic::setComponentIdentities(std::string preRun, std::string engine) {
    preRunIdentity_ = std::move(preRun);
    engineIdentity_ = std::move(engine);
}

void RunFormLogic::changed() {
    if (listener_) listener_();
}

void RunFormLogic::load() {
    trapErrors(
        ui_,
        [this] {
            state_.leftTwips = 500;
            state_.topTwips = 500;
            state_.title = texts::formTitle;
            state_.instructions.text = texts::instructions;
            for (ControlState* c : {&state_.deckCaption, &state_.hydrographCaption, &state_.outputFolder, &state_.deckName,
                                    &state_.hydrographName})
                c->visible = false;
            state_.runButton.enabled = false;
            state_.hydrographButton.enabled = false;
            updateResultsButton();
            changed();
        },
        "frmRillo2000_Form_Load", Icon::Critical);
}

void RunFormLogic::clearInputs() {
    trapErrors(
        ui_,
        [this] {
            for (ControlState* c : {&state_.deckName, &state_.outputFolder, &state_.hydrographName, &state_.outputName,
                                    &state_.gutterName, &state_.subcatchmentName})
                c->text.clear();
            focusTxtOut();
            state_.deckButton.enabled = true;
            state_.hydrographButton.enabled = true;
            state_.runButton.enabled = false;
            for (ControlState* c : {&state_.deckName, &state_.hydrographName, &state_.deckCaption, &state_.hydrographCaption,
                                    &state_.outputFolder})
                c->visible = false;
            deckFileName_.clear();
            hydrographFileName_.clear();
            mainOutputName_.clear();
            gutterOutputName_.clear();
            subcatchmentOutputName_.clear();
        },
        "ClearInputs", Icon::Critical);
}

void RunFormLogic::resetAfterCancelledBrowse() {
    clearInputs();
    state_.hydrographButton.enabled = false;
    state_.deckButton.enabled = true;
    state_.runButton.enabled = false;
    ui_.setPointer(Pointer::Normal);
}

void RunFormLogic::resetAfterRun() {
    clearInputs();
    state_.runButton.enabled = false;
    state_.hydrographButton.enabled = false;
    state_.deckButton.enabled = true;
}

// ---- deck browse ----

void RunFormLogic::browseDeck() {
    bool chosen = false;
    try {
        chooseDeck();
        chosen = true;
    } catch (const CancelError&) {
        resetAfterCancelledBrowse();
    } catch (const std::exception& e) {
        resetAfterCancelledBrowse();
        changed();
        ui_.message(e.what(), texts::openErrorTitle, Icon::Critical);
    }
    changed();
    if (!chosen) return;
    trapErrors(ui_, [this] { showChosenDeck(); }, texts::browseErrorTitle, Icon::Critical);
    changed();
}

void RunFormLogic::chooseDeck() {
    FileDialogRequest request;
    request.title = texts::deckDialogTitle;
    request.filter = texts::deckFilter;
    request.flags = FileMustExist | PathMustExist | HideReadOnly;
    request.initialDir = ui_.setting(texts::settingsApp, texts::settingsSection, texts::settingsKey, defaultFolder());
    const std::string path = ui_.openFileName(request);

    deckFolder_ = folderOf(path);
    deckFileName_ = path.substr(deckFolder_.size());
    // A hydrograph chosen before this deck belongs to no deck: forget it
    // whole, so that its bare name is never handed on without its folder.
    hydrographFolder_.clear();
    hydrographFileName_.clear();
    state_.hydrographName.text.clear();
    state_.hydrographName.visible = false;
    state_.hydrographCaption.visible = false;
    ui_.saveSetting(texts::settingsApp, texts::settingsSection, texts::settingsKey, deckFolder_);

    deleteIfExists(filePath(deckFolder_ + texts::scratchFile));

    state_.deckCaption.visible = true;
    state_.outputFolder.visible = true;
    state_.outputFolder.text = texts::outputFolderPrefix + shownPath(shownFolder(deckFolder_));
    focusTxtOut();

    const auto lines = readFirstLines(path, 3);
    if (lines.size() < 3)
        throw RuntimeError("The file " + path + " is not a RILLO input file: it has fewer than three lines.");
    if (wantsImportedHydrographs(lines[2]))
        state_.hydrographButton.enabled = true;
    else if (!deckFileName_.empty())
        state_.runButton.enabled = true;
}

void RunFormLogic::showChosenDeck() {
    if (!deckFileName_.empty()) {
        state_.deckName.visible = true;
        state_.deckName.text = deckFileName_;
        state_.deckButton.enabled = false;
    }
    state_.title = texts::deckTitlePrefix + deckFileName_;
}

// ---- hydrograph browse ----

void RunFormLogic::browseHydrograph() {
    try {
        FileDialogRequest request;
        request.title = texts::hydrographDialogTitle;
        request.filter = texts::hydrographFilter;
        request.flags = FileMustExist | PathMustExist | HideReadOnly;
        const std::string path = ui_.openFileName(request);

        hydrographFolder_ = folderOf(path);
        hydrographFileName_ = path.substr(hydrographFolder_.size());
        // Run needs a deck too: after Clear All Entries the hydrograph may
        // be chosen first, and the deck browse then enables Run.
        if (!hydrographFileName_.empty() && !deckFileName_.empty()) state_.runButton.enabled = true;
        state_.hydrographCaption.visible = true;
        state_.hydrographName.visible = true;
        state_.hydrographName.text = hydrographFileName_;
        focusTxtOut();
        state_.hydrographButton.enabled = false;
    } catch (const CancelError&) {
        clearInputs();
        state_.hydrographButton.enabled = false;
        ui_.setPointer(Pointer::Normal);
    } catch (const std::exception& e) {
        changed();
        ui_.message(e.what(), texts::openErrorTitle, Icon::Critical);
    }
    changed();
}

// ---- run ----

namespace {

/// The engine could not be created or cannot start: a failed run, reported
/// before anything is deleted.
class EngineUnavailable : public RuntimeError {
public:
    using RuntimeError::RuntimeError;
};

}  // namespace

void RunFormLogic::run() {
    // A click that arrives while a run is going (a double-click, a key held
    // down) never starts a second one.
    if (busy_) return;
    busy_ = true;
    ui_.setPointer(Pointer::Hourglass);
    const auto endHere = [this] {
        engine_.reset();
        busy_ = false;
        ui_.setPointer(Pointer::Normal);
        changed();
    };
    RunPaths paths;
    try {
        paths = pathsForRun();
        if (!prepareRun(paths)) {
            endHere();
            return;
        }
    } catch (const EngineUnavailable& e) {
        engine_.reset();
        reportFailure(e.what(), {});
        return;
    } catch (const std::exception& e) {
        endHere();
        ui_.message(e.what(), texts::runErrorTitle, Icon::Critical);
        return;
    } catch (...) {
        endHere();
        ui_.message(texts::runNotPrepared, texts::runErrorTitle, Icon::Critical);
        return;
    }
    startEngine(paths);
}

RunPaths RunFormLogic::pathsForRun() {
    // The deck and hydrograph names are used as the file dialog gave them.
    if (deckFileName_.empty()) throw RuntimeError("Choose a RILLO input file first.");
    for (const ControlState* box : {&state_.outputName, &state_.gutterName, &state_.subcatchmentName})
        if (namesAFolder(box->text))
            throw RuntimeError("An output file name cannot name a folder: \"" + box->text +
                               "\". All output files are sent to the input file's folder.");

    RunPaths paths = deriveRunPaths({deckFolder_, deckFileName_, hydrographFolder_, hydrographFileName_,
                                     state_.outputName.text, state_.gutterName.text, state_.subcatchmentName.text});
    mainOutputName_ = paths.mainOutputName;
    gutterOutputName_ = paths.gutterOutputName;
    subcatchmentOutputName_ = paths.subcatchmentOutputName;
    if (const std::string clash = findPathClash(paths); !clash.empty()) throw RuntimeError(clash);
    return paths;
}

bool RunFormLogic::prepareRun(const RunPaths& paths) {
    const ComponentContext context{ui_, applicationFolder_};
    {
        auto preRun = components_.createPreRun(preRunIdentity_, context);
        preRun->setInputFile(paths.deck);
        preRun->prepare();
    }

    std::error_code ec;
    fs::current_path(filePath(applicationFolder_), ec);
    if (ec) throw RuntimeError("Cannot change to the program folder " + applicationFolder_ + ": " + ec.message());
    const fs::path current = fs::current_path(ec);
    if (ec) throw RuntimeError("Cannot read the current folder: " + ec.message());
    deleteIfExists(current / texts::scratchFile);

    // An engine that cannot start must not cost the user the old outputs.
    try {
        engine_ = components_.createEngine(engineIdentity_, context);
        engine_->checkReady();
    } catch (const std::exception& e) {
        throw EngineUnavailable(e.what());
    }

    // The log is an output too: the engine writes it afresh.
    const std::vector<std::string> outputs{paths.mainOutput, paths.gutterOutput, paths.subcatchmentOutput, paths.log};
    bool anyExists = false;
    for (const auto& output : outputs) anyExists = anyExists || fileExists(output);
    if (anyExists) {
        ui_.setPointer(Pointer::Normal);
        changed();
        std::string question = texts::overwriteQuestion;
        for (const auto& output : outputs)
            if (fileExists(output)) question += "\n" + output;
        if (ui_.message(question, texts::overwriteTitle, Icon::Information, Buttons::YesNo, Answer::No) !=
            Answer::Yes)
            return false;
        ui_.setPointer(Pointer::Hourglass);
        if (lastCompleted_.mainOutput == paths.mainOutput) lastCompleted_ = {}, resultsProblem_.clear();
        updateResultsButton();
        setOldOutputsAside(outputs);
    }
    return true;
}

void RunFormLogic::setOldOutputsAside(const std::vector<std::string>& outputs) {
    // The old outputs go only once the new ones are complete: until then
    // they wait under other names, to come back if the run fails or stops.
    for (const auto& output : outputs) {
        const fs::path file = filePath(output);
        std::error_code ec;
        const auto status = fs::symlink_status(file, ec);
        if (ec || !fs::exists(status) || fs::is_directory(status)) continue;
        const fs::path aside = asideName(file);
        fs::rename(file, aside, ec);
        if (ec) {
            restoreOldOutputs();
            throw RuntimeError("Cannot set the old output " + output + " aside: " + ec.message());
        }
        setAside_.emplace_back(output, fileText(aside));
    }
}

std::string RunFormLogic::restoreOldOutputs() {
    std::string notRestored;
    for (auto it = setAside_.rbegin(); it != setAside_.rend(); ++it) {
        std::error_code ec;
        fs::remove(filePath(it->first), ec);
        fs::rename(filePath(it->second), filePath(it->first), ec);
        if (ec)
            notRestored += std::string(notRestored.empty() ? "" : "\n") + "The old output " + it->first +
                           " is kept as " + it->second + ": " + ec.message();
    }
    setAside_.clear();
    return notRestored;
}

void RunFormLogic::dropOldOutputs() {
    for (const auto& [output, aside] : setAside_) {
        std::error_code ec;
        fs::remove(filePath(aside), ec);
    }
    setAside_.clear();
}

void RunFormLogic::startEngine(const RunPaths& paths) {
    running_ = paths;
    beforeRun_ = state_;
    state_.running = true;
    for (ControlState* c : {&state_.deckButton, &state_.hydrographButton, &state_.runButton, &state_.outputName, &state_.subcatchmentName,
                            &state_.gutterName})
        c->enabled = false;
    state_.clearEnabled = false;
    state_.stopButton.visible = true;
    state_.stopButton.enabled = true;
    state_.progress = {true, 0, 0, texts::running};
    updateResultsButton();
    // The windows stay usable while the engine works: no hourglass.
    ui_.setPointer(Pointer::Normal);
    changed();
    try {
        engine_->start(paths, *this);
    } catch (const std::exception& e) {
        if (state_.running) engineFinished({EngineOutcome::Failed, e.what(), {}});
    } catch (...) {
        if (state_.running) engineFinished({EngineOutcome::Failed, "The model program could not be started.", {}});
    }
}

void RunFormLogic::engineProgress(int step, int steps) {
    if (!state_.running) return;
    state_.progress.step = step;
    state_.progress.steps = steps;
    if (state_.stopButton.enabled)
        state_.progress.text = "Step " + std::to_string(step) + " of " + std::to_string(steps);
    changed();
}

void RunFormLogic::leaveRunningState() {
    state_.running = false;
    for (auto [now, before] : {std::pair{&state_.deckButton, &beforeRun_.deckButton},
                               {&state_.hydrographButton, &beforeRun_.hydrographButton},
                               {&state_.runButton, &beforeRun_.runButton},
                               {&state_.outputName, &beforeRun_.outputName},
                               {&state_.subcatchmentName, &beforeRun_.subcatchmentName},
                               {&state_.gutterName, &beforeRun_.gutterName}})
        now->enabled = before->enabled;
    state_.clearEnabled = true;
    state_.stopButton.visible = false;
    state_.stopButton.enabled = false;
    state_.progress = {};
    updateResultsButton();
}

void RunFormLogic::engineFinished(const EngineResult& result) {
    if (!state_.running) return;
    leaveRunningState();
    // Whether to stop the run is no question once it has ended: the question
    // goes before the run's own messages come.
    if (askingToClose_) {
        askingToClose_ = false;
        ui_.dismissMessage();
    }
    switch (result.outcome) {
    case EngineOutcome::Failed: {
        // The failed run's log says why: it stays, in place of an older one.
        std::string leftOver = removeUnfinishedOutputs(!result.logPath.empty() && fileExists(result.logPath));
        std::string details = result.reason;
        if (!leftOver.empty()) details += "\n\n" + leftOver;
        reportFailure(details, result.logPath);
        return;
    }
    case EngineOutcome::Stopped: {
        const std::string leftOver = removeUnfinishedOutputs(false);
        busy_ = false;
        changed();
        ui_.message(texts::stopped, AppVersion::title, Icon::Information, Buttons::Ok, Answer::Ok, leftOver);
        return;
    }
    case EngineOutcome::Completed:
        break;
    }
    dropOldOutputs();

    lastCompleted_ = running_;
    resultsProblem_.clear();
    if (showResults_ && resultsCheck_) trapErrors(ui_, [this] { resultsProblem_ = resultsCheck_(lastCompleted_); });
    updateResultsButton();
    ui_.setPointer(Pointer::Normal);
    changed();
    ui_.message(texts::completed, AppVersion::title);
    if (showResults_ && resultsProblem_.empty()) trapErrors(ui_, [this] { showResults_(lastCompleted_); });
    if (ui_.ask(texts::runAnother, AppVersion::title))
        resetAfterRun();
    else
        state_.closed = true;
    busy_ = false;
    ui_.setPointer(Pointer::Normal);
    changed();
}

void RunFormLogic::reportFailure(const std::string& reason, const std::string& logPath) {
    std::string details = reason;
    if (!logPath.empty()) details += "\n\nThe model program's messages are kept in " + shownPath(logPath);
    changed();
    ui_.message(texts::engineFailed, texts::engineFailedTitle, Icon::Exclamation, Buttons::Ok, Answer::Ok, details);
    resetAfterRun();
    busy_ = false;
    ui_.setPointer(Pointer::Normal);
    changed();
}

std::string RunFormLogic::removeUnfinishedOutputs(bool keepLog) {
    // Each output that exists now was begun by the run that did not complete:
    // the old ones were set aside with the user's leave, and come back.
    std::string notRemoved;
    for (const auto& output : {running_.mainOutput, running_.gutterOutput, running_.subcatchmentOutput}) {
        try {
            deleteIfExists(filePath(output));
        } catch (const std::exception& e) {
            notRemoved += std::string(notRemoved.empty() ? "" : "\n") + e.what();
        }
    }
    if (keepLog)
        std::erase_if(setAside_, [this](const auto& entry) {
            if (entry.first != running_.log) return false;
            std::error_code ec;
            fs::remove(filePath(entry.second), ec);
            return true;
        });
    const std::string notRestored = restoreOldOutputs();
    if (!notRestored.empty()) notRemoved += std::string(notRemoved.empty() ? "" : "\n") + notRestored;
    return notRemoved;
}

void RunFormLogic::stop() {
    if (!state_.running || !state_.stopButton.enabled) return;
    state_.stopButton.enabled = false;
    state_.progress.text = texts::stopping;
    changed();
    engine_->stop();
}

bool RunFormLogic::requestClose() {
    if (!state_.running) return true;
    askingToClose_ = true;
    const Answer answer =
        ui_.message(texts::stopToClose, AppVersion::title, Icon::Question, Buttons::YesNo, Answer::No);
    askingToClose_ = false;
    // A run that ended while the user was asked took the question away.
    if (!state_.running) return answer == Answer::Yes || state_.closed;
    if (answer != Answer::Yes) return false;
    // Ending the engine here waits for it, so the outputs can go at once.
    engine_.reset();
    leaveRunningState();
    removeUnfinishedOutputs(false);
    busy_ = false;
    changed();
    return true;
}

RunFormLogic::~RunFormLogic() {
    if (!state_.running) return;
    engine_.reset();
    state_.running = false;
    removeUnfinishedOutputs(false);
}

// ---- results ----

void RunFormLogic::setResultsHook(std::function<void(const RunPaths&)> hook) {
    showResults_ = std::move(hook);
    updateResultsButton();
    changed();
}

void RunFormLogic::updateResultsButton() {
    state_.resultsButton.visible = static_cast<bool>(showResults_);
    state_.resultsButton.enabled = !lastCompleted_.mainOutput.empty() && !state_.running;
    state_.resultsNote.visible = state_.resultsButton.visible && state_.resultsButton.enabled && !resultsProblem_.empty();
    state_.resultsNote.text = state_.resultsNote.visible ? texts::resultsNotShown : "";
}

void RunFormLogic::showResults() {
    trapErrors(ui_, [this] {
        if (!showResults_ || lastCompleted_.mainOutput.empty() || state_.running) return;
        if (!resultsProblem_.empty())
            ui_.message(std::string(texts::resultsCannotBeShown) + "\n" + resultsProblem_, AppVersion::title,
                        Icon::Information);
        else
            showResults_(lastCompleted_);
    });
}

// ---- menus ----

void RunFormLogic::exit() {
    if (!requestClose()) return;
    state_.closed = true;
    changed();
}

void RunFormLogic::clearAllEntries() {
    if (state_.running) return;
    trapErrors(ui_, [this] {
        clearInputs();
        state_.title = texts::formTitle;
    });
    changed();
}

void RunFormLogic::about() {
    trapErrors(ui_, [this] {
        if (about_) about_();
    });
}

}  // namespace rillo::run
