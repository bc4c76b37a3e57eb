#pragma once
// How the main window opens the model run form.

#include "RunPaths.h"

#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace rillo {
class UiServices;
}

namespace rillo::run {

/// Shows the model run form modally over `parent` and returns when it is
/// closed. `applicationFolder` is the program's own folder
/// (QCoreApplication::applicationDirPath()); `showAbout` opens the About
/// window for Help > About (nothing happens without it); `showResults` shows
/// the results of a completed run, given its paths (without it the form
/// offers no results); `resultsProblem` says why a completed run's results
/// cannot be shown ("" when they can). The components come from
/// standardComponents().
void showRunForm(QWidget* parent, UiServices& ui, const QString& applicationFolder,
                 std::function<void()> showAbout = {},
                 std::function<void(const RunPaths& run)> showResults = {},
                 std::function<std::string(const RunPaths& run)> resultsProblem = {});

}  // namespace rillo::run
