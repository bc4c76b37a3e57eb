#pragma once
// The model run form without its window: the deck and hydrograph browses,
// Clear All Entries and Run, holding the state of every control. It reaches
// the user only through UiServices; the window forwards clicks and typed
// text here and mirrors state() after every call.

#include "ComponentRegistry.h"
#include "RunFormState.h"
#include "RunPaths.h"

#include <functional>
#include <string>

namespace rillo {
class UiServices;
}

namespace rillo::run {

class RunFormLogic {
public:
    /// `applicationFolder` is the program's own folder: the engine runs there
    /// and its stale "SCRATCH" file is deleted there.
    RunFormLogic(UiServices& ui, const ComponentRegistry& components, std::string applicationFolder);

    const RunFormState& state() const { return state_; }

    // Events of the form.
    void load();
    void browseDeck();        ///< cmdBrowse
    void browseHydrograph();  ///< cmdLook
    void run();               ///< cmdRun
    void exit();              ///< File > Exit
    void clearAllEntries();   ///< Option > Clear All Entries
    void about();             ///< Help > About

    // Typed text.
    void setOutText(const std::string& text) { state_.txtOut.text = text; }
    void setPeakText(const std::string& text) { state_.txtPeak.text = text; }
    void setSwmText(const std::string& text) { state_.txtSwm.text = text; }

    /// Called whenever the state changed, before any message is shown, so a
    /// window can mirror it.
    void setStateListener(std::function<void()> listener) { listener_ = std::move(listener); }
    /// Lets pending window events be processed around the engine call.
    void setEventPump(std::function<void()> pump) { pump_ = std::move(pump); }
    /// Shows the About window; nothing happens while none is set.
    void setAboutHook(std::function<void()> hook) { about_ = std::move(hook); }
    /// The class identities created for each run.
    void setComponentIdentities(std::string preRun, std::string engine);

    const std::string& deckFolder() const { return deckFolder_; }
    const std::string& deckFileName() const { return deckFileName_; }
    const std::string& hydrographFolder() const { return hydrographFolder_; }
    const std::string& hydrographFileName() const { return hydrographFileName_; }
    /// The paths of the last run that reached the engine.
    const RunPaths& lastRun() const { return lastRun_; }

private:
    void clearInputs();
    void resetAfterRun();
    void resetAfterCancelledBrowse();
    void focusTxtOut() { ++state_.txtOutFocusRequests; }
    void changed();
    void chooseDeck();
    void showChosenDeck();
    /// Up to the engine call; false when the run ends there.
    bool prepareRun(const RunPaths& paths);
    void callEngine(const RunPaths& paths);

    UiServices& ui_;
    const ComponentRegistry& components_;
    std::string applicationFolder_;
    std::string preRunIdentity_ = ComponentRegistry::standardPreRun;
    std::string engineIdentity_ = ComponentRegistry::standardEngine;

    RunFormState state_;
    std::string deckFileName_, deckFolder_;
    std::string hydrographFileName_, hydrographFolder_;
    std::string mainOutputName_, gutterOutputName_, subcatchmentOutputName_;
    RunPaths lastRun_;

    std::function<void()> listener_, pump_, about_;
};

}  // namespace rillo::run
