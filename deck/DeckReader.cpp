#include "DeckReader.h"

#include "AddGridRow.h"
#include "DeckLayout.h"
#include "ElementKind.h"
#include "FilePath.h"
#include "NumberText.h"
#include "TextCodec.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace rillo {

namespace {

constexpr const char* kReadError = "Error reading the file. Please check the file for data validity.";
constexpr const char* kHeaderError = "Error on File, Check file for correct format";
constexpr const char* kLimitWarning =
    "Limit the combined total of Detention, Diversion and Hydrograph Inflow Elements to ";

/// A read error on its way out of the card being read.
struct Refusal {
    ReadError error;
};

/// The file's text as lines. LF, CR LF, a lone CR and CR CR LF each end a
/// line; a UTF-8 byte-order mark is skipped; a file that is not UTF-8 is
/// Windows-1252. The lines view the bytes, which must outlive them.
class Lines {
public:
    explicit Lines(std::string_view bytes) {
        if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        // UTF-8 is read where it lies; only another encoding needs a copy.
        std::string_view t = bytes;
        if (!isUtf8(bytes)) {
            text_ = fromWindows1252(bytes);
            t = text_;
            encoding_ = TextEncoding::Windows1252;
        }
        // Deck lines are rarely shorter than 16 characters.
        lines_.reserve(t.size() / 16 + 1);
        std::size_t start = 0;
        // Whether a word holds a byte of value b (the usual zero-byte test on w ^ b).
        const auto holds = [](std::uint64_t w, std::uint64_t b) {
            const std::uint64_t x = w ^ (b * 0x0101010101010101ULL);
            return ((x - 0x0101010101010101ULL) & ~x & 0x8080808080808080ULL) != 0;
        };
        for (std::size_t i = 0; i < t.size();) {
            if (i + 8 <= t.size()) {
                std::uint64_t word;
                std::memcpy(&word, t.data() + i, sizeof word);
                if (!holds(word, '\n') && !holds(word, '\r')) {
                    i += 8;
                    continue;
                }
            }
            const char c = t[i];
            if (c != '\n' && c != '\r') {
                ++i;
                continue;
            }
            lines_.push_back(t.substr(start, i - start));
            if (c == '\r' && i + 1 < t.size() && t[i + 1] == '\n')
                i += 2;
            else if (c == '\r' && i + 2 < t.size() && t[i + 1] == '\r' && t[i + 2] == '\n')
                i += 3;
            else
                ++i;
            start = i;
        }
        if (start < t.size()) lines_.push_back(t.substr(start));
    }

    TextEncoding encoding() const { return encoding_; }
    std::size_t size() const { return lines_.size(); }
    std::string_view operator[](std::size_t i) const { return lines_[i]; }

private:
    std::string text_;
    std::vector<std::string_view> lines_;
    TextEncoding encoding_ = TextEncoding::Utf8;
};

/// Whether the bytes are UTF-16 (with its byte-order mark, or ASCII text
/// with a zero byte beside every character).
bool isUtf16(std::string_view b) {
    if (b.size() >= 2 && ((b[0] == '\xFF' && b[1] == '\xFE') || (b[0] == '\xFE' && b[1] == '\xFF'))) return true;
    if (b.size() < 8) return false;
    int zerosOdd = 0, zerosEven = 0;
    for (std::size_t i = 0; i < 8; ++i) (i % 2 ? zerosOdd : zerosEven) += b[i] == '\0';
    return (zerosOdd == 4 && zerosEven == 0) || (zerosEven == 4 && zerosOdd == 0);
}

bool allBlank(std::string_view s) {
    // Eight columns at a time: most of what is looked at is blank.
    constexpr std::uint64_t blanks = 0x2020202020202020ULL;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, sizeof word);
        if (word != blanks) return false;
    }
    for (; i < s.size(); ++i)
        if (s[i] != ' ') return false;
    return true;
}

/// What the text of a number field holds.
enum class Spelling { Blank, Plain, Other };

/// Whole lines needed for `count` values at `perLine` a line.
long long linesFor(double count, int perLine) {
    if (!(count > 0)) return 0;
    const double lines = std::ceil(count / perLine);
    return lines > 1e9 ? 1000000000LL : static_cast<long long>(lines);
}

class Reader {
public:
    Reader(const Lines& lines, Deck& deck, DeckRead& result, const ReadProgress& progress)
        : lines_(lines), deck_(deck), result_(result), progress_(progress) {}

    void read() {
        result_.lineCards.reserve(lines_.size());
        readCards();
    }

private:
    // ---- lines
    /// The next line, for `card`; the file ending here refuses it.
    std::string_view line(const char* card) {
        card_ = card;
        if (next_ >= lines_.size())
            refuse(static_cast<long long>(next_) + 1, 0, 0, "the file ends where this line should be.");
        result_.lineCards.emplace_back(card);
        return lines_[next_++];
    }
    bool atEnd() const { return next_ >= lines_.size(); }
    long long lineNumber() const { return static_cast<long long>(next_); }
    [[noreturn]] void refuse(long long line, int first, int last, std::string what) {
        ReadError e;
        e.line = line;
        e.firstColumn = first;
        e.lastColumn = last;
        e.card = card_;
        e.what = std::move(what);
        throw Refusal{std::move(e)};
    }
    [[noreturn]] void refuseColumns(int start, int width, const std::string& what) {
        refuse(lineNumber(), start, start + width - 1, what);
    }
    void progress(int value) {
        if (progress_) progress_(std::min(value, 10000));
    }

    // ---- fields
    /// The texts of a record's value columns, each checked whole: blank
    /// columns hold blanks, numbers are numbers, and nothing stands after
    /// the last column. Titles are handled apart.
    const std::vector<std::string_view>& cut(const layout::Record& record, std::string_view l);
    /// A number field's text as the deck keeps it.
    std::string numberText(std::string_view text, const layout::Column& c, int start, bool* plainSpelling = nullptr);
    /// The same as a view of `text` where it keeps it as it stands (most
    /// fields), or of `storage` where it had to be rewritten.
    std::string_view numberView(std::string_view text, const layout::Column& c, int start, bool* plainSpelling,
                                std::string& storage);
    /// Every field of a record of deck fields into its field.
    void putFields(const layout::Record& record, std::string_view l);
    /// Every value of a grid record's line into the cells of `row`;
    /// `values` limits how many are taken (the rest must be blank).
    void putRow(const layout::Record& record, std::string_view l, Grid& g, GridId id, int row,
                std::size_t values = SIZE_MAX);
    void title(const layout::Record& record);
    /// A line of fixed text and numbers: each column must read as what it
    /// always holds.
    void fixedColumns(const layout::Record& record, std::string_view l);
    void append(Grid& g) {
        if (g.rowCount() >= MaxGridRows)
            refuse(lineNumber(), 0, 0, "more than " + std::to_string(MaxGridRows) + " rows for one card.");
        addGridRow(g, 0);
    }
    /// Whether a line ends a card of records: every value of it blank or 0.
    bool endsCard(const layout::Record& record, std::string_view l) const;

    // ---- cards
    void readCards();
    void readIopt1();
    void readIopt0();
    void readCard14();
    void readCard15();
    void readSaveList(double count);
    void readList(const layout::Record& record, GridId id, double count);
    void readCard31();
    void readTabular(const std::string& element, long long ndp);
    void readTrailer();

    const Lines& lines_;
    Deck& deck_;
    DeckRead& result_;
    const ReadProgress& progress_;
    std::size_t next_ = 0;
    const char* card_ = "header";  // the card of the line being read (a name the layout holds)
    int specialElements_ = 0;
    std::vector<std::string> savedSubbasins_;
    std::vector<std::string_view> cutTexts_;
    std::string numberStorage_;
    long long saveListLine_ = 0;
};

const std::vector<std::string_view>& Reader::cut(const layout::Record& record, std::string_view l) {
    // Positions are characters: a character outside ASCII has no place in a
    // number field, so the first one ends the look at the line.
    for (std::size_t i = 0; i < l.size(); ++i) {
        if (i % 8 == 0 && i + 8 <= l.size()) {
            // Eight printable ASCII characters at once (a control character
            // or one outside ASCII sets a high bit here; the word is then
            // looked at character by character).
            std::uint64_t word;
            std::memcpy(&word, l.data() + i, sizeof word);
            if ((((word - 0x2020202020202020ULL) | word) & 0x8080808080808080ULL) == 0) {
                i += 7;
                continue;
            }
        }
        const auto b = static_cast<unsigned char>(l[i]);
        if (b >= 0x20 && b < 0x80) continue;
        const int column = static_cast<int>(characterCount(l.substr(0, i))) + 1;
        if (b == '\t')
            refuse(lineNumber(), column, column,
                   "a tab character. Tabs do not say how many columns they stand for; replace them by blanks.");
        if (b >= 0x80 || b < 0x20)
            refuse(lineNumber(), column, column, "a character that has no place in this card's numbers.");
    }
    // One buffer for every line: the texts of a line are used before the next is cut.
    std::vector<std::string_view>& out = cutTexts_;
    out.clear();
    int start = 1;
    for (const auto& c : record.columns) {
        const std::string_view text = layout::cut(l, start, c.width);
        switch (c.kind) {
        case layout::Kind::Blank:
            if (!allBlank(text))
                refuseColumns(start, c.width,
                              "\"" + std::string(trimmed(text)) + "\" stands where the card has no field.");
            break;
        case layout::Kind::Check:
            if (!(allBlank(text) || text == "0" || text == "1"))
                refuseColumns(start, c.width, "\"" + std::string(text) + "\" is no check box digit (0 or 1).");
            out.push_back(text);
            break;
        default:
            out.push_back(text);
            break;
        }
        start += c.width;
    }
    if (static_cast<int>(l.size()) >= start && !allBlank(l.substr(static_cast<std::size_t>(start - 1)))) {
        const std::string_view rest = trimmed(l.substr(static_cast<std::size_t>(start - 1)));
        refuse(lineNumber(), start, static_cast<int>(l.size()),
               "\"" + std::string(rest.substr(0, 40)) + "\" stands after the card's last field.");
    }
    return out;
}

std::string Reader::numberText(std::string_view text, const layout::Column& c, int start, bool* plainSpelling) {
    std::string storage;
    const std::string_view v = numberView(text, c, start, plainSpelling, storage);
    return v.data() == storage.data() ? std::move(storage) : std::string(v);
}

std::string_view Reader::numberView(std::string_view text, const layout::Column& c, int start, bool* plainSpelling,
                                    std::string& storage) {
    const std::string_view t = trimmed(text);
    if (plainSpelling) *plainSpelling = true;
    if (t.empty()) return c.trim ? std::string_view() : text;
    {
        // Most fields: digits with at most one point, perhaps a sign in front.
        std::size_t i = t[0] == '+' || t[0] == '-' ? 1 : 0, digits = 0, point = std::string_view::npos;
        const std::size_t from = i;
        for (; i < t.size(); ++i) {
            if (t[i] >= '0' && t[i] <= '9') continue;
            if (t[i] != '.' || point != std::string_view::npos) break;
            point = i;
        }
        digits = i - from - (point != std::string_view::npos ? 1 : 0);
        if (i == t.size() && digits > 0) {
            if (plainSpelling) *plainSpelling = t[0] != '+' && t[0] != '-';
            if (c.kind == layout::Kind::Whole && point != std::string_view::npos &&
                t.find_first_not_of('0', point + 1) != std::string_view::npos)
                refuseColumns(start, c.width, "\"" + std::string(t) + "\" is not a whole number.");
            if (c.kind == layout::Kind::Implied && point == std::string_view::npos)
                return storage = withImpliedPoint(std::string(t));
            return c.trim ? t : text;
        }
    }
    if (plainSpelling) *plainSpelling = false;
    const auto n = readFortranNumber(t);
    if (!n) {
        const bool innerBlank = t.find(' ') != std::string_view::npos;
        refuseColumns(start, c.width,
                      "\"" + std::string(t) + "\" " +
                          (innerBlank ? "has blanks inside a number." : "is not a number."));
    }
    LenientNumber plain = n->plain();
    const bool point = t.find('.') != std::string_view::npos;
    if (c.kind == layout::Kind::Implied && !point) {
        // The point stands before the last digit of the digits written.
        LenientNumber m = *n;
        m.fraction = m.whole.substr(m.whole.size() - 1);
        m.whole.pop_back();
        plain = m.plain();
    }
    if (c.kind == layout::Kind::Whole && plain.fraction.find_first_not_of('0') != std::string::npos)
        refuseColumns(start, c.width, "\"" + std::string(t) + "\" is not a whole number.");

    // A plain spelling (digits, a sign, a point) is kept as it stands.
    bool isPlain = t.find_first_of("+-", 1) == std::string_view::npos;
    for (char ch : t) isPlain = isPlain && ((ch >= '0' && ch <= '9') || ch == '.' || ch == '-' || ch == '+');
    if (isPlain && c.kind == layout::Kind::Implied && !point) return storage = withImpliedPoint(std::string(t));
    if (isPlain) return c.trim ? t : text;

    // An exponent: the number as plain digits, in the field's columns.
    std::string digits;
    if (c.kind == layout::Kind::Whole) {
        plain.fraction.clear();
        digits = formatFixed(plain, 0);
    } else {
        const auto last = plain.fraction.find_last_not_of('0');
        digits = formatFixed(plain, last == std::string::npos ? 0 : static_cast<int>(last) + 1);
        if (digits.find('.') == std::string::npos) digits += '.';
    }
    if (c.kind == layout::Kind::Decimal) return storage = std::move(digits);  // the cell writes it by its rule
    if (static_cast<int>(digits.size()) > c.width && c.kind != layout::Kind::Implied)
        refuseColumns(start, c.width,
                      "\"" + std::string(t) + "\" cannot be held as a plain number in " + std::to_string(c.width) +
                          " columns.");
    if (c.trim) return storage = std::move(digits);
    return storage = std::string(static_cast<std::size_t>(std::max(0, c.width - static_cast<int>(digits.size()))), ' ') + digits;
}

void Reader::putFields(const layout::Record& record, std::string_view l) {
    const auto& texts = cut(record, l);
    std::size_t i = 0;
    for (const auto& place : layout::valueColumns(record)) {
        const layout::Column& c = place.column;
        const std::string_view text = texts[i++];
        if (c.target < 0) continue;
        const auto field = static_cast<Field>(c.target);
        if (c.kind == layout::Kind::Check)
            deck_.setChecked(field, text == "1");
        else
            deck_.setText(field, numberText(text, c, place.start));
    }
}

void Reader::putRow(const layout::Record& record, std::string_view l, Grid& g, GridId id, int row,
                    std::size_t values) {
    const auto& texts = cut(record, l);
    deck_.setSourceLine(id, row, lineNumber());
    std::size_t i = 0;
    for (const auto& place : layout::valueColumns(record)) {
        const layout::Column& c = place.column;
        const std::string_view text = texts[i++];
        if (c.kind == layout::Kind::Code || c.target < 0) continue;
        if (i > values) {
            if (!allBlank(text))
                refuseColumns(place.start, c.width,
                              "\"" + std::string(trimmed(text)) + "\" is more than the card's count asks for.");
            continue;
        }
        if (allBlank(text)) {
            // A blank field leaves an empty number cell empty: nothing to write.
            const int type = g.format(c.target, row).type;
            if ((type == CellFloat || type == CellInteger || type == CellCombo) && g.isEmpty(c.target, row)) continue;
        }
        bool plain = true;
        g.setValue(c.target, row, numberView(text, c, place.start, &plain, numberStorage_));
        // A value that could not be written back into the same columns (an
        // exponent too small or large for them) refuses the file. A plain
        // decimal read from its columns always fits them again.
        const std::string_view held = plain ? std::string_view() : g.text(c.target, row);
        if (c.kind == layout::Kind::Decimal && !held.empty() && !layout::fits(held, c))
            refuseColumns(place.start, c.width,
                          "\"" + std::string(trimmed(text)) + "\" cannot be held as a plain number in " +
                              std::to_string(c.width) + " columns.");
    }
}

void Reader::fixedColumns(const layout::Record& record, std::string_view l) {
    const auto& texts = cut(record, l);
    std::size_t i = 0;
    for (const auto& place : layout::valueColumns(record)) {
        const layout::Column& c = place.column;
        const std::string_view text = texts[i++];
        if (!c.fixed) continue;
        const std::string shownText = "\"" + std::string(trimmed(text)) + "\"";
        if (c.kind == layout::Kind::Label) {
            if (text != c.fixed)
                refuseColumns(place.start, c.width,
                              (trimmed(text).empty() ? std::string("nothing") : shownText) + " stands where a deck has \"" +
                                  c.fixed + "\".");
            continue;
        }
        if (trimmed(text).empty() || readNumber(numberText(text, c, place.start)) != readNumber(c.fixed))
            refuseColumns(place.start, c.width,
                          (trimmed(text).empty() ? std::string("nothing") : shownText) + " stands where a deck has " +
                              c.fixed + "; the save would write " + c.fixed + " there.");
    }
}

void Reader::title(const layout::Record& record) {
    const std::string_view l = line(record.card);
    const layout::Column& c = record.columns.front();
    const std::size_t bytes = bytesOfCharacters(l, static_cast<std::size_t>(c.width));
    if (!allBlank(l.substr(bytes)))
        refuse(lineNumber(), c.width + 1, static_cast<int>(characterCount(l)),
               "the title is longer than its " + std::to_string(c.width) + " characters.");
    deck_.setText(static_cast<Field>(c.target), std::string(l.substr(0, bytes)));
}

bool Reader::endsCard(const layout::Record& record, std::string_view l) const {
    // The empty line the writer puts after a card, or one of only zeros. A
    // line whose first number is 0 but that holds more (a change card) is
    // a record of the card.
    for (const auto& place : layout::valueColumns(record))
        if (!readsAsZero(layout::cut(l, place.start, place.column.width))) return false;
    const int end = record.end();
    return static_cast<int>(l.size()) < end || allBlank(l.substr(static_cast<std::size_t>(end - 1))) ||
           readsAsZero(l.substr(static_cast<std::size_t>(end - 1)));
}

void Reader::readCards() {
    card_ = "header";
    const std::string_view l1 = line("header");
    if (!isDeckHeader(l1)) {
        ReadError e;
        e.badHeader = true;
        e.line = 1;
        e.firstColumn = 1;
        e.lastColumn = layout::Header1.end() - 1;
        e.card = "header";
        const std::string shown(l1.substr(0, bytesOfCharacters(l1, 40)));
        const std::string expected = "a deck begins with four numbers in columns 1-" + std::to_string(e.lastColumn) + ".";
        e.what = l1.empty() ? "the first line is empty; " + expected : "the first line holds \"" + shown + "\"; " + expected;
        throw Refusal{std::move(e)};
    }
    fixedColumns(layout::Header1, l1);
    // Lines 1 to 3 carry nothing the editor keeps but the option: the save
    // writes them from the layout, so they must hold what it writes.
    fixedColumns(layout::Header2, line("header"));
    const std::string_view l3 = line("WATERSHED");
    fixedColumns(layout::Line3, l3);
    deck_.setIopt(ioptOf(l3));
    progress(1000);

    if (deck_.iopt() == 1)
        readIopt1();
    else
        readIopt0();

    readCard31();

    progress(7000);
    putFields(layout::Card41, line(layout::Card41.card));
    readList(layout::Card42, GridId::Card42, readNumber(deck_.text(Field::SavedElements)));
    putFields(layout::Card43, line(layout::Card43.card));
    readList(layout::Card44, GridId::Card44, readNumber(deck_.text(Field::PrintedElements)));
    readTrailer();
}

void Reader::readTrailer() {
    // After the last card: ENDPROGRAM, blank lines, trailing blanks, a
    // Ctrl-Z or NULs, as editors and old tools end files.
    card_ = "end";
    while (!atEnd()) {
        std::string_view l = lines_[next_];
        while (!l.empty() && (l.back() == ' ' || l.back() == '\0' || l.back() == '\x1A')) l.remove_suffix(1);
        while (!l.empty() && (l.front() == '\0' || l.front() == '\x1A')) l.remove_prefix(1);
        if (!l.empty() && l != layout::EndProgram)
            refuse(static_cast<long long>(next_) + 1, 0, 0,
                   "this line comes after the last card (4.4) and no card reads it: \"" +
                       std::string(l.substr(0, bytesOfCharacters(l, 40))) + "\".");
        result_.lineCards.emplace_back("end");
        ++next_;
    }
}

void Reader::readIopt1() {
    title(layout::Title3);
    title(layout::Title4);
    progress(1001);
    putFields(layout::Card22, line(layout::Card22.card));
    progress(2001);

    Grid& g = deck_.card23();
    int row = 2;
    while (!atEnd()) {
        const std::string_view l = line(layout::Card23.card);
        if (endsCard(layout::Card23, l)) {
            cut(layout::Card23, l);
            break;
        }
        putRow(layout::Card23, l, g, GridId::Card23, row);
        append(g);
        progress(3000 + row - 2);
        ++row;
    }
}

void Reader::readIopt0() {
    title(layout::Title1);
    title(layout::Title2);
    putFields(layout::Card12, line(layout::Card12.card));
    // The check box takes the digit in column 80 as its value: a short line has none.
    const auto check = layout::valueColumns(layout::Card12).back();
    if (layout::cut(lines_[next_ - 1], check.start, 1) != "0" && layout::cut(lines_[next_ - 1], check.start, 1) != "1")
        refuse(lineNumber(), check.start, check.start, "no 0 or 1 for the peak flow summary.");
    putFields(layout::Card13, line(layout::Card13.card));

    readCard14();
    readCard15();

    // Card 1.7: the count of saved subbasins; card 1.8 lists them.
    const std::string_view l17 = line(layout::Card17.card);
    const auto& count = cut(layout::Card17, l17);
    const std::string countText = numberText(count[0], layout::Card17.columns[0], 1);
    const double saved = readNumber(countText);
    if (saved > 0) {
        deck_.setChecked(Field::SaveHydrographs, true);
        readSaveList(saved);
    }

    progress(4000);
    putFields(layout::Card19, line(layout::Card19.card));
    readList(layout::Card110, GridId::Card110, readNumber(deck_.text(Field::PrintedSubbasins)));
}

void Reader::readCard14() {
    const long long nrgag = readInteger(deck_.text(Field::Hyetographs));
    const long long nhisto = readInteger(deck_.text(Field::HyetographPoints));
    if (nrgag < 1) return;
    Grid& g = deck_.card14();
    const long long perLine = RainfallColumns;
    int row = 2;
    for (long long h = 0; h < nrgag; ++h) {
        // Each hyetograph starts on a new line, and takes a line even without values.
        const long long lines = std::max<long long>(1, linesFor(static_cast<double>(nhisto), RainfallColumns));
        for (long long i = 0; i < lines; ++i) {
            const long long left = std::max<long long>(0, nhisto - i * perLine);
            putRow(layout::Card14, line(layout::Card14.card), g, GridId::Card14, row,
                   static_cast<std::size_t>(std::min(left, perLine)));
            append(g);
            ++row;
        }
    }
    progress(2000);
}

void Reader::readCard15() {
    Grid& g = deck_.card15();
    int row = 2;
    for (;;) {
        const std::string_view l = line(layout::Card15.card);
        if (endsCard(layout::Card15, l)) {
            cut(layout::Card15, l);
            break;
        }
        putRow(layout::Card15, l, g, GridId::Card15, row);
        for (int col = 1; col <= Card15::Columns; ++col)
            if (g.text(col, row) == "0") g.clearCell(col, row);
        append(g);
        progress(3000 + row - 2);
        ++row;
    }
}

void Reader::readSaveList(double count) {
    // The save regenerates card 1.8 from card 1.5: a list that is not every
    // subcatchment of card 1.5, in order, would change without a word.
    std::vector<std::string> listed;
    for (long long i = linesFor(count, ListColumns); i > 0; --i) {
        const std::string_view l = line(layout::Card18.card);
        if (!saveListLine_) saveListLine_ = lineNumber();
        std::size_t k = 0;
        const auto& texts = cut(layout::Card18, l);
        for (const auto& place : layout::valueColumns(layout::Card18)) {
            const std::string text = numberText(texts[k++], place.column, place.start);
            if (!trimmed(text).empty()) listed.push_back(wholeText(text));
        }
    }
    std::vector<std::string> expected;
    const Grid& g = deck_.card15();
    for (int row = 2; row <= g.lastDataRow(); ++row)
        if (g.number(Card15::Subcatchment, row) > 0) expected.push_back(wholeText(g.text(Card15::Subcatchment, row)));
    const auto countText = [](double n) {
        std::string s = fixedText(std::to_string(n), 0);
        return s;
    };
    if (listed != expected || static_cast<double>(expected.size()) != count) {
        card_ = "1.8";
        refuse(saveListLine_, 0, 0,
               "cards 1.7 and 1.8 save " + countText(count) +
                   " subbasin(s), but not every subcatchment of card 1.5 (" + std::to_string(expected.size()) +
                   " with a number above 0) in its order. The editor saves all of them, so saving would change the "
                   "list; correct the list in the file first.");
    }
}

void Reader::readList(const layout::Record& record, GridId id, double count) {
    Grid& g = deck_.grid(id);
    int row = 2;
    for (long long i = linesFor(count, ListColumns); i > 0; --i) {
        putRow(record, line(record.card), g, id, row);
        append(g);
        ++row;
    }
}

void Reader::readCard31() {
    Grid& g = deck_.card31();
    const auto places = layout::valueColumns(layout::Card31);
    const auto codePlace = *std::find_if(places.begin(), places.end(),
                                         [](const layout::PlacedColumn& p) { return p.column.kind == layout::Kind::Code; });
    int row = 2;
    progress(5000);
    while (!atEnd()) {
        const std::string_view l = line(layout::Card31.card);
        if (endsCard(layout::Card31, l)) {
            cut(layout::Card31, l);
            break;
        }
        progress(5000 + row - 2);
        // A row added after a diversion would offer its target too: each
        // element starts from the three base items.
        ElementKind().showInCell(g, row);
        putRow(layout::Card31, l, g, GridId::Card31, row);
        const long long ndp = readInteger(g.text(Card31::NDP, row));
        if (g.number(Card31::NDP, row) == 0) g.clearCell(Card31::NDP, row);
        bool anyValue = false;
        for (int c = Card31::NDP; c <= Card31::LastDimension && !anyValue; ++c) anyValue = !g.isEmpty(c, row);
        if (!anyValue)
            refuse(lineNumber(), 0, 0, "the line holds a special-element code but no element.");
        const std::string_view code = layout::cut(l, codePlace.start, codePlace.column.width);
        if (ndp == 0 && !trimmed(code).empty()) {
            // Without pairs the code means nothing, but it must still be a number.
            layout::Column whole = codePlace.column;
            whole.kind = layout::Kind::Whole;
            numberText(code, whole, codePlace.start);
        }
        if (ndp != 0) {
            const auto kind = ElementKind::fromCode(code);
            if (!kind)
                refuseColumns(codePlace.start, codePlace.column.width,
                              "\"" + std::string(trimmed(code)) +
                                  "\" is no special-element code (0, -1 or the number of an element).");
            // A blank code stays blank only on a change card; elsewhere it is 0, a detention basin.
            const bool changeCard = g.number(Card31::Element, row) < 0;
            (kind->kind() == ElementKind::Ordinary && !changeCard ? ElementKind::detention() : *kind).showInCell(g, row);
        }

        if (ElementKind::carriesOverflow(readInteger(g.text(Card31::Type, row)))) {
            append(g);
            const std::string_view over = line(layout::Overflow.card);
            const int blankTo = layout::valueColumns(layout::Overflow).front().start - 1;
            if (!allBlank(layout::cut(over, 1, blankTo)))
                refuse(lineNumber(), 1, blankTo,
                       "element " + g.value(Card31::Element, row) + " is of type " + g.value(Card31::Type, row) +
                           ", so this line should be its overflow channel with columns 1-" + std::to_string(blankTo) +
                           " blank, but it holds data there (is the overflow line missing?).");
            ElementKind::markOverflowRow(g, row + 1);
            putRow(layout::Overflow, over, g, GridId::Card31, row + 1);
        }
        if (ndp > 0) {
            CellFormat button = g.format(Card31::Tabular, row);
            button.type = CellButton;
            button.buttonText = "Tabular";
            button.locked = false;
            button.backColor = ColorWindow;
            g.setFormat(Card31::Tabular, row, button);
            if (++specialElements_ == MaxSpecialElements + 1)
                result_.notices.push_back(kLimitWarning + std::to_string(MaxSpecialElements));
            readTabular(g.value(Card31::Element, row), ndp);
        }
        append(g);
        row = g.rowCount() - 1;
    }
}

void Reader::readTabular(const std::string& element, long long ndp) {
    Grid& store = deck_.card31a();
    Grid& index = deck_.card31aIndex();
    const int first = store.lastDataRow() + 1;
    const int rows = ElementKind::pairRows(ndp);
    for (int i = 0; i < rows; ++i) {
        const int row = first + i;
        const std::size_t values =
            i + 1 == rows ? static_cast<std::size_t>(ElementKind::valuesInLastRow(ndp)) : std::size_t(PairColumns);
        putRow(layout::Card31A, line(layout::Card31A.card), store, GridId::Card31a, row, values);
        for (int col = 1; col <= PairColumns; ++col)
            if (store.isEmpty(col, row)) store.setValue(col, row, "0.000000");
        append(store);
    }
    // Beyond the usual hundred blocks the index grows, so no element loses its pairs.
    const int at = index.lastDataRow() + 1;
    if (at > index.rowCount()) index.setRowCount(at);
    index.setValue(PairIndex::Element, at, element);
    index.setValue(PairIndex::FirstRow, at, std::to_string(first));
    index.setValue(PairIndex::Rows, at, std::to_string(rows));
}

}  // namespace

std::string ReadError::describe() const {
    std::string s;
    if (line > 0) s = "Line " + std::to_string(line);
    if (!card.empty() && card != "end" && card != "header") s += (s.empty() ? "Card " : " (card ") + card + (s.empty() ? "" : ")");
    if (firstColumn > 0)
        s += (firstColumn == lastColumn ? ", column " + std::to_string(firstColumn)
                                        : ", columns " + std::to_string(firstColumn) + "-" + std::to_string(lastColumn));
    return s.empty() ? what : s + ": " + what;
}

std::vector<std::string> firstDeckLines(std::string_view bytes, std::size_t count) {
    const Lines lines(bytes);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < lines.size() && i < count; ++i) out.emplace_back(lines[i]);
    return out;
}

bool isDeckHeader(std::string_view line) {
    for (const auto& place : layout::valueColumns(layout::Header1))
        if (!isNumeric(trimmed(layout::cut(line, place.start, place.column.width)))) return false;
    return true;
}

int ioptOf(std::string_view line3) {
    const auto& code = layout::valueColumns(layout::Line3).back();
    const std::string_view digit = layout::cut(line3, code.start, code.column.width);
    return digit == "1" ? 1 : digit == "0" ? 0 : -1;
}

DeckRead readDeckInto(std::string_view bytes, Deck& deck, const ReadProgress& progress) {
    DeckRead result;
    if (isUtf16(bytes)) {
        ReadError e;
        e.badHeader = true;
        e.line = 1;
        e.card = "header";
        e.what = "the file is in UTF-16 (what Notepad calls \"Unicode\"). Save it as ANSI or UTF-8 text and open it "
                 "again.";
        result.error = std::move(e);
        return result;
    }
    const Lines lines(bytes);
    deck.setEncoding(lines.encoding());
    deck.watchGrids(false);
    try {
        Reader(lines, deck, result, progress).read();
    } catch (Refusal& r) {
        result.error = std::move(r.error);
    }
    deck.watchGrids(true);
    // What was read is what the file holds: nothing to save yet.
    if (!result.error) deck.markSaved();
    return result;
}

DeckRead readDeck(std::string_view bytes, const ReadProgress& progress) {
    auto deck = std::make_unique<Deck>();
    DeckRead result = readDeckInto(bytes, *deck, progress);
    if (!result.error) result.deck = std::move(deck);
    return result;
}

std::string readDeckFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path file = filePath(path);
    const auto status = fs::status(file, ec);
    if (ec || !fs::exists(status)) throw RuntimeError("The file " + path + " does not exist.");
    if (!fs::is_regular_file(status)) throw RuntimeError(path + " is not a regular file.");
    const auto size = fs::file_size(file, ec);
    if (!ec && size > MaxDeckBytes)
        throw RuntimeError(path + " is larger than " + std::to_string(MaxDeckBytes >> 20) + " MB; no deck is so large.");
    std::ifstream in(file, std::ios::binary);
    if (!in) throw RuntimeError("Cannot open the file " + path + " for reading.");
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(ec ? 0 : size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    // A file that grew while it was read: the rest too, within the limit.
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > MaxDeckBytes) throw RuntimeError(path + " is too large to be a deck.");
    }
    if (in.bad()) throw RuntimeError("Cannot read the file " + path + ".");
    return bytes;
}

std::string withImpliedPoint(const std::string& text) {
    if (text.find('.') != std::string::npos) return text;
    const std::string t(trimmed(text));
    if (t.empty()) return {};
    return t.substr(0, t.size() - 1) + "." + t.back();
}

OpenResult openDeck(UiServices& ui, EditorHost& host, const std::string& givenPath) {
    ui.setProgressMaximum(10000);
    ui.setProgressVisible(true);
    const auto finish = [&ui] {
        ui.setPointer(Pointer::Normal);
        ui.setProgressValue(0);
        ui.setProgressVisible(false);
    };

    std::string path = givenPath;
    if (path.empty()) {
        FileDialogRequest request;
        request.title = "Open Files";
        request.filter = "Rillo 2000 Files (*.sin)|*.sin|All Files (*.*)|*.*";
        request.flags = FileMustExist | PathMustExist | HideReadOnly;
        request.initialDir = ui.setting("Rillo 2000", "CommonDialog", "Directory", defaultFolder());
        request.fileName = ui.dialogFileName();
        try {
            path = ui.openFileName(request);
        } catch (const CancelError&) {
            finish();
            return OpenResult::Cancelled;
        }
        ui.dialogFileName() = path;
        ui.saveSetting("Rillo 2000", "CommonDialog", "Directory", folderOf(path));
    }

    ui.setPointer(Pointer::Hourglass);
    // Every open starts from a fresh deck, and a failed one leaves nothing
    // behind for the next open (or a save) to find.
    host.discardDeck();
    std::string bytes;
    try {
        bytes = readDeckFile(path);
    } catch (const RuntimeError& e) {
        ui.message(kReadError + ("\n" + e.description()));
        finish();
        return OpenResult::ReadError;
    }
    const DeckRead read = readDeckInto(bytes, host.deck(), [&ui](int value) { ui.setProgressValue(value); });
    if (read.error) {
        host.discardDeck();
        if (read.error->badHeader)
            ui.message(kHeaderError + ("\n" + read.error->describe()), "Error", Icon::Exclamation);
        else
            ui.message(kReadError + ("\n" + read.error->describe()));
        finish();
        return read.error->badHeader ? OpenResult::BadHeader : OpenResult::ReadError;
    }
    for (const auto& notice : read.notices)
        ui.message(notice, "Caution System Resources Exceeded", Icon::Exclamation);
    host.setEditorCaption(path);
    ui.setPointer(Pointer::Normal);
    host.showEditor();
    ui.setProgressValue(0);
    ui.setProgressVisible(false);
    return OpenResult::Opened;
}

}  // namespace rillo
