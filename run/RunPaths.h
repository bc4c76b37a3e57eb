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
    std::string mainOutputName;          ///< the main output name as typed
    std::string gutterOutputName;        ///< the gutter output name as typed
    std::string subcatchmentOutputName;  ///< the subcatchment output name as typed
};

/// The five paths handed to the engine, and the completed output names.
struct RunPaths {
    std::string deck;
    std::string mainOutput;          ///< <name>.sot
    std::string gutterOutput;        ///< <name>gut.ssb
    std::string subcatchmentOutput;  ///< <name>sub.ssb
    std::string hydrographInput;     ///< empty when no hydrograph file was chosen
    std::string log;                 ///< <main output>.log: what the engine printed

    std::string mainOutputName;
    std::string gutterOutputName;
    std::string subcatchmentOutputName;
};

/// The deck file name without its extension: a name whose fourth character
/// from the end is "." loses its last four characters ("run1.dat" -> "run1"),
/// any other name is taken whole ("basin" -> "basin").
std::string deckBaseName(const std::string& deckFileName);

/// Trims every typed output name, fills an empty one with the deck's base
/// name, appends the fixed endings and puts every output in the deck folder.
/// A typed name is used as typed: "out.txt" gives "out.txt.sot". The deck
/// and hydrograph names came from the file dialog and are used exactly as
/// picked, blanks and all.
RunPaths deriveRunPaths(const RunInputs& inputs);

/// A folder as the form shows it: without its final separator, except for a
/// root ("/", "C:\" on Windows), which is no folder without it.
std::string shownFolder(std::string folder);

/// Whether a typed output name holds a folder separator of this platform,
/// so that its file would not lie in the deck folder.
bool namesAFolder(const std::string& outputName);

/// Empty when every output of the run (the three outputs and the log) is a
/// file of its own; otherwise a message naming the two that are one file, the
/// deck or the hydrograph input included. Paths are compared resolved
/// (links followed, "." and ".." taken out), so that no run can delete or
/// overwrite one of its own inputs.
std::string findPathClash(const RunPaths& paths);

}  // namespace rillo::run
