#pragma once
// The chosen series of a run as comma-separated values, for a spreadsheet.

#include "RunResults.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace rillo::results {

/// Writes a header line ("Time (h)", "Clock time", then one column per
/// series named with its label and unit, as "Element 101 (cfs)") and one
/// line per step with every value in the shortest form that reads back
/// exactly. Throws std::runtime_error when the stream fails.
void writeSeriesCsv(std::ostream& out, const RunResults& results, const std::vector<SeriesId>& chosen);

/// The same into a file; throws std::runtime_error naming the file when
/// it cannot be written.
void writeSeriesCsvFile(const std::string& path, const RunResults& results, const std::vector<SeriesId>& chosen);

}  // namespace rillo::results
