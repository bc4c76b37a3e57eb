#pragma once
// The conventions of the deck's card grids: the "&Add Row" line that ends each
// one, rows added in front of it in the template row's formats, and pastes that
// add the rows they need.
#include "Grid.h"

namespace rillo {

/// The label of the button in column 1 of a card grid's last row.
inline constexpr const char* kAddRowLabel = "&Add Row";

/// Makes the last row of a card grid its "&Add Row" row: the button in
/// column 1, and beside it cells that take no data (locked, in the
/// button-face colour), so neither typing nor a paste puts values there.
void makeAddRowLine(Grid& grid);

/// Adds an empty row to a card grid after `afterRow`; 0 means at the end,
/// in front of the last row (the "&Add Row" button row), which stays last.
/// The new row's cells take the formats of row 2, the template row: type,
/// alignment and lock flag, and the float, integer or combo attributes of
/// those types. A template button becomes an edit cell in the button-face
/// colour, and so does a locked template edit cell.
void addGridRow(Grid& grid, int afterRow);

/// Pastes the clipboard's block at the active cell of a grid whose last row
/// may be a button row, which never takes data. When the block reaches it
/// and it is the "&Add Row" row, the rows needed are added first by pressing
/// that button (so the grid's own rules for an added row run); any other
/// button row refuses such a block with a RuntimeError saying why, and
/// nothing is pasted.
void pasteBlock(Grid& grid, Clipboard& clipboard);

}  // namespace rillo
