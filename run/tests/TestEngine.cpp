// A stand-in for the model program. It writes to the file named by
// RILLO_TEST_ENGINE_RECORD one line "cwd=<current folder>", one line
// "argc=<count of arguments>" and one line "arg=<argument>" per argument;
// prints a line to standard output and one to standard error; writes the
// three output files (arguments 2, 3 and 4); then exits with the status in
// RILLO_TEST_ENGINE_EXIT (0 by default), or aborts when RILLO_TEST_ENGINE_CRASH
// is set.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
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
        output << "output of " << argv[1] << "\n";
    }
    if (std::getenv("RILLO_TEST_ENGINE_CRASH")) std::abort();
    const char* status = std::getenv("RILLO_TEST_ENGINE_EXIT");
    return status ? std::atoi(status) : 0;
}
