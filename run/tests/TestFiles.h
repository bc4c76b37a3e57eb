#pragma once
// Scratch folders and small deck files for the run tests.

#include "TempFolder.h"
#include "TestSystem.h"

#include <filesystem>
#include <string>

namespace rillo::run::testing {

using rillo::testing::readFile;
using rillo::testing::TempFolder;
using rillo::testing::writeFile;

inline bool exists(const std::string& path) { return std::filesystem::exists(path); }

/// The test program that stands in for the model (TestEngine.cpp).
inline std::string testEngine() { return rillo::testing::builtPath(RILLO_TEST_ENGINE); }

/// The first lines of a deck with the given IOPT digit, CR LF line ends.
inline std::string deckText(char iopt) {
    return std::string("   2   1   1   2\r\n   3   4\r\nWATERSHED   ") + iopt + "\r\nTITLE\r\n";
}

}  // namespace rillo::run::testing
