#pragma once
#include "Grid.h"

namespace rillo {

/// Adds an empty row to a card grid after `afterRow`; 0 means at the end,
/// in front of the last row (the "&Add Row" button row), which stays last.
/// The new row's cells take the formats of row 2, the template row: type,
/// alignment and lock flag, and the float, integer or combo attributes of
/// those types. A template button becomes an edit cell in the button-face
/// colour, and so does a locked template edit cell. The grid's addressed row
/// is left as it was.
void AddGridRow(Grid& grid, int afterRow);

}  // namespace rillo
