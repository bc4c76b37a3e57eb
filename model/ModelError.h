#pragma once
// A deck the model cannot run, or an output it cannot write: the message
// names what is wrong (the card, the line or the number) so the user can
// mend the deck.

#include <stdexcept>
#include <string>

namespace rillo::model {

class ModelError : public std::runtime_error {
public:
    explicit ModelError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace rillo::model
