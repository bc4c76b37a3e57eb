#pragma once
// The normal ranges of card values: the editing rules question a value
// outside its range when the user leaves the cell (first data row only).

#include "Deck.h"

#include <optional>
#include <span>
#include <string>

namespace rillo {

struct NormalRange {
    GridId grid;
    int col;
    /// Inclusive bounds; a missing bound is not checked.
    std::optional<double> low;
    std::optional<double> high;
    /// The first line of the question.
    const char* message;
    /// Checked whenever the caret leaves the cell, not only to the next column.
    bool onAnyLeave = false;

    bool accepts(double value) const { return !(low && value < *low) && !(high && value > *high); }
};

/// The whole table, in card and column order.
std::span<const NormalRange> normalRanges();

/// The range of a grid column, or nullptr when it has none.
const NormalRange* findRange(GridId grid, int col);

/// The question asked about a value outside its range.
std::string rangeQuestion(const NormalRange& range);

}  // namespace rillo
