#pragma once
// The run form's fixed texts: captions, tool tips, dialog filters and
// messages, shared by the logic and the window.

namespace rillo::run::texts {

inline constexpr const char* formTitle = "Rillo2000 Input/Output File Entry Form";
inline constexpr const char* deckTitlePrefix = "RILLO Run Modual File: ";
inline constexpr const char* instructions =
    "To run Rillo2000, choose an input file with the Rillo2000 input file button.  "
    "(also choose an input file from KORVA if needed) "
    "Enter relevant output files in text boxes below. "
    "Click \"Run RILLO\" to execute the program.";
inline constexpr const char* outputFolderPrefix = "All output files will be sent to: ";

inline constexpr const char* deckButton = "&RILLO Input File:";
inline constexpr const char* deckButtonTip = "Browse for RILLO input file";
inline constexpr const char* deckLabel = "Input File for RILLO:";
inline constexpr const char* deckLabelTip = "Name of RILLO input file";
inline constexpr const char* hydrographButton = " &KORVA Input File:";
inline constexpr const char* hydrographButtonTip = "Browse for KORVA input file";
inline constexpr const char* hydrographLabel = "Input File from KORVA:";
inline constexpr const char* hydrographLabelTip = "Name of KORVA input file";
inline constexpr const char* outputNamesNote =
    "Enter Output File Names as appropriate without extensions."
    "                               "
    "(Extensions are assigned automaticaly)";
inline constexpr const char* mainOutputLabel = "Enter &Rillo2000 Output File Name:";
inline constexpr const char* subcatchmentOutputLabel = "Enter &Subcatchment Hydrograph Output File Name:";
inline constexpr const char* gutterOutputLabel = "Enter &Gutter Hydrograph Output File Name:";
inline constexpr const char* runButton = "&Run RILLO";
inline constexpr const char* runButtonTip = "Execute Rillo95b";

inline constexpr const char* fileMenu = "&File";
inline constexpr const char* exitCommand = "E&xit";
inline constexpr const char* optionMenu = "&Option";
inline constexpr const char* clearCommand = "&Clear All Entries";
inline constexpr const char* helpMenu = "&Help";
inline constexpr const char* aboutCommand = "&About";

inline constexpr const char* settingsApp = "Rillo 2000";
inline constexpr const char* settingsSection = "CommonDialog";
inline constexpr const char* settingsKey = "DirectoryOpen";

inline constexpr const char* deckFilter = "RILLO Input Files (*.sin)|*.sin|All Files (*.*)|*.*";
inline constexpr const char* deckDialogTitle = "Get RILLO file";
inline constexpr const char* hydrographFilter =
    "KORVA Input Files (*.kvd)|*.kvd|SWMM Files (*sub.ssb)|*sub.ssb|All Files (*.*)|*.*";
inline constexpr const char* hydrographDialogTitle = "Get KORVA input file ";

inline constexpr const char* scratchFile = "SCRATCH";
inline constexpr const char* overwriteQuestion = "The output file already exists Do you want to overwrite?";
inline constexpr const char* overwriteTitle = "File Exists";
inline constexpr const char* completed = "Program Completed";
inline constexpr const char* runAnother = "Run another input file?";
inline constexpr const char* engineFailed = "The Rillo 2000 Process Failed.";
inline constexpr const char* engineFailedTitle = "Illo2000 DLL Error";

// The titles of the errors each command reports: the name of its handler.
inline constexpr const char* browseErrorTitle = "cmdBrows_Click";
inline constexpr const char* openErrorTitle = "mnuFileOpen_Click";
inline constexpr const char* runErrorTitle = "cmdRun_Click";
inline constexpr const char* runNotPrepared = "The run could not be prepared.";

// Watching and stopping a run.
inline constexpr const char* cmdStop = "S&top";
inline constexpr const char* cmdStopTip = "Stop the model run (Esc)";
inline constexpr const char* cmdResults = "Show &Results";
inline constexpr const char* cmdResultsTip = "Show the results of the last completed run";
inline constexpr const char* running = "The model is running...";
inline constexpr const char* stopping = "Stopping the model...";
inline constexpr const char* stopped = "The model run was stopped. The output files it had begun were removed.";
inline constexpr const char* resultsNotShown =
    "The results window cannot read the outputs of this run: Show Results says why.";
inline constexpr const char* resultsCannotBeShown =
    "The results window cannot show the outputs of this run. They are not in the format of the bundled model "
    "(another engine may have written them):";
inline constexpr const char* stopToClose = "A model run is going. Stop it and close the form?";

}  // namespace rillo::run::texts
