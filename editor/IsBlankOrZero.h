#pragma once
#include <string_view>

namespace rillo {

/// True when the text is empty or is one number whose value is 0
/// ("0", "0.0000", " -0 "); false otherwise, also for text that is not a
/// number ("abc", "0x", "   ").
bool isBlankOrZero(std::string_view text);

}  // namespace rillo
