#pragma once
// The hydrograph file (`sub.ssb`, `gut.ssb`, and a `.kvd` hydrograph input):
// one versioned text format, written by the model and read by the model (a
// run's `sub.ssb` feeds another deck's run) and by the results window.
//
//   RILLO-HYDROGRAPHS 1
//   title1 <first job title>
//   title2 <second job title>
//   kind subcatchments|elements
//   start HH:MM                 clock time at which the storm starts
//   step <minutes>              length of one time step
//   steps <N>                   number of data rows
//   series <K>                  number of value columns
//   column flow <number> cfs    one line per value column, in order
//   column rain <hyetograph> in/hr
//   data
//   <hours> <v1> ... <vK>       N rows: time at the end of the step in
//   ...                         hours from the start, then the values
//   end
//
// Version 2 is version 1 with two more kinds of column, for elements:
//
//   column depth <number> ft        the depth at the end of each step
//   column diverted <number> cfs    a diversion's diverted flow, the step's mean
//
// A file is written as version 1 unless it holds such a column, so a
// reader of version 1 reads every file that has only flows and rain.
// Flows and rain are the means over each step.
//
// Fields are separated by blanks; a value is a decimal number in the C
// locale. A file without its `end` line, with fewer or more rows than
// `steps`, or with a row of the wrong width is refused with the line that
// shows it, so a truncated file is never taken for a whole one.

#include <cstddef>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace rillo::model {

/// What one value column holds.
enum class SeriesKind { Flow, Rain, Depth, Diverted };

struct SeriesInfo {
    SeriesKind kind = SeriesKind::Flow;
    long number = 0;     ///< subcatchment or element number, or hyetograph number
    std::string unit;    ///< "cfs" for flows, "in/hr" for rain, "ft" for depths
};

/// The word of a column line: "flow", "rain", "depth", "diverted".
const char* seriesKindWord(SeriesKind kind);

struct Hydrographs {
    std::string title1;
    std::string title2;
    std::string kind = "elements";  ///< "subcatchments" or "elements"
    int startHour = 0;
    int startMinute = 0;
    double stepMinutes = 1.0;
    std::vector<SeriesInfo> series;
    /// Row-major values: values[step * series.size() + column].
    std::vector<double> values;

    std::size_t steps() const { return series.empty() ? 0 : values.size() / series.size(); }
    double value(std::size_t step, std::size_t column) const {
        return values[step * series.size() + column];
    }
    /// Time at the end of a step, in hours from the start.
    double hoursAt(std::size_t step) const { return (static_cast<double>(step) + 1.0) * stepMinutes / 60.0; }
    /// Index of the flow column of a number, or -1.
    long flowColumn(long number) const;
    /// The file's line (1-based) that holds a step's row as writeHydrographs writes it.
    long lineOf(std::size_t step) const { return static_cast<long>(10 + series.size() + step); }
};

/// A hydrograph file that cannot be read: names the file and the line.
class HydrographFileError : public std::runtime_error {
public:
    HydrographFileError(const std::string& path, long line, const std::string& what);
    const std::string& path() const { return path_; }
    long line() const { return line_; }

private:
    std::string path_;
    long line_;
};

inline constexpr const char* HydrographMagic = "RILLO-HYDROGRAPHS";
/// The newest version read and written.
inline constexpr int HydrographFormatVersion = 2;

/// The version a file of these series is written in: the oldest that holds them.
int formatVersionOf(const Hydrographs& h);

/// Refuses a value that is negative or not a number, naming its line and
/// column: a file used as hydrograph input must hold only flows (and
/// rain, depths and diverted flows, none of them negative either).
void checkFlows(const Hydrographs& h, const std::string& path);

/// Writes the whole file; throws std::runtime_error when the stream fails.
void writeHydrographs(std::ostream& out, const Hydrographs& h);
/// Writes the file at path through a temporary beside it, renamed at the end.
void writeHydrographsFile(const std::string& path, const Hydrographs& h);

/// Reads a whole file; `path` only names it in errors.
Hydrographs readHydrographs(std::istream& in, const std::string& path);
Hydrographs readHydrographsFile(const std::string& path);

}  // namespace rillo::model
