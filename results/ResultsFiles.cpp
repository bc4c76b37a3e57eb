#include "ResultsFiles.h"

#include "FilePath.h"
#include "ReportTable.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <utility>

namespace rillo::results {

namespace {

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

/// A name the report gives, as a path: a bare or relative one lies beside it.
std::string fromReport(const std::string& sotPath, const std::string& name) {
    const std::filesystem::path path = filePath(name);
    if (path.is_absolute()) return name;
    return fileText(filePath(sotPath).parent_path() / path);
}

}  // namespace

ResultsFiles resultsFilesFor(const std::string& sotPath) {
    static const std::string extension = ".sot";
    std::string base = sotPath;
    if (base.size() >= extension.size() &&
        std::equal(extension.begin(), extension.end(), base.end() - static_cast<long>(extension.size()),
                   [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); }))
        base.resize(base.size() - extension.size());
    ResultsFiles files{sotPath, base + "sub.ssb", base + "gut.ssb"};

    // The names the report gives come before its first table.
    std::ifstream in(sotPath, std::ios::binary);
    std::string line;
    for (int read = 0; read < 200 && std::getline(in, line) && !startsWith(line, "TABLE "); ++read) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        for (auto [prefix, file] : {std::pair{model::SubcatchmentFileLine, &files.sub},
                                    std::pair{model::ElementFileLine, &files.gut}}) {
            const std::size_t length = std::char_traits<char>::length(prefix);
            if (startsWith(line, prefix) && line.size() > length) *file = fromReport(sotPath, line.substr(length));
        }
    }
    return files;
}

}  // namespace rillo::results
