#include "DeckWriter.h"

#include "DataCheck.h"
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

constexpr const char* kSaveTitle = "Rillo 2000";

/// Element types from 4 on carry an overflow row, when reading and writing alike.
bool hasOverflow(double type) { return type > 3; }

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
    void put(const layout::Record& record, const std::vector<std::string_view>& values) {
        put(layout::writeRecord(record, values));
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
    void progress(int value) { ui_.setProgressValue(value); }

    std::string card31Line(int row) const;
    /// Rows of the elements that will be written, by element number (built once).
    std::unordered_map<double, std::vector<int>>& elementRows();
    /// Whether an element with this number is written (overflow rows are not elements).
    bool elementExists(double number);

    void writeIopt0();
    void writeIopt1();
    void writeSaveList();
    void writeList(const Grid& g, const std::string& count);
    void writeCard31();
    void writeTabular(const std::string& element, long long ndp);
    void writeCard4();

    UiServices& ui_;
    EditorHost& host_;
    Deck& deck_;
    std::string out_;
    std::optional<std::unordered_map<double, std::vector<int>>> elementRows_;
};

void DeckWriter::writeIopt0() {
    progress(1001);
    put(title(Field::txtTitle));
    put(title(Field::txtTitle2));
    if (f(Field::txtNstep).empty() || f(Field::txtDelt).empty() || f(Field::txtNrgag).empty())
        refuse("Check for input on card 1.2 to 1.3");
    put(layout::Card12, {f(Field::txtNstep), f(Field::txtNhr), f(Field::txtNmn), f(Field::txtDelt),
                         f(Field::txtNrgag), f(Field::txtPctzer), f(Field::chkIpkchk)});
    if (f(Field::txtNhisto).empty() || f(Field::txtThisto).empty()) refuse("Check for input on card 1.2 to 1.3");
    put(layout::Card13, {f(Field::txtNhisto), f(Field::txtThisto)});

    progress(2001);
    const Grid& c14 = deck_.fpCard14();
    const long long nrgag = readInteger(f(Field::txtNrgag));
    if (nrgag >= 1) {
        // Each hyetograph starts on a new line and takes at least one.
        const long long perHyetograph = std::max(1LL, (readInteger(f(Field::txtNhisto)) + 9) / 10);
        const long long rows = std::max<long long>(nrgag * perHyetograph, c14.lastDataRow() - 1);
        for (long long i = 0; i < rows; ++i) put(layout::Card14, rowValues(c14, 2 + static_cast<int>(i), 1, 10));
    }

    progress(3001);
    const Grid& c15 = deck_.fpCard15();
    for (int row = 2; row <= c15.lastDataRow(); ++row) {
        // A row whose line reads as 0 (nothing but blanks and zeros) would
        // end the card for the reader and lose every row after it.
        const std::string line = layout::writeRecord(layout::Card15, rowValues(c15, row, 1, 14));
        if (!readsAsZero(line)) put(line);
    }
    put("");

    if (deck_.checked(Field::chkSave))
        writeSaveList();
    else
        put("    0");

    put(layout::Count2x5, {f(Field::txtNprnt), f(Field::txtInterv)});
    progress(4001);
    if (readNumber(f(Field::txtNprnt)) != 0) {
        if (CheckGridEmptyCells(ui_, host_.flags(), deck_.fpCard110(), 16, "1.10")) throw Refused{};
        writeList(deck_.fpCard110(), f(Field::txtNprnt));
    }
}

void DeckWriter::writeSaveList() {
    const Grid& c15 = deck_.fpCard15();
    std::vector<std::string> numbers;
    for (int row = 2; row <= c15.lastDataRow(); ++row)
        if (c15.number(2, row) > 0) numbers.push_back(c15.value(2, row));
    put(layout::Count5, {std::to_string(numbers.size())});
    std::string line;
    for (const auto& n : numbers) {
        layout::appendField(line, n, {5, layout::Rule::Text});
        if (line.size() > 79) {
            put(line);
            line.clear();
        }
    }
    if (!line.empty()) put(line);
}

void DeckWriter::writeList(const Grid& g, const std::string& count) {
    // The reader takes as many lines as the count asks for, filled or not.
    const double n = readNumber(count);
    const int needed = n > 0 ? static_cast<int>(std::min(std::ceil(n / 16), 1e6)) : 0;
    const int rows = std::max(needed, g.lastDataRow() - 1);
    for (int i = 0; i < rows; ++i) put(layout::List16, rowValues(g, 2 + i, 1, 16));
}

void DeckWriter::writeIopt1() {
    progress(2001);
    put(title(Field::txtTitle3));
    put(title(Field::txtTitle4));
    if (f(Field::txtNstep2).empty() || f(Field::txtDelt2).empty()) refuse("Check for input on card 2.2 to 2.3");
    put(layout::Card22, {f(Field::txtNstep2), f(Field::txtNhr2), f(Field::txtNmn2), f(Field::txtDelt2),
                         f(Field::chkIpkchk2)});

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
        const std::string line = layout::writeRecord(layout::Card23, {c23.text(1, row), element});
        if (!readsAsZero(line)) put(line);
    }
    put("");
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

std::string DeckWriter::card31Line(int row) const {
    const Grid& g = deck_.fpCard31();
    const std::string jk = jkCode(g, row);
    std::vector<std::string_view> v{jk, g.text(Card31::Element, row), g.text(Card31::Downstream, row),
                                    g.text(Card31::NDP, row), g.text(Card31::Type, row)};
    for (int c = Card31::FirstDimension; c <= Card31::LastDimension; ++c) v.push_back(g.text(c, row));
    return layout::writeRecord(layout::Card31, v);
}

std::unordered_map<double, std::vector<int>>& DeckWriter::elementRows() {
    if (!elementRows_) {
        elementRows_.emplace();
        const Grid& g = deck_.fpCard31();
        for (int row = 2, last = g.lastDataRow(); row <= last; ++row) {
            if (g.isEmpty(Card31::Element, row)) continue;
            bool written = true;
            try {
                written = !readsAsZero(card31Line(row));
            } catch (const layout::FieldTooLong&) {
                // Reported where the element is written.
            }
            if (written) (*elementRows_)[g.number(Card31::Element, row)].push_back(row);
        }
    }
    return *elementRows_;
}

bool DeckWriter::elementExists(double number) {
    const auto& rows = elementRows();
    const auto it = rows.find(number);
    if (it == rows.end()) return false;
    for (int r : it->second)
        if (deck_.fpCard31().format(Card31::Element, r).backColor != ColorButtonFace) return true;
    return false;
}

void DeckWriter::writeCard31() {
    progress(5001);
    const Grid& g = deck_.fpCard31();
    const int last = g.lastDataRow();
    const auto otherRowWithSameNumber = [&](int row) {
        if (g.isEmpty(Card31::Element, row)) return 0;
        for (int r : elementRows()[g.number(Card31::Element, row)])
            if (r != row) return r;
        return 0;
    };
    for (int row = 2; row <= last; ++row) {
        const std::string element = g.value(Card31::Element, row);
        const std::string line = card31Line(row);
        // A row whose line reads as 0 carries no element and would end the card.
        if (readsAsZero(line)) continue;

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

        put(line);

        const long long ndp = readInteger(g.value(Card31::NDP, row));
        if (hasOverflow(g.number(Card31::Type, row))) {
            ++row;
            put(layout::Overflow, rowValues(g, row, Card31::FirstDimension, Card31::LastDimension));
        }
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
        put(layout::Card31A, rowValues(store, first + static_cast<int>(i), 1, width));
    }
}

void DeckWriter::writeCard4() {
    put(layout::Count5, {f(Field::txtNsave2)});
    if (readNumber(f(Field::txtNsave2)) != 0) {
        if (CheckGridEmptyCells(ui_, host_.flags(), deck_.fpCard42(), 16, "4.2")) throw Refused{};
        writeList(deck_.fpCard42(), f(Field::txtNsave2));
    }
    put(layout::Count2x5, {f(Field::txtNprnt2), f(Field::txtInterv2)});
    if (readNumber(f(Field::txtNprnt2)) != 0) {
        if (CheckGridEmptyCells(ui_, host_.flags(), deck_.fpCard44(), 16, "4.4")) throw Refused{};
        writeList(deck_.fpCard44(), f(Field::txtNprnt2));
    }
}

}  // namespace

bool isWritableFile(const std::string& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return true;
    // A file marked read-only stays so for every user: rights that could
    // write it anyway (an administrator's) must not replace it either.
    const auto perms = fs::status(path, ec).permissions();
    constexpr auto anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if (!ec && (perms & anyWrite) == fs::perms::none) return false;
#ifdef _WIN32
    return _access(path.c_str(), 2) == 0;
#else
    return access(path.c_str(), W_OK) == 0;
#endif
}

void writeFileAtomically(const std::string& path, const std::string& contents) {
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fs::path temp;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temp = folder / ("." + target.filename().string() + ".save" + std::to_string(attempt));
        file = std::fopen(temp.string().c_str(), "wbx");
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
