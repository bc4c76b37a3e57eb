#pragma once
// The results of one model run as the results window shows them: the
// report's tables and the hydrographs of the two hydrograph files, with the
// state of each file (absent, read, or refused and why). A refused file
// contributes nothing, so no series is ever shown from part of a file.
// Plain C++: the window is a view on it.

#include "HydrographFile.h"
#include "ReportTable.h"
#include "ResultsFiles.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace rillo::results {

enum class LoadState { Absent, Loaded, Refused };

/// The report as read: its tables, or why it was refused.
struct ReportLoad {
    std::string path;
    LoadState state = LoadState::Absent;
    std::string message;  ///< why it was refused: names the file and, where known, the line
    std::vector<model::ReportTable> tables;
};

/// One hydrograph file as read.
struct HydrographLoad {
    std::string path;
    LoadState state = LoadState::Absent;
    std::string message;
    std::shared_ptr<const model::Hydrographs> data;
};

/// Reads a report; a missing, empty or foreign report is refused (the
/// report is the one output every run writes).
ReportLoad loadReport(const std::string& path);
/// Reads a whole hydrograph file; a missing file is absent, a cut or
/// foreign one refused with its line. Safe to call on another thread.
HydrographLoad loadHydrographFile(const std::string& path);

/// Why the results window cannot show a run's outputs: a report it cannot
/// read, or a hydrograph file of another format (its first line is not
/// this program's), one per line; "" when it can. Quick: the hydrograph
/// files are looked at only so far, a cut one is refused by the window.
std::string whyNotShown(const ResultsFiles& files);

/// Which hydrograph file a series comes from.
enum class SeriesFile { Sub, Gut };

struct SeriesId {
    SeriesFile file = SeriesFile::Sub;
    std::size_t column = 0;
    bool operator==(const SeriesId&) const = default;
    auto operator<=>(const SeriesId&) const = default;
};

class RunResults {
public:
    explicit RunResults(ResultsFiles files = {});

    const ResultsFiles& files() const { return files_; }

    void setReport(ReportLoad report) { report_ = std::move(report); }
    const ReportLoad& report() const { return report_; }

    /// Takes a hydrograph file as read. A file whose kind does not fit its
    /// place, or an element file whose time steps differ from those of the
    /// subcatchment file, is refused here.
    void setHydrographs(SeriesFile file, HydrographLoad load);
    const HydrographLoad& hydrographs(SeriesFile file) const { return file == SeriesFile::Sub ? sub_ : gut_; }

    /// Every series that can be plotted: the rain hyetographs (each once,
    /// from the subcatchment file when both hold it), then the subcatchment
    /// flows, then the element file's flows, depths and diverted flows in
    /// its order (depths and diverted flows are in files of version 2).
    std::vector<SeriesId> series() const;
    /// What a window shows first: the first hyetograph and the two flows
    /// with the highest peaks (elements, or subcatchments when no element
    /// was saved; never a depth or a diverted flow).
    std::vector<SeriesId> firstLook() const;
    const model::SeriesInfo& info(SeriesId id) const;
    bool isRain(SeriesId id) const { return info(id).kind == model::SeriesKind::Rain; }
    /// A depth (ft), plotted on an axis of its own.
    bool isDepth(SeriesId id) const { return info(id).kind == model::SeriesKind::Depth; }
    /// "Hyetograph 1", "Subcatchment 12", "Element 101", "Element 101
    /// depth", "Element 105 diverted".
    std::string label(SeriesId id) const;
    /// The series' unit ("cfs", "in/hr").
    const std::string& unit(SeriesId id) const { return info(id).unit; }
    /// The series' values, one per step.
    std::vector<double> values(SeriesId id) const;
    /// The series of a file with the given kind and number; false when there is none.
    bool find(SeriesFile file, model::SeriesKind kind, long number, SeriesId& id) const;

    /// The common time base of the read hydrograph files (0 steps when none).
    std::size_t steps() const;
    double stepMinutes() const;
    /// Time at the end of a step, in hours from the start of the storm.
    double hoursAt(std::size_t step) const;
    /// The clock time at the end of a step: "HH:MM", "HH:MM:SS" when the
    /// step ends within a minute, with " +Nd" once past midnight.
    std::string clockAt(std::size_t step) const;
    /// Minutes after midnight at which the storm starts.
    int startMinuteOfDay() const;

    /// The messages of every refused file, in the order report, sub, gut.
    std::vector<std::string> problems() const;

private:
    const model::Hydrographs* timeBase() const;

    ResultsFiles files_;
    ReportLoad report_;
    HydrographLoad sub_;
    HydrographLoad gut_;
};

}  // namespace rillo::results
