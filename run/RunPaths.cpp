#include "RunPaths.h"

#include "FilePath.h"
#include "NumberText.h"
#include "UiServices.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string_view>

namespace rillo::run {

std::string deckBaseName(const std::string& deckFileName) {
    std::string name = deckFileName;
    if (name.size() < 4 || name[name.size() - 4] != '.') name += ".sin";
    name.resize(name.size() - 4);
    return name;
}

RunPaths deriveRunPaths(const RunInputs& in) {
    const std::string& deckName = in.deckFileName;
    const std::string& hydrographName = in.hydrographFileName;
    const std::string base = deckBaseName(deckName);

    auto complete = [&base](const std::string& typed) {
        const std::string name(trimmed(typed));
        return std::string(trimmed(name.empty() ? base : name));
    };

    RunPaths p;
    p.mainOutputName = complete(in.mainOutputName) + ".sot";
    p.gutterOutputName = complete(in.gutterOutputName) + "gut" + ".ssb";
    p.subcatchmentOutputName = complete(in.subcatchmentOutputName) + "sub" + ".ssb";

    p.deck = in.deckFolder + deckName;
    p.mainOutput = in.deckFolder + p.mainOutputName;
    p.gutterOutput = in.deckFolder + p.gutterOutputName;
    p.subcatchmentOutput = in.deckFolder + p.subcatchmentOutputName;
    p.hydrographInput = hydrographName.empty() ? std::string() : in.hydrographFolder + hydrographName;
    p.log = p.mainOutput + ".log";
    return p;
}

std::string shownFolder(std::string folder) {
    if (folder.empty() || !isFolderSeparator(folder.back())) return folder;
    const std::string_view rest(folder.data(), folder.size() - 1);
    const bool root = rest.empty() || rest.back() == ':' || isFolderSeparator(rest.back());
    if (!root) folder.pop_back();
    return folder;
}

bool namesAFolder(const std::string& outputName) {
    return std::any_of(outputName.begin(), outputName.end(), isFolderSeparator);
}

namespace {

namespace fs = std::filesystem;

struct NamedFile {
    const char* role;
    const std::string* path;
};

fs::path resolved(const std::string& path) {
    std::error_code ec;
    fs::path full = fs::weakly_canonical(fs::absolute(filePath(path), ec), ec);
    if (ec) full = fs::absolute(filePath(path), ec).lexically_normal();
    return full;
}

bool sameFile(const std::string& a, const std::string& b) {
    if (resolved(a) == resolved(b)) return true;
    std::error_code ec;
    return fs::equivalent(filePath(a), filePath(b), ec);  // hard links; false when either is missing
}

}  // namespace

std::string findPathClash(const RunPaths& p) {
    const NamedFile outputs[] = {{"main output file", &p.mainOutput},
                                 {"gutter hydrograph output file", &p.gutterOutput},
                                 {"subcatchment hydrograph output file", &p.subcatchmentOutput},
                                 {"log file", &p.log}};
    const NamedFile inputs[] = {{"RILLO input file", &p.deck}, {"KORVA input file", &p.hydrographInput}};
    for (const NamedFile& output : outputs) {
        for (const NamedFile& input : inputs)
            if (!input.path->empty() && sameFile(*output.path, *input.path))
                return "The " + std::string(output.role) + " would be the " + input.role + " itself: " +
                       *input.path + ". The run would delete it. Enter another output file name.";
    }
    for (std::size_t i = 0; i < std::size(outputs); ++i)
        for (std::size_t j = i + 1; j < std::size(outputs); ++j)
            if (sameFile(*outputs[i].path, *outputs[j].path))
                return "The " + std::string(outputs[i].role) + " and the " + outputs[j].role +
                       " would be the same file: " + *outputs[i].path + ". Enter different output file names.";
    return {};
}

}  // namespace rillo::run
