// Opening and saving the largest deck the model takes, against a baseline
// that only reads the file's lines and writes them out again.
#include "Benchmarks.h"
#include "ConsoleUi.h"
#include "DeckBuilder.h"
#include "DeckReader.h"
#include "DeckWriter.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace rillo;

namespace {

const std::string& maximalDeckPath() {
    static const std::string path = [] {
        std::mt19937 rng(1900);
        const std::string text = testdata::generateDeck(testdata::maximalShape(), rng);
        const auto p = std::filesystem::temp_directory_path() / "rillo-maximal-deck.sin";
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }();
    return path;
}

std::string outputPath() { return (std::filesystem::temp_directory_path() / "rillo-maximal-out.sin").string(); }

/// Reads the deck's lines and writes them out again: the least any open and save must do.
void readLinesWriteLines() {
    std::ifstream in(maximalDeckPath(), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::ofstream out(outputPath(), std::ios::binary);
    for (const auto& l : lines) out << l << '\n';
    out.flush();
    benchmark::DoNotOptimize(lines.size());
}

void BM_Baseline_ReadLinesWriteLines(benchmark::State& state) {
    for (auto _ : state) readLinesWriteLines();
}
BENCHMARK(BM_Baseline_ReadLinesWriteLines)->Unit(benchmark::kMillisecond);

void BM_OpenDeck(benchmark::State& state) {
    std::ostringstream sink;
    for (auto _ : state) {
        ConsoleUi ui(sink);
        HeadlessHost host;
        if (openDeck(ui, host, maximalDeckPath()) != OpenResult::Opened) state.SkipWithError("open failed");
    }
}
BENCHMARK(BM_OpenDeck)->Unit(benchmark::kMillisecond);

void BM_SaveDeck(benchmark::State& state) {
    std::ostringstream sink;
    ConsoleUi ui(sink);
    HeadlessHost host;
    openDeck(ui, host, maximalDeckPath());
    SaveOptions options;
    options.path = outputPath();
    options.askFinished = false;
    for (auto _ : state) {
        if (saveDeck(ui, host, options) != SaveResult::Saved) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveDeck)->Unit(benchmark::kMillisecond);

/// Open plus save, with the baseline timed in the same run: the counters
/// give both in processor time and their ratio.
void BM_OpenPlusSave(benchmark::State& state) {
    std::ostringstream sink;
    SaveOptions options;
    options.path = outputPath();
    options.askFinished = false;
    double baseline = 0, deck = 0;
    for (auto _ : state) {
        const std::clock_t t0 = std::clock();
        readLinesWriteLines();
        const std::clock_t t1 = std::clock();
        ConsoleUi ui(sink);
        HeadlessHost host;
        openDeck(ui, host, maximalDeckPath());
        saveDeck(ui, host, options);
        const std::clock_t t2 = std::clock();
        baseline += static_cast<double>(t1 - t0);
        deck += static_cast<double>(t2 - t1);
    }
    const double perIteration = 1000.0 / CLOCKS_PER_SEC / static_cast<double>(state.iterations());
    state.counters["baseline_cpu_ms"] = baseline * perIteration;
    state.counters["open_save_cpu_ms"] = deck * perIteration;
    state.counters["ratio"] = baseline > 0 ? deck / baseline : 0;
}
BENCHMARK(BM_OpenPlusSave)->Unit(benchmark::kMillisecond);

// Which deck was measured, and how large it is, above the results.
const rillo::bench::BeforeBenchmarks nameTheDeck([] {
    std::printf("maximal deck: %s (%ju bytes)\n", maximalDeckPath().c_str(),
                static_cast<std::uintmax_t>(std::filesystem::file_size(maximalDeckPath())));
});

}  // namespace
