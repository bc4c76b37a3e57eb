#pragma once
// Everything the run form shows, as its logic keeps it; the window mirrors it.

#include <string>

namespace rillo::run {

struct ControlState {
    std::string text;  ///< caption of a label, text of a text box
    bool visible = true;
    bool enabled = true;
};

struct RunFormState {
    std::string title;
    int leftTwips = 0;
    int topTwips = 0;

    ControlState cmdBrowse;
    ControlState label5;
    ControlState lblInput;
    ControlState cmdLook;
    ControlState label6;
    ControlState lblInKorva;
    ControlState txtOut;
    ControlState txtPeak;
    ControlState txtSwm;
    ControlState lblOutput;
    ControlState lblInstruct;
    ControlState cmdRun;

    /// Bumped each time the form puts the focus in txtOut.
    int txtOutFocusRequests = 0;
    /// The form has been unloaded (File > Exit, or No to "Run another input file?").
    bool closed = false;
};

}  // namespace rillo::run
