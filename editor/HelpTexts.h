#pragma once
// The card editor's page captions and the help text of each card group, as
// fixed data in one place. Paragraphs of a help text are separated by
// carriage returns ('\r'); the help page shows a line break for each.

#include <string>

namespace rillo {

/// Pages of the card editor's tab control: 0 to 11 are card groups, 12 the help page.
inline constexpr int EditorPageCount = 13;
inline constexpr int HelpPageIndex = 12;
inline constexpr int HelpGroupCount = 12;

/// The caption of page `page` (0 to 12); "" outside.
std::string pageCaption(int page);

/// The help text of card group `group` (0 to 11); "" outside.
std::string helpText(int group);

}  // namespace rillo
