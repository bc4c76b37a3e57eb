#pragma once
// Whether two decks hold the same values: what the save must keep. Numbers
// are compared as numbers ("0.0000125" and "0.00001250" are one value),
// everything else as the text it is.

#include "Deck.h"
#include "UiServices.h"

#include <optional>
#include <string>

namespace rillo::testdata {

/// The first value in which the decks differ, described for a person; none
/// when they hold the same deck.
std::optional<std::string> deckDifference(const Deck& original, const Deck& readBack);

/// What became of a deck file opened, saved and the saved file opened again.
struct RoundTrip {
    bool opened = false;   ///< the original opened
    bool saved = false;    ///< the save wrote it (false: refused or failed)
    std::string text;      ///< what the save wrote
    /// Why the saved file is not the same deck (empty when it is).
    std::string difference;
};

/// Opens `bytes` as a deck file, saves it and reads the saved file back, in
/// `folder`; questions are answered Yes.
RoundTrip roundTrip(const std::string& bytes, const std::string& folder);

}  // namespace rillo::testdata
