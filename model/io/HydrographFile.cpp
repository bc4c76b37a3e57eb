#include "HydrographFile.h"

#include "Temporary.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string_view>
#include <vector>

namespace rillo::model {

namespace {

// Seven significant digits: more than any measured flow carries, and the
// file of the largest run stays a few tens of megabytes.
constexpr int ValueDigits = 7;

/// Seven significant digits of a value above zero as a whole number
/// m in [10^6, 10^7) with a = m 10^(e - 6), or false when a lies outside
/// [1e-15, 1e6), where the scaling below is not one exact rounding.
bool sevenDigits(double a, long long& m, int& e) {
    // Exact powers of ten: a times one of them rounds once, as %.7g's
    // exact decimal expansion would within a tie of the last digit.
    static constexpr double Power[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (!(a >= 1e-15 && a < 1e6)) return false;
    // e such that 10^e <= a < 10^(e+1).
    if (a >= 1) {
        e = 0;
        while (e < 5 && a >= Power[e + 1]) ++e;
    } else {
        e = -1;
        while (a * Power[-e] < 1) --e;
    }
    m = static_cast<long long>(a * Power[6 - e] + 0.5);
    if (m >= 10000000) {  // rounding carried into an eighth digit
        m = (m + 5) / 10;
        ++e;
    }
    return true;
}

/// Writes a value as %.7g would (at most 24 characters) and returns the
/// end; everyday magnitudes without the general conversion's cost (a run's
/// files hold millions of values).
char* writeNumber(char* p, double v) {
    if (v == 0) {
        *p++ = '0';
        return p;
    }
    long long m = 0;
    int e = 0;
    const double a = v < 0 ? -v : v;
    if (!sevenDigits(a, m, e)) {
        auto [end, ec] = std::to_chars(p, p + 24, v, std::chars_format::general, ValueDigits);
        if (ec != std::errc{}) throw std::runtime_error("a value cannot be written");
        return end;
    }
    // The seven digits two at a time: 1 + 2 + 2 + 2.
    static constexpr char Pairs[] =
        "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546474849"
        "5051525354555657585960616263646566676869707172737475767778798081828384858687888990919293949596979899";
    char digits[7];
    for (int i = 5; i >= 1; i -= 2, m /= 100) {
        const int pair = static_cast<int>(m % 100);
        digits[i] = Pairs[2 * pair];
        digits[i + 1] = Pairs[2 * pair + 1];
    }
    digits[0] = static_cast<char>('0' + m);
    if (v < 0) *p++ = '-';
    if (e < -4) {
        // d.dddddde-XX, the fraction's trailing zeros left out.
        int last = 6;
        while (last >= 1 && digits[last] == '0') --last;
        *p++ = digits[0];
        if (last >= 1) {
            *p++ = '.';
            for (int i = 1; i <= last; ++i) *p++ = digits[i];
        }
        *p++ = 'e';
        *p++ = '-';
        *p++ = static_cast<char>('0' + (-e) / 10);
        *p++ = static_cast<char>('0' + (-e) % 10);
        return p;
    }
    int last = 6;  // trailing zeros of the fraction are not written
    const int whole = e >= 0 ? e + 1 : 0;
    while (last >= whole && digits[last] == '0') --last;
    if (e >= 0) {
        for (int i = 0; i < whole; ++i) *p++ = digits[i];
        if (last >= whole) {
            *p++ = '.';
            for (int i = whole; i <= last; ++i) *p++ = digits[i];
        }
    } else {
        *p++ = '0';
        *p++ = '.';
        for (int i = 0; i < -e - 1; ++i) *p++ = '0';
        for (int i = 0; i <= last; ++i) *p++ = digits[i];
    }
    return p;
}

void appendNumber(std::string& out, double v) {
    char text[32];
    out.append(text, static_cast<std::size_t>(writeNumber(text, v) - text));
}

/// Fills a buffer of text and hands it to a stream whenever it is nearly
/// full: the rows of a file of millions of values without a copy each.
class TextBuffer {
public:
    explicit TextBuffer(std::ostream& out) : out_(out), buffer_(1u << 16), p_(buffer_.data()) {}
    ~TextBuffer() = default;
    void number(double v) {
        room();
        p_ = writeNumber(p_, v);
    }
    void put(char c) {
        room();
        *p_++ = c;
    }
    void flush() {
        out_.write(buffer_.data(), p_ - buffer_.data());
        p_ = buffer_.data();
    }

private:
    void room() {
        if (buffer_.data() + buffer_.size() - p_ < 32) flush();
    }
    std::ostream& out_;
    std::vector<char> buffer_;
    char* p_;
};

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

/// Cuts the next blank-separated word off s.
std::string_view nextWord(std::string_view& s) {
    s = trimmed(s);
    std::size_t n = 0;
    while (n < s.size() && s[n] != ' ' && s[n] != '\t') ++n;
    std::string_view word = s.substr(0, n);
    s.remove_prefix(n);
    return word;
}

/// Reads the lines of a buffer one by one, counting them.
class LineCursor {
public:
    LineCursor(std::string_view text, const std::string& path) : text_(text), path_(path) {}

    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t eol = text_.find('\n', pos_);
        if (eol == std::string_view::npos) eol = text_.size();
        line = text_.substr(pos_, eol - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos_ = eol + 1;
        ++lineNo_;
        return true;
    }
    std::string_view need(const char* what) {
        std::string_view line;
        if (!next(line)) fail(lineNo_ + 1, std::string("the file ends where ") + what + " should follow");
        return line;
    }
    [[noreturn]] void fail(long line, const std::string& what) const { throw HydrographFileError(path_, line, what); }
    [[noreturn]] void fail(const std::string& what) const { fail(lineNo_, what); }
    long lineNo() const { return lineNo_; }

private:
    std::string_view text_;
    const std::string& path_;
    std::size_t pos_ = 0;
    long lineNo_ = 0;
};

/// The value of a header line "key value", refused when the key differs.
std::string_view headerValue(LineCursor& c, std::string_view key) {
    std::string_view line = c.need(std::string(key).c_str());
    std::string_view rest = line;
    if (nextWord(rest) != key) c.fail("expected the \"" + std::string(key) + "\" line");
    return trimmed(rest);
}

template <typename T>
bool parseNumber(std::string_view s, T& v) {
    s = trimmed(s);
    if (s.empty()) return false;
    if (s.front() == '+') s.remove_prefix(1);
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc{} && end == s.data() + s.size();
}

template <typename T>
T headerNumber(LineCursor& c, std::string_view key) {
    T v{};
    if (!parseNumber(headerValue(c, key), v)) c.fail("the \"" + std::string(key) + "\" line does not hold a number");
    return v;
}

}  // namespace

const char* seriesKindWord(SeriesKind kind) {
    switch (kind) {
    case SeriesKind::Flow: return "flow";
    case SeriesKind::Rain: return "rain";
    case SeriesKind::Depth: return "depth";
    case SeriesKind::Diverted: return "diverted";
    }
    return "flow";
}

int formatVersionOf(const Hydrographs& h) {
    for (const SeriesInfo& s : h.series)
        if (s.kind == SeriesKind::Depth || s.kind == SeriesKind::Diverted) return 2;
    return 1;
}

long Hydrographs::flowColumn(long number) const {
    for (std::size_t i = 0; i < series.size(); ++i)
        if (series[i].kind == SeriesKind::Flow && series[i].number == number) return static_cast<long>(i);
    return -1;
}

HydrographFileError::HydrographFileError(const std::string& path, long line, const std::string& what)
    : std::runtime_error(path + ", line " + std::to_string(line) + ": " + what), path_(path), line_(line) {}

namespace {
const char* columnWhat(SeriesKind kind) {
    switch (kind) {
    case SeriesKind::Flow: return "flow of ";
    case SeriesKind::Rain: return "rain of hyetograph ";
    case SeriesKind::Depth: return "depth of ";
    case SeriesKind::Diverted: return "diverted flow of ";
    }
    return "flow of ";
}
}  // namespace

void checkFlows(const Hydrographs& h, const std::string& path) {
    const std::size_t width = h.series.size();
    for (std::size_t j = 0; j < h.values.size(); ++j) {
        const double v = h.values[j];
        if (std::isfinite(v) && v >= 0) continue;
        const std::size_t row = j / width, column = j % width;
        char text[32];
        std::snprintf(text, sizeof text, "%g", v);
        throw HydrographFileError(path, h.lineOf(row),
                                  "data row " + std::to_string(row + 1) + ", value " + std::to_string(column + 1) +
                                      " (the " + columnWhat(h.series[column].kind) +
                                      std::to_string(h.series[column].number) + ") is " + text +
                                      ", which is negative or not a number");
    }
}

void writeHydrographs(std::ostream& out, const Hydrographs& h) {
    const std::size_t width = h.series.size();
    if (width == 0 ? !h.values.empty() : h.values.size() % width != 0)
        throw std::runtime_error("the hydrograph values do not fill whole rows");
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02d:%02d", h.startHour, h.startMinute);
    std::string text;
    text += std::string(HydrographMagic) + " " + std::to_string(formatVersionOf(h)) + "\n";
    text += "title1 " + h.title1 + "\n";
    text += "title2 " + h.title2 + "\n";
    text += "kind " + h.kind + "\n";
    text += std::string("start ") + clock + "\n";
    text += "step ";
    appendNumber(text, h.stepMinutes);
    text += "\nsteps " + std::to_string(h.steps()) + "\n";
    text += "series " + std::to_string(width) + "\n";
    for (const SeriesInfo& s : h.series)
        text += std::string("column ") + seriesKindWord(s.kind) + " " + std::to_string(s.number) + " " + s.unit + "\n";
    text += "data\n";
    out << text;
    TextBuffer rows(out);
    const double* value = h.values.data();
    for (std::size_t step = 0; step < h.steps(); ++step) {
        rows.number(h.hoursAt(step));
        for (std::size_t col = 0; col < width; ++col) {
            rows.put(' ');
            rows.number(*value++);
        }
        rows.put('\n');
    }
    rows.flush();
    out << "end\n";
    if (!out) throw std::runtime_error("the hydrograph file could not be written");
}

void writeHydrographsFile(const std::string& path, const Hydrographs& h) {
    const std::string temporary = temporaryBeside(path);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) throw std::runtime_error("cannot create " + temporary);
        try {
            writeHydrographs(out, h);
        } catch (...) {
            out.close();
            std::remove(temporary.c_str());
            throw;
        }
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            throw std::runtime_error("cannot write " + temporary);
        }
    }
    if (!replaceWithTemporary(temporary, path)) {
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot replace " + path);
    }
}

Hydrographs readHydrographs(std::istream& in, const std::string& path) {
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LineCursor c(text, path);
    Hydrographs h;

    std::string_view first = c.need("the format line");
    std::string_view rest = first;
    if (nextWord(rest) != HydrographMagic) c.fail("this is not a hydrograph file of this program");
    int version = 0;
    if (!parseNumber(rest, version)) c.fail("the format line names no version");
    if (version < 1 || version > HydrographFormatVersion)
        c.fail("format version " + std::to_string(version) + " is not known (this program reads versions 1 to " +
               std::to_string(HydrographFormatVersion) + ")");

    h.title1 = std::string(trimmed(headerValue(c, "title1")));
    h.title2 = std::string(trimmed(headerValue(c, "title2")));
    h.kind = std::string(headerValue(c, "kind"));
    if (h.kind != "subcatchments" && h.kind != "elements") c.fail("the kind is neither subcatchments nor elements");
    std::string_view start = headerValue(c, "start");
    if (start.size() != 5 || start[2] != ':' || !parseNumber(start.substr(0, 2), h.startHour) ||
        !parseNumber(start.substr(3, 2), h.startMinute) || h.startHour > 23 || h.startMinute > 59 ||
        h.startHour < 0 || h.startMinute < 0)
        c.fail("the start time is not HH:MM");
    h.stepMinutes = headerNumber<double>(c, "step");
    if (!(h.stepMinutes > 0)) c.fail("the step is not a positive number of minutes");
    // 64 bits on every system (a Windows long has 32), so that a file reads
    // the same on both.
    const std::int64_t steps = headerNumber<std::int64_t>(c, "steps");
    const std::int64_t width = headerNumber<std::int64_t>(c, "series");
    if (steps < 0 || width < 0) c.fail("a count is negative");
    // Counts bound the memory taken, so they are checked against the text
    // that must hold them before anything is reserved.
    if (static_cast<double>(steps) * static_cast<double>(width + 1) * 2 > static_cast<double>(text.size()))
        c.fail("the counts ask for more values than the file can hold");

    h.series.reserve(static_cast<std::size_t>(width));
    for (std::int64_t i = 0; i < width; ++i) {
        std::string_view line = c.need("a column line");
        std::string_view r = line;
        if (nextWord(r) != "column") c.fail("expected a \"column\" line (" + std::to_string(width) + " are announced)");
        SeriesInfo s;
        std::string_view kind = nextWord(r);
        if (kind == "flow") s.kind = SeriesKind::Flow;
        else if (kind == "rain") s.kind = SeriesKind::Rain;
        else if (version >= 2 && kind == "depth") s.kind = SeriesKind::Depth;
        else if (version >= 2 && kind == "diverted") s.kind = SeriesKind::Diverted;
        else if (version >= 2) c.fail("a column is none of flow, rain, depth and diverted");
        else c.fail("a column is neither flow nor rain");
        if (!parseNumber(nextWord(r), s.number)) c.fail("the column's number is not a whole number");
        s.unit = std::string(nextWord(r));
        if (s.unit.empty()) c.fail("the column names no unit");
        h.series.push_back(std::move(s));
    }
    if (trimmed(c.need("the \"data\" line")) != "data") c.fail("expected the \"data\" line");

    h.values.resize(static_cast<std::size_t>(steps) * static_cast<std::size_t>(width));
    double* out = h.values.data();
    for (std::int64_t step = 0; step < steps; ++step) {
        std::string_view line = c.need("a data row");
        if (trimmed(line) == "end")
            c.fail("the data ends after " + std::to_string(step) + " of " + std::to_string(steps) + " rows");
        double hours = 0;
        if (!parseNumber(nextWord(line), hours)) c.fail("the row's time is not a number");
        for (std::int64_t col = 0; col < width; ++col) {
            std::string_view word = nextWord(line);
            if (word.empty()) c.fail("the row has " + std::to_string(col) + " of " + std::to_string(width) + " values");
            if (!parseNumber(word, *out++))
                c.fail("data row " + std::to_string(step + 1) + ", value " + std::to_string(col + 1) + " (the column of " +
                       std::to_string(h.series[static_cast<std::size_t>(col)].number) + ") is not a number");
        }
        if (!trimmed(line).empty()) c.fail("the row has more than " + std::to_string(width) + " values");
    }
    std::string_view line;
    if (!c.next(line)) c.fail(c.lineNo() + 1, "the file ends without its \"end\" line (it may be incomplete)");
    if (trimmed(line) != "end") c.fail("the file has more rows than the " + std::to_string(steps) + " announced");
    while (c.next(line))
        if (!trimmed(line).empty()) c.fail("text follows the \"end\" line");
    return h;
}

Hydrographs readHydrographsFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw HydrographFileError(path, 0, "the file cannot be opened");
    return readHydrographs(in, path);
}

}  // namespace rillo::model
