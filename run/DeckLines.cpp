#include "DeckLines.h"

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

    std::vector<std::string> lines;
    std::string line;
    while (lines.size() < count && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    if (in.bad()) throw RuntimeError("Cannot read the file " + path + ".");
    return lines;
}

bool isDeckHeader(std::string_view line) {
    for (std::size_t start = 0; start < 20; start += 5) {
        const std::string_view field = start < line.size() ? line.substr(start, 5) : std::string_view();
        if (!isNumeric(trimmed(field))) return false;
    }
    return true;
}

bool wantsImportedHydrographs(std::string_view line) { return line.size() >= 13 && line[12] == '1'; }

}  // namespace rillo::run
