#pragma once
// Plants one of the faults a deck picks up in other editors and by hand into
// a deck the reader takes: a blank line, a tab, a "+" before a number, a
// letter after the digits, a D exponent, a deleted overflow or 3.1A line.
// Whatever comes of it must be refused naming a line, or read back value
// for value.

#include "TrickyDecks.h"

#include <optional>
#include <string>

namespace rillo::testdata {

enum class Fault { BlankLine, Tab, Plus, Letter, DExponent, DeletedLine, Count };

const char* faultName(Fault fault);

/// The deck with the fault planted at a place the choices pick; none when
/// the deck has no place for it (no exponent to turn into a D, no overflow
/// or 3.1A line to delete).
std::optional<std::string> plantFault(const std::string& deck, Fault fault, Choices& choices);

/// What the reader made of a deck, checked: either refused naming a line,
/// or every line taken by a card (or ending the file) and the deck reading
/// back value for value after a save. Empty when it holds, else why not.
std::string checkStrictRead(const std::string& bytes, const std::string& folder);

}  // namespace rillo::testdata
