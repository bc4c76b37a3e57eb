#pragma once
// A private folder per test, and decks written into it.

#include "ModelDeckBuilder.h"

#include "TempFolder.h"

#include <string>

namespace rillo::model::testdata {

using rillo::testing::TempFolder;

/// A whole file as text.
inline std::string readText(const std::string& path) { return rillo::testing::readFile(path); }

}  // namespace rillo::model::testdata
