#pragma once
// A table of the model's report (`.sot`): written so that an engineer reads
// it as an aligned table and a script finds and cuts it.
//
//   TABLE Peak flows and depths
//     Element   Peak flow (cfs)  Time of peak
//   ---------  ----------------  ------------
//         101            12.345         01:35
//   END TABLE
//
// The line of dashes gives each column's extent; headers and cells are cut
// by those extents and trimmed, so they may hold blanks. Cells are written
// right-aligned.

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace rillo::model {

/// The prose lines of a report that name the two hydrograph files of its
/// run: the prefix, then the file's name, given without a folder when the
/// file lies beside the report.
inline constexpr const char* SubcatchmentFileLine = "  Subcatchment hydrographs written to: ";
inline constexpr const char* ElementFileLine = "  Element hydrographs written to: ";

struct ReportTable {
    std::string title;
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
};

class ReportFileError : public std::runtime_error {
public:
    ReportFileError(const std::string& path, long line, const std::string& what);
    const std::string& path() const { return path_; }
    long line() const { return line_; }

private:
    std::string path_;
    long line_;
};

/// Writes one table with its TABLE and END TABLE lines.
void writeReportTable(std::ostream& out, const ReportTable& table);

/// Every table of a report, in order. An opened table without its END TABLE
/// line, a row wider than the dashes, or a table without the line of dashes
/// is refused with its line; `path` only names the file in errors.
std::vector<ReportTable> readReportTables(std::istream& in, const std::string& path);

}  // namespace rillo::model
