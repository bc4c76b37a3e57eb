// Any bytes taken as a deck and run for a few steps: the model refuses with
// a message or runs, and never crashes, hangs or writes a number that is
// not one.
#include "FuzzDeck.h"
#include "HydrographFile.h"
#include "ModelRun.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rillo;
    const std::string deck = fuzz::scratchFile("run.sin");
    fuzz::writeBytes(deck, std::string(reinterpret_cast<const char*>(data), size));
    // Sub-catchment hydrographs 1 to 5 for decks that import them.
    static const std::string input = [] {
        const std::string path = fuzz::scratchFile("inputsub.ssb");
        model::Hydrographs h;
        h.kind = "subcatchments";
        h.stepMinutes = 5;
        for (long n = 1; n <= 5; ++n) h.series.push_back({model::SeriesKind::Flow, n, "cfs"});
        for (int s = 0; s < 12; ++s)
            for (int n = 1; n <= 5; ++n) h.values.push_back(n * s * 0.5);
        model::writeHydrographsFile(path, h);
        return path;
    }();
    const model::RunPaths paths{deck, fuzz::scratchFile("run.sot"), fuzz::scratchFile("runsub.ssb"),
                                fuzz::scratchFile("rungut.ssb"), size % 2 ? input : std::string()};
    model::RunOptions options;
    options.maxSteps = 5;
    options.progress = false;
    options.elementDepths = size % 4 >= 2;  // the gutter file of version 2 as well
    std::ostringstream out, err;
    if (model::runModel(paths, out, err, options) == 0) {
        for (const std::string& p : {paths.subcatchments, paths.gutters}) {
            const model::Hydrographs h = model::readHydrographsFile(p);
            for (double v : h.values)
                if (!std::isfinite(v) || v < 0) std::abort();  // no output is negative
        }
    } else if (err.str().empty()) {
        std::abort();  // a failure always says why
    }
    return 0;
}
