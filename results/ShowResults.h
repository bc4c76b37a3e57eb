#pragma once
// How the run form and the command line open the results of a run.

#include "ResultsFiles.h"

class QWidget;

namespace rillo {
class UiServices;
}

namespace rillo::results {

class ResultsWindow;

/// Opens a results window on a run's files, not modal, and returns at once.
/// The window is a window of its own that deletes itself when closed; with
/// a parent it closes with it and, as its child, stays usable while that
/// parent is a modal dialog. `ui` must outlive the window.
ResultsWindow* showResults(const ResultsFiles& files, UiServices& ui, QWidget* parent = nullptr);

}  // namespace rillo::results
