#include "DeckReader.h"

#include "AddGridRow.h"
#include "DeckLayout.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

namespace rillo {

namespace {

constexpr const char* kReadError = "Error reading the file. Please check the file for data validity.";
constexpr const char* kHeaderError = "Error on File, Check file for correct format";
constexpr const char* kLimitWarning =
    "Limit the combined total of Detention, Diversion and Hydrograph Inflow Elements to ";

/// The file ended where a line was needed, or a value did not fit; the
/// detail names the line (empty when no line is to blame).
struct ReadFailure {
    std::string detail;
};
/// Line 1 is not a deck header.
struct BadHeader {};

/// Lines of a text file, CR LF or LF, each cut to a bounded length.
class LineSource {
public:
    explicit LineSource(const std::string& path) : in_(path, std::ios::binary), buffer_(1 << 16) {}
    bool isOpen() const { return in_.is_open(); }

    /// Lines handed out so far (the number of the last one).
    long long lineNumber() const { return lines_; }

    bool next(std::string& line) {
        line.clear();
        bool any = false;
        for (;;) {
            if (pos_ == end_ && !fill()) break;
            any = true;
            const char* start = buffer_.data() + pos_;
            const char* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - pos_));
            const std::size_t n = newline ? static_cast<std::size_t>(newline - start) : end_ - pos_;
            if (line.size() < MaxLineLength) line.append(start, std::min(n, MaxLineLength - line.size()));
            pos_ += n;
            if (newline) {
                ++pos_;
                break;
            }
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (any) ++lines_;
        return any;
    }

private:
    bool fill() {
        in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        pos_ = 0;
        end_ = static_cast<std::size_t>(in_.gcount());
        return end_ > 0;
    }

    std::ifstream in_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0, end_ = 0;
    long long lines_ = 0;
};

/// Whole lines needed for `count` values at `perLine` a line.
long long linesFor(double count, int perLine) {
    if (!(count > 0)) return 0;
    const double lines = std::ceil(count / perLine);
    return lines > 1e9 ? 1000000000LL : static_cast<long long>(lines);
}

class DeckReader {
public:
    DeckReader(UiServices& ui, EditorHost& host, LineSource& source)
        : ui_(ui), host_(host), deck_(host.deck()), in_(source) {}

    void read(const std::string& path);

private:
    std::string line() {
        std::string l;
        if (!in_.next(l))
            throw ReadFailure{"Line " + std::to_string(in_.lineNumber() + 1) + " (card " + card_ +
                              "): the file ends where this line should be."};
        return l;
    }
    bool tryLine(std::string& l) { return in_.next(l); }
    void append(Grid& g) {
        if (g.rowCount() >= MaxGridRows)
            throw ReadFailure{"Line " + std::to_string(in_.lineNumber()) + " (card " + card_ + "): more than " +
                              std::to_string(MaxGridRows) + " rows."};
        AddGridRow(g, 0);
    }
    /// A field into a cell. The cell holds the field's number exactly; one
    /// that could not be written back into the same columns (an exponent
    /// too small or large for them) refuses the file, naming the line.
    void put(Grid& g, int col, int row, const std::string& text, const layout::PlacedColumn& place) {
        g.setValue(col, row, text);
        // A plain decimal read from its columns always fits them again: only
        // an exponent or a sign, and a point in a whole-number column, needs
        // a closer look.
        bool point = false, exponent = false, sign = false;
        for (char c : text) {
            point = point || c == '.';
            exponent = exponent || c == 'e' || c == 'E';
            sign = sign || c == '-' || c == '+';
        }
        const bool wholeNumber = place.column.rule == layout::Rule::Text;
        if (!exponent && !(wholeNumber ? point : sign)) return;
        const std::string_view held = g.text(col, row);
        if (held.empty()) return;
        const auto refuse = [&](const char* what) {
            throw ReadFailure{"Line " + std::to_string(in_.lineNumber()) + " (card " + card_ + "), columns " +
                              std::to_string(place.start) + "-" + std::to_string(place.start + place.column.width - 1) +
                              ": \"" + std::string(trimmed(text)) + "\" " + what};
        };
        // A count or a number in a whole-number column would lose its fraction.
        if (wholeNumber &&
            readLenient(text).plain().fraction.find_first_not_of('0') != std::string::npos)
            refuse("is not a whole number.");
        if (!layout::fits(held, place.column))
            refuse(("cannot be held as a plain number in " + std::to_string(place.column.width) + " columns.").c_str());
    }
    /// Every value of a record's line into cells `firstCol` on of a row.
    void putRecord(Grid& g, int firstCol, int row, const std::vector<layout::PlacedColumn>& places,
                   const std::vector<std::string>& v, std::size_t from = 0, std::size_t count = SIZE_MAX) {
        for (std::size_t i = from; i < v.size() && i - from < count; ++i)
            put(g, firstCol + static_cast<int>(i - from), row, v[i], places[i]);
    }
    /// The value columns of each record the reader cuts, found once.
    const std::vector<layout::PlacedColumn> places23_ = layout::valueColumns(layout::Card23);
    const std::vector<layout::PlacedColumn> placesList_ = layout::valueColumns(layout::List16);
    const std::vector<layout::PlacedColumn> places31_ = layout::valueColumns(layout::Card31);
    const std::vector<layout::PlacedColumn> placesOverflow_ = layout::valueColumns(layout::Overflow);
    const std::vector<layout::PlacedColumn> places31A_ = layout::valueColumns(layout::Card31A);
    void progress(int value) { ui_.setProgressValue(std::min(value, 10000)); }

    void readIopt1();
    void readIopt0();
    void readCard14();
    void readCard15();
    void readList(Grid& grid, double count);
    void readCard31();
    void readTabular(const std::string& element, long long ndp);

    UiServices& ui_;
    EditorHost& host_;
    Deck& deck_;
    LineSource& in_;
    int specialElements_ = 0;
    std::string card_ = "header";
};

void DeckReader::read(const std::string& path) {
    const auto header = layout::readRecord(layout::Record{{{5, layout::Rule::Text},
                                                           {5, layout::Rule::Text},
                                                           {5, layout::Rule::Text},
                                                           {5, layout::Rule::Text}}},
                                           line());
    for (const auto& field : header)
        if (!isNumeric(trimmed(field))) throw BadHeader{};

    line();  // line 2 carries nothing the editor keeps
    host_.setEditorCaption(path);

    card_ = "WATERSHED";
    const std::string line3 = line();
    const std::string_view digit = layout::cut(line3, 13, 1);
    deck_.setIopt(digit == "1" ? 1 : digit == "0" ? 0 : -1);
    progress(1000);

    if (deck_.iopt() == 1)
        readIopt1();
    else
        readIopt0();

    readCard31();

    progress(7000);
    card_ = "4.1";
    deck_.setText(Field::txtNsave2, std::string(trimmed(layout::cut(line(), 1, 5))));
    card_ = "4.2";
    readList(deck_.fpCard42(), readNumber(deck_.text(Field::txtNsave2)));
    card_ = "4.3";
    const auto card43 = layout::readRecord(layout::Count2x5, line());
    deck_.setText(Field::txtNprnt2, std::string(trimmed(card43[0])));
    deck_.setText(Field::txtInterv2, std::string(trimmed(card43[1])));
    card_ = "4.4";
    readList(deck_.fpCard44(), readNumber(deck_.text(Field::txtNprnt2)));
}

void DeckReader::readIopt1() {
    card_ = "2.1";
    deck_.setText(Field::txtTitle3, line().substr(0, layout::TitleWidth));
    deck_.setText(Field::txtTitle4, line().substr(0, layout::TitleWidth));
    progress(1001);
    card_ = "2.2";
    const std::string l = line();
    const auto f = layout::readRecord(layout::Card22, l);
    deck_.setText(Field::txtNstep2, f[0]);
    deck_.setText(Field::txtNhr2, f[1]);
    deck_.setText(Field::txtNmn2, f[2]);
    deck_.setText(Field::txtDelt2, withImpliedPoint(f[3]));
    deck_.setChecked(Field::chkIpkchk2, f[4] == "1");
    progress(2001);

    card_ = "2.3";
    Grid& g = deck_.fpCard23();
    int row = 2;
    std::string record;
    while (tryLine(record) && !readsAsZero(record)) {
        putRecord(g, 1, row, places23_, layout::readRecord(layout::Card23, record));
        append(g);
        progress(3000 + row - 2);
        ++row;
    }
}

void DeckReader::readIopt0() {
    card_ = "1.1";
    deck_.setText(Field::txtTitle, line().substr(0, layout::TitleWidth));
    deck_.setText(Field::txtTitle2, line().substr(0, layout::TitleWidth));
    card_ = "1.2";
    const auto c12 = layout::readRecord(layout::Card12, line());
    deck_.setText(Field::txtNstep, c12[0]);
    deck_.setText(Field::txtNhr, c12[1]);
    deck_.setText(Field::txtNmn, c12[2]);
    deck_.setText(Field::txtDelt, withImpliedPoint(c12[3]));
    deck_.setText(Field::txtNrgag, std::string(trimmed(c12[4])));
    deck_.setText(Field::txtPctzer, c12[5]);
    // The check box takes the digit in column 80 as its value.
    if (c12[6] != "0" && c12[6] != "1")
        throw ReadFailure{"Line " + std::to_string(in_.lineNumber()) +
                          " (card 1.2): column 80 holds no 0 or 1 for the peak flow summary."};
    deck_.setChecked(Field::chkIpkchk, c12[6] == "1");
    card_ = "1.3";
    const auto c13 = layout::readRecord(layout::Card13, line());
    deck_.setText(Field::txtNhisto, c13[0]);
    deck_.setText(Field::txtThisto, c13[1]);

    readCard14();
    readCard15();

    // Card 1.7: the save list is regenerated from card 1.5 when saving.
    card_ = "1.7";
    const double saved = readNumber(trimmed(line()));
    if (saved > 0) {
        deck_.setChecked(Field::chkSave, true);
        card_ = "1.8";
        for (long long i = linesFor(saved, 16); i > 0; --i) line();
    }

    progress(4000);
    card_ = "1.9";
    const auto c19 = layout::readRecord(layout::Count2x5, line());
    deck_.setText(Field::txtNprnt, std::string(trimmed(c19[0])));
    deck_.setText(Field::txtInterv, std::string(trimmed(c19[1])));
    card_ = "1.10";
    readList(deck_.fpCard110(), readNumber(deck_.text(Field::txtNprnt)));
}

void DeckReader::readCard14() {
    const long long nrgag = readInteger(deck_.text(Field::txtNrgag));
    const long long nhisto = readInteger(deck_.text(Field::txtNhisto));
    if (nrgag < 1) return;
    card_ = "1.4";
    const auto places = layout::valueColumns(layout::Card14);
    Grid& g = deck_.fpCard14();
    int row = 2;
    for (long long h = 0; h < nrgag; ++h) {
        std::string l = line();
        int col = 1;
        for (long long v = 0; v < nhisto; ++v) {
            if (col > 10) {
                l = line();
                append(g);
                ++row;
                col = 1;
            }
            put(g, col, row, std::string(layout::cut(l, (col - 1) * 5 + 1, 5)), places[static_cast<std::size_t>(col - 1)]);
            ++col;
        }
        append(g);
        ++row;
    }
    progress(2000);
}

void DeckReader::readCard15() {
    card_ = "1.5";
    const auto places = layout::valueColumns(layout::Card15);
    Grid& g = deck_.fpCard15();
    int row = 2;
    for (std::string l = line(); !readsAsZero(l); l = line()) {
        const auto v = layout::readRecord(layout::Card15, l);
        for (int col = 1; col <= 14; ++col) {
            put(g, col, row, v[static_cast<std::size_t>(col - 1)], places[static_cast<std::size_t>(col - 1)]);
            if (g.text(col, row) == "0") g.clearCell(col, row);
        }
        append(g);
        progress(3000 + row - 2);
        ++row;
    }
}

void DeckReader::readList(Grid& g, double count) {
    int row = 2;
    for (long long i = linesFor(count, 16); i > 0; --i) {
        putRecord(g, 1, row, placesList_, layout::readRecord(layout::List16, line()));
        append(g);
        ++row;
    }
}

void DeckReader::readCard31() {
    card_ = "3.1";
    const auto& places = places31_;
    Grid& g = deck_.fpCard31();
    int row = 2;
    std::string l;
    while (tryLine(l) && !readsAsZero(l)) {
        progress(5000 + row - 2);
        const auto v = layout::readRecord(layout::Card31, l);
        // v: JK, element, downstream, NDP, type, seven dimensions
        // A row added after a diversion would offer its target too: each
        // element starts from the three base items.
        if (g.format(Card31::JK, row).comboList != JkComboList) g.setCombo(Card31::JK, row, JkComboList);
        const long long ndp = readInteger(v[3]);
        put(g, Card31::NDP, row, v[3], places[3]);
        if (g.number(Card31::NDP, row) == 0) g.clearCell(Card31::NDP, row);
        if (ndp != 0) {
            const double jk = readNumber(v[0]);
            if (jk == 0) {
                g.setValue(Card31::JK, row, std::to_string(JkItem::Detention));
            } else if (jk == -1) {
                g.setValue(Card31::JK, row, std::to_string(JkItem::Inflow));
            } else if (jk > 0) {
                g.setComboItem(Card31::JK, row, JkItem::DiversionTarget, v[0]);
                g.setValue(Card31::JK, row, std::to_string(JkItem::DiversionTarget));
            } else {
                // The editor holds no such code: saving would turn it into a detention basin.
                throw ReadFailure{"Line " + std::to_string(in_.lineNumber()) + " (card 3.1), columns 1-5: \"" +
                                  std::string(trimmed(v[0])) +
                                  "\" is no special-element code (0, -1 or the number of an element)."};
            }
        }
        put(g, Card31::Element, row, v[1], places[1]);
        put(g, Card31::Downstream, row, v[2], places[2]);
        put(g, Card31::Type, row, v[4], places[4]);
        putRecord(g, Card31::FirstDimension, row, places31_, v, 5, 7);

        if (readNumber(v[4]) > 3) {
            append(g);
            putRecord(g, Card31::FirstDimension, row + 1, placesOverflow_, layout::readRecord(layout::Overflow, line()));
            for (int c = 1; c <= Card31::Type; ++c) {
                g.setLocked(c, row + 1, true);
                g.setBackColor(c, row + 1, ColorButtonFace);
            }
        }
        if (ndp > 0) {
            CellFormat button = g.format(Card31::Tabular, row);
            button.type = CellButton;
            button.buttonText = "Tabular";
            button.locked = false;
            button.backColor = ColorWindow;
            g.setFormat(Card31::Tabular, row, button);
            if (++specialElements_ == MaxSpecialElements + 1)
                ui_.message(kLimitWarning + std::to_string(MaxSpecialElements), "Caution System Resources Exceeded",
                            Icon::Exclamation);
            readTabular(g.value(Card31::Element, row), ndp);
        }
        append(g);
        row = g.rowCount() - 1;
    }
}

void DeckReader::readTabular(const std::string& element, long long ndp) {
    Grid& store = deck_.fpCard31a();
    Grid& index = deck_.fpSubCard31a();
    const int first = store.lastDataRow() + 1;
    const long long rows = linesFor(static_cast<double>(ndp), 4);
    const auto& places = places31A_;
    for (long long i = 0; i < rows; ++i) {
        const auto v = layout::readRecord(layout::Card31A, line());
        const int row = first + static_cast<int>(i);
        for (int col = 1; col <= 8; ++col) {
            // A value that holds no number is an empty value too.
            put(store, col, row, v[static_cast<std::size_t>(col - 1)], places[static_cast<std::size_t>(col - 1)]);
            if (store.isEmpty(col, row)) store.setValue(col, row, "0.000000");
        }
        append(store);
    }
    // Beyond the usual hundred blocks the index grows, so no element loses its pairs.
    const int at = index.lastDataRow() + 1;
    if (at > index.rowCount()) index.setRowCount(at);
    index.setValue(1, at, element);
    index.setValue(2, at, std::to_string(first));
    index.setValue(3, at, std::to_string(rows));
}

}  // namespace

std::string withImpliedPoint(const std::string& text) {
    if (text.find('.') != std::string::npos) return text;
    const std::string t(trimmed(text));
    if (t.empty()) return {};
    return t.substr(0, t.size() - 1) + "." + t.back();
}

OpenResult OpenDeck(UiServices& ui, EditorHost& host, const std::string& givenPath) {
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
    try {
        LineSource source(path);
        if (!source.isOpen()) throw ReadFailure{};
        DeckReader reader(ui, host, source);
        reader.read(path);
    } catch (const BadHeader&) {
        host.discardDeck();
        ui.message(kHeaderError, "Error", Icon::Exclamation);
        finish();
        return OpenResult::BadHeader;
    } catch (const ReadFailure& failure) {
        host.discardDeck();
        ui.message(failure.detail.empty() ? std::string(kReadError) : kReadError + ("\n" + failure.detail));
        finish();
        return OpenResult::ReadError;
    } catch (...) {
        host.discardDeck();
        ui.message(kReadError);
        finish();
        return OpenResult::ReadError;
    }
    ui.setPointer(Pointer::Normal);
    host.showEditor();
    ui.setProgressValue(0);
    ui.setProgressVisible(false);
    return OpenResult::Opened;
}

}  // namespace rillo
