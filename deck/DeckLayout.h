#pragma once
// The deck file's fixed-column layout: one table of records whose columns
// both the reader (cutting fields) and the writer (justifying and shortening
// them) use, and the number write rules R1 to R5.

#include <string>
#include <string_view>
#include <vector>

namespace rillo::layout {

/// How a column is written.
enum class Rule {
    Blank,  ///< blanks, never read
    Text,   ///< written as it stands, right-justified
    Title,  ///< the first 80 characters as they stand, not padded
    Check,  ///< a check box digit, "0" or "1"
    R1,     ///< card 1.4 rainfall values
    R2,     ///< card 1.5 columns 4-13
    R3,     ///< card 1.5 column 14
    R4,     ///< card 3.1 dimensions and the overflow line
    R5,     ///< card 3.1A values
};

struct Column {
    int width;
    Rule rule;
};

/// One line's columns, consecutive from column 1.
struct Record {
    std::vector<Column> columns;
    /// Columns that carry a value (all but the blanks), in order.
    std::size_t valueCount() const;
};

extern const Record Card12;    ///< time-step controls (IOPT 0)
extern const Record Card13;    ///< hyetograph controls
extern const Record Card14;    ///< 10 rainfall values
extern const Record Card15;    ///< one subcatchment
extern const Record Count5;    ///< one count in 1-5 (cards 1.7, 4.1)
extern const Record Count2x5;  ///< two counts (cards 1.9, 4.3)
extern const Record List16;    ///< 16 numbers (cards 1.8, 1.10, 4.2, 4.4)
extern const Record Card22;    ///< time-step controls (IOPT 1)
extern const Record Card23;    ///< one tributary sub-catchment
extern const Record Card31;    ///< one conveyance element
extern const Record Overflow;  ///< the overflow channel of a type 4 or 5 element
extern const Record Card31A;   ///< 4 tabular pairs

inline constexpr const char* Header1 = "   2   1   1   2";
inline constexpr const char* Header2 = "   3   4";
inline constexpr const char* Watershed = "WATERSHED";
inline constexpr const char* EndProgram = "ENDPROGRAM";
inline constexpr int TitleWidth = 80;

/// A field's text is longer than its columns.
struct FieldTooLong {
    std::string text;
    int width;
    int start = 0;  ///< its first column in the line, when known
};

/// Shortens a fixed-point decimal text by a write rule (trailing zeros,
/// the empty value of the rule, and the leading "0" or trailing "." that a
/// value too long for its columns can spare).
std::string_view shortenDecimal(std::string_view text, Rule rule, int width);
/// The same for a text that may carry a sign ("-0.000125" -> "-.000125"
/// when 8 columns must hold it).
std::string shortenedDecimal(std::string_view text, Rule rule, int width);

/// Whether a field's text, shortened by its rule, fits its columns (what
/// appendField would write without throwing), without writing it.
bool fits(std::string_view text, const Column& column);

/// One field as written: shortened by its rule and right-justified.
/// Throws FieldTooLong.
std::string formatField(std::string_view text, const Column& column);
/// The same, appended to a line.
void appendField(std::string& line, std::string_view text, const Column& column);

/// A whole line from the values of a record's value columns (missing values
/// are empty). Throws FieldTooLong.
std::string writeRecord(const Record& record, const std::vector<std::string_view>& values);

/// The value columns of a line, cut exactly from their character positions
/// (a short line gives short or empty fields).
std::vector<std::string> readRecord(const Record& record, std::string_view line);

/// A value column and where it starts in the line (1-based).
struct PlacedColumn {
    int start;
    Column column;
};
/// The value columns of a record with their places, in order.
std::vector<PlacedColumn> valueColumns(const Record& record);

/// Cuts `width` characters from 1-based column `start`.
std::string_view cut(std::string_view line, int start, int width);

}  // namespace rillo::layout
