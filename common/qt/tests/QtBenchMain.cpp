// The main of the benchmarks of windows and views: one QApplication for all
// of them, on the offscreen platform unless the caller chose another; it
// takes its own arguments (-platform and the like) before the benchmarks
// read theirs.

#include "Benchmarks.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return rillo::bench::runBenchmarks(argc, argv);
}
