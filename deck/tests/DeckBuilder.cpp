#include "DeckBuilder.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace rillo::testdata {

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

std::string rj(const std::string& text, int width) {
    return text.size() >= static_cast<std::size_t>(width) ? text
                                                           : std::string(width - text.size(), ' ') + text;
}

std::string card12(const std::string& nstep, const std::string& nhr, const std::string& nmn, const std::string& delt,
                   const std::string& nrgag, const std::string& pctzer, const std::string& check) {
    return std::string(5, ' ') + rj(nstep, 5) + rj(nhr, 3) + rj(nmn, 2) + rj(delt, 5) + rj(nrgag, 5) + rj(pctzer, 5) +
           std::string(49, ' ') + check;
}

std::string card22(const std::string& nstep, const std::string& nhr, const std::string& nmn, const std::string& delt,
                   const std::string& check) {
    return std::string(5, ' ') + rj(nstep, 5) + rj(nhr, 3) + rj(nmn, 2) + rj(delt, 5) + std::string(59, ' ') + check;
}

namespace {

int pick(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

/// A decimal value as the writer leaves it: no trailing zeros, a blank for
/// zero (or "0." where zero is written), right-justified in `width`.
std::string decimal(std::mt19937& rng, int width, int decimals, bool zeroIsBlank) {
    for (;;) {
        const bool zeroWhole = pick(rng, 0, 9) < 4;
        std::string whole = zeroWhole ? "0" : std::to_string(pick(rng, 1, width >= 8 ? 99999 : width >= 5 ? 999 : 9));
        const int k = pick(rng, 0, std::min(decimals, width - 1));
        std::string fraction;
        for (int i = 0; i < k; ++i) fraction += static_cast<char>('0' + pick(rng, i + 1 == k ? 1 : 0, 9));
        if (whole == "0" && fraction.empty()) return zeroIsBlank ? std::string(width, ' ') : rj("0.", width);
        std::string t = whole + "." + fraction;
        if (static_cast<int>(t.size()) > width && t.back() == '.') t.pop_back();
        if (static_cast<int>(t.size()) > width && t.rfind("0.", 0) == 0) t.erase(0, 1);
        if (static_cast<int>(t.size()) <= width) return rj(t, width);
    }
}

std::string integer(int value, int width) { return rj(std::to_string(value), width); }

std::string title(std::mt19937& rng) {
    std::string t;
    const int n = pick(rng, 0, 80);
    for (int i = 0; i < n; ++i) t += static_cast<char>(pick(rng, 32, 126));
    return t;
}

/// Lines of 16 numbers, 5 columns each; a last short line is padded with blanks.
void numberLines(std::vector<std::string>& lines, const std::vector<int>& numbers, bool pad = true) {
    for (std::size_t i = 0; i < numbers.size(); i += 16) {
        std::string line;
        for (std::size_t j = i; j < i + 16; ++j)
            line += j < numbers.size() ? integer(numbers[j], 5) : pad ? std::string(5, ' ') : std::string();
        lines.push_back(line);
    }
}

}  // namespace

std::string generateDeck(const DeckShape& s, std::mt19937& rng) {
    std::vector<std::string> lines{"   2   1   1   2", "   3   4", std::string("WATERSHED   ") + (s.iopt == 1 ? "1" : "0")};
    const int elements = std::max(s.elements, 1);
    std::vector<int> numbers(static_cast<std::size_t>(elements));
    std::iota(numbers.begin(), numbers.end(), 1);
    std::shuffle(numbers.begin(), numbers.end(), rng);

    if (s.iopt == 0) {
        lines.push_back(title(rng));
        lines.push_back(title(rng));
        lines.push_back(std::string(5, ' ') + integer(pick(rng, 1, 9999), 5) + integer(pick(rng, 0, 23), 3) +
                        integer(pick(rng, 0, 59), 2) + rj(std::to_string(pick(rng, 1, 60)) + ".0", 5) +
                        integer(s.hyetographs, 5) + integer(pick(rng, 0, 100), 5) + std::string(49, ' ') +
                        (pick(rng, 0, 1) ? "1" : "0"));
        lines.push_back(integer(s.valuesPerHyetograph, 5) + integer(pick(rng, 1, 60), 5));
        for (int h = 0; h < s.hyetographs; ++h) {
            const int n = std::max(s.valuesPerHyetograph, 1);
            for (int first = 0; first < n; first += 10) {
                std::string line;
                for (int v = first; v < first + 10; ++v)
                    line += v < s.valuesPerHyetograph ? decimal(rng, 5, 4, true) : std::string(5, ' ');
                lines.push_back(line);
            }
        }
        std::vector<int> subcatchments;
        for (int i = 0; i < s.subcatchments; ++i) {
            const int number = i + 1;
            subcatchments.push_back(number);
            std::string line = integer(pick(rng, 1, std::max(s.hyetographs, 1)), 5) + integer(number, 5) +
                               integer(numbers[static_cast<std::size_t>(pick(rng, 0, elements - 1))], 5);
            for (int c = 0; c < 10; ++c) line += decimal(rng, 5, 4, true);
            line += decimal(rng, 10, 9, true);
            lines.push_back(line);
        }
        lines.push_back("");
        if (s.saveList && !subcatchments.empty()) {
            lines.push_back(integer(static_cast<int>(subcatchments.size()), 5));
            numberLines(lines, subcatchments, false);
        } else {
            lines.push_back("    0");
        }
        lines.push_back(integer(s.printed, 5) + integer(pick(rng, 1, 10), 5));
        std::vector<int> printed;
        for (int i = 0; i < s.printed; ++i) printed.push_back(pick(rng, 1, std::max(s.subcatchments, 1)));
        numberLines(lines, printed);
    } else {
        lines.push_back(title(rng));
        lines.push_back(title(rng));
        lines.push_back(std::string(5, ' ') + integer(pick(rng, 1, 9999), 5) + integer(pick(rng, 0, 23), 3) +
                        integer(pick(rng, 0, 59), 2) + rj(std::to_string(pick(rng, 1, 60)) + ".5", 5) +
                        std::string(59, ' ') + (pick(rng, 0, 1) ? "1" : "0"));
        for (int i = 0; i < s.printed; ++i)
            lines.push_back(std::string(5, ' ') + integer(i + 1, 5) +
                            integer(numbers[static_cast<std::size_t>(pick(rng, 0, elements - 1))], 5));
        lines.push_back("");
    }

    // Conveyance elements: the first ones special, a few with overflow rows.
    for (int i = 0; i < elements; ++i) {
        const bool special = i < s.specialElements;
        const bool overflow = i >= s.specialElements && i < s.specialElements + s.overflowElements;
        const int ndp = !special ? 0 : s.fixedPairs ? s.maxPairs : pick(rng, 1, std::max(s.maxPairs, 1));
        std::string jk = "    0";
        if (special) {
            const int kind = pick(rng, 0, 2);
            jk = kind == 0 ? "    0" : kind == 1 ? "   -1" : integer(numbers[static_cast<std::size_t>(pick(rng, 0, elements - 1))], 5);
        }
        const int type = overflow ? pick(rng, 4, 5) : pick(rng, 1, 3);
        std::string line = jk + integer(numbers[static_cast<std::size_t>(i)], 5) +
                           integer(numbers[static_cast<std::size_t>(pick(rng, 0, elements - 1))], 5) + " " +
                           (ndp ? integer(ndp, 2) : "  ") + " " + std::to_string(type);
        for (int d = 0; d < 7; ++d) line += decimal(rng, 8, 7, true);
        lines.push_back(line);
        if (type > 3) {
            std::string o(20, ' ');
            for (int d = 0; d < 7; ++d) o += decimal(rng, 8, 7, true);
            lines.push_back(o);
        }
        std::vector<std::string> values;
        for (int v = 0; v < 2 * ndp; ++v) values.push_back(decimal(rng, 10, 6, false));
        // The first values of the pairs rise along the table, as a saved deck's do.
        std::vector<std::string> firsts;
        for (int v = 0; v < 2 * ndp; v += 2) firsts.push_back(values[static_cast<std::size_t>(v)]);
        std::stable_sort(firsts.begin(), firsts.end(),
                         [](const std::string& a, const std::string& b) { return std::stod(a) < std::stod(b); });
        for (int v = 0; v < 2 * ndp; v += 2) values[static_cast<std::size_t>(v)] = firsts[static_cast<std::size_t>(v / 2)];
        for (int first = 0; first < 2 * ndp; first += 8) {
            std::string t;
            for (int v = first; v < first + 8; ++v) t += v < 2 * ndp ? values[static_cast<std::size_t>(v)] : std::string(10, ' ');
            lines.push_back(t);
        }
    }
    lines.push_back("");

    lines.push_back(integer(s.conveyanceSaved, 5));
    std::vector<int> saved, printed;
    for (int i = 0; i < s.conveyanceSaved; ++i) saved.push_back(numbers[static_cast<std::size_t>(i % elements)]);
    numberLines(lines, saved);
    lines.push_back(integer(s.conveyancePrinted, 5) + integer(pick(rng, 1, 10), 5));
    for (int i = 0; i < s.conveyancePrinted; ++i) printed.push_back(numbers[static_cast<std::size_t>(i % elements)]);
    numberLines(lines, printed);
    lines.push_back("ENDPROGRAM");
    return joinLines(lines);
}

DeckShape randomShape(std::mt19937& rng) {
    DeckShape s;
    s.iopt = pick(rng, 0, 1);
    s.hyetographs = pick(rng, 1, 10);
    s.valuesPerHyetograph = pick(rng, 1, 45);
    s.subcatchments = pick(rng, 1, 40);
    s.saveList = pick(rng, 0, 1) == 1;
    s.printed = pick(rng, 0, 40);
    s.elements = pick(rng, 1, 40);
    s.specialElements = pick(rng, 0, std::min(s.elements, 8));
    s.maxPairs = pick(rng, 1, 99);
    s.overflowElements = pick(rng, 0, s.elements - s.specialElements);
    s.conveyanceSaved = pick(rng, 0, 40);
    s.conveyancePrinted = pick(rng, 0, 40);
    return s;
}

DeckShape maximalShape() {
    DeckShape s;
    s.hyetographs = 10;
    s.valuesPerHyetograph = 399;
    s.subcatchments = 1900;
    s.saveList = true;
    s.printed = 1900;
    s.elements = 1900;
    s.specialElements = 100;
    s.maxPairs = 99;
    s.fixedPairs = true;
    s.overflowElements = 20;
    s.conveyanceSaved = 1900;
    s.conveyancePrinted = 1900;
    return s;
}

}  // namespace rillo::testdata
