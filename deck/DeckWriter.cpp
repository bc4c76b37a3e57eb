#include "DeckWriter.h"

#include "DataCheck.h"
#include "FilePath.h"
#include "DeckLayout.h"
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
#include <unistd.h>
#endif

namespace rillo {

namespace fs = std::filesystem;

namespace {

/// A check refused the deck; the user has been told.
struct Refused {};

/// A field longer than its columns, with where it stands in the deck.
struct DoesNotFit {
    std::string detail;
};

constexpr const char* kSaveTitle = "Rillo 2000";

/// The model's limits that the field help states.
constexpr long long kMaxHyetographs = 10;
constexpr long long kMaxDataPoints = 399;  // fewer than 400
constexpr long long kMaxListed = 1900;     // subcatchments and element numbers

/// Element types from 4 on carry an overflow row, when reading and writing alike.
bool hasOverflow(double type) { return type > 3; }

std::string columnsText(int start, int width) {
    return "columns " + std::to_string(start) + "-" + std::to_string(start + width - 1);
}

bool rowHoldsData(const Grid& g, int row, int from, int to) {
    for (int c = from; c <= to; ++c)
        if (!g.isEmpty(c, row)) return true;
    return false;
}

/// The file code of an element's special type from its JK cell.
std::string jkCode(const Grid& g, int row) {
    const std::string v = g.value(Card31::JK, row);
    const double index = v.empty() ? 0 : readNumber(v);
    if (index == 0 || index == 1) return "0";
    if (index == 2) return "-1";
    if (index >= 3 && index == std::floor(index)) {
        // The receiving element's number ends the item text.
        std::string text = g.comboText(Card31::JK, row);
        if (text.size() > 5) text = text.substr(text.size() - 5);
        return std::string(trimmed(text));
    }
    return {};
}

class DeckWriter {
public:
    DeckWriter(UiServices& ui, EditorHost& host) : ui_(ui), host_(host), deck_(host.deck()) {}

    std::string write() {
        put(layout::Header1);
        put(layout::Header2);
        put(std::string(layout::Watershed) + "   " + (deck_.iopt() == 1 ? "1" : "0"));
        if (deck_.iopt() == 1)
            writeIopt1();
        else
            writeIopt0();
        writeCard31();
        writeCard4();
        put(layout::EndProgram);
        return std::move(out_);
    }

private:
    void put(const std::string& line) {
        out_ += line;
        out_ += "\r\n";
    }
    /// A record's line; a field too long for its columns names the card,
    /// the grid row (0 for a card of fields) and the columns.
    std::string line(const layout::Record& record, const std::vector<std::string_view>& values, const char* card,
                     int row = 0, const std::string& what = {}) const {
        try {
            return layout::writeRecord(record, values);
        } catch (const layout::FieldTooLong& e) {
            std::string where = std::string("Card ") + card;
            if (row > 0) where += ", row " + std::to_string(row);
            if (!what.empty()) where += " (" + what + ")";
            throw DoesNotFit{where + ", " + columnsText(e.start, e.width) + ": \"" + e.text + "\" is longer than its " +
                             std::to_string(e.width) + " columns."};
        }
    }
    void put(const layout::Record& record, const std::vector<std::string_view>& values, const char* card, int row = 0) {
        put(line(record, values, card, row));
    }
    const std::string& f(Field field) const { return deck_.text(field); }
    std::string title(Field field) const { return f(field).substr(0, layout::TitleWidth); }
    std::vector<std::string_view> rowValues(const Grid& g, int row, int from, int to) const {
        std::vector<std::string_view> v;
        v.reserve(static_cast<std::size_t>(to - from + 1));
        for (int c = from; c <= to; ++c) v.push_back(g.text(c, row));
        return v;
    }
    [[noreturn]] void refuse(const std::string& text) {
        ui_.message("File Save was Unsuccessful", kSaveTitle, Icon::Exclamation);
        ui_.message(text, kSaveTitle);
        throw Refused{};
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
    void writeList(const Grid& g, Field count, const char* card);
    void writeCard31();
    void writeTabular(const std::string& element, long long ndp);
    void writeCard4();

    UiServices& ui_;
    EditorHost& host_;
    Deck& deck_;
    std::string out_;
    std::optional<std::vector<Element>> elements_;
    std::optional<std::unordered_map<double, std::vector<int>>> elementRows_;
};

void DeckWriter::writeIopt0() {
    progress(1001);
    put(title(Field::txtTitle));
    put(title(Field::txtTitle2));
    if (f(Field::txtNstep).empty() || f(Field::txtDelt).empty() || f(Field::txtNrgag).empty())
        refuse("Check for input on card 1.2 to 1.3");
    put(layout::Card12,
        {f(Field::txtNstep), f(Field::txtNhr), f(Field::txtNmn), f(Field::txtDelt), f(Field::txtNrgag),
         f(Field::txtPctzer), f(Field::chkIpkchk)},
        "1.2");
    if (f(Field::txtNhisto).empty() || f(Field::txtThisto).empty()) refuse("Check for input on card 1.2 to 1.3");
    put(layout::Card13, {f(Field::txtNhisto), f(Field::txtThisto)}, "1.3");

    progress(2001);
    writeCard14();
    progress(3001);
    writeCard15();

    if (deck_.checked(Field::chkSave))
        writeSaveList();
    else
        put("    0");

    put(layout::Count2x5, {f(Field::txtNprnt), f(Field::txtInterv)}, "1.9");
    progress(4001);
    if (readNumber(f(Field::txtNprnt)) != 0) {
        checkLimit(Field::txtNprnt, "1.9", kMaxListed);
        if (CheckGridEmptyCells(ui_, host_.flags(), deck_.fpCard110(), 16, "1.10")) throw Refused{};
    }
    writeList(deck_.fpCard110(), Field::txtNprnt, "1.10");
}

void DeckWriter::writeCard14() {
    // The reader takes NRGAG hyetographs of NHISTO values, each from a new
    // line: exactly those lines are written, and values the counts do not
    // cover would be read as other cards or not at all.
    const Grid& c14 = deck_.fpCard14();
    const long long nrgag = readInteger(f(Field::txtNrgag));
    const long long nhisto = readInteger(f(Field::txtNhisto));
    long long rows = 0, perHyetograph = 1;
    if (nrgag >= 1) {
        checkLimit(Field::txtNrgag, "1.2", kMaxHyetographs);
        checkLimit(Field::txtNhisto, "1.3", kMaxDataPoints);
        perHyetograph = std::max(1LL, (nhisto + 9) / 10);
        rows = nrgag * perHyetograph;
    }
    const int last = c14.lastDataRow();
    if (last - 1 > rows)
        refuse("Check card 1.4: rows " + std::to_string(rows + 2) + " to " + std::to_string(last) +
               " hold rainfall values that the Number of Hyetographs (" + std::string(trimmed(f(Field::txtNrgag))) +
               ") and of data points (" + std::string(trimmed(f(Field::txtNhisto))) +
               ") do not cover. Raise the counts or delete those values.");
    const int valuesInLastRow = nhisto > 0 ? static_cast<int>(nhisto - (perHyetograph - 1) * 10) : 0;
    for (long long i = 0; i < rows; ++i) {
        const int row = 2 + static_cast<int>(i);
        if (i % perHyetograph == perHyetograph - 1 && rowHoldsData(c14, row, valuesInLastRow + 1, 10))
            refuse("Check card 1.4 row " + std::to_string(row) + ": hyetograph " +
                   std::to_string(i / perHyetograph + 1) + " holds more than its " +
                   std::string(trimmed(f(Field::txtNhisto))) + " data points there.");
        put(layout::Card14, rowValues(c14, row, 1, 10), "1.4", row);
    }
}

void DeckWriter::writeCard15() {
    const Grid& c15 = deck_.fpCard15();
    for (int row = 2; row <= c15.lastDataRow(); ++row) {
        std::vector<std::string_view> values = rowValues(c15, row, 1, 14);
        std::string text = line(layout::Card15, values, "1.5", row);
        if (!readsAsZero(text)) {
            put(text);
            continue;
        }
        // A line that reads as 0 ends the card for the reader. Numbers 0 in
        // the first three columns read back as empty cells anyway, so they
        // may be written blank; a change card (subcatchment -1 behind a
        // hyetograph number 0) then reads as it should.
        if (!rowHoldsData(c15, row, 1, 14)) continue;
        for (std::size_t i = 0; i < 3; ++i)
            if (!values[i].empty() && readsAsZero(values[i])) values[i] = {};
        text = line(layout::Card15, values, "1.5", row);
        if (readsAsZero(text))
            refuse("Check card 1.5 row " + std::to_string(row) +
                   ": its line would read as the end of card 1.5 and every subcatchment after it would be lost.");
        put(text);
    }
    put("");
}

void DeckWriter::writeSaveList() {
    const Grid& c15 = deck_.fpCard15();
    std::vector<std::string> numbers;
    for (int row = 2; row <= c15.lastDataRow(); ++row)
        if (c15.number(2, row) > 0) numbers.push_back(c15.value(2, row));
    put(layout::Count5, {std::to_string(numbers.size())}, "1.7");
    std::string text;
    for (const auto& n : numbers) {
        try {
            layout::appendField(text, n, {5, layout::Rule::Text});
        } catch (const layout::FieldTooLong& e) {
            throw DoesNotFit{"Card 1.8: subcatchment \"" + e.text + "\" is longer than its 5 columns."};
        }
        if (text.size() > 79) {
            put(text);
            text.clear();
        }
    }
    if (!text.empty()) put(text);
}

void DeckWriter::writeList(const Grid& g, Field count, const char* card) {
    // The reader takes as many lines as the count asks for, filled or not:
    // exactly those are written, and a row beyond them would be read as the
    // next card.
    const double n = readNumber(f(count));
    const int needed = n > 0 ? static_cast<int>(std::min(std::ceil(n / 16), 1e6)) : 0;
    const int last = g.lastDataRow();
    if (last - 1 > needed)
        refuse("Check card " + std::string(card) + ": " + fieldInfo(count).label + " is " +
               std::string(trimmed(f(count))) + ", which takes " + std::to_string(needed) + " row(s), but row " +
               std::to_string(needed + 2) + (last > needed + 2 ? " to " + std::to_string(last) : std::string()) +
               " hold numbers too. Raise the count or delete those numbers.");
    for (int i = 0; i < needed; ++i) put(layout::List16, rowValues(g, 2 + i, 1, 16), card, 2 + i);
}

void DeckWriter::writeIopt1() {
    progress(2001);
    put(title(Field::txtTitle3));
    put(title(Field::txtTitle4));
    if (f(Field::txtNstep2).empty() || f(Field::txtDelt2).empty()) refuse("Check for input on card 2.2 to 2.3");
    put(layout::Card22,
        {f(Field::txtNstep2), f(Field::txtNhr2), f(Field::txtNmn2), f(Field::txtDelt2), f(Field::chkIpkchk2)}, "2.2");

    progress(4001);
    const Grid& c23 = deck_.fpCard23();
    for (int row = 2; row <= c23.lastDataRow(); ++row) {
        if (c23.isEmpty(1, row)) {
            ui_.message("File Save was Unsuccessful", kSaveTitle);
            ui_.message("Check card 2.3 for errors", kSaveTitle);
            throw Refused{};
        }
        const std::string element = c23.value(2, row);
        if (!elementExists(readNumber(element))) {
            ui_.message("Tributary sub-catchment element# " + element + " is not connected " +
                            "to the flow element.  Each tributary sub-catchment element must have " +
                            "a down stream conveyance element to connect to.",
                        "Fatal Error", Icon::Critical);
            ui_.message("Save Canceled!", kSaveTitle);
            host_.showPage(Page::Card23);
            throw Refused{};
        }
        if (element.empty()) {
            ui_.message("File Save was Unsuccessful", kSaveTitle);
            ui_.message("Check on card 2.3 for errors", kSaveTitle);
            throw Refused{};
        }
        // A line that reads as 0 would end the card for the reader.
        const std::string text = line(layout::Card23, {c23.text(1, row), element}, "2.3", row);
        if (readsAsZero(text))
            refuse("Check card 2.3 row " + std::to_string(row) + ": sub-catchment " + c23.value(1, row) +
                   " would read as the end of card 2.3 and every sub-catchment after it would be lost.");
        put(text);
    }
    put("");
}

std::string DeckWriter::card31Line(int row, bool blankJk) const {
    const Grid& g = deck_.fpCard31();
    const std::string jk = blankJk ? std::string() : jkCode(g, row);
    std::vector<std::string_view> v{jk, g.text(Card31::Element, row), g.text(Card31::Downstream, row),
                                    g.text(Card31::NDP, row), g.text(Card31::Type, row)};
    for (int c = Card31::FirstDimension; c <= Card31::LastDimension; ++c) v.push_back(g.text(c, row));
    return line(layout::Card31, v, "3.1", row, "element " + g.value(Card31::Element, row));
}

const std::vector<DeckWriter::Element>& DeckWriter::elements() {
    if (elements_) return *elements_;
    elements_.emplace();
    const Grid& g = deck_.fpCard31();
    const int last = g.lastDataRow();
    for (int row = 2; row <= last; ++row) {
        // Overflow rows that no element claims are left to the writing, which refuses them.
        if (deck_.isOverflowRow(row) || !rowHoldsData(g, row, Card31::NDP, Card31::LastDimension)) continue;
        const bool overflow = hasOverflow(g.number(Card31::Type, row)) && deck_.isOverflowRow(row + 1);
        elements_->push_back({row, overflow ? row + 1 : 0});
        if (overflow) ++row;
    }
    return *elements_;
}

std::unordered_map<double, std::vector<int>>& DeckWriter::elementRows() {
    if (!elementRows_) {
        elementRows_.emplace();
        const Grid& g = deck_.fpCard31();
        for (const Element& e : elements())
            if (!g.isEmpty(Card31::Element, e.row)) (*elementRows_)[g.number(Card31::Element, e.row)].push_back(e.row);
    }
    return *elementRows_;
}

bool DeckWriter::elementExists(double number) { return elementRows().count(number) != 0; }

void DeckWriter::writeCard31() {
    progress(5001);
    const Grid& g = deck_.fpCard31();
    const int last = g.lastDataRow();
    const auto otherRowWithSameNumber = [&](int row) {
        // A negative number marks a change card, not an element: there may be many.
        if (g.isEmpty(Card31::Element, row) || g.number(Card31::Element, row) < 0) return 0;
        for (int r : elementRows()[g.number(Card31::Element, row)])
            if (r != row) return r;
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
        if (hasOverflow(g.number(Card31::Type, row)) && !e.overflow)
            refuse("Check card 3.1 row " + std::to_string(row) + ": element " + element + " is of type " +
                   g.value(Card31::Type, row) + " but has no overflow row below it.");

        if (const int other = otherRowWithSameNumber(row)) {
            ui_.message("File Save was Unsuccessful", kSaveTitle);
            ui_.message("Check on card 3.1 for duplicate IDs. ID #" + element + " is shared by rows " +
                            std::to_string(std::min(row, other)) + " and " + std::to_string(std::max(row, other)),
                        kSaveTitle);
            throw Refused{};
        }
        if (!elementExists(g.number(Card31::Downstream, row))) {
            const bool goOn = ui_.ask("This conveyance element " + element + " is not connected to a " +
                                          " down stream element.  If this is okay then press \"Yes\" to finish " +
                                          "saving, or press no to change the data.",
                                      "Warning");
            if (!goOn) {
                host_.showPage(Page::Card31);
                throw Refused{};
            }
        }

        put(text);
        if (e.overflow)
            put(layout::Overflow, rowValues(g, e.overflow, Card31::FirstDimension, Card31::LastDimension), "3.1",
                e.overflow);
        if (ndp > 0) writeTabular(element, ndp);
    }
    put("");
}

void DeckWriter::writeTabular(const std::string& element, long long ndp) {
    const Grid& index = deck_.fpSubCard31a();
    const Grid& store = deck_.fpCard31a();
    const long long rows = (ndp + 3) / 4;
    int at = 0;
    if (!element.empty()) {
        for (int r = 1; r <= index.rowCount() && !at; ++r)
            if (!index.isEmpty(1, r) && index.number(1, r) == readNumber(element)) at = r;
    }
    // A block smaller than NDP needs would borrow another element's pairs.
    if (!at || index.number(3, at) < static_cast<double>(rows)) {
        ui_.message("There is no tabular data for conveyance element " + element +
                        ". There must be tabular data for ALL special elements.",
                    kSaveTitle, Icon::Exclamation);
        host_.showPage(Page::Card31);
        throw Refused{};
    }
    const int first = static_cast<int>(readInteger(index.value(2, at)));
    const int lastValues = ndp % 4 == 0 ? 8 : static_cast<int>(2 * (ndp % 4));
    for (long long i = 0; i < rows; ++i) {
        const int width = i + 1 == rows ? lastValues : 8;
        const int row = first + static_cast<int>(i);
        put(line(layout::Card31A, rowValues(store, row, 1, width), "3.1A", row, "element " + element));
    }
}

void DeckWriter::writeCard4() {
    put(layout::Count5, {f(Field::txtNsave2)}, "4.1");
    if (readNumber(f(Field::txtNsave2)) != 0) {
        checkLimit(Field::txtNsave2, "4.1", kMaxListed);
        if (CheckGridEmptyCells(ui_, host_.flags(), deck_.fpCard42(), 16, "4.2")) throw Refused{};
    }
    writeList(deck_.fpCard42(), Field::txtNsave2, "4.2");
    put(layout::Count2x5, {f(Field::txtNprnt2), f(Field::txtInterv2)}, "4.3");
    if (readNumber(f(Field::txtNprnt2)) != 0) {
        checkLimit(Field::txtNprnt2, "4.3", kMaxListed);
        if (CheckGridEmptyCells(ui_, host_.flags(), deck_.fpCard44(), 16, "4.4")) throw Refused{};
    }
    writeList(deck_.fpCard44(), Field::txtNprnt2, "4.4");
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

void writeFileAtomically(const std::string& path, const std::string& contents) {
    const fs::path target = followLinks(filePath(path));
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
        // The new file keeps the permissions the old one had.
        const auto perms = fs::status(target, ec).permissions();
        if (!ec) fs::permissions(temp, perms, ec);
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

SaveResult SaveDeck(UiServices& ui, EditorHost& host, const SaveOptions& options) {
    ui.setProgressMaximum(10000);
    ui.setProgressVisible(true);
    const auto finish = [&ui] {
        ui.setProgressValue(0);
        ui.setProgressVisible(false);
        ui.setPointer(Pointer::Normal);
    };
    // A save that ends without writing the deck leaves its edits unsaved:
    // closing the editor must still offer to save them.
    const auto notWritten = [&] {
        host.flags().askSaveOnClose = true;
        finish();
    };
    const auto failed = [&](const std::string& text) {
        ui.message(text, {}, Icon::Exclamation);
        notWritten();
        return SaveResult::Failed;
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
            finish();
            return SaveResult::Cancelled;
        }
        ui.dialogFileName() = path;
        ui.saveSetting("Rillo 2000", "CommonDialog", "DirectorySave", folderOf(path));
    }

    ui.setPointer(Pointer::Hourglass);
    host.flags().askSaveOnClose = false;
    if (!options.checkOnly && !isWritableFile(path))
        return failed(path + " is marked as system or readonly and cannot be written to.");

    std::string text;
    try {
        text = DeckWriter(ui, host).write();
    } catch (const Refused&) {
        notWritten();
        return SaveResult::Refused;
    } catch (const DoesNotFit& e) {
        return failed("Was unable to save to file.\n" + e.detail);
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
    }

    ui.message("Save Complete!", kSaveTitle);
    if (options.askFinished) {
        if (ui.ask("Finished with this File?", kSaveTitle)) {
            host.flags().returnToCover = true;
            host.unloadEditor();
        } else {
            host.flags().askSaveOnClose = true;
        }
    }
    finish();
    return SaveResult::Saved;
}

}  // namespace rillo
