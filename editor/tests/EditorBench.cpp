// Opening the largest deck the model takes into the card editor, offscreen:
// from the start of Open deck (the editor is created on first use) to the
// editor shown and painted.

#include "CardEditor.h"
#include "DeckBuilder.h"
#include "DeckReader.h"
#include "TestShell.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>

using namespace rillo;


static void BM_OpenMaximalDeckIntoEditor(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = QDir(dir.path()).filePath(QStringLiteral("maximal.sin")).toStdString();
    std::mt19937 rng(7);
    {
        std::ofstream out(path, std::ios::binary);
        out << testdata::generateDeck(testdata::maximalShape(), rng);
    }
    for (auto _ : state) {
        testing::TestShell shell;
        testing::EditorTestHost host(shell);
        if (openDeck(shell.scripted, host, path) != OpenResult::Opened) state.SkipWithError("the deck did not open");
        QApplication::processEvents();
        state.PauseTiming();
        host.editor->close();
        host.editor.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenMaximalDeckIntoEditor)->Unit(benchmark::kMillisecond)->Iterations(5);
