#pragma once
// The help text of each card group of the editor's pages (EditorPages.h), as
// fixed data in one place. Paragraphs of a help text are separated by
// carriage returns ('\r'); the help page shows a line break for each.

#include "EditorPages.h"

#include <string>

namespace rillo {

/// The help text of card group `group` (0 to 11); "" outside.
std::string helpText(int group);

}  // namespace rillo
