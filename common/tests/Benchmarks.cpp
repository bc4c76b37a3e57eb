#include "Benchmarks.h"

#include <benchmark/benchmark.h>

#include <utility>
#include <vector>

namespace rillo::bench {
namespace {

/// Made on first use, so that a BeforeBenchmarks of any source file finds it.
std::vector<std::function<void()>>& beforeBenchmarks() {
    static std::vector<std::function<void()>> work;
    return work;
}

}  // namespace

BeforeBenchmarks::BeforeBenchmarks(std::function<void()> work) { beforeBenchmarks().push_back(std::move(work)); }

int runBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    for (const auto& work : beforeBenchmarks()) work();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace rillo::bench
