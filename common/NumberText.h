#pragma once
// The program's one way of turning text into a number, and of writing a
// number as fixed-point text. Everything that reads a count, a grid value or
// a deck field goes through here.

#include <optional>
#include <string>
#include <string_view>

namespace rillo {

/// A number as read leniently from text: blanks anywhere are skipped, an
/// optional sign, then digits with at most one point, then an optional
/// exponent ("E" or "e", an optional sign and digits) as other programs
/// write decks; reading stops at the first other character. Text with no
/// digits there reads as zero. An "E" without digits after it is such an
/// other character.
struct LenientNumber {
    bool negative = false;
    std::string whole;     ///< digits before the point, as written (may be empty)
    std::string fraction;  ///< digits after the point, as written (may be empty)
    int exponent = 0;      ///< power of ten, held within +-MaxExponent

    static constexpr int MaxExponent = 400;

    bool hasDigits() const { return !whole.empty() || !fraction.empty(); }
    double value() const;
    /// The same number with its exponent moved into the digits (exponent 0).
    LenientNumber plain() const;
};

LenientNumber readLenient(std::string_view text);

/// A number as a deck file may spell it, the whole text: blanks around
/// it, an optional sign, digits with at most one point (leading and
/// trailing points allowed), then an optional exponent written with E, e, D
/// or d, or as a bare sign and digits ("1.2-3" is 1.2E-3). Anything else
/// (letters after the digits, a comma, a blank inside, "1.25E", no digits)
/// is no number.
std::optional<LenientNumber> readFortranNumber(std::string_view text);

/// The lenient value of text ("" and "abc" give 0, " 1 2.5x" gives 12.5).
double readNumber(std::string_view text);

/// Whether the lenient value of text is zero (no digits, or only zeros);
/// stops at the first digit that is not.
bool readsAsZero(std::string_view text);

/// The lenient value truncated to a whole number, saturated to the int range.
long long readInteger(std::string_view text);

/// Whether the whole text, blanks around it allowed, is one number
/// (sign, digits, at most one point, an optional exponent). "" is not.
bool isNumeric(std::string_view text);

/// Fixed-point text with exactly `decimals` places, rounded half away from
/// zero on the decimal digits themselves (no binary rounding on the way).
/// A value that rounds to zero has no sign: "-0.00001" with 4 places is "0.0000".
std::string formatFixed(const LenientNumber& number, int decimals);

/// Text read leniently and written as fixed-point text with at least
/// `decimals` places; a number with more places keeps every digit (no
/// rounding), so a program write never alters a value. "" when the text
/// holds no number.
std::string fixedText(std::string_view text, int decimals);

/// Text read leniently and written with exactly `decimals` places, rounded
/// (what a user types into a cell of that many places); "" when the text
/// holds no number.
std::string roundedText(std::string_view text, int decimals);

/// The whole part of text read leniently, as plain digits with an optional
/// minus sign ("  0012" -> "12", "-3.7" -> "-3", "1E3" -> "1000"); "" when
/// it holds no number.
std::string wholeText(std::string_view text);

/// Blanks (spaces and tabs) removed from both ends.
inline std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace rillo
