#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace rillo {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

double LenientNumber::value() const {
    if (!hasDigits()) return 0.0;
    if (fraction.empty() && exponent == 0 && whole.size() <= 15) {
        // Whole numbers of up to 15 digits are exact in a double.
        double v = 0;
        for (char c : whole) v = v * 10 + (c - '0');
        return negative ? -v : v;
    }
    std::string text;
    text.reserve(whole.size() + fraction.size() + 8);
    if (negative) text += '-';
    text += whole.empty() ? std::string("0") : whole;
    if (!fraction.empty()) {
        text += '.';
        text += fraction;
    }
    if (exponent != 0) text += 'e' + std::to_string(exponent);
    return std::strtod(text.c_str(), nullptr);
}

LenientNumber LenientNumber::plain() const {
    LenientNumber n = *this;
    n.exponent = 0;
    if (exponent > 0) {
        const auto moved = std::min(static_cast<std::size_t>(exponent), n.fraction.size());
        n.whole += n.fraction.substr(0, moved);
        n.fraction.erase(0, moved);
        n.whole.append(static_cast<std::size_t>(exponent) - moved, '0');
    } else if (exponent < 0) {
        const auto shift = static_cast<std::size_t>(-exponent);
        const auto moved = std::min(shift, n.whole.size());
        n.fraction.insert(0, n.whole.substr(n.whole.size() - moved));
        n.whole.erase(n.whole.size() - moved);
        n.fraction.insert(0, shift - moved, '0');
    }
    return n;
}

LenientNumber readLenient(std::string_view text) {
    LenientNumber n;
    bool signSeen = false;
    bool pointSeen = false;
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && isBlank(text[i])) ++i;
    };
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isBlank(c)) continue;
        if ((c == '-' || c == '+') && !signSeen && !pointSeen && !n.hasDigits()) {
            signSeen = true;
            n.negative = (c == '-');
            continue;
        }
        if (c == '.' && !pointSeen) {
            pointSeen = true;
            continue;
        }
        if (!isDigit(c)) break;
        (pointSeen ? n.fraction : n.whole) += c;
    }
    // An exponent counts only after digits and with digits of its own.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E') && n.hasDigits()) {
        ++i;
        skipBlanks();
        bool negative = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
        skipBlanks();
        long long e = 0;
        bool digits = false;
        for (; i < text.size() && (isDigit(text[i]) || isBlank(text[i])); ++i) {
            if (isBlank(text[i])) continue;
            digits = true;
            e = std::min<long long>(e * 10 + (text[i] - '0'), LenientNumber::MaxExponent);
        }
        if (digits) n.exponent = static_cast<int>(negative ? -e : e);
    }
    return n;
}

std::optional<LenientNumber> readFortranNumber(std::string_view text) {
    const std::string_view t = trimmed(text);
    LenientNumber n;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) n.negative = t[i++] == '-';
    while (i < t.size() && isDigit(t[i])) n.whole += t[i++];
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i])) n.fraction += t[i++];
    }
    if (!n.hasDigits()) return std::nullopt;
    if (i < t.size()) {
        const char c = t[i];
        if (c == 'E' || c == 'e' || c == 'D' || c == 'd') ++i;
        else if (c != '+' && c != '-') return std::nullopt;
        bool negative = false;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
        long long e = 0;
        bool digits = false;
        for (; i < t.size() && isDigit(t[i]); ++i) {
            digits = true;
            e = std::min<long long>(e * 10 + (t[i] - '0'), LenientNumber::MaxExponent);
        }
        if (!digits || i != t.size()) return std::nullopt;
        n.exponent = static_cast<int>(negative ? -e : e);
    }
    return n;
}

double readNumber(std::string_view text) {
    // The same reading as readLenient(text).value(), without building its
    // strings, for what cells and fields nearly always hold: a mantissa m
    // below 2^53 and at most 22 decimals. Such a number is m / 10^k with m
    // and 10^k exact doubles, and one division rounds it correctly, as the
    // library's conversion does. Anything else goes the general way.
    std::uint64_t m = 0;
    int digits = 0, decimals = 0;  // digits counted from the first that is not 0
    bool any = false, negative = false, signSeen = false, pointSeen = false;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (!isDigit(c)) {
            if (isBlank(c)) continue;
            if ((c == '-' || c == '+') && !signSeen && !pointSeen && !any) {
                signSeen = true;
                negative = c == '-';
                continue;
            }
            if (c == '.' && !pointSeen) {
                pointSeen = true;
                continue;
            }
            break;
        }
        any = true;
        if (digits > 0 || c != '0') ++digits;
        if (digits > 19) return readLenient(text).value();
        m = m * 10 + static_cast<std::uint64_t>(c - '0');
        if (pointSeen) ++decimals;
    }
    if (!any) return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) return readLenient(text).value();
    while (decimals > 0 && m % 10 == 0 && m != 0) m /= 10, --decimals;
    if (m == 0) decimals = 0;
    if (m > (std::uint64_t(1) << 53) || decimals > 22) return readLenient(text).value();
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double v = decimals ? static_cast<double>(m) / powers[decimals] : static_cast<double>(m);
    return negative ? -v : v;
}

bool readsAsZero(std::string_view text) {
    bool signSeen = false, pointSeen = false, digitSeen = false;
    for (char c : text) {
        if (isBlank(c)) continue;
        if ((c == '-' || c == '+') && !signSeen && !pointSeen && !digitSeen) {
            signSeen = true;
            continue;
        }
        if (c == '.' && !pointSeen) {
            pointSeen = true;
            continue;
        }
        if (!isDigit(c)) break;
        if (c != '0') return false;
        digitSeen = true;
    }
    return true;
}

long long readInteger(std::string_view text) {
    const double v = std::trunc(readNumber(text));
    constexpr double lo = static_cast<double>(std::numeric_limits<int>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<int>::max());
    if (std::isnan(v)) return 0;
    if (v < lo) return static_cast<long long>(lo);
    if (v > hi) return static_cast<long long>(hi);
    return static_cast<long long>(v);
}

bool isNumeric(std::string_view text) {
    text = trimmed(text);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < text.size() && isDigit(text[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == text.size();
}

std::string formatFixed(const LenientNumber& given, int decimals) {
    if (decimals < 0) decimals = 0;
    const LenientNumber number = given.plain();
    // Digits of the whole part without leading zeros, then exactly `decimals`
    // fraction digits plus one more to round on.
    std::string whole = number.whole;
    const auto firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? std::string() : whole.substr(firstNonZero);
    std::string fraction = number.fraction;
    const bool roundUp = fraction.size() > static_cast<std::size_t>(decimals) &&
                         fraction[static_cast<std::size_t>(decimals)] >= '5';
    fraction.resize(static_cast<std::size_t>(decimals), '0');

    std::string digits = whole + fraction;  // one run, the point `decimals` from the end
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        for (; i >= 0; --i) {
            if (digits[static_cast<std::size_t>(i)] == '9') {
                digits[static_cast<std::size_t>(i)] = '0';
            } else {
                ++digits[static_cast<std::size_t>(i)];
                break;
            }
        }
        if (i < 0) digits.insert(digits.begin(), '1');
    }
    const std::size_t wholeLen = digits.size() - static_cast<std::size_t>(decimals);
    std::string out;
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    if (number.negative && !zero) out += '-';
    out += wholeLen == 0 ? std::string("0") : digits.substr(0, wholeLen);
    if (decimals > 0) {
        out += '.';
        out += digits.substr(wholeLen);
    }
    return out;
}

std::string fixedText(std::string_view text, int decimals) {
    if (decimals < 0) decimals = 0;
    // Plain digits with at most one point and no more places than wanted
    // (what a deck file mostly holds) are padded directly.
    const std::string_view t = trimmed(text);
    std::size_t point = std::string_view::npos;
    bool plain = !t.empty();
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (isDigit(t[i])) continue;  // digits first: they are most of it
        if (t[i] == '.' && point == std::string_view::npos) {
            point = i;
            continue;
        }
        plain = false;
        break;
    }
    const std::string_view whole = t.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : t.substr(point + 1);
    if (plain && (whole.size() + fraction.size()) > 0 && static_cast<int>(fraction.size()) <= decimals) {
        // Made at its length, padded with zeros, then filled in.
        std::size_t first = 0;
        while (first < whole.size() && whole[first] == '0') ++first;
        const std::string_view digits = first == whole.size() ? std::string_view("0") : whole.substr(first);
        const std::size_t size = digits.size() + (decimals > 0 ? 1 + static_cast<std::size_t>(decimals) : 0);
        std::string out(size, '0');
        char* p = std::copy(digits.begin(), digits.end(), out.data());
        if (decimals > 0) {
            *p++ = '.';
            std::copy(fraction.begin(), fraction.end(), p);
        }
        return out;
    }
    const LenientNumber n = readLenient(text).plain();
    if (!n.hasDigits()) return {};
    // Every significant place is kept: the cell's places are a minimum here.
    const auto significant = n.fraction.find_last_not_of('0');
    const int places = significant == std::string::npos ? 0 : static_cast<int>(significant) + 1;
    return formatFixed(n, std::max(decimals, places));
}

std::string roundedText(std::string_view text, int decimals) {
    const LenientNumber n = readLenient(text);
    return n.hasDigits() ? formatFixed(n, decimals) : std::string();
}

std::string wholeText(std::string_view text) {
    const std::string_view t = trimmed(text);
    bool plain = !t.empty();
    for (char c : t) plain = plain && isDigit(c);
    if (plain) {
        const auto first = t.find_first_not_of('0');
        return std::string(first == std::string_view::npos ? std::string_view("0") : t.substr(first));
    }
    LenientNumber n = readLenient(text).plain();
    if (!n.hasDigits()) return {};
    n.fraction.clear();
    if (n.whole.empty()) n.whole = "0";
    return formatFixed(n, 0);
}

}  // namespace rillo
