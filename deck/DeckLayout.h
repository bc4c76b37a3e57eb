#pragma once
// The deck file's fixed-column layout: one table of records whose columns
// say where each value stands in a line, which deck field or grid column it
// fills, how it is read and how it is written. The reader, the writer, the
// editor and the model all iterate these records; no column position or
// field mapping is written anywhere else.

#include "Deck.h"

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

/// How a column's text is read.
enum class Kind {
    Blank,    ///< must hold blanks only
    Whole,    ///< a whole number
    Number,   ///< a number kept as written (decimals allowed)
    Implied,  ///< a number whose point, when not written, stands before its last digit
    Decimal,  ///< a decimal held as fixed-point text by its grid cell
    Title,    ///< text, kept exactly
    Check,    ///< a check box digit
    Code,     ///< a code the card decodes itself (the special-element code, IOPT)
    Label,    ///< fixed text the file carries for people
};

struct Column {
    int width;
    Rule rule;
    Kind kind = Kind::Blank;
    /// The deck field (records of fields) or the grid column (records of a
    /// grid row) the value fills; -1 for none.
    int target = -1;
    /// The field keeps its text without the blanks around it.
    bool trim = false;
    /// What the column always holds (the header's numbers, the WATERSHED
    /// label): written as the value, and read only when it reads as it.
    const char* fixed = nullptr;
};

/// A value column and where it starts in the line (1-based).
struct PlacedColumn {
    int start;
    Column column;
};

/// One line's columns, consecutive from column 1.
struct Record {
    Record(const char* card, bool ofFields, std::vector<Column> columns);

    const char* card;   ///< the card's number, as messages name it
    bool ofFields;      ///< targets are deck fields; otherwise grid columns
    std::vector<Column> columns;
    /// The columns that carry a value (all but the blanks), with their
    /// places, in order.
    std::vector<PlacedColumn> places;
    /// Columns that carry a value, in order.
    std::size_t valueCount() const { return places.size(); }
    /// The first column after the record's last.
    int end() const;
};

extern const Record Header1;   ///< line 1: four numbers
extern const Record Header2;   ///< line 2: the numbers 3 and 4
extern const Record Line3;     ///< the WATERSHED label and the IOPT digit
extern const Record Title1;    ///< card 1.1 job title
extern const Record Title2;    ///< card 1.1 job sub-title
extern const Record Title3;    ///< card 2.1 job title
extern const Record Title4;    ///< card 2.1 job sub-title
extern const Record Card12;    ///< time-step controls (IOPT 0)
extern const Record Card13;    ///< hyetograph controls
extern const Record Card14;    ///< 10 rainfall values
extern const Record Card15;    ///< one subcatchment
extern const Record Card17;    ///< the count of saved subbasins
extern const Record Card18;    ///< 16 saved subbasin numbers
extern const Record Card19;    ///< subbasin print count and interval
extern const Record Card110;   ///< 16 printed subbasin numbers
extern const Record Card41;    ///< the count of saved elements
extern const Record Card42;    ///< 16 saved element numbers
extern const Record Card43;    ///< element print count and interval
extern const Record Card44;    ///< 16 printed element numbers
extern const Record Card22;    ///< time-step controls (IOPT 1)
extern const Record Card23;    ///< one tributary sub-catchment
extern const Record Card31;    ///< one conveyance element
extern const Record Overflow;  ///< the overflow channel of a type 4 or 5 element
extern const Record Card31A;   ///< 4 tabular pairs

inline constexpr const char* Header1Text = "   2   1   1   2";
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

/// An implied-decimal field's text as written: as typed when it shows its
/// point and fits, else with its point written ("5" -> "5.0"), else in its
/// implied form, the digits of its tenths ("1000.0" -> "10000").
std::string impliedText(std::string_view text, int width);

/// A title as written: its first 80 characters (not bytes).
std::string titleText(std::string_view text);

/// One field as written: shortened by its rule and right-justified.
/// Throws FieldTooLong.
std::string formatField(std::string_view text, const Column& column);
/// The same, appended to a line.
void appendField(std::string& line, std::string_view text, const Column& column);

/// A whole line from the values of a record's value columns (missing values
/// are empty). Throws FieldTooLong.
std::string writeRecord(const Record& record, const std::vector<std::string_view>& values);
/// The same into `line`, which is emptied first (a buffer kept for many lines).
void writeRecordInto(std::string& line, const Record& record, const std::vector<std::string_view>& values);

/// The value columns of a line, cut exactly from their character positions
/// (a short line gives short or empty fields).
std::vector<std::string> readRecord(const Record& record, std::string_view line);

/// The value columns of a record with their places, in order.
inline const std::vector<PlacedColumn>& valueColumns(const Record& record) { return record.places; }

/// Cuts `width` characters from 1-based column `start`.
std::string_view cut(std::string_view line, int start, int width);

}  // namespace rillo::layout
