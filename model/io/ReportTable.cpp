#include "ReportTable.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <utility>

namespace rillo::model {

namespace {

constexpr const char* TableStart = "TABLE ";
constexpr const char* TableEnd = "END TABLE";
constexpr std::size_t Gap = 2;

std::string trimmed(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

/// Runs of '-' in a line of dashes: [begin, end) of each column.
std::vector<std::pair<std::size_t, std::size_t>> columnExtents(const std::string& dashes) {
    std::vector<std::pair<std::size_t, std::size_t>> out;
    std::size_t i = 0;
    while (i < dashes.size()) {
        if (dashes[i] != '-') {
            ++i;
            continue;
        }
        std::size_t b = i;
        while (i < dashes.size() && dashes[i] == '-') ++i;
        out.emplace_back(b, i);
    }
    return out;
}

bool isDashes(const std::string& line) {
    return line.find('-') != std::string::npos && line.find_first_not_of(" -\r") == std::string::npos;
}

}  // namespace

ReportFileError::ReportFileError(const std::string& path, long line, const std::string& what)
    : std::runtime_error(path + ", line " + std::to_string(line) + ": " + what), path_(path), line_(line) {}

void writeReportTable(std::ostream& out, const ReportTable& table) {
    std::vector<std::size_t> width(table.headers.size());
    for (std::size_t c = 0; c < width.size(); ++c) width[c] = std::max<std::size_t>(table.headers[c].size(), 1);
    for (const auto& row : table.rows)
        for (std::size_t c = 0; c < row.size() && c < width.size(); ++c) width[c] = std::max(width[c], row[c].size());

    auto line = [&](auto cell) {
        std::string text;
        for (std::size_t c = 0; c < width.size(); ++c) {
            std::string v = cell(c);
            if (c > 0) text.append(Gap, ' ');
            text.append(width[c] - std::min(width[c], v.size()), ' ');
            text += v;
        }
        out << text << '\n';
    };
    out << TableStart << table.title << '\n';
    line([&](std::size_t c) { return table.headers[c]; });
    line([&](std::size_t c) { return std::string(width[c], '-'); });
    for (const auto& row : table.rows) line([&](std::size_t c) { return c < row.size() ? row[c] : std::string(); });
    out << TableEnd << '\n';
}

std::vector<ReportTable> readReportTables(std::istream& in, const std::string& path) {
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(std::move(line));
    auto fail = [&](std::size_t index, const std::string& what) {
        throw ReportFileError(path, static_cast<long>(index) + 1, what);
    };

    std::vector<ReportTable> tables;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // A table is a TABLE line, its header and a line of dashes; a line
        // that merely begins with the word (a job title, say) is prose.
        if (lines[i].rfind(TableStart, 0) != 0 || i + 2 >= lines.size() || !isDashes(lines[i + 2])) continue;
        const std::size_t opened = i;
        ReportTable table;
        table.title = trimmed(lines[i].substr(std::char_traits<char>::length(TableStart)));
        const auto extents = columnExtents(lines[i + 2]);
        auto cut = [&](std::size_t index) {
            const std::string& text = lines[index];
            if (text.size() > extents.back().second && !trimmed(text.substr(extents.back().second)).empty())
                fail(index, "a row of the table \"" + table.title + "\" is wider than its columns");
            std::vector<std::string> cells;
            std::size_t from = 0;
            for (const auto& extent : extents) {
                // Each cell reaches back to the end of the previous column, so
                // a header wider than its dashes on the left is still whole.
                cells.push_back(from < text.size() ? trimmed(text.substr(from, extent.second - from)) : std::string());
                from = extent.second;
            }
            return cells;
        };
        table.headers = cut(i + 1);
        bool closed = false;
        for (i += 3; i < lines.size(); ++i) {
            if (trimmed(lines[i]) == TableEnd) {
                closed = true;
                break;
            }
            if (lines[i].rfind(TableStart, 0) == 0) break;
            table.rows.push_back(cut(i));
        }
        if (!closed)
            fail(opened, "the table \"" + table.title + "\" has no END TABLE line (the report may be incomplete)");
        tables.push_back(std::move(table));
    }
    return tables;
}

}  // namespace rillo::model
