#pragma once
// The consistency checks that saving a deck runs on the grids.

#include "Grid.h"
#include "UiServices.h"

#include <string>

namespace rillo {

/// Looks at rows 2 up to the row before the last row holding data, columns
/// 1 to `columns`. A negative number ends the look with no fault; the first
/// empty cell is a fault, reported to the user as a failed save of the card
/// `label`. Returns the row of the empty cell, 0 when none was found.
int checkGridEmptyCells(UiServices& ui, const Grid& grid, int columns, const std::string& label);

}  // namespace rillo
