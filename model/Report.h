#pragma once
// The run's main output (`.sot`): prose lines indented by two blanks, so no
// line of them can pass for a table, and the report tables:
//   "Printed subcatchment hydrographs", "Printed element hydrographs",
//   "Peak flows and depths" (when the peak-flow box is checked),
//   "Runoff continuity" (IOPT 0), "Routing continuity", and "Warnings"
//   when there are any.

#include "ModelInput.h"
#include "Network.h"
#include "Simulation.h"

#include <iosfwd>
#include <string>

namespace rillo::model {

/// The clock time "HH:MM" at the end of a step (0-based), from the storm's start.
std::string clockAt(const ModelInput& in, long step);

/// The files a report names besides the deck (empty: not named).
struct ReportFiles {
    std::string report, subcatchments, elements;
};

void writeReport(std::ostream& out, const std::string& deckPath, const ModelInput& in, const Network& net,
                 const SimulationResult& res, const ReportFiles& files = {});

}  // namespace rillo::model
