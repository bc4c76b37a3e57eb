#pragma once
// The order in which a column of a report table sorts.

#include <string_view>

namespace rillo::results {

/// Whether cell a sorts before cell b: numbers by value ("9.5" before
/// "10"), clock times (H:MM or H:MM:SS) by time, other text alphabetically
/// without regard to case; numbers come before times, times before text,
/// and empty cells last.
bool cellLess(std::string_view a, std::string_view b);

}  // namespace rillo::results
