#pragma once
// What every benchmark program's main does (rillo_bench_main, and
// rillo_qt_bench_main for the benchmarks that need a QApplication): read the
// benchmark flags, refuse any it does not know, do what the program asks to
// have done before its benchmarks, and run them.

#include <functional>

namespace rillo::bench {

/// Work a benchmark program does once the flags are read and before the
/// first benchmark runs (it is not done for --help or for a wrong flag).
/// Declared at namespace scope in the benchmark's source:
///     const rillo::bench::BeforeBenchmarks note([] { std::printf(...); });
class BeforeBenchmarks {
public:
    explicit BeforeBenchmarks(std::function<void()> work);
};

/// Runs the program's benchmarks as told by the arguments; the program's
/// exit status (1 for an argument that is no benchmark flag).
int runBenchmarks(int argc, char** argv);

}  // namespace rillo::bench
