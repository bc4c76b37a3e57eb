#pragma once
// The run's main output (`.sot`): prose lines indented by two blanks, so no
// line of them can pass for a table, and the report tables:
//   "Printed subcatchment hydrographs", "Printed element hydrographs",
//   "Peak flows and depths" (when the peak-flow box is checked), the design
//   tables "Subcatchment design" (IOPT 0), "Element design", "Detention
//   basins" and "Diversions" (when the deck has any), "Runoff continuity"
//   (IOPT 0), "Routing continuity", and "Warnings" when there are any.

#include "ModelInput.h"
#include "Network.h"
#include "Simulation.h"

#include <iosfwd>
#include <string>

namespace rillo::model {

/// The times of a run's report: the clock time "HH:MM" at the end of a step
/// (0-based; -1 is the storm's start), with seconds when the time is not a
/// whole minute, and, when the run passes midnight, the day first
/// ("D HH:MM", day 1 the storm's), so that times of different days never
/// read alike.
class ReportClock {
public:
    ReportClock(const ModelInput& in, long steps);
    std::string at(long step) const;

private:
    double startMinutes_, stepMinutes_;
    bool withDay_;
};

/// A flow or volume with at least `decimals` decimals, and more for a small
/// non-zero value, so that it never shows as zero (3 significant digits).
std::string significant(double v, int decimals);

/// The files a report names besides the deck (empty: not named).
struct ReportFiles {
    std::string report, subcatchments, elements;
};

void writeReport(std::ostream& out, const std::string& deckPath, const ModelInput& in, const Network& net,
                 const SimulationResult& res, const ReportFiles& files = {});

}  // namespace rillo::model
