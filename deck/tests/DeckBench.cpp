// Opening and saving the largest deck the model takes, against a baseline
// that only reads the file's lines and writes them out again.
#include "ConsoleUi.h"
#include "DeckBuilder.h"
#include "DeckReader.h"
#include "DeckWriter.h"

#include <benchmark/benchmark.h>

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

void BM_Baseline_ReadLinesWriteLines(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(maximalDeckPath(), std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        std::ofstream out(outputPath(), std::ios::binary);
        for (const auto& l : lines) out << l << '\n';
        out.flush();
        benchmark::DoNotOptimize(lines.size());
    }
}
BENCHMARK(BM_Baseline_ReadLinesWriteLines)->Unit(benchmark::kMillisecond);

void BM_OpenDeck(benchmark::State& state) {
    std::ostringstream sink;
    for (auto _ : state) {
        ConsoleUi ui(sink);
        HeadlessHost host;
        if (OpenDeck(ui, host, maximalDeckPath()) != OpenResult::Opened) state.SkipWithError("open failed");
    }
}
BENCHMARK(BM_OpenDeck)->Unit(benchmark::kMillisecond);

void BM_SaveDeck(benchmark::State& state) {
    std::ostringstream sink;
    ConsoleUi ui(sink);
    HeadlessHost host;
    OpenDeck(ui, host, maximalDeckPath());
    SaveOptions options;
    options.path = outputPath();
    options.askFinished = false;
    for (auto _ : state) {
        if (SaveDeck(ui, host, options) != SaveResult::Saved) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveDeck)->Unit(benchmark::kMillisecond);

void BM_OpenPlusSave(benchmark::State& state) {
    std::ostringstream sink;
    SaveOptions options;
    options.path = outputPath();
    options.askFinished = false;
    for (auto _ : state) {
        ConsoleUi ui(sink);
        HeadlessHost host;
        OpenDeck(ui, host, maximalDeckPath());
        SaveDeck(ui, host, options);
    }
}
BENCHMARK(BM_OpenPlusSave)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::printf("maximal deck: %s (%ju bytes)\n", maximalDeckPath().c_str(),
                static_cast<std::uintmax_t>(std::filesystem::file_size(maximalDeckPath())));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
