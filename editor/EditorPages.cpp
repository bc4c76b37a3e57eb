#include "EditorPages.h"

namespace rillo {

std::string pageCaption(int page) {
    if (page < 0 || page >= EditorPageCount) return {};
    return kEditorPages[static_cast<std::size_t>(page)].caption;
}

bool pageAvailable(int page, int iopt) {
    if (page < 0 || page >= EditorPageCount) return false;
    switch (kEditorPages[static_cast<std::size_t>(page)].availableWith) {
    case PageOption::Either: return true;
    case PageOption::Iopt0: return iopt == 0;
    case PageOption::Iopt1: return iopt == 1;
    case PageOption::Never: return false;
    }
    return false;
}

}  // namespace rillo
