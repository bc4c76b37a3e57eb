// rillo-model: the bundled model program. The engine component starts it
// with five paths: deck, main output (.sot), subcatchment hydrograph output
// (sub.ssb), gutter hydrograph output (gut.ssb) and hydrograph input (an
// empty argument when none).
#include "ModelRun.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 6) {
        std::cerr << "usage: rillo-model DECK MAIN-OUTPUT SUB-OUTPUT GUT-OUTPUT HYDROGRAPH-INPUT\n"
                     "  (the hydrograph input may be an empty argument)\n";
        return 2;
    }
    const rillo::model::RunPaths paths{argv[1], argv[2], argv[3], argv[4], argv[5]};
    return rillo::model::runModel(paths, std::cout, std::cerr);
}
