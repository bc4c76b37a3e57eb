#include "CellOrder.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace rillo::results {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool parseNumber(std::string_view s, double& v) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc{} && end == s.data() + s.size();
}

bool parseWhole(std::string_view s, int& v) {
    if (s.empty() || s.size() > 6) return false;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc{} && end == s.data() + s.size() && v >= 0;
}

/// H:MM or H:MM:SS as seconds.
bool parseClock(std::string_view s, double& seconds) {
    int part[3] = {0, 0, 0};
    int count = 0;
    while (count < 3) {
        const std::size_t colon = s.find(':');
        std::string_view piece = s.substr(0, colon);
        if (!parseWhole(piece, part[count])) return false;
        if (count > 0 && (piece.size() != 2 || part[count] > 59)) return false;
        ++count;
        if (colon == std::string_view::npos) break;
        s.remove_prefix(colon + 1);
        if (count == 3) return false;
    }
    if (count < 2) return false;
    seconds = part[0] * 3600.0 + part[1] * 60.0 + part[2];
    return true;
}

/// "D HH:MM" (a day, then the clock), as a report gives times once a run
/// passes midnight, as seconds.
bool parseDayClock(std::string_view s, double& seconds) {
    const std::size_t blank = s.find(' ');
    if (blank == std::string_view::npos) return false;
    int day = 0;
    if (!parseWhole(s.substr(0, blank), day) || !parseClock(trimmed(s.substr(blank)), seconds)) return false;
    if (seconds >= 86400.0) return false;
    seconds += day * 86400.0;
    return true;
}

enum Rank { Number, Clock, Text, Empty };

struct Key {
    Rank rank;
    double value = 0;
    std::string_view text;
};

Key keyOf(std::string_view cell) {
    cell = trimmed(cell);
    Key key{Text, 0, cell};
    if (cell.empty()) key.rank = Empty;
    else if (parseNumber(cell, key.value)) key.rank = Number;
    else if (parseClock(cell, key.value) || parseDayClock(cell, key.value)) key.rank = Clock;
    return key;
}

bool textLess(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

bool cellLess(std::string_view a, std::string_view b) {
    const Key ka = keyOf(a);
    const Key kb = keyOf(b);
    if (ka.rank != kb.rank) return ka.rank < kb.rank;
    switch (ka.rank) {
    case Number:
    case Clock:
        return ka.value < kb.value;
    case Text:
        return textLess(ka.text, kb.text);
    case Empty:
        break;
    }
    return false;
}

}  // namespace rillo::results
