// Scrolling a 4,000-row grid page by page, painted offscreen: the time per
// iteration is the time of one page (scroll and paint).

#include "AddGridRow.h"
#include "GridView.h"

#include <QApplication>
#include <QPixmap>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <algorithm>

using namespace rillo;

static void BM_ScrollPageByPage(benchmark::State& state) {
    Grid grid("card 1.5", 14, 4002);
    for (int c = 1; c <= 14; ++c) {
        grid.setValue(c, 1, "Caption of column " + std::to_string(c));
        grid.setLocked(c, 1, true);
    }
    grid.setRowsFrozen(1);
    for (int r = 2; r <= 4001; ++r)
        for (int c = 1; c <= 14; ++c) {
            grid.setFloat(c, r, 4, 0, 9999);
            grid.setValue(c, r, std::to_string(r * 0.25 + c));
        }
    grid.setButton(1, 4002, "&Add Row");
    GridView view(grid);
    view.resize(1200, 800);
    view.show();
    QApplication::processEvents();
    QScrollBar* bar = view.verticalScrollBar();
    QPixmap target(view.viewport()->size());
    for (auto _ : state) {
        int next = bar->value() + bar->pageStep();
        if (next > bar->maximum()) next = 0;
        bar->setValue(next);
        // Paint the page the way the screen would get it.
        view.viewport()->render(&target);
    }
    state.counters["pages"] = static_cast<double>(bar->maximum() / std::max(bar->pageStep(), 1) + 1);
}
BENCHMARK(BM_ScrollPageByPage)->Unit(benchmark::kMillisecond);
