#include "ResultsFiles.h"

#include <algorithm>
#include <cctype>

namespace rillo::results {

ResultsFiles resultsFilesFor(const std::string& sotPath) {
    static const std::string extension = ".sot";
    std::string base = sotPath;
    if (base.size() >= extension.size() &&
        std::equal(extension.begin(), extension.end(), base.end() - static_cast<long>(extension.size()),
                   [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); }))
        base.resize(base.size() - extension.size());
    return ResultsFiles{sotPath, base + "sub.ssb", base + "gut.ssb"};
}

}  // namespace rillo::results
