#include "DeckWriter.h"

#include "DataCheck.h"
#include "FilePath.h"
#include "DeckLayout.h"
#include "ElementKind.h"
#include "NumberText.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <optional>
#include <unordered_map>

#ifdef _WIN32
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace rillo {

namespace fs = std::filesystem;

namespace {

/// A check refused the deck; the user has been told `message`.
struct Refused {
    std::string card;
    long long line = 0;
    std::string message;
};

/// A field longer than its columns, with where it stands in the deck.
struct DoesNotFit {
    std::string detail;
    std::string card;
    long long line = 0;
    int firstColumn = 0, lastColumn = 0;
};

constexpr const char* kSaveTitle = "Rillo 2000";

/// The model's limits that the field help states.
constexpr long long kMaxHyetographs = 10;
constexpr long long kMaxDataPoints = 399;  // fewer than 400
constexpr long long kMaxListed = 1900;     // subcatchments and element numbers

std::string columnsText(int start, int width) {
    return "columns " + std::to_string(start) + "-" + std::to_string(start + width - 1);
}

bool rowHoldsData(const Grid& g, int row, int from, int to) {
    for (int c = from; c <= to; ++c)
        if (!g.isEmpty(c, row)) return true;
    return false;
}

class DeckWriter {
public:
    DeckWriter(UiServices& ui, EditorHost& host) : ui_(ui), host_(host), deck_(host.deck()) {}

    std::string write() {
        // About a line per grid row: the text grows once or not at all.
        std::size_t rows = 64;
        for (int i = 0; i < GridCount; ++i) rows += static_cast<std::size_t>(deck_.grid(static_cast<GridId>(i)).lastDataRow());
        out_.reserve(rows * 84);
        put(layout::Header1Text);
        put(layout::writeRecord(layout::Header2, {}));
        card("WATERSHED");
        if (deck_.iopt() != 0 && deck_.iopt() != 1)
            refuse("Choose the hydrograph option, 0 or 1, before saving: the deck's line 3 must hold one of them.");
        put(layout::writeRecord(layout::Line3, {{}, deck_.iopt() == 1 ? "1" : "0"}));
        if (deck_.iopt() == 1)
            writeIopt1();
        else
            writeIopt0();
        writeCard31();
        writeCard4();
        put(layout::EndProgram);
        if (deck_.encoding() == TextEncoding::Windows1252) {
            // The file came in Windows-1252: its text goes back in it, byte for byte.
            auto bytes = toWindows1252(out_);
            if (!bytes)
                throw DoesNotFit{"The titles hold a character that the file's encoding (Windows-1252) cannot hold.",
                                 "", 0};
            return std::move(*bytes);
        }
        return std::move(out_);
    }

private:
    void put(std::string_view line) {
        out_ += line;
        out_ += "\r\n";
        ++lines_;
    }
    /// The card now written, for what a refusal reports.
    void card(const char* name) { card_ = name; }
    /// A refusal of the card being written, at the line it would take.
    Refused refused(std::string message) const { return Refused{card_, lines_ + 1, std::move(message)}; }
    /// A record's line; a field too long for its columns names the card,
    /// the grid row (0 for a card of fields) and the columns. The line is
    /// valid until the next one is made (one buffer serves them all).
    std::string_view line(const layout::Record& record, const std::vector<std::string_view>& values, const char* card,
                          int row = 0, const std::string& what = {}) const {
        try {
            layout::writeRecordInto(lineBuffer_, record, values);
            return lineBuffer_;
        } catch (const layout::FieldTooLong& e) {
            std::string where = std::string("Card ") + card;
            if (row > 0) where += ", row " + std::to_string(row);
            if (!what.empty()) where += " (" + what + ")";
            throw DoesNotFit{where + ", " + columnsText(e.start, e.width) + ": \"" + e.text + "\" is longer than its " +
                                 std::to_string(e.width) + " columns.",
                             card, lines_ + 1, e.start, e.start + e.width - 1};
        }
    }
    void put(const layout::Record& record, const std::vector<std::string_view>& values, const char* card, int row = 0) {
        put(line(record, values, card, row));
    }
    /// A record of deck fields, each value from the field its column names.
    void putFields(const layout::Record& record) {
        std::vector<std::string_view> values;
        for (const auto& place : layout::valueColumns(record))
            values.push_back(place.column.target >= 0 ? std::string_view(f(static_cast<Field>(place.column.target)))
                                                      : std::string_view());
        put(record, values, record.card);
    }
    /// A grid row's line, each value from the cell its column names; only
    /// the first `count` values are written.
    std::string_view rowLine(const layout::Record& record, const Grid& g, int row, std::size_t count = SIZE_MAX,
                             std::string_view code = {}, const std::string& what = {}) const {
        std::vector<std::string_view>& values = rowValues_;
        values.clear();
        for (const auto& place : layout::valueColumns(record)) {
            const layout::Column& c = place.column;
            if (c.kind == layout::Kind::Code)
                values.push_back(code);
            else
                values.push_back(values.size() < count && c.target > 0 ? g.text(c.target, row) : std::string_view());
        }
        return line(record, values, record.card, row, what);
    }
    void putRow(const layout::Record& record, const Grid& g, int row, std::size_t count = SIZE_MAX) {
        put(rowLine(record, g, row, count));
    }
    const std::string& f(Field field) const { return deck_.text(field); }
    std::string title(Field field) const { return layout::titleText(f(field)); }
    [[noreturn]] void refuse(const std::string& text) {
        ui_.message("File Save was Unsuccessful", kSaveTitle, Icon::Exclamation);
        ui_.message(text, kSaveTitle);
        throw refused(text);
    }
    /// The empty-cell check of a list card; it has told the user.
    void checkEmptyCells(const Grid& g, const char* label) {
        if (const int row = checkGridEmptyCells(ui_, g, ListColumns, label))
            throw refused("Check Card " + std::string(label) + " for Empty Cells. (row " + std::to_string(row) + ")");
    }
    /// A count above the model's limit: the save would write lines the model cannot take.
    void checkLimit(Field field, const char* card, long long limit) {
        if (readInteger(f(field)) <= limit) return;
        refuse("Check card " + std::string(card) + ": " + fieldInfo(field).label + " is " +
               std::string(trimmed(f(field))) + "; the model takes at most " + std::to_string(limit) + ".");
    }
    void progress(int value) { ui_.setProgressValue(value); }

    /// One element of card 3.1 as the save writes it: its row and its
    /// overflow row (0 for none).
    struct Element {
        int row;
        int overflow;
        bool numbered;  ///< its number cell holds a value
        double number;  ///< that value (read once)
    };
    /// The elements, in grid order: overflow rows go with their element
    /// and are never elements themselves; rows without data are left out.
    const std::vector<Element>& elements();
    std::string card31Line(int row, bool blankJk) const;
    /// Rows of the elements that will be written, by element number (built once).
    std::unordered_map<double, std::vector<int>>& elementRows();
    /// Whether an element with this number is written.
    bool elementExists(double number);

    void writeIopt0();
    void writeCard14();
    void writeCard15();
    void writeIopt1();
    void writeSaveList();
    void writeList(const layout::Record& record, const Grid& g, Field count);
    void writeCard31();
    void writeTabular(const std::string& element, long long ndp);
    void writeCard4();

    UiServices& ui_;
    EditorHost& host_;
    Deck& deck_;
    std::string out_;
    mutable std::string lineBuffer_;
    mutable std::vector<std::string_view> rowValues_;
    long long lines_ = 0;
    std::string card_ = "header";
    std::optional<std::vector<Element>> elements_;
    std::optional<std::unordered_map<double, std::vector<int>>> elementRows_;
    /// Index row of each element's tabular block, by element number (built once).
    std::optional<std::unordered_map<double, int>> pairBlocks_;
};

void DeckWriter::writeIopt0() {
    progress(1001);
    card("1.1");
    put(title(Field::Title));
    put(title(Field::SubTitle));
    card("1.2");
    if (f(Field::Steps).empty() || f(Field::TimeStep).empty() || f(Field::Hyetographs).empty())
        refuse("Check for input on card 1.2 to 1.3");
    putFields(layout::Card12);
    card("1.3");
    if (f(Field::HyetographPoints).empty() || f(Field::HyetographInterval).empty()) refuse("Check for input on card 1.2 to 1.3");
    putFields(layout::Card13);

    progress(2001);
    writeCard14();
    progress(3001);
    writeCard15();

    card("1.7");
    if (deck_.checked(Field::SaveHydrographs))
        writeSaveList();
    else
        put(layout::Card17, {"0"}, layout::Card17.card);

    card("1.9");
    putFields(layout::Card19);
    progress(4001);
    if (readNumber(f(Field::PrintedSubbasins)) != 0) {
        checkLimit(Field::PrintedSubbasins, "1.9", kMaxListed);
        card("1.10");
        checkEmptyCells(deck_.card110(), "1.10");
    }
    card("1.10");
    writeList(layout::Card110, deck_.card110(), Field::PrintedSubbasins);
}

void DeckWriter::writeCard14() {
    // The reader takes NRGAG hyetographs of NHISTO values, each from a new
    // line: exactly those lines are written, and values the counts do not
    // cover would be read as other cards or not at all.
    card("1.4");
    const Grid& c14 = deck_.card14();
    const long long nrgag = readInteger(f(Field::Hyetographs));
    const long long nhisto = readInteger(f(Field::HyetographPoints));
    long long rows = 0, perHyetograph = 1;
    if (nrgag >= 1) {
        checkLimit(Field::Hyetographs, "1.2", kMaxHyetographs);
        checkLimit(Field::HyetographPoints, "1.3", kMaxDataPoints);
        perHyetograph = std::max(1LL, (nhisto + RainfallColumns - 1) / RainfallColumns);
        rows = nrgag * perHyetograph;
    }
    const int last = c14.lastDataRow();
    if (last - 1 > rows)
        refuse("Check card 1.4: rows " + std::to_string(rows + 2) + " to " + std::to_string(last) +
               " hold rainfall values that the Number of Hyetographs (" + std::string(trimmed(f(Field::Hyetographs))) +
               ") and of data points (" + std::string(trimmed(f(Field::HyetographPoints))) +
               ") do not cover. Raise the counts or delete those values.");
    const int valuesInLastRow = nhisto > 0 ? static_cast<int>(nhisto - (perHyetograph - 1) * RainfallColumns) : 0;
    for (long long i = 0; i < rows; ++i) {
        const int row = 2 + static_cast<int>(i);
        if (i % perHyetograph == perHyetograph - 1 && rowHoldsData(c14, row, valuesInLastRow + 1, RainfallColumns))
            refuse("Check card 1.4 row " + std::to_string(row) + ": hyetograph " +
                   std::to_string(i / perHyetograph + 1) + " holds more than its " +
                   std::string(trimmed(f(Field::HyetographPoints))) + " data points there.");
        putRow(layout::Card14, c14, row);
    }
}

void DeckWriter::writeCard15() {
    card("1.5");
    const Grid& c15 = deck_.card15();
    for (int row = 2; row <= c15.lastDataRow(); ++row) {
        std::string text(rowLine(layout::Card15, c15, row));
        if (!readsAsZero(text)) {
            put(text);
            continue;
        }
        // A line that reads as 0 ends the card for other readers. Numbers 0
        // in the whole-number columns read back as empty cells anyway, so
        // they may be written blank; a change card (subcatchment -1 behind
        // a hyetograph number 0) then reads as it should.
        if (!rowHoldsData(c15, row, 1, Card15::Columns)) continue;
        std::vector<std::string_view> values;
        for (const auto& place : layout::valueColumns(layout::Card15)) {
            std::string_view v = c15.text(place.column.target, row);
            if (place.column.kind == layout::Kind::Whole && !v.empty() && readsAsZero(v)) v = {};
            values.push_back(v);
        }
        text = line(layout::Card15, values, "1.5", row);
        if (readsAsZero(text))
            refuse("Check card 1.5 row " + std::to_string(row) +
                   ": its line would read as the end of card 1.5 and every subcatchment after it would be lost.");
        put(text);
    }
    put("");
}

void DeckWriter::writeSaveList() {
    const Grid& c15 = deck_.card15();
    std::vector<std::string> numbers;
    for (int row = 2; row <= c15.lastDataRow(); ++row)
        if (c15.number(Card15::Subcatchment, row) > 0) numbers.push_back(c15.value(Card15::Subcatchment, row));
    const std::string count = std::to_string(numbers.size());
    put(layout::Card17, {count}, layout::Card17.card);
    card("1.8");
    for (std::size_t i = 0; i < numbers.size(); i += ListColumns) {
        std::vector<std::string_view> values;
        for (std::size_t k = i; k < numbers.size() && k < i + ListColumns; ++k) values.push_back(numbers[k]);
        // The list's lines end at their last number, as they always have.
        std::string text(line(layout::Card18, values, layout::Card18.card));
        while (!text.empty() && text.back() == ' ') text.pop_back();
        put(text);
    }
}

void DeckWriter::writeList(const layout::Record& record, const Grid& g, Field count) {
    const char* card = record.card;
    // The reader takes as many lines as the count asks for, filled or not:
    // exactly those are written, and a row beyond them would be read as the
    // next card.
    const double n = readNumber(f(count));
    const int needed = n > 0 ? static_cast<int>(std::min(std::ceil(n / ListColumns), 1e6)) : 0;
    const int last = g.lastDataRow();
    if (last - 1 > needed)
        refuse("Check card " + std::string(card) + ": " + fieldInfo(count).label + " is " +
               std::string(trimmed(f(count))) + ", which takes " + std::to_string(needed) + " row(s), but row " +
               std::to_string(needed + 2) + (last > needed + 2 ? " to " + std::to_string(last) : std::string()) +
               " hold numbers too. Raise the count or delete those numbers.");
    for (int i = 0; i < needed; ++i) putRow(record, g, 2 + i);
}

void DeckWriter::writeIopt1() {
    progress(2001);
    card("2.1");
    put(title(Field::RoutingTitle));
    put(title(Field::RoutingSubTitle));
    card("2.2");
    if (f(Field::RoutingSteps).empty() || f(Field::RoutingTimeStep).empty()) refuse("Check for input on card 2.2 to 2.3");
    putFields(layout::Card22);

    progress(4001);
    card("2.3");
    const Grid& c23 = deck_.card23();
    for (int row = 2; row <= c23.lastDataRow(); ++row) {
        if (c23.isEmpty(Card23::Subcatchment, row)) {
            ui_.message("File Save was Unsuccessful", kSaveTitle);
            ui_.message("Check card 2.3 for errors", kSaveTitle);
            throw refused("Check card 2.3 for errors");
        }
        const std::string element = c23.value(Card23::Element, row);
        if (!elementExists(readNumber(element))) {
            ui_.message("Tributary sub-catchment element# " + element + " is not connected " +
                            "to the flow element.  Each tributary sub-catchment element must have " +
                            "a down stream conveyance element to connect to.",
                        "Fatal Error", Icon::Critical);
            ui_.message("Save Canceled!", kSaveTitle);
            host_.showPage(Page::Card23);
            throw refused("Tributary sub-catchment element# " + element + " is not connected to the flow element.");
        }
        if (element.empty()) {
            ui_.message("File Save was Unsuccessful", kSaveTitle);
            ui_.message("Check on card 2.3 for errors", kSaveTitle);
            throw refused("Check on card 2.3 for errors");
        }
        // A line that reads as 0 would end the card for the reader.
        const std::string text(rowLine(layout::Card23, c23, row));
        if (readsAsZero(text))
            refuse("Check card 2.3 row " + std::to_string(row) + ": sub-catchment " + c23.value(Card23::Subcatchment, row) +
                   " would read as the end of card 2.3 and every sub-catchment after it would be lost.");
        put(text);
    }
    put("");
}

std::string DeckWriter::card31Line(int row, bool blankJk) const {
    const Grid& g = deck_.card31();
    // A change card keeps a blank code; any other element without a kind
    // chosen is written with 0, as the file has always had it.
    const ElementKind kind = ElementKind::ofCell(g, row);
    const bool changeCard = g.number(Card31::Element, row) < 0;
    std::string jk = blankJk ? std::string() : kind.code();
    if (jk.empty() && !blankJk && !(changeCard && readInteger(g.text(Card31::NDP, row)) > 0)) jk = "0";
    return std::string(rowLine(layout::Card31, g, row, SIZE_MAX, jk, "element " + g.value(Card31::Element, row)));
}

const std::vector<DeckWriter::Element>& DeckWriter::elements() {
    if (elements_) return *elements_;
    elements_.emplace();
    const Grid& g = deck_.card31();
    const int last = g.lastDataRow();
    for (int row = 2; row <= last; ++row) {
        // Overflow rows that no element claims are left to the writing, which refuses them.
        if (deck_.isOverflowRow(row) || !rowHoldsData(g, row, Card31::NDP, Card31::LastDimension)) continue;
        const bool overflow = ElementKind::carriesOverflow(readInteger(g.text(Card31::Type, row))) && deck_.isOverflowRow(row + 1);
        const bool numbered = !g.isEmpty(Card31::Element, row);
        elements_->push_back({row, overflow ? row + 1 : 0, numbered, numbered ? g.number(Card31::Element, row) : 0.0});
        if (overflow) ++row;
    }
    return *elements_;
}

std::unordered_map<double, std::vector<int>>& DeckWriter::elementRows() {
    if (!elementRows_) {
        elementRows_.emplace();
        for (const Element& e : elements())
            if (e.numbered) (*elementRows_)[e.number].push_back(e.row);
    }
    return *elementRows_;
}

bool DeckWriter::elementExists(double number) { return elementRows().count(number) != 0; }

void DeckWriter::writeCard31() {
    progress(5001);
    card("3.1");
    const Grid& g = deck_.card31();
    const int last = g.lastDataRow();
    const auto otherRowWithSameNumber = [&](const Element& e) {
        // A negative number marks a change card, not an element: there may be many.
        if (!e.numbered || e.number < 0) return 0;
        for (int r : elementRows()[e.number])
            if (r != e.row) return r;
        return 0;
    };
    const auto& list = elements();
    std::vector<bool> claimed(static_cast<std::size_t>(std::max(last, 1)) + 2, false);
    for (const Element& e : list) claimed[static_cast<std::size_t>(e.row)] = claimed[static_cast<std::size_t>(e.overflow)] = true;
    for (int row = 2; row <= last; ++row) {
        // A row no element claims is empty, or an overflow row whose element is gone.
        if (!claimed[static_cast<std::size_t>(row)] && deck_.isOverflowRow(row) &&
            rowHoldsData(g, row, Card31::FirstDimension, Card31::LastDimension))
            refuse("Check card 3.1 row " + std::to_string(row) +
                   ": it is an overflow row without an element of type 4 or 5 above it. Delete its values or "
                   "give the element above type 4 or 5.");
    }
    for (const Element& e : list) {
        const int row = e.row;
        const std::string element = g.value(Card31::Element, row);
        const long long ndp = readInteger(g.value(Card31::NDP, row));
        std::string text = card31Line(row, false);
        // The reader decodes JK only when NDP is not 0: an ordinary element
        // whose "    0" would make its line read as 0 gets a blank JK.
        if (readsAsZero(text) && ndp == 0) text = card31Line(row, true);
        if (readsAsZero(text))
            refuse("Check card 3.1 row " + std::to_string(row) + ": element " + (element.empty() ? "(none)" : element) +
                   " would read as the end of card 3.1 and every element after it would be lost. Give it a number "
                   "above 0.");
        if (ElementKind::carriesOverflow(readInteger(g.text(Card31::Type, row))) && !e.overflow)
            refuse("Check card 3.1 row " + std::to_string(row) + ": element " + element + " is of type " +
                   g.value(Card31::Type, row) + " but has no overflow row below it.");

        if (const int other = otherRowWithSameNumber(e)) {
            const std::string text = "Check on card 3.1 for duplicate IDs. ID #" + element + " is shared by rows " +
                                     std::to_string(std::min(row, other)) + " and " + std::to_string(std::max(row, other));
            ui_.message("File Save was Unsuccessful", kSaveTitle);
            ui_.message(text, kSaveTitle);
            throw refused(text);
        }
        if (!elementExists(g.number(Card31::Downstream, row))) {
            const bool goOn = ui_.ask("This conveyance element " + element + " is not connected to a " +
                                          " down stream element.  If this is okay then press \"Yes\" to finish " +
                                          "saving, or press no to change the data.",
                                      "Warning");
            if (!goOn) {
                host_.showPage(Page::Card31);
                throw refused("This conveyance element " + element + " is not connected to a down stream element.");
            }
        }

        // The model takes a diversion to a missing element as flow that
        // leaves the network: asked, as for a missing downstream element.
        const ElementKind kind = ElementKind::ofCell(g, row);
        if (ndp > 0 && kind.kind() == ElementKind::Diversion && kind.target() > 0 &&
            !elementExists(static_cast<double>(kind.target()))) {
            if (!ui_.ask("This conveyance element " + element + " diverts flow to element " +
                             std::to_string(kind.target()) +
                             ", which is not on card 3.1.  If this is okay then press \"Yes\" to finish saving, or "
                             "press no to change the data.",
                         "Warning")) {
                host_.showPage(Page::Card31);
                throw refused("This conveyance element " + element + " diverts flow to element " +
                              std::to_string(kind.target()) + ", which is not on card 3.1.");
            }
        }

        put(text);
        if (e.overflow)
            putRow(layout::Overflow, g, e.overflow);
        if (ndp > 0) writeTabular(element, ndp);
    }
    put("");
}

void DeckWriter::writeTabular(const std::string& element, long long ndp) {
    const Grid& index = deck_.card31aIndex();
    const Grid& store = deck_.card31a();
    const int rows = ElementKind::pairRows(ndp);
    if (!pairBlocks_) {
        // Each element's block: the first index row that names it.
        pairBlocks_.emplace();
        for (int r = 1; r <= index.rowCount(); ++r)
            if (!index.isEmpty(PairIndex::Element, r)) pairBlocks_->try_emplace(index.number(PairIndex::Element, r), r);
    }
    int at = 0;
    if (!element.empty()) {
        const auto found = pairBlocks_->find(readNumber(element));
        if (found != pairBlocks_->end()) at = found->second;
    }
    // A block smaller than NDP needs would borrow another element's pairs.
    if (!at || index.number(PairIndex::Rows, at) < static_cast<double>(rows)) {
        const std::string text = "There is no tabular data for conveyance element " + element +
                                 ". There must be tabular data for ALL special elements.";
        ui_.message(text, kSaveTitle, Icon::Exclamation);
        host_.showPage(Page::Card31);
        throw refused(text);
    }
    const int first = static_cast<int>(readInteger(index.value(PairIndex::FirstRow, at)));
    // The model reads the table along its first values: they must not fall.
    double previous = 0;
    for (int i = 0, seen = 0; i < rows; ++i) {
        const int width = i + 1 == rows ? ElementKind::valuesInLastRow(ndp) : PairColumns;
        const int row = first + i;
        for (int c = 1; c < width; c += 2, ++seen) {
            const int prevRow = c == 1 ? row - 1 : row, prevCol = c == 1 ? PairColumns - 1 : c - 2;
            const double x = store.number(c, row);
            const bool falls = seen > 0 && x < previous;
            previous = x;
            if (!falls) continue;
            if (!ui_.ask("The tabular values of conveyance element " + element + " fall from " +
                             std::string(trimmed(store.value(prevCol, prevRow))) + " to " +
                             std::string(trimmed(store.value(c, row))) +
                             " in their first values (storage, time or total flow), which must not fall.  If this "
                             "is okay then press \"Yes\" to finish saving, or press no to change the data.",
                         "Warning")) {
                host_.showPage(Page::Card31);
                throw refused("The tabular values of conveyance element " + element + " fall in their first values.");
            }
        }
    }
    const std::string what = "element " + element;
    for (int i = 0; i < rows; ++i) {
        const int width = i + 1 == rows ? ElementKind::valuesInLastRow(ndp) : PairColumns;
        const int row = first + i;
        put(rowLine(layout::Card31A, store, row, static_cast<std::size_t>(width), {}, what));
    }
}

void DeckWriter::writeCard4() {
    card("4.1");
    putFields(layout::Card41);
    if (readNumber(f(Field::SavedElements)) != 0) {
        checkLimit(Field::SavedElements, "4.1", kMaxListed);
        card("4.2");
        checkEmptyCells(deck_.card42(), "4.2");
    }
    card("4.2");
    writeList(layout::Card42, deck_.card42(), Field::SavedElements);
    card("4.3");
    putFields(layout::Card43);
    if (readNumber(f(Field::PrintedElements)) != 0) {
        checkLimit(Field::PrintedElements, "4.3", kMaxListed);
        card("4.4");
        checkEmptyCells(deck_.card44(), "4.4");
    }
    card("4.4");
    writeList(layout::Card44, deck_.card44(), Field::PrintedElements);
}

}  // namespace

bool isWritableFile(const std::string& path) {
    std::error_code ec;
    if (!fs::exists(filePath(path), ec)) return true;
    // A file marked read-only stays so for every user: rights that could
    // write it anyway (an administrator's) must not replace it either.
    const auto perms = fs::status(filePath(path), ec).permissions();
    constexpr auto anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if (!ec && (perms & anyWrite) == fs::perms::none) return false;
#ifdef _WIN32
    return _access(path.c_str(), 2) == 0;
#else
    return access(path.c_str(), W_OK) == 0;
#endif
}

/// The file a path names once symbolic links are followed (a link to a
/// link included), so that a save replaces the target and keeps the link.
fs::path followLinks(const fs::path& path) {
    fs::path at = path;
    std::error_code ec;
    for (int depth = 0; depth < 40 && fs::is_symlink(at, ec); ++depth) {
        const fs::path next = fs::read_symlink(at, ec);
        if (ec) break;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    return at;
}

/// Gives `temp` the owner and group of `target` as far as allowed (a user
/// may give a file a group they belong to; only an administrator an owner).
void keepOwner(const fs::path& target, const fs::path& temp) {
#ifdef _WIN32
    (void)target;
    (void)temp;
#else
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) return;
    if (::chown(temp.c_str(), st.st_uid, st.st_gid) == 0) return;
    [[maybe_unused]] const int groupOnly = ::chown(temp.c_str(), static_cast<uid_t>(-1), st.st_gid);
#endif
}

void writeFileAtomically(const std::string& path, const std::string& contents) {
    const fs::path target = followLinks(filePath(path));
    std::error_code statusError;
    const auto targetStatus = fs::symlink_status(target, statusError);
    if (fs::is_symlink(targetStatus))
        throw RuntimeError(path + " is a loop of symbolic links, which leads to no file.");
    if (fs::exists(targetStatus) && !fs::is_regular_file(targetStatus)) {
        // A FIFO, a device or a folder would be replaced by a plain file.
        const char* kind = fs::is_fifo(targetStatus)        ? "a FIFO (named pipe)"
                           : fs::is_directory(targetStatus)   ? "a folder"
                           : fs::is_character_file(targetStatus) || fs::is_block_file(targetStatus) ? "a device"
                           : fs::is_socket(targetStatus)      ? "a socket"
                                                              : "not a regular file";
        throw RuntimeError(path + " is " + kind + ", not a regular file; a deck is saved only as a regular file.");
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fs::path temp;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temp = folder / filePath("." + fileText(target.filename()) + ".save" + std::to_string(attempt));
        file = std::fopen(fileText(temp).c_str(), "wbx");
        if (!file && errno != EEXIST) break;
    }
    if (!file) throw RuntimeError(std::strerror(errno));
    const auto fail = [&](int error) {
        std::fclose(file);
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw RuntimeError(std::strerror(error ? error : EIO));
    };
    if (std::fwrite(contents.data(), 1, contents.size(), file) != contents.size()) fail(errno);
    if (std::fflush(file) != 0) fail(errno);
#ifdef _WIN32
    if (_commit(_fileno(file)) != 0) fail(errno);
#else
    if (fsync(fileno(file)) != 0) fail(errno);
#endif
    if (std::fclose(file) != 0) {
        const int error = errno;
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw RuntimeError(std::strerror(error));
    }
    std::error_code ec;
    if (fs::exists(target, ec)) {
        // The new file keeps the permissions the old one had, and its owner
        // and group wherever this process may set them.
        const auto perms = fs::status(target, ec).permissions();
        if (!ec) fs::permissions(temp, perms, ec);
        keepOwner(target, temp);
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw RuntimeError(ec.message());
    }
}

std::optional<std::string> DeckText(UiServices& ui, EditorHost& host) {
    try {
        return DeckWriter(ui, host).write();
    } catch (const Refused&) {
        return std::nullopt;
    } catch (const DoesNotFit&) {
        return std::nullopt;
    } catch (const layout::FieldTooLong&) {
        return std::nullopt;
    }
}

std::string SaveResult::describe() const {
    switch (status) {
    case Saved: return finished ? "Saved (finished with the file)" : "Saved";
    case Cancelled: return "Cancelled";
    case Refused:
    case Failed: break;
    }
    std::string s = status == Refused ? "Refused" : "Failed";
    if (line > 0) s += " at line " + std::to_string(line);
    if (!card.empty()) s += " (card " + card + ")";
    if (firstColumn > 0) s += ", columns " + std::to_string(firstColumn) + "-" + std::to_string(lastColumn);
    return s + ": " + message;
}

SaveResult saveDeck(UiServices& ui, EditorHost& host, const SaveOptions& options) {
    ui.setProgressMaximum(10000);
    ui.setProgressVisible(true);
    const auto finish = [&ui] {
        ui.setProgressValue(0);
        ui.setProgressVisible(false);
        ui.setPointer(Pointer::Normal);
    };
    // A save that ends without writing the deck leaves it as it was: an
    // edited deck stays modified, so closing the editor still offers to save it.
    const auto notWritten = [&](SaveResult::Status status, std::string message, std::string card = {},
                                long long line = 0, int first = 0, int last = 0) {
        finish();
        SaveResult r;
        r.status = status;
        r.message = std::move(message);
        r.card = std::move(card);
        r.line = line;
        r.firstColumn = first;
        r.lastColumn = last;
        return r;
    };
    const auto failed = [&](const std::string& text) {
        ui.message(text, {}, Icon::Exclamation);
        return notWritten(SaveResult::Failed, text);
    };

    std::string path;
    if (options.path) {
        path = *options.path;
    } else if (!options.checkOnly) {
        FileDialogRequest request;
        request.title = "Save Rillo File";
        request.filter = "Rillo Files (*.sin)|*.sin|All Files (*.*)|*.*";
        request.flags = OverwritePrompt | NoChangeDir;
        request.initialDir = ui.setting("Rillo 2000", "CommonDialog", "DirectorySave", defaultFolder());
        request.fileName = ui.dialogFileName();
        try {
            path = ui.saveFileName(request);
        } catch (const CancelError&) {
            return notWritten(SaveResult::Cancelled, {});
        }
        ui.dialogFileName() = path;
        ui.saveSetting("Rillo 2000", "CommonDialog", "DirectorySave", folderOf(path));
    }

    ui.setPointer(Pointer::Hourglass);
    if (!options.checkOnly && !isWritableFile(path))
        return failed(path + " is marked as system or readonly and cannot be written to.");

    std::string text;
    try {
        text = DeckWriter(ui, host).write();
    } catch (const Refused& r) {
        return notWritten(SaveResult::Refused, r.message, r.card, r.line);
    } catch (const DoesNotFit& e) {
        SaveResult r = failed("Was unable to save to file.\n" + e.detail);
        r.card = e.card;
        r.line = e.line;
        r.firstColumn = e.firstColumn;
        r.lastColumn = e.lastColumn;
        return r;
    } catch (const layout::FieldTooLong&) {
        return failed("Was unable to save to file.");
    } catch (const std::exception&) {
        return failed("Was unable to save to file.");
    }
    if (!options.checkOnly) {
        try {
            writeFileAtomically(path, text);
        } catch (const RuntimeError& e) {
            return failed("Was unable to write to " + path + ". Operating system reports:\n" + e.description());
        }
        // The file now holds the deck. Marked before the question below,
        // whose Yes closes the editor: that closing has nothing left to ask.
        host.deck().markSaved();
    }

    SaveResult result;
    ui.message("Save Complete!", kSaveTitle);
    if (options.askFinished && ui.ask("Finished with this File?", kSaveTitle)) {
        result.finished = true;
        host.unloadEditor();
    }
    finish();
    return result;
}

}  // namespace rillo
