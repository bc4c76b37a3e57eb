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

namespace rillo::model {

namespace {

// Seven significant digits: more than any measured flow carries, and the
// file of the largest run stays a few tens of megabytes.
constexpr int ValueDigits = 7;

/// Values of everyday size written as %.7g would write them, without the
/// general conversion's cost (a run's files hold millions of values).
bool appendPlainNumber(std::string& out, double v) {
    static constexpr double Power[] = {1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6,
                                       1e7,  1e8,  1e9,  1e10};
    if (v == 0) {
        out += '0';
        return true;
    }
    const double a = v < 0 ? -v : v;
    if (!(a >= 1e-4 && a < 1e6)) return false;
    int e = -4;  // a in [10^e, 10^(e+1))
    while (a >= Power[e + 5]) ++e;
    // Seven significant digits as a whole number: a * 10^(6 - e), 10^1 to 10^10.
    long long m = static_cast<long long>(a * Power[6 - e + 4] + 0.5);
    if (m >= 10000000) {  // rounding carried into an eighth digit
        m = (m + 5) / 10;
        ++e;
    }
    char digits[7];
    for (int i = 6; i >= 0; --i, m /= 10) digits[i] = static_cast<char>('0' + m % 10);
    int last = 6;  // trailing zeros of the fraction are not written
    const int whole = e >= 0 ? e + 1 : 0;
    while (last >= whole && digits[last] == '0') --last;
    char text[24];
    char* p = text;
    if (v < 0) *p++ = '-';
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
    out.append(text, static_cast<std::size_t>(p - text));
    return true;
}

void appendNumber(std::string& out, double v) {
    if (appendPlainNumber(out, v)) return;
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, ValueDigits);
    if (ec != std::errc{}) throw std::runtime_error("a value cannot be written");
    out.append(buf, end);
}

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

long Hydrographs::flowColumn(long number) const {
    for (std::size_t i = 0; i < series.size(); ++i)
        if (series[i].kind == SeriesKind::Flow && series[i].number == number) return static_cast<long>(i);
    return -1;
}

HydrographFileError::HydrographFileError(const std::string& path, long line, const std::string& what)
    : std::runtime_error(path + ", line " + std::to_string(line) + ": " + what), path_(path), line_(line) {}

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
                                      " (the " + (h.series[column].kind == SeriesKind::Flow ? "flow of " : "rain of hyetograph ") +
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
    text += std::string(HydrographMagic) + " " + std::to_string(HydrographFormatVersion) + "\n";
    text += "title1 " + h.title1 + "\n";
    text += "title2 " + h.title2 + "\n";
    text += "kind " + h.kind + "\n";
    text += std::string("start ") + clock + "\n";
    text += "step ";
    appendNumber(text, h.stepMinutes);
    text += "\nsteps " + std::to_string(h.steps()) + "\n";
    text += "series " + std::to_string(width) + "\n";
    for (const SeriesInfo& s : h.series)
        text += std::string("column ") + (s.kind == SeriesKind::Flow ? "flow " : "rain ") + std::to_string(s.number) +
                " " + s.unit + "\n";
    text += "data\n";
    out << text;
    text.clear();
    for (std::size_t step = 0; step < h.steps(); ++step) {
        appendNumber(text, h.hoursAt(step));
        for (std::size_t col = 0; col < width; ++col) {
            text += ' ';
            appendNumber(text, h.value(step, col));
        }
        text += '\n';
        if (text.size() > (1u << 16)) {
            out << text;
            text.clear();
        }
    }
    text += "end\n";
    out << text;
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
    if (version != HydrographFormatVersion)
        c.fail("format version " + std::to_string(version) + " is not known (this program reads version " +
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
