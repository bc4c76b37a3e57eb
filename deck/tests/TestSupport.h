#pragma once
// The deck tests' names for the shared scratch folders and files.

#include "TempFolder.h"

namespace rillo::testdata {

using TempDir = rillo::testing::TempFolder;
using rillo::testing::readFile;
using rillo::testing::writeFile;

}  // namespace rillo::testdata
