#include "DeckLayout.h"

namespace rillo::layout {

namespace {

Record repeat(std::vector<Column> head, int n, Column c, std::vector<Column> tail = {}) {
    for (int i = 0; i < n; ++i) head.push_back(c);
    head.insert(head.end(), tail.begin(), tail.end());
    return Record{std::move(head)};
}

constexpr Column blank(int w) { return {w, Rule::Blank}; }
constexpr Column text(int w) { return {w, Rule::Text}; }

struct RuleInfo {
    const char* emptyText;  // the text that counts as empty, or null
    int trailingZeros;
};

RuleInfo ruleInfo(Rule rule) {
    switch (rule) {
    case Rule::R1: return {"0.0000", 4};
    case Rule::R2: return {"0.0000", 7};
    case Rule::R3: return {"0.000000000", 9};
    case Rule::R4: return {"0.0000000", 7};
    case Rule::R5: return {nullptr, 9};
    default: return {nullptr, 0};
    }
}

}  // namespace

const Record Card12{{blank(5), text(5), text(3), text(2), text(5), text(5), text(5), blank(49), {1, Rule::Check}}};
const Record Card13{{text(5), text(5)}};
const Record Card14 = repeat({}, 10, {5, Rule::R1});
const Record Card15 = repeat({text(5), text(5), text(5)}, 10, {5, Rule::R2}, {{10, Rule::R3}});
const Record Count5{{text(5)}};
const Record Count2x5{{text(5), text(5)}};
const Record List16 = repeat({}, 16, text(5));
const Record Card22{{blank(5), text(5), text(3), text(2), text(5), blank(59), {1, Rule::Check}}};
const Record Card23{{blank(5), text(5), text(5)}};
const Record Card31 = repeat({text(5), text(5), text(5), blank(1), text(2), blank(1), text(1)}, 7, {8, Rule::R4});
const Record Overflow = repeat({blank(20)}, 7, {8, Rule::R4});
const Record Card31A = repeat({}, 8, {10, Rule::R5});

std::size_t Record::valueCount() const {
    std::size_t n = 0;
    for (const auto& c : columns) n += c.rule != Rule::Blank;
    return n;
}

std::string_view shortenDecimal(std::string_view t, Rule rule, int width) {
    const RuleInfo info = ruleInfo(rule);
    if (info.emptyText && t == info.emptyText) return {};
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

void appendField(std::string& line, std::string_view t, const Column& column) {
    std::string shortened;
    switch (column.rule) {
    case Rule::Blank: t = {}; break;
    case Rule::Title: line += t.substr(0, TitleWidth); return;
    case Rule::Check: t = (t == "1") ? "1" : "0"; break;
    case Rule::Text: break;
    default: shortened = shortenedDecimal(t, column.rule, column.width); t = shortened; break;
    }
    if (static_cast<int>(t.size()) > column.width) throw FieldTooLong{std::string(t), column.width};
    line.append(static_cast<std::size_t>(column.width) - t.size(), ' ');
    line += t;
}

bool fits(std::string_view t, const Column& column) {
    switch (column.rule) {
    case Rule::Blank:
    case Rule::Title:
    case Rule::Check: return true;
    case Rule::Text: return static_cast<int>(t.size()) <= column.width;
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
    return line;
}

std::vector<PlacedColumn> valueColumns(const Record& record) {
    std::vector<PlacedColumn> out;
    int start = 1;
    for (const auto& c : record.columns) {
        if (c.rule != Rule::Blank) out.push_back({start, c});
        start += c.width;
    }
    return out;
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
