// A stand-in for the model program. It writes to the file named by
// RILLO_TEST_ENGINE_RECORD one line "cwd=<current folder>", one line
// "argc=<count of arguments>" and one line "arg=<argument>" per argument;
// prints a line to standard output and one to standard error; begins the
// three output files (arguments 2, 3 and 4); then goes through
// RILLO_TEST_ENGINE_STEPS steps (none by default), printing "step N of M"
// after each and sleeping RILLO_TEST_ENGINE_STEP_MS milliseconds per step;
// finishes the outputs; prints RILLO_TEST_ENGINE_ERROR on standard error when
// set; then exits with the status in RILLO_TEST_ENGINE_EXIT (0 by default),
// or crashes when RILLO_TEST_ENGINE_CRASH is set. With RILLO_TEST_ENGINE_HANG
// set it ignores the request to terminate and hangs after beginning the
// outputs, until it is killed.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

int number(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text ? std::atoi(text) : fallback;
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

/// Ends as a crash does on every system: by a fault, not by abort(), which
/// on Windows is an ordinary exit with status 3. On Windows the fault ends
/// the process at once with its code, without the error box or the
/// debugger (which Wine would start and leave waiting).
[[noreturn]] void crash() {
#ifdef _WIN32
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter([](EXCEPTION_POINTERS*) -> LONG { return EXCEPTION_EXECUTE_HANDLER; });
#endif
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    std::abort();
}

}  // namespace

int main(int argc, char** argv) {
    const bool hang = std::getenv("RILLO_TEST_ENGINE_HANG") != nullptr;
    if (hang) std::signal(SIGTERM, SIG_IGN);
    if (const char* record = std::getenv("RILLO_TEST_ENGINE_RECORD")) {
        std::ofstream out(record, std::ios::binary);
        out << "cwd=" << std::filesystem::current_path().string() << "\n";
        out << "argc=" << (argc - 1) << "\n";
        for (int i = 1; i < argc; ++i) out << "arg=" << argv[i] << "\n";
    }
    std::cout << "model output line" << std::endl;
    std::cerr << "model warning line" << std::endl;
    for (int i = 2; i <= 4 && i < argc; ++i) {
        std::ofstream output(argv[i], std::ios::binary);
        output << "begun by " << argv[1] << "\n";
    }
    while (hang) sleepMs(1000);

    const int steps = number("RILLO_TEST_ENGINE_STEPS", 0);
    const int stepMs = number("RILLO_TEST_ENGINE_STEP_MS", 0);
    for (int step = 1; step <= steps; ++step) {
        sleepMs(stepMs);
        std::cout << "step " << step << " of " << steps << std::endl;
    }
    for (int i = 2; i <= 4 && i < argc; ++i) {
        std::ofstream output(argv[i], std::ios::binary | std::ios::app);
        output << "output of " << argv[1] << "\n";
    }
    if (const char* error = std::getenv("RILLO_TEST_ENGINE_ERROR")) std::cerr << error << std::endl;
    if (std::getenv("RILLO_TEST_ENGINE_CRASH")) crash();
    return number("RILLO_TEST_ENGINE_EXIT", 0);
}
