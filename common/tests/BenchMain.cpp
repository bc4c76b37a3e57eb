// The main of the benchmarks that need no Qt.

#include "Benchmarks.h"

int main(int argc, char** argv) { return rillo::bench::runBenchmarks(argc, argv); }
