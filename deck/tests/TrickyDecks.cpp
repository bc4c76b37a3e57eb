#include "TrickyDecks.h"

#include "NumberText.h"

#include <algorithm>
#include <vector>

namespace rillo::testdata {

int ByteChoices::pick(int lo, int hi) {
    if (hi <= lo) return lo;
    const auto span = static_cast<unsigned>(hi - lo) + 1;
    unsigned v = 0;
    for (int i = 0; i < (span > 256 ? 2 : 1); ++i) v = (v << 8) | (at_ < size_ ? data_[at_++] : 0);
    return lo + static_cast<int>(v % span);
}

namespace {

std::string rj(const std::string& text, int width) {
    return text.size() >= static_cast<std::size_t>(width) ? text.substr(0, static_cast<std::size_t>(width))
                                                           : std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

std::string digits(Choices& c, int n, bool lastNonZero) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + c.pick(i + 1 == n && lastNonZero ? 1 : 0, 9));
    return s;
}

/// A decimal field of `width` columns in one of the ways decks write them.
std::string decimal(Choices& c, int width) {
    std::string t;
    switch (c.pick(0, 9)) {
    case 0: t = ""; break;
    case 1: t = c.pick(0, 1) ? "0" : "0.0"; break;
    case 2: t = std::to_string(c.pick(0, 999)) + "." + digits(c, c.pick(0, 3), false); break;
    case 3:  // a long decimal filling its columns
        t = "0." + digits(c, width - 2, true);
        break;
    case 4:  // a negative one, its leading zero dropped to fit
        t = "-." + digits(c, width - 2, true);
        break;
    case 5: t = "-" + std::to_string(c.pick(1, 99)) + "." + digits(c, c.pick(0, 2), false); break;
    case 6: {  // exponent notation
        const std::string mantissa = std::to_string(c.pick(1, 9)) + (c.pick(0, 1) ? "." + digits(c, c.pick(1, 2), true) : "");
        const int e = c.pick(-4, 3);
        // E, e, D, d, or no letter at all before a signed exponent ("1.2-3").
        const char* const marks[] = {"E", "e", "D", "d", ""};
        const char* mark = marks[c.pick(0, 4)];
        const bool bare = *mark == '\0';
        t = mantissa + mark + (e < 0 ? "-" : bare || c.pick(0, 1) ? "+" : "") + (c.pick(0, 1) ? "0" : "") +
            std::to_string(std::abs(e));
        break;
    }
    case 7: t = "." + digits(c, c.pick(1, width - 1), true); break;
    case 8: t = (c.pick(0, 3) ? "" : "+") + std::to_string(c.pick(1, 99999)) + (c.pick(0, 1) ? "." : ""); break;
    default: t = std::to_string(c.pick(0, 99)) + "." + digits(c, c.pick(1, 9), false); break;
    }
    // Cut to its columns, and then to a number still: "9.6e-05" in five
    // columns is "9.6", not "9.6e-".
    if (static_cast<int>(t.size()) > width) t = t.substr(0, static_cast<std::size_t>(width));
    while (!t.empty() && !readFortranNumber(t)) t.pop_back();
    // Most right-justified, some left-justified as hands write them.
    if (c.pick(0, 4) == 0) return t + std::string(static_cast<std::size_t>(width) - t.size(), ' ');
    return rj(t, width);
}

/// An integer field: numbers, negatives (change cards), zeros.
std::string integer(Choices& c, int width, int lo = -5, int hi = 1900) {
    switch (c.pick(0, 5)) {
    case 0: return rj("", width);
    case 1: return rj("0", width);
    case 2: return rj("-1", width);
    default: return rj(std::to_string(c.pick(lo, hi)), width);
    }
}

std::string title(Choices& c) {
    std::string t;
    const int n = c.pick(0, 30);
    for (int i = 0; i < n; ++i) t += static_cast<char>(c.pick(32, 126));
    return t;
}

std::string decimals(Choices& c, int count, int width) {
    std::string line;
    for (int i = 0; i < count; ++i) line += decimal(c, width);
    return line;
}

/// Lines of numbers, 16 to a line.
void numberLines(Choices& c, std::vector<std::string>& lines, int count) {
    for (int i = 0; i < count; i += 16) {
        std::string line;
        for (int j = i; j < std::min(count, i + 16); ++j) line += integer(c, 5, -3, 1900);
        lines.push_back(line);
    }
}

/// A line that must not read as 0 (the reader would end its card there):
/// the given field in front becomes a positive number when it would.
std::string notZero(std::string line, Choices& c, int at, int width) {
    if (!readsAsZero(line)) return line;
    line.replace(static_cast<std::size_t>(at), static_cast<std::size_t>(width), rj(std::to_string(c.pick(1, 1900)), width));
    return line;
}

}  // namespace

std::string trickyDeck(Choices& c) {
    std::vector<std::string> lines{"   2   1   1   2", "   3   4"};
    const int iopt = c.pick(0, 1);
    lines.push_back(std::string("WATERSHED   ") + (iopt ? "1" : "0"));
    if (iopt == 0) {
        lines.push_back(title(c));
        lines.push_back(title(c));
        const int nrgag = c.pick(0, 3), nhisto = c.pick(0, 24);
        lines.push_back("     " + rj(std::to_string(c.pick(1, 500)), 5) + rj(std::to_string(c.pick(0, 23)), 3) +
                        rj(std::to_string(c.pick(0, 59)), 2) + rj(c.pick(0, 1) ? "5.0" : "300", 5) +
                        rj(std::to_string(nrgag), 5) + rj(std::to_string(c.pick(0, 50)), 5) + std::string(49, ' ') +
                        std::to_string(c.pick(0, 1)));
        lines.push_back(rj(std::to_string(nhisto), 5) + rj(std::to_string(c.pick(1, 30)), 5));
        for (int h = 0; h < nrgag; ++h) {
            // A hyetograph without values still takes its (empty) line.
            if (nhisto == 0) lines.push_back("");
            for (int left = nhisto; left > 0; left -= 10) lines.push_back(decimals(c, std::min(left, 10), 5));
        }
        const int subcatchments = c.pick(0, 6);
        std::vector<std::string> numbers;
        for (int i = 0; i < subcatchments; ++i) {
            // Hyetograph, subcatchment (-1 and -2 are change cards), element, then the values.
            std::string line = integer(c, 5, 0, 3) + integer(c, 5, -2, 1900) + integer(c, 5) + decimals(c, 10, 5) + decimal(c, 10);
            line = notZero(line, c, 0, 5);
            if (readNumber(line.substr(5, 5)) > 0) numbers.push_back(line.substr(5, 5));
            lines.push_back(line);
        }
        lines.push_back("");
        // The save list is every subcatchment above 0, as the program writes it.
        const bool save = !numbers.empty() && c.pick(0, 3) == 0;
        lines.push_back(rj(std::to_string(save ? numbers.size() : 0), 5));
        for (std::size_t i = 0; save && i < numbers.size(); i += 16) {
            std::string line;
            for (std::size_t j = i; j < std::min(numbers.size(), i + 16); ++j) line += numbers[j];
            lines.push_back(line);
        }
        const int printed = c.pick(0, 2) ? 0 : c.pick(1, 34);
        lines.push_back(rj(std::to_string(printed), 5) + rj(std::to_string(c.pick(0, 10)), 5));
        numberLines(c, lines, printed);
    } else {
        lines.push_back(title(c));
        lines.push_back(title(c));
        lines.push_back("     " + rj(std::to_string(c.pick(1, 500)), 5) + rj(std::to_string(c.pick(0, 23)), 3) +
                        rj(std::to_string(c.pick(0, 59)), 2) + rj("30.0", 5) + std::string(59, ' ') +
                        std::to_string(c.pick(0, 1)));
        const int tributaries = c.pick(0, 4);
        for (int i = 0; i < tributaries; ++i)
            lines.push_back(notZero("     " + integer(c, 5, 1, 99) + integer(c, 5, 1, 9), c, 5, 5));
        lines.push_back("");
    }

    const int elements = c.pick(1, 6);
    for (int i = 0; i < elements; ++i) {
        const int ndp = c.pick(0, 2) ? 0 : c.pick(1, 9);
        const int type = c.pick(1, 5);
        std::string jk;
        switch (c.pick(0, 3)) {
        case 0: jk = "    0"; break;
        case 1: jk = "   -1"; break;
        case 2: jk = rj(std::to_string(c.pick(1, 1900)), 5); break;
        default: jk = "     "; break;
        }
        // Element numbers: positive, negative (change cards), or 0.
        std::string line = jk + integer(c, 5, -9, 1900) + integer(c, 5, 0, 1900) + " " +
                           (ndp ? rj(std::to_string(ndp), 2) : std::string(c.pick(0, 1) ? "  " : " 0")) + " " +
                           std::to_string(type) + decimals(c, 7, 8);
        lines.push_back(notZero(line, c, 0, 5));
        if (type > 3) lines.push_back(std::string(20, ' ') + decimals(c, 7, 8));
        for (int left = ndp * 2; left > 0; left -= 8) lines.push_back(decimals(c, std::min(left, 8), 10));
    }
    lines.push_back("");
    const int nsave = c.pick(0, 2) ? 0 : c.pick(1, 20);
    lines.push_back(rj(std::to_string(nsave), 5));
    numberLines(c, lines, nsave);
    const int nprint = c.pick(0, 2) ? 0 : c.pick(1, 20);
    lines.push_back(rj(std::to_string(nprint), 5) + rj(std::to_string(c.pick(0, 10)), 5));
    numberLines(c, lines, nprint);
    lines.push_back("ENDPROGRAM");

    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

}  // namespace rillo::testdata
