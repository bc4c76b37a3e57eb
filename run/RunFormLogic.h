#pragma once
// The model run form without its window: the deck and hydrograph browses,
// Clear All Entries, Run, Stop and Show Results, holding the state of every
// control. It reaches the user only through UiServices; the window forwards
// clicks and typed text here and mirrors state() after every call. The
// engine runs while the windows go on; its reports come back here.

#include "ComponentRegistry.h"
#include "RunFormState.h"
#include "RunPaths.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace rillo {
class UiServices;
}

namespace rillo::run {

class RunFormLogic : private EngineListener {
public:
    /// `applicationFolder` is the program's own folder: the engine runs there
    /// and its stale "SCRATCH" file is deleted there.
    RunFormLogic(UiServices& ui, const ComponentRegistry& components, std::string applicationFolder);
    /// A run still going is ended, and the outputs it had begun are removed.
    ~RunFormLogic() override;
    RunFormLogic(const RunFormLogic&) = delete;
    RunFormLogic& operator=(const RunFormLogic&) = delete;

    const RunFormState& state() const { return state_; }

    // Events of the form.
    void load();
    void browseDeck();        ///< the "RILLO Input File" button
    void browseHydrograph();  ///< the "KORVA Input File" button
    void run();               ///< "Run RILLO"; does nothing while a run is going
    void stop();              ///< the stop button, Escape: ends the running engine
    void showResults();       ///< the results button
    void exit();              ///< File > Exit
    void clearAllEntries();   ///< Option > Clear All Entries
    void about();             ///< Help > About

    /// The form is about to close: true when it may. While a run is going the
    /// user is asked first; Yes ends the run and removes its outputs.
    bool requestClose();

    // Typed text.
    void setOutText(const std::string& text) { state_.outputName.text = text; }
    void setPeakText(const std::string& text) { state_.subcatchmentName.text = text; }
    void setSwmText(const std::string& text) { state_.gutterName.text = text; }

    /// Called whenever the state changed, before any message is shown, so a
    /// window can mirror it.
    void setStateListener(std::function<void()> listener) { listener_ = std::move(listener); }
    /// Shows the About window; nothing happens while none is set.
    void setAboutHook(std::function<void()> hook) { about_ = std::move(hook); }
    /// Shows the results of a completed run, given its paths: called once the
    /// user has acknowledged "Program Completed" and by Show Results. Without
    /// one, Show Results stays hidden.
    void setResultsHook(std::function<void(const RunPaths& run)> hook);
    /// Says why the results of a completed run cannot be shown ("" when they
    /// can): such results open no window by themselves, the form says so in
    /// a line, and Show Results explains. Without one, all can be shown.
    void setResultsCheck(std::function<std::string(const RunPaths& run)> check) { resultsCheck_ = std::move(check); }
    /// The class identities created for each run.
    void setComponentIdentities(std::string preRun, std::string engine);

    const std::string& deckFolder() const { return deckFolder_; }
    const std::string& deckFileName() const { return deckFileName_; }
    const std::string& hydrographFolder() const { return hydrographFolder_; }
    const std::string& hydrographFileName() const { return hydrographFileName_; }
    /// The main output of the last run that completed (empty: none yet).
    const std::string& lastCompletedOutput() const { return lastCompleted_.mainOutput; }

private:
    void engineProgress(int step, int steps) override;
    void engineFinished(const EngineResult& result) override;

    void clearInputs();
    void resetAfterRun();
    void resetAfterCancelledBrowse();
    void focusTxtOut() { ++state_.outputNameFocusRequests; }
    void changed();
    void chooseDeck();
    void showChosenDeck();
    RunPaths pathsForRun();
    /// Up to the engine's start; false when the run ends there.
    bool prepareRun(const RunPaths& paths);
    void startEngine(const RunPaths& paths);
    /// The form as it was when Run was pressed, with the run's controls gone.
    void leaveRunningState();
    void reportFailure(const std::string& reason, const std::string& logPath);
    /// Deletes the outputs a run left unfinished and puts the old ones set
    /// aside back (the old log too, unless `keepLog`: then the run's own log
    /// stays); says what could not be deleted or put back.
    std::string removeUnfinishedOutputs(bool keepLog);
    /// Renames each existing output to a name no file has, remembering it.
    void setOldOutputsAside(const std::vector<std::string>& outputs);
    /// Puts the outputs set aside back under their names; what could not be.
    std::string restoreOldOutputs();
    /// Deletes the outputs set aside: the new ones are complete.
    void dropOldOutputs();
    void updateResultsButton();

    UiServices& ui_;
    const ComponentRegistry& components_;
    std::string applicationFolder_;
    std::string preRunIdentity_ = ComponentRegistry::standardPreRun;
    std::string engineIdentity_ = ComponentRegistry::standardEngine;

    RunFormState state_;
    std::string deckFileName_, deckFolder_;
    std::string hydrographFileName_, hydrographFolder_;
    std::string mainOutputName_, gutterOutputName_, subcatchmentOutputName_;

    /// From Run until its last message: a second Run is refused meanwhile.
    bool busy_ = false;
    /// "Stop it and close the form?" is open.
    bool askingToClose_ = false;
    std::unique_ptr<EngineComponent> engine_;
    RunPaths running_;
    RunFormState beforeRun_;
    RunPaths lastCompleted_;  ///< the last run that completed (no main output: none)
    /// Old outputs of the run going, as (name, name set aside under).
    std::vector<std::pair<std::string, std::string>> setAside_;

    std::function<void()> listener_, about_;
    std::function<void(const RunPaths&)> showResults_;
    std::function<std::string(const RunPaths&)> resultsCheck_;
    std::string resultsProblem_;  ///< why the last completed run's results cannot be shown
};

}  // namespace rillo::run
