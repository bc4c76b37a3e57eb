#pragma once
// The files of one model run that the results window reads: the report and
// the two hydrograph files that the run form names after it.

#include <string>

namespace rillo::results {

struct ResultsFiles {
    std::string sot;  ///< the report (main output)
    std::string sub;  ///< subcatchment hydrographs; may be absent (saving is optional)
    std::string gut;  ///< element (gutter) hydrographs; may be absent
};

/// The hydrograph files of the run whose report is at `sotPath`. A report
/// of the bundled model names them (beside it, or with their folder); for
/// any other the run form's naming is assumed: `<base>.sot`,
/// `<base>sub.ssb` and `<base>gut.ssb` in one folder, as when the three
/// output names are left empty. A path that does not end in ".sot" (in any
/// case) serves whole as the base.
ResultsFiles resultsFilesFor(const std::string& sotPath);

}  // namespace rillo::results
