#pragma once
// Everything the run form shows, as its logic keeps it; the window mirrors it.

#include <string>

namespace rillo::run {

struct ControlState {
    std::string text;  ///< caption of a label, text of a text box
    bool visible = true;
    bool enabled = true;
};

/// The progress of a running engine.
struct ProgressState {
    bool visible = false;
    int step = 0;
    int steps = 0;     ///< 0 while the engine has said nothing of its steps: busy
    std::string text;  ///< the step count in words
};

/// The window's controls carry their form names (cmdBrowse, Label5, txtPeak
/// and the rest) as object names; RunForm.cpp sets them.
struct RunFormState {
    std::string title;
    int leftTwips = 0;
    int topTwips = 0;

    ControlState deckButton;
    ControlState deckCaption;
    ControlState deckName;
    ControlState hydrographButton;
    ControlState hydrographCaption;
    ControlState hydrographName;
    ControlState outputName;
    ControlState subcatchmentName;
    ControlState gutterName;
    ControlState outputFolder;
    ControlState instructions;
    ControlState runButton;

    // Shown only while a model run is going: its progress and Stop.
    ProgressState progress;
    ControlState stopButton{{}, false, false};
    /// Shown when someone can show results; enabled once a run has completed.
    ControlState resultsButton{{}, false, false};
    /// A line that says the last run's outputs cannot be shown.
    ControlState resultsNote{{}, false, true};
    /// Option > Clear All Entries.
    bool clearEnabled = true;
    /// The engine is running.
    bool running = false;

    /// Bumped each time the form puts the focus in the output name box.
    int outputNameFocusRequests = 0;
    /// The form has been unloaded (File > Exit, or No to "Run another input file?").
    bool closed = false;
};

}  // namespace rillo::run
