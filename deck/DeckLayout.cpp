#include "DeckLayout.h"

#include "NumberText.h"
#include "TextCodec.h"

#include <algorithm>

namespace rillo::layout {

namespace {

constexpr Column blank(int w) { return {w, Rule::Blank, Kind::Blank}; }
constexpr int of(Field f) { return static_cast<int>(f); }
/// A whole number right-justified in `w`, into `target`.
constexpr Column whole(int w, int target, bool trim = false) { return {w, Rule::Text, Kind::Whole, target, trim}; }
constexpr Column whole(int w, Field f, bool trim = false) { return whole(w, of(f), trim); }
/// A decimal grid cell written by `rule`.
constexpr Column decimal(int w, Rule rule, int target) { return {w, rule, Kind::Decimal, target}; }

/// `n` columns of one kind filling consecutive targets from `first`.
std::vector<Column> run(int n, Column c, int first) {
    std::vector<Column> out;
    for (int i = 0; i < n; ++i) {
        c.target = first + i;
        out.push_back(c);
    }
    return out;
}
std::vector<Column> operator+(std::vector<Column> a, const std::vector<Column>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct RuleInfo {
    std::string_view emptyText;  // the text that counts as empty ("" for none)
    int trailingZeros;
};

RuleInfo ruleInfo(Rule rule) {
    switch (rule) {
    case Rule::R1: return {"0.0000", 4};
    case Rule::R2: return {"0.0000", 7};
    case Rule::R3: return {"0.000000000", 9};
    case Rule::R4: return {"0.0000000", 7};
    case Rule::R5: return {{}, 9};
    default: return {{}, 0};
    }
}

}  // namespace

// Line 1 is written as Header1Text; each field must read as the number the
// save writes there, or the save would change it without a word.
const Record Header1{"header", true,
                     {{5, Rule::Text, Kind::Whole, -1, false, "2"}, {5, Rule::Text, Kind::Whole, -1, false, "1"},
                      {5, Rule::Text, Kind::Whole, -1, false, "1"}, {5, Rule::Text, Kind::Whole, -1, false, "2"}}};
const Record Header2{"header", true,
                     {{4, Rule::Text, Kind::Whole, -1, false, "3"}, {4, Rule::Text, Kind::Whole, -1, false, "4"}}};
const Record Line3{"WATERSHED", true,
                   {{9, Rule::Text, Kind::Label, -1, false, "WATERSHED"}, blank(3),
                    {1, Rule::Check, Kind::Code, of(Field::Option)}}};
const Record Title1{"1.1", true, {{TitleWidth, Rule::Title, Kind::Title, of(Field::Title)}}};
const Record Title2{"1.1", true, {{TitleWidth, Rule::Title, Kind::Title, of(Field::SubTitle)}}};
const Record Title3{"2.1", true, {{TitleWidth, Rule::Title, Kind::Title, of(Field::RoutingTitle)}}};
const Record Title4{"2.1", true, {{TitleWidth, Rule::Title, Kind::Title, of(Field::RoutingSubTitle)}}};
const Record Card12{"1.2", true,
                    {blank(5), whole(5, Field::Steps), whole(3, Field::StartHour), whole(2, Field::StartMinute),
                     {5, Rule::Text, Kind::Implied, of(Field::TimeStep)}, whole(5, Field::Hyetographs, true),
                     {5, Rule::Text, Kind::Number, of(Field::ZeroDetentionPercent)}, blank(49),
                     {1, Rule::Check, Kind::Check, of(Field::PeakSummary)}}};
const Record Card13{"1.3", true, {whole(5, Field::HyetographPoints), {5, Rule::Text, Kind::Number, of(Field::HyetographInterval)}}};
const Record Card14{"1.4", false, run(10, decimal(5, Rule::R1, 0), 1)};
const Record Card15{"1.5", false,
                    run(3, whole(5, 0), Card15::Hyetograph) + run(10, decimal(5, Rule::R2, 0), Card15::Width) +
                        std::vector<Column>{decimal(10, Rule::R3, Card15::Decay)}};
const Record Card17{"1.7", true, {whole(5, -1, true)}};
const Record Card18{"1.8", false, run(16, whole(5, 0), 1)};
const Record Card19{"1.9", true, {whole(5, Field::PrintedSubbasins, true), whole(5, Field::PrintInterval, true)}};
const Record Card110{"1.10", false, run(16, whole(5, 0), 1)};
const Record Card22{"2.2", true,
                    {blank(5), whole(5, Field::RoutingSteps), whole(3, Field::RoutingStartHour), whole(2, Field::RoutingStartMinute),
                     {5, Rule::Text, Kind::Implied, of(Field::RoutingTimeStep)}, blank(59),
                     {1, Rule::Check, Kind::Check, of(Field::RoutingPeakSummary)}}};
const Record Card23{"2.3", false, {blank(5), whole(5, Card23::Subcatchment), whole(5, Card23::Element)}};
const Record Card31{"3.1", false,
                    std::vector<Column>{{5, Rule::Text, Kind::Code, Card31::JK}, whole(5, Card31::Element),
                                        whole(5, Card31::Downstream), blank(1), whole(2, Card31::NDP), blank(1),
                                        whole(1, Card31::Type)} +
                        run(7, decimal(8, Rule::R4, 0), Card31::FirstDimension)};
const Record Overflow{"3.1", false, std::vector<Column>{blank(20)} + run(7, decimal(8, Rule::R4, 0), Card31::FirstDimension)};
const Record Card31A{"3.1A", false, run(8, decimal(10, Rule::R5, 0), 1)};
const Record Card41{"4.1", true, {whole(5, Field::SavedElements, true)}};
const Record Card42{"4.2", false, run(16, whole(5, 0), 1)};
const Record Card43{"4.3", true, {whole(5, Field::PrintedElements, true), whole(5, Field::RoutingPrintInterval, true)}};
const Record Card44{"4.4", false, run(16, whole(5, 0), 1)};

Record::Record(const char* cardName, bool fields, std::vector<Column> cols)
    : card(cardName), ofFields(fields), columns(std::move(cols)) {
    int start = 1;
    for (const auto& c : columns) {
        if (c.rule != Rule::Blank) places.push_back({start, c});
        start += c.width;
    }
}

int Record::end() const {
    int start = 1;
    for (const auto& c : columns) start += c.width;
    return start;
}

std::string_view shortenDecimal(std::string_view t, Rule rule, int width) {
    const RuleInfo info = ruleInfo(rule);
    if (!info.emptyText.empty() && t == info.emptyText) return {};
    for (int i = 0; i < info.trailingZeros && !t.empty() && t.back() == '0'; ++i) t.remove_suffix(1);
    // A value too long for its columns drops what it can spare without
    // changing its number: a trailing point, then a leading zero.
    const auto tooLong = [&] { return static_cast<int>(t.size()) > width; };
    if (tooLong() && !t.empty() && t.back() == '.') t.remove_suffix(1);
    if (tooLong() && t.size() >= 2 && t[0] == '0' && t[1] == '.') t.remove_prefix(1);
    return t;
}

std::string shortenedDecimal(std::string_view t, Rule rule, int width) {
    // After a sign the leading zero is just as spare: "-0.000125" is "-.000125".
    if (t.size() >= 3 && (t[0] == '-' || t[0] == '+') && t[1] == '0' && t[2] == '.') {
        const std::string_view rest = shortenDecimal(t.substr(1), rule, width - 1);
        return rest.empty() ? std::string() : std::string(1, t[0]) + std::string(rest);
    }
    return std::string(shortenDecimal(t, rule, width));
}

std::string impliedText(std::string_view text, int width) {
    const std::string_view t = trimmed(text);
    const auto n = readFortranNumber(t);
    if (!n) return std::string(t);
    const LenientNumber plain = n->plain();
    const auto significant = plain.fraction.find_last_not_of('0');
    const int places = significant == std::string::npos ? 0 : static_cast<int>(significant) + 1;
    const bool point = t.find('.') != std::string_view::npos;
    const bool exponent = t.find_first_of("EeDd") != std::string_view::npos ||
                          t.find_first_of("+-", 1) != std::string_view::npos;
    // As typed, when it says where its point is and fits.
    if (point && !exponent && static_cast<int>(t.size()) <= width) return std::string(t);
    // With its point written ("5" is 5.0, not the .5 its bare digits would read as).
    std::string explicitForm = formatFixed(plain, std::max(places, 1));
    if (explicitForm.size() > 2 && explicitForm.compare(0, 2, "0.") == 0 && static_cast<int>(explicitForm.size()) > width)
        explicitForm.erase(0, 1);
    if (static_cast<int>(explicitForm.size()) <= width) return explicitForm;
    // The implied form: the digits of tenths, without the point.
    if (places <= 1) {
        LenientNumber tenths = plain;
        tenths.whole += plain.fraction.empty() ? "0" : plain.fraction.substr(0, 1);
        tenths.fraction.clear();
        return formatFixed(tenths, 0);
    }
    return explicitForm;
}

std::string titleText(std::string_view text) {
    return std::string(text.substr(0, bytesOfCharacters(text, static_cast<std::size_t>(TitleWidth))));
}

/// Leading blanks only right-justify a field: where a value typed after the
/// blanks a field already held would overrun its columns, they go.
static std::string_view withoutSpareLeadingBlanks(std::string_view t, int width) {
    while (static_cast<int>(t.size()) > width && !t.empty() && t.front() == ' ') t.remove_prefix(1);
    return t;
}

void appendField(std::string& line, std::string_view t, const Column& column) {
    if (column.fixed) t = column.fixed;
    if (t.empty() && column.rule != Rule::Title && column.rule != Rule::Check) {
        // Nothing to shorten or justify: the field's blanks.
        line.append(static_cast<std::size_t>(column.width), ' ');
        return;
    }
    std::string shortened;
    if (column.kind == Kind::Implied && !trimmed(t).empty()) {
        shortened = impliedText(t, column.width);
        t = shortened;
    }
    switch (column.rule) {
    case Rule::Blank: t = {}; break;
    case Rule::Title: line += titleText(t); return;
    case Rule::Check: t = (t == "1") ? "1" : "0"; break;
    case Rule::Text: t = withoutSpareLeadingBlanks(t, column.width); break;
    default:
        // Only a sign before "0." needs a text of its own; else the field's text shortens in place.
        if (t.size() >= 3 && (t[0] == '-' || t[0] == '+') && t[1] == '0' && t[2] == '.') {
            shortened = shortenedDecimal(t, column.rule, column.width);
            t = shortened;
        } else {
            t = shortenDecimal(t, column.rule, column.width);
        }
        break;
    }
    if (static_cast<int>(t.size()) > column.width) throw FieldTooLong{std::string(t), column.width};
    // The field's blanks, then its text at their end.
    const std::size_t at = line.size() + static_cast<std::size_t>(column.width) - t.size();
    line.resize(line.size() + static_cast<std::size_t>(column.width), ' ');
    std::copy(t.begin(), t.end(), line.begin() + static_cast<std::ptrdiff_t>(at));
}

bool fits(std::string_view t, const Column& column) {
    if (column.kind == Kind::Implied && !trimmed(t).empty())
        return static_cast<int>(impliedText(t, column.width).size()) <= column.width;
    switch (column.rule) {
    case Rule::Blank:
    case Rule::Title:
    case Rule::Check: return true;
    case Rule::Text: return static_cast<int>(withoutSpareLeadingBlanks(t, column.width).size()) <= column.width;
    default: {
        // As shortenedDecimal, without building the text.
        int sign = 0;
        if (t.size() >= 3 && (t[0] == '-' || t[0] == '+') && t[1] == '0' && t[2] == '.') sign = 1;
        const std::string_view rest = shortenDecimal(t.substr(static_cast<std::size_t>(sign)), column.rule, column.width - sign);
        return rest.empty() || static_cast<int>(rest.size()) + sign <= column.width;
    }
    }
}

std::string formatField(std::string_view value, const Column& column) {
    std::string field;
    appendField(field, value, column);
    return field;
}

std::string writeRecord(const Record& record, const std::vector<std::string_view>& values) {
    std::string line;
    line.reserve(96);
    writeRecordInto(line, record, values);
    return line;
}

void writeRecordInto(std::string& line, const Record& record, const std::vector<std::string_view>& values) {
    line.clear();
    std::size_t next = 0;
    for (const auto& c : record.columns) {
        if (c.rule == Rule::Blank) {
            appendField(line, {}, c);
            continue;
        }
        const int start = static_cast<int>(line.size()) + 1;
        try {
            appendField(line, next < values.size() ? values[next] : std::string_view(), c);
        } catch (FieldTooLong& e) {
            e.start = start;
            throw;
        }
        ++next;
    }
}

std::string_view cut(std::string_view line, int start, int width) {
    const auto from = static_cast<std::size_t>(start - 1);
    if (start < 1 || from >= line.size()) return {};
    return line.substr(from, static_cast<std::size_t>(width));
}

std::vector<std::string> readRecord(const Record& record, std::string_view line) {
    std::vector<std::string> out;
    out.reserve(record.valueCount());
    int start = 1;
    for (const auto& c : record.columns) {
        if (c.rule != Rule::Blank) out.emplace_back(cut(line, start, c.width));
        start += c.width;
    }
    return out;
}

}  // namespace rillo::layout
