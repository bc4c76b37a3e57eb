#include "DeckLines.h"

#include "DeckReader.h"
#include "FilePath.h"
#include "NumberText.h"
#include "UiServices.h"

#include <filesystem>
#include <fstream>

namespace rillo::run {

std::vector<std::string> readFirstLines(const std::string& path, std::size_t count) {
    std::error_code ec;
    const std::filesystem::path file = filePath(path);
    if (!std::filesystem::exists(file, ec)) throw RuntimeError("File not found: " + path);
    if (!std::filesystem::is_regular_file(file, ec)) throw RuntimeError("Not a file: " + path);
    std::ifstream in(file, std::ios::binary);
    if (!in) throw RuntimeError("Cannot open the file " + path + " for reading.");
    // The first lines of a deck lie well within its first 64 KB.
    std::string bytes(1 << 16, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) throw RuntimeError("Cannot read the file " + path + ".");
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return firstDeckLines(bytes, count);
}

bool isDeckHeader(std::string_view line) { return rillo::isDeckHeader(line); }

bool wantsImportedHydrographs(std::string_view line) { return ioptOf(line) == 1; }

}  // namespace rillo::run
