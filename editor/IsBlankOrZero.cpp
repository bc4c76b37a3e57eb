#include "IsBlankOrZero.h"

#include "NumberText.h"

namespace rillo {

bool isBlankOrZero(std::string_view text) {
    if (text.empty()) return true;
    return isNumeric(text) && readNumber(text) == 0.0;
}

}  // namespace rillo
