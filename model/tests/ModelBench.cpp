// The largest deck the model takes (10 hyetographs, 1,900 subcatchments,
// 1,900 elements of which 100 special, 2,880 one-minute steps), run with
// its outputs written, against the floor: reading the deck's lines and
// writing outputs of the same size.
#include "ModelDeckBuilder.h"
#include "ModelRun.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

using namespace rillo::model;

namespace {

namespace fs = std::filesystem;

fs::path folder() {
    static const fs::path dir = [] {
        const fs::path d = fs::temp_directory_path() / "rillo-model-bench";
        fs::create_directories(d);
        std::ofstream(d / "maximal.sin", std::ios::binary) << testdata::deckText(testdata::maximalSpec());
        return d;
    }();
    return dir;
}

RunPaths paths() {
    const fs::path d = folder();
    return {(d / "maximal.sin").string(), (d / "maximal.sot").string(), (d / "maximalsub.ssb").string(),
            (d / "maximalgut.ssb").string(), ""};
}

void BM_ModelRun(benchmark::State& state) {
    const RunPaths p = paths();
    RunOptions options;
    options.progress = false;
    for (auto _ : state) {
        std::ostringstream out, err;
        if (runModel(p, out, err, options) != 0) state.SkipWithError(err.str().c_str());
    }
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["output_MB"] = static_cast<double>(fs::file_size(p.report) + fs::file_size(p.subcatchments) +
                                                      fs::file_size(p.gutters)) / 1e6;
}
BENCHMARK(BM_ModelRun)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The floor: the deck's lines read, and files of the outputs' sizes written.
void BM_Floor_ReadDeckWriteOutputs(benchmark::State& state) {
    const RunPaths p = paths();
    {
        std::ostringstream out, err;
        RunOptions options;
        options.progress = false;
        runModel(p, out, err, options);
    }
    std::vector<std::string> contents;
    for (const auto& f : {p.report, p.subcatchments, p.gutters}) {
        std::ifstream in(f, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        contents.push_back(s.str());
    }
    for (auto _ : state) {
        std::ifstream in(p.deck, std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        benchmark::DoNotOptimize(lines.size());
        for (std::size_t i = 0; i < contents.size(); ++i) {
            std::ofstream out((folder() / ("floor" + std::to_string(i))).string(), std::ios::binary);
            out << contents[i];
        }
    }
}
BENCHMARK(BM_Floor_ReadDeckWriteOutputs)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
