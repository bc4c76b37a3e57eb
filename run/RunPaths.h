#pragma once
// The file names of one model run, derived from the chosen deck, the chosen
// hydrograph input and the three output names typed by the user.

#include <string>

namespace rillo::run {

/// What the run form knows when Run is pressed. Folders end in a separator
/// (or are empty); file names carry no folder.
struct RunInputs {
    std::string deckFolder;
    std::string deckFileName;
    std::string hydrographFolder;
    std::string hydrographFileName;
    std::string mainOutputName;          ///< text of txtOut
    std::string gutterOutputName;        ///< text of txtSwm
    std::string subcatchmentOutputName;  ///< text of txtPeak
};

/// The five paths handed to the engine, and the completed output names.
struct RunPaths {
    std::string deck;
    std::string mainOutput;          ///< <name>.sot
    std::string gutterOutput;        ///< <name>gut.ssb
    std::string subcatchmentOutput;  ///< <name>sub.ssb
    std::string hydrographInput;     ///< empty when no hydrograph file was chosen

    std::string mainOutputName;
    std::string gutterOutputName;
    std::string subcatchmentOutputName;
};

/// The deck file name without its extension: a name whose fourth character
/// from the end is "." loses its last four characters ("run1.dat" -> "run1"),
/// any other name is taken whole ("basin" -> "basin").
std::string deckBaseName(const std::string& deckFileName);

/// Trims every name, fills an empty output name with the deck's base name,
/// appends the fixed endings and puts every output in the deck folder. A
/// typed name is used as typed: "out.txt" gives "out.txt.sot".
RunPaths deriveRunPaths(const RunInputs& inputs);

/// Whether a typed output name holds a folder separator, so that its file
/// would not lie in the deck folder.
bool namesAFolder(const std::string& outputName);

}  // namespace rillo::run
