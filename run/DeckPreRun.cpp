#include "DeckPreRun.h"

#include "DeckLayout.h"
#include "DeckLines.h"
#include "UiServices.h"

namespace rillo::run {

void DeckPreRun::setInputFile(const std::string& deckPath) { deckPath_ = deckPath; }

void DeckPreRun::prepare() {
    if (deckPath_.empty()) throw RuntimeError("No RILLO input file was given.");
    const auto lines = readFirstLines(deckPath_, 1);
    if (lines.empty() || !isDeckHeader(lines.front()))
        throw RuntimeError("The file " + deckPath_ + " is not a RILLO input file: its first line must hold four numbers in columns 1 to " +
                           std::to_string(layout::Header1.end() - 1) + ".");
}

}  // namespace rillo::run
