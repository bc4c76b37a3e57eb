#include "DeckCompare.h"

#include "ConsoleUi.h"
#include "DeckReader.h"
#include "DeckWriter.h"
#include "NumberText.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

namespace rillo::testdata {

namespace {

/// A number written in the fewest characters that keep its value, or the
/// trimmed text when it is not one number. A blank field is the number 0 to
/// the model, and the writer leaves zeros blank.
std::string canonical(std::string_view text) {
    const std::string_view t = trimmed(text);
    if (t.empty()) return "0";
    if (!isNumeric(t)) return std::string(t);
    return fixedText(t, 0);
}

bool sameValue(std::string_view a, std::string_view b) { return canonical(a) == canonical(b); }

class Comparer {
public:
    Comparer(const Deck& a, const Deck& b) : a_(a), b_(b) {}

    std::optional<std::string> run() {
        // A digit other than 1 reads the cards of option 0, and is written as 0.
        if ((a_.iopt() == 1) != (b_.iopt() == 1))
            return "IOPT " + std::to_string(a_.iopt()) + " became " + std::to_string(b_.iopt());
        if (a_.iopt() == 1) {
            for (Field f : {Field::RoutingTitle, Field::RoutingSubTitle}) exact(f);
            for (Field f : {Field::RoutingSteps, Field::RoutingStartHour, Field::RoutingStartMinute, Field::RoutingTimeStep, Field::RoutingPeakSummary})
                number(f);
            grid(GridId::Card23, 2);
        } else {
            for (Field f : {Field::Title, Field::SubTitle}) exact(f);
            for (Field f : {Field::Steps, Field::StartHour, Field::StartMinute, Field::TimeStep, Field::Hyetographs,
                            Field::ZeroDetentionPercent, Field::PeakSummary, Field::HyetographPoints, Field::HyetographInterval, Field::PrintedSubbasins,
                            Field::PrintInterval})
                number(f);
            grid(GridId::Card14, 10);
            subcatchments();
            grid(GridId::Card110, 16);
            if (saveList(a_) != saveList(b_)) note("the subbasin save list (cards 1.7 and 1.8) changed");
        }
        for (Field f : {Field::SavedElements, Field::PrintedElements, Field::RoutingPrintInterval}) number(f);
        grid(GridId::Card42, 16);
        grid(GridId::Card44, 16);
        elements();
        if (differences_.empty()) return std::nullopt;
        return differences_;
    }

private:
    void note(const std::string& what) {
        if (differences_.size() < 2000) differences_ += what + "\n";
    }
    void exact(Field f) {
        if (a_.text(f) != b_.text(f))
            note(std::string(fieldInfo(f).name) + " \"" + a_.text(f) + "\" became \"" + b_.text(f) + "\"");
    }
    void number(Field f) {
        if (!sameValue(a_.text(f), b_.text(f)))
            note(std::string(fieldInfo(f).name) + " \"" + a_.text(f) + "\" became \"" + b_.text(f) + "\"");
    }
    void cell(const Grid& ga, const Grid& gb, int col, int row, int rowB) {
        if (!sameValue(ga.text(col, row), gb.text(col, rowB)))
            note(ga.name() + " row " + std::to_string(row) + " column " + std::to_string(col) + " \"" +
                 ga.value(col, row) + "\" became \"" + gb.value(col, rowB) + "\"");
    }
    void grid(GridId id, int cols) {
        const Grid& ga = a_.grid(id);
        const Grid& gb = b_.grid(id);
        const int last = std::max(ga.lastDataRow(), gb.lastDataRow());
        for (int row = 2; row <= last; ++row)
            for (int col = 1; col <= cols; ++col) cell(ga, gb, col, row, row);
    }
    /// The rows that hold a value other than 0 in columns from..to: a row
    /// without any holds nothing to keep (zeros are written blank), and the
    /// save leaves an empty row out.
    static std::vector<int> rowsWithData(const Grid& g, int from, int to) {
        std::vector<int> rows;
        for (int row = 2; row <= g.lastDataRow(); ++row)
            for (int c = from; c <= to; ++c)
                if (canonical(g.text(c, row)) != "0") {
                    rows.push_back(row);
                    break;
                }
        return rows;
    }
    /// Card 1.5 row by row, rows without data left out.
    void subcatchments() {
        const Grid& ga = a_.grid(GridId::Card15);
        const Grid& gb = b_.grid(GridId::Card15);
        const auto ra = rowsWithData(ga, 1, 14), rb = rowsWithData(gb, 1, 14);
        if (ra.size() != rb.size())
            note("card 1.5 held " + std::to_string(ra.size()) + " subcatchments and now " + std::to_string(rb.size()));
        for (std::size_t i = 0; i < std::min(ra.size(), rb.size()); ++i)
            for (int col = 1; col <= 14; ++col) cell(ga, gb, col, ra[i], rb[i]);
    }
    static std::vector<std::string> saveList(const Deck& d) {
        std::vector<std::string> out;
        if (!d.checked(Field::SaveHydrographs)) return out;
        const Grid& g = d.card15();
        for (int row = 2; row <= g.lastDataRow(); ++row)
            if (g.number(2, row) > 0) out.push_back(canonical(g.text(2, row)));
        return out;
    }
    /// An element's JK as the model sees it: only for elements with pairs.
    static std::string jk(const Deck& d, int row) {
        const Grid& g = d.card31();
        if (readInteger(g.text(Card31::NDP, row)) == 0) return {};
        const std::string v = g.value(Card31::JK, row);
        if (v == std::to_string(JkItem::DiversionTarget)) return "target " + canonical(g.comboText(Card31::JK, row));
        return v;
    }
    static std::vector<std::string> pairs(const Deck& d, int row) {
        const Grid& g = d.card31();
        const long long ndp = readInteger(g.text(Card31::NDP, row));
        std::vector<std::string> out;
        if (ndp <= 0) return out;
        const Grid& index = d.grid(GridId::Card31aIndex);
        const Grid& store = d.grid(GridId::Card31a);
        for (int r = 1; r <= index.rowCount(); ++r) {
            if (index.isEmpty(1, r) || !sameValue(index.text(1, r), g.text(Card31::Element, row))) continue;
            const int first = static_cast<int>(readInteger(index.text(2, r)));
            for (long long i = 0; i < 2 * ndp; ++i)
                out.push_back(canonical(store.text(1 + static_cast<int>(i % 8), first + static_cast<int>(i / 8))));
            return out;
        }
        out.push_back("(no block)");
        return out;
    }
    void elements() {
        const Grid& ga = a_.card31();
        const Grid& gb = b_.card31();
        const auto ra = rowsWithData(ga, Card31::NDP, Card31::LastDimension);
        const auto rb = rowsWithData(gb, Card31::NDP, Card31::LastDimension);
        if (ra.size() != rb.size())
            note("card 3.1 held " + std::to_string(ra.size()) + " rows and now " + std::to_string(rb.size()));
        for (std::size_t i = 0; i < std::min(ra.size(), rb.size()); ++i) {
            const int row = ra[i], rowB = rb[i];
            const std::string at = "card 3.1 row " + std::to_string(row);
            if (a_.isOverflowRow(row) != b_.isOverflowRow(rowB)) note(at + ": overflow row or not changed");
            for (int col = Card31::NDP; col <= Card31::LastDimension; ++col) cell(ga, gb, col, row, rowB);
            if (jk(a_, row) != jk(b_, rowB))
                note(at + ": JK \"" + jk(a_, row) + "\" became \"" + jk(b_, rowB) + "\"");
            if ((ga.format(Card31::Tabular, row).type == CellButton) !=
                (gb.format(Card31::Tabular, rowB).type == CellButton))
                note(at + ": the Tabular button came or went");
            if (pairs(a_, row) != pairs(b_, rowB)) note(at + ": its tabular pairs changed");
        }
    }

    const Deck& a_;
    const Deck& b_;
    std::string differences_;
};

struct Quiet : ConsoleUi {
    std::ostringstream sink;
    Quiet() : ConsoleUi(sink) { setAnswerYes(true); }
};

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

std::optional<std::string> deckDifference(const Deck& original, const Deck& readBack) {
    return Comparer(original, readBack).run();
}

RoundTrip roundTrip(const std::string& bytes, const std::string& folder) {
    RoundTrip result;
    const std::string original = folder + "/original.sin", saved = folder + "/saved.sin";
    writeBytes(original, bytes);
    Quiet ui;
    HeadlessHost first;
    if (openDeck(ui, first, original) != OpenResult::Opened) return result;
    result.opened = true;
    const auto text = DeckText(ui, first);
    if (!text) return result;
    result.saved = true;
    result.text = *text;
    writeBytes(saved, *text);
    HeadlessHost second;
    Quiet again;
    if (openDeck(again, second, saved) != OpenResult::Opened) {
        result.difference = "the saved file does not open: " + again.sink.str();
        return result;
    }
    if (auto difference = deckDifference(first.deck(), second.deck())) result.difference = *difference;
    return result;
}

}  // namespace rillo::testdata
