#pragma once
// Runs of the model program on deck files in a test's folder, and the
// report's tables read back.
#include "ModelRun.h"
#include "ReportTable.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace rillo::model::testdata {

struct RunResult {
    int status = -1;
    std::string out, err;
    RunPaths paths;
};

inline RunResult runDeck(const TempFolder& dir, const std::string& deck, const std::string& hydrographs = {}, long maxSteps = -1) {
    RunResult r;
    r.paths = {deck, dir.file("run.sot"), dir.file("runsub.ssb"), dir.file("rungut.ssb"), hydrographs};
    std::ostringstream out, err;
    RunOptions options;
    options.maxSteps = maxSteps;
    r.status = runModel(r.paths, out, err, options);
    r.out = out.str();
    r.err = err.str();
    return r;
}

inline std::vector<ReportTable> tables(const std::string& path) {
    std::ifstream in(path);
    return readReportTables(in, path);
}

inline const ReportTable* table(const std::vector<ReportTable>& all, const std::string& title) {
    for (const auto& t : all)
        if (t.title == title) return &t;
    return nullptr;
}

/// The value of a continuity table's row.
inline double row(const ReportTable& t, const std::string& quantity) {
    for (const auto& r : t.rows)
        if (r[0] == quantity) return std::stod(r[1]);
    ADD_FAILURE() << "no row " << quantity << " in " << t.title;
    return NAN;
}

inline void expectContinuity(const std::string& report, const std::string& context) {
    const auto all = tables(report);
    for (const char* title : {"Runoff continuity", "Routing continuity"}) {
        const ReportTable* t = table(all, title);
        if (!t) continue;
        EXPECT_LT(std::abs(row(*t, "Continuity error (%)")), 0.1) << context << " " << title;
    }
    ASSERT_NE(table(all, "Routing continuity"), nullptr) << context;
}


}  // namespace rillo::model::testdata
