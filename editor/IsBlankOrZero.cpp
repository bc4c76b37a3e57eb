#include "IsBlankOrZero.h"

#include "NumberText.h"

namespace rillo {

bool IsBlankOrZero(std::string_view text) {
    if (text.empty()) return true;
    return isNumeric(text) && readNumber(text) == 0.0;
}

}  // namespace rillo
