// rillo-model: the bundled model program. The engine component starts it
// with five paths: deck, main output (.sot), subcatchment hydrograph output
// (sub.ssb), gutter hydrograph output (gut.ssb) and hydrograph input (an
// empty argument when none). Before them, "--depths" also writes the
// elements' depths and diverted flows in gut.ssb (format version 2).
#include "ModelRun.h"

#include <csignal>
#include <iostream>
#include <string_view>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void requestStop(int) { stopRequested = 1; }

}  // namespace

int main(int argc, char** argv) {
    rillo::model::RunOptions options;
    if (argc == 7 && std::string_view(argv[1]) == "--depths") {  // six arguments: a deck may be named so
        options.elementDepths = true;
        --argc;
        ++argv;
    }
    if (argc != 6) {
        std::cerr << "usage: rillo-model [--depths] DECK MAIN-OUTPUT SUB-OUTPUT GUT-OUTPUT HYDROGRAPH-INPUT\n"
                     "  (the hydrograph input may be an empty argument; --depths also writes the elements'\n"
                     "  depths and diverted flows in GUT-OUTPUT, as a hydrograph file of format version 2)\n";
        return 2;
    }
    // The run form's Stop ends the program with SIGTERM: the run then ends
    // at its next step and leaves none of its temporaries behind.
    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);
    options.stop = &stopRequested;
    const rillo::model::RunPaths paths{argv[1], argv[2], argv[3], argv[4], argv[5]};
    return rillo::model::runModel(paths, std::cout, std::cerr, options);
}
