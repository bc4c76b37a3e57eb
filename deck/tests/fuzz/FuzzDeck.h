#pragma once
// Shared by the fuzz targets: a deck file in a private temporary folder, and
// a user who answers every question Yes and never sees a window.

#include "ConsoleUi.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace rillo::fuzz {

/// A private folder for this run's scratch files.
inline const std::string& scratchFolder() {
    static const std::string folder = [] {
        char templ[] = "/tmp/rillo-fuzz-XXXXXX";
        const char* made = mkdtemp(templ);
        return std::string(made ? made : "/tmp");
    }();
    return folder;
}

inline std::string scratchFile(const char* name) { return scratchFolder() + "/" + name; }

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct QuietUi : ConsoleUi {
    std::ostringstream sink;
    QuietUi() : ConsoleUi(sink) { setAnswerYes(true); }
};

}  // namespace rillo::fuzz
