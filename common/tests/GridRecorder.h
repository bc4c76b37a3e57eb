#pragma once
// A grid listener for the tests: writes down each event it hears, in order,
// as a short line ("Change 2,3", "Leave 1,2->1,3", "Key 9/0").

#include "GridTypes.h"

#include <string>
#include <vector>

namespace rillo::testing {

struct GridRecorder : GridListener {
    std::vector<std::string> events;
    /// What leaveCell answers: true refuses the move.
    bool cancelLeave = false;

    void buttonClicked(Grid&, int c, int r, bool) override { events.push_back("Button " + cell(c, r)); }
    void change(Grid&, int c, int r) override { events.push_back("Change " + cell(c, r)); }
    void editMode(Grid&, int c, int r, int mode, bool changed) override {
        events.push_back("EditMode " + cell(c, r) + " " + std::to_string(mode) + (changed ? " changed" : ""));
    }
    void leaveCell(Grid&, int c, int r, int nc, int nr, bool& cancel) override {
        events.push_back("Leave " + cell(c, r) + "->" + cell(nc, nr));
        cancel = cancelLeave;
    }
    void keyDown(Grid&, int& key, int shift) override {
        events.push_back("Key " + std::to_string(key) + "/" + std::to_string(shift));
    }
    void mouseUp(Grid&, int button, int shift, int, int) override {
        events.push_back("MouseUp " + std::to_string(button) + "/" + std::to_string(shift));
    }
    static std::string cell(int c, int r) { return std::to_string(c) + "," + std::to_string(r); }
};

}  // namespace rillo::testing
