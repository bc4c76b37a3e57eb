#pragma once
// Reading the first lines of a deck file on disk, as the run form and the
// pre-run check need them, the way the deck reader reads them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rillo::run {

/// Up to `count` lines from the start of the file, without their line ends
/// (LF, CR LF, a lone CR, CR CR LF). Throws rillo::RuntimeError when the file cannot be opened
/// or read; a shorter file gives fewer lines.
std::vector<std::string> readFirstLines(const std::string& path, std::size_t count);

/// Whether line 1 is a deck header that Open deck accepts: its four
/// 5-column fields (1-5, 6-10, 11-15, 16-20), each trimmed, are all numeric.
bool isDeckHeader(std::string_view line);

/// Whether line 3 asks for imported hydrographs: "1" at column 13.
bool wantsImportedHydrographs(std::string_view line);

}  // namespace rillo::run
