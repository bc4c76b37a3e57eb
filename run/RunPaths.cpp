#include "RunPaths.h"

#include "NumberText.h"

namespace rillo::run {

std::string deckBaseName(const std::string& deckFileName) {
    std::string name = deckFileName;
    if (name.size() < 4 || name[name.size() - 4] != '.') name += ".sin";
    name.resize(name.size() - 4);
    return name;
}

RunPaths deriveRunPaths(const RunInputs& in) {
    const std::string deckName(trimmed(in.deckFileName));
    const std::string hydrographName(trimmed(in.hydrographFileName));
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
    return p;
}

bool namesAFolder(const std::string& outputName) {
    return outputName.find_first_of("/\\") != std::string::npos;
}

}  // namespace rillo::run
