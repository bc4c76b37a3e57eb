#include "RulesFixture.h"

namespace rillo::testing {

RulesTest::RulesTest() {
    rules.attach();
    ChangeSpread::setZeroRainfallCount(0);
}

void RulesTest::dataRows(Grid& grid, int last) {
    while (grid.rowCount() - 1 < last) addGridRow(grid, 0);
}

void RulesTest::click(Grid& grid, int col, int row) { grid.userMoveTo(col, row); }

void RulesTest::type(Grid& grid, const std::string& text) {
    grid.userBeginEdit();
    ASSERT_TRUE(grid.userEnterText(text)) << "the cell refused " << text;
}

void RulesTest::typeAndTab(Grid& grid, int col, int row, const std::string& text) {
    click(grid, col, row);
    type(grid, text);
    grid.userKeyDown(KeyTab, 0);
}

void RulesTest::element(int row, const std::string& number, const std::string& ndp, int jkItem) {
    Grid& g = deck.card31();
    dataRows(g, row);
    g.setValue(Card31::Element, row, number);
    g.setValue(Card31::NDP, row, ndp);
    if (jkItem >= 0) g.setValue(Card31::JK, row, std::to_string(jkItem));
    if (!ndp.empty() && ndp != "0") {
        g.setButton(Card31::Tabular, row, "Tabular");
        g.setLocked(Card31::Tabular, row, false);
    }
}

void RulesTest::indexRow(int at, const std::string& number, int first, int rows) {
    Grid& index = deck.card31aIndex();
    index.setValue(1, at, number);
    index.setValue(2, at, std::to_string(first));
    index.setValue(3, at, std::to_string(rows));
}

bool RulesTest::hasTabularButton(int row) const {
    const CellFormat& f = deck.card31().format(Card31::Tabular, row);
    return f.type == CellButton && f.buttonText == "Tabular" && !f.locked;
}

}  // namespace rillo::testing
