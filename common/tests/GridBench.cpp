// Appending rows one at a time in front of the last row, as the deck reader
// and the "&Add Row" button do.
#include "AddGridRow.h"
#include "Grid.h"

#include <benchmark/benchmark.h>

using namespace rillo;

static void BM_Append5000RowsOf16(benchmark::State& state) {
    for (auto _ : state) {
        Grid g("bench", 16, 3);
        for (int c = 1; c <= 16; ++c) g.setFloat(c, 2, 4, 0, 9999);
        g.setButton(1, 3, "&Add Row");
        for (int i = 0; i < 5000; ++i) {
            for (int c = 1; c <= 16; ++c) g.setValue(c, g.rowCount() - 1, "1.25");
            addGridRow(g, 0);
        }
        benchmark::DoNotOptimize(g.rowCount());
    }
}
BENCHMARK(BM_Append5000RowsOf16)->Unit(benchmark::kMillisecond);
