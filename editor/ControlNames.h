#pragma once
// The names the editor's controls go by (their object names): the names of
// the form the editor grew from, which scripts and tests that drive the
// editor look its controls up by. Only the views use them; the deck and the
// editing rules speak of fields and grids.

#include "Deck.h"
#include "DeckHost.h"

namespace rillo {

/// The name of the control that shows `field`.
const char* controlName(Field field);
/// The name of the view that shows grid `id`.
const char* controlName(GridId id);
/// The name of the frame that holds the fields of editor page `page` ("" for
/// a page without fields).
const char* frameName(int page);

}  // namespace rillo
