#include "DataCheck.h"

#include "NumberText.h"

namespace rillo {

int checkGridEmptyCells(UiServices& ui, const Grid& grid, int columns, const std::string& label) {
    const int last = grid.lastDataRow();
    for (int row = 2; row < last; ++row) {
        for (int col = 1; col <= columns; ++col) {
            const std::string_view v = grid.text(col, row);
            // Only a minus sign can make it negative: most cells need no reading.
            if (v.find('-') != std::string_view::npos && readNumber(v) < 0) return 0;
            if (v.empty()) {
                ui.message("File Save was Unsuccessful", "Rillo 2000", Icon::Exclamation);
                ui.message("Check Card " + label + " for Empty Cells.", "Rillo 2000");
                ui.setPointer(Pointer::Normal);
                return row;
            }
        }
    }
    return 0;
}

}  // namespace rillo
