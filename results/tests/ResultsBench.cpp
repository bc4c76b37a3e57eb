// The results window on the outputs of the largest run a deck can ask for:
// 1,900 subcatchments and 1,900 elements with 10 hyetographs over 2,880
// one-minute steps, so each hydrograph file holds about 5.5 million values.
// Targets: the window shows in under 500 ms, ticking a series redraws in
// under 50 ms. Runs offscreen.

#include "HydrographPlot.h"
#include "HydrographPlotView.h"
#include "ResultsWindow.h"
#include "RunFixture.h"
#include "ScriptedUi.h"

#include <QApplication>
#include <QEventLoop>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace rillo::results;

const ResultsFiles& maximalRun() {
    static testing::TempFolder folder;
    static const ResultsFiles files = [] {
        testing::RunShape shape;
        shape.hyetographs = 10;
        shape.subcatchments = 1900;
        shape.elements = 1900;
        shape.steps = 2880;
        shape.stepMinutes = 1;
        shape.startHour = 6;
        shape.startMinute = 0;
        const ResultsFiles run = testing::writeRun(folder, shape);
        // The report of such a run: a peak for every subcatchment and element.
        std::vector<rillo::model::ReportTable> tables = testing::reportTables();
        tables[0].rows.clear();
        for (int i = 0; i < 3800; ++i)
            tables[0].rows.push_back({std::to_string(i + 1), i < 1900 ? "Subcatchment" : "Channel",
                                      std::to_string(testing::flowValue(i, 400)), "07:35", "1.25"});
        testing::writeReport(run.sot, tables);
        return run;
    }();
    return files;
}

void waitLoaded(ResultsWindow& w) {
    if (!w.isLoading()) return;
    QEventLoop loop;
    QObject::connect(&w, &ResultsWindow::loaded, &loop, &QEventLoop::quit);
    loop.exec();
}

/// Reading one maximal hydrograph file whole: the floor of everything below.
void BM_ReadMaximalHydrographFile(benchmark::State& state) {
    const ResultsFiles& files = maximalRun();
    for (auto _ : state) {
        HydrographLoad load = loadHydrographFile(files.gut);
        if (load.state != LoadState::Loaded) state.SkipWithError("not read");
        benchmark::DoNotOptimize(load);
    }
}
BENCHMARK(BM_ReadMaximalHydrographFile)->Unit(benchmark::kMillisecond)->Iterations(3);

/// From the call to the window painted on the screen, with the report's
/// tables; the hydrograph files are still being read.
void BM_ShowWindow(benchmark::State& state) {
    const ResultsFiles& files = maximalRun();
    rillo::testing::ScriptedUi ui;
    for (auto _ : state) {
        auto w = std::make_unique<ResultsWindow>(files, ui);
        w->show();
        w->repaint();
        QCoreApplication::processEvents();
        state.PauseTiming();
        waitLoaded(*w);
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

/// From the call until both files have been read and checked to their end
/// and their 3,810 series are listed.
void BM_ShowWindowUntilEverySeriesIsListed(benchmark::State& state) {
    const ResultsFiles& files = maximalRun();
    rillo::testing::ScriptedUi ui;
    for (auto _ : state) {
        auto w = std::make_unique<ResultsWindow>(files, ui);
        w->show();
        waitLoaded(*w);
        w->repaint();
        state.PauseTiming();
        if (w->results().series().size() != 3810) state.SkipWithError("series missing");
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowWindowUntilEverySeriesIsListed)->Unit(benchmark::kMillisecond)->Iterations(3);

/// Ticking one more element in the list until the plot has been redrawn,
/// with `range(0)` series already shown.
void BM_TickSeries(benchmark::State& state) {
    const ResultsFiles& files = maximalRun();
    rillo::testing::ScriptedUi ui;
    ResultsWindow w(files, ui);
    w.resize(1100, 720);
    w.show();
    waitLoaded(w);
    const std::vector<SeriesId> all = w.results().series();
    const std::size_t firstElement = 10 + 1900;
    for (std::int64_t i = 0; i < state.range(0); ++i) w.setTicked(all[firstElement + 1000 + static_cast<std::size_t>(i)], true);
    w.plotView()->repaint();
    std::size_t next = firstElement;
    for (auto _ : state) {
        const SeriesId id = all[next++ % all.size()];
        w.setTicked(id, true);
        w.plotView()->repaint();
        state.PauseTiming();
        w.setTicked(id, false);
        w.plotView()->repaint();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TickSeries)->Arg(0)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
