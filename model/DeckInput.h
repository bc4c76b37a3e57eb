#pragma once
// The deck as the model reads it: opened through the program's deck reader
// (so the model reads exactly the columns the editor writes), then turned
// into numbers with the change cards applied and every value checked.

#include "ModelInput.h"

#include <string>

namespace rillo {
class Deck;
}

namespace rillo::model {

/// Opens a deck file; throws ModelError with the reader's message.
ModelInput loadDeck(const std::string& path);

/// The model's input from an open deck; throws ModelError naming the card
/// and line of the first value the model cannot use.
ModelInput readModelInput(const Deck& deck);

}  // namespace rillo::model
