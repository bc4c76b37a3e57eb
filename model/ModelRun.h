#pragma once
// One run of the model program on the five paths the engine component
// passes: the deck, the main output (.sot), the subcatchment hydrograph
// output (sub.ssb), the gutter hydrograph output (gut.ssb) and the
// hydrograph input (empty when none). Every output is written to a
// temporary beside it ("<path>.part"); only when all three are complete do
// they take their names, and on any failure or a stop none is left behind.

#include <csignal>
#include <iosfwd>
#include <string>

namespace rillo::model {

struct RunPaths {
    std::string deck, report, subcatchments, gutters, hydrographInput;
};

struct RunOptions {
    /// Compute at most this many steps (negative: the deck's number).
    long maxSteps = -1;
    /// Print "step N of M" lines on the progress stream.
    bool progress = true;
    /// Set (non-zero), from a signal handler say, when the run is to end:
    /// the run stops at its next step or before its outputs take their names.
    const volatile std::sig_atomic_t* stop = nullptr;
    /// Also write the elements' depths and diverted flows in the gutter
    /// hydrograph output, which makes it a file of format version 2. Off
    /// unless asked for: other programs may read gut.ssb as version 1.
    bool elementDepths = false;
};

/// Runs the model; progress lines go to `out`, the error message to `err`.
/// Returns the exit status: 0 when every output is complete, 1 otherwise.
int runModel(const RunPaths& paths, std::ostream& out, std::ostream& err, const RunOptions& options = {});

}  // namespace rillo::model
