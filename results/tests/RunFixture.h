#pragma once
// The files of a made-up model run in a scratch folder, written with the
// model's own writers: a report with the three standard tables and two
// hydrograph files whose values follow a rule the tests can recompute.

#include "HydrographFile.h"
#include "ReportTable.h"
#include "ResultsFiles.h"
#include "TempFolder.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

namespace rillo::results::testing {

using rillo::testing::TempFolder;

/// A flow that rises and recedes, different for every series and step, with
/// digits in every place a reader could drop.
inline double flowValue(long number, std::size_t step) {
    const double t = static_cast<double>(step) + 1.0;
    return std::round((number % 97 + 1.0) * t * std::exp(-t / 40.0) * 1000.0 + number) / 1000.0;
}
inline double rainValue(long hyetograph, std::size_t step) {
    return step < 30 ? 0.25 * static_cast<double>(hyetograph) + 0.01 * static_cast<double>(step % 7) : 0.0;
}

struct RunShape {
    int hyetographs = 2;
    int subcatchments = 3;
    int elements = 4;
    std::size_t steps = 120;
    double stepMinutes = 5;
    int startHour = 23;
    int startMinute = 30;
    /// The element file also holds each element's depth and the diverted
    /// flow of the first (a file of version 2).
    bool depths = false;
};

/// A depth that follows the element's flow, in feet.
inline double depthValue(long number, std::size_t step) { return std::sqrt(flowValue(number, step)) / 4; }

/// The hydrographs of one file: rain columns first, then flows numbered
/// from `firstNumber`.
inline model::Hydrographs makeHydrographs(const RunShape& shape, bool subcatchments) {
    model::Hydrographs h;
    h.title1 = "Test basin";
    h.title2 = "made-up run";
    h.kind = subcatchments ? "subcatchments" : "elements";
    h.startHour = shape.startHour;
    h.startMinute = shape.startMinute;
    h.stepMinutes = shape.stepMinutes;
    for (int r = 1; r <= shape.hyetographs; ++r) h.series.push_back({model::SeriesKind::Rain, r, "in/hr"});
    const int count = subcatchments ? shape.subcatchments : shape.elements;
    const long first = subcatchments ? 1 : 101;
    for (int i = 0; i < count; ++i) h.series.push_back({model::SeriesKind::Flow, first + i, "cfs"});
    if (shape.depths && !subcatchments) {
        for (int i = 0; i < count; ++i) h.series.push_back({model::SeriesKind::Depth, first + i, "ft"});
        h.series.push_back({model::SeriesKind::Diverted, first, "cfs"});
    }
    h.values.resize(shape.steps * h.series.size());
    for (std::size_t s = 0; s < shape.steps; ++s)
        for (std::size_t c = 0; c < h.series.size(); ++c) {
            const model::SeriesInfo& info = h.series[c];
            h.values[s * h.series.size() + c] = info.kind == model::SeriesKind::Rain    ? rainValue(info.number, s)
                                                : info.kind == model::SeriesKind::Depth  ? depthValue(info.number, s)
                                                : info.kind == model::SeriesKind::Flow   ? flowValue(info.number, s)
                                                                                         : flowValue(info.number, s) / 3;
        }
    return h;
}

inline std::vector<model::ReportTable> reportTables() {
    return {
        {"Peak flows and depths",
         {"Number", "Kind", "Peak flow (cfs)", "Time of peak", "Peak depth (ft)"},
         {{"101", "Channel", "12.5", "01:35", "1.20"},
          {"9", "Pipe", "100.25", "00:55", "0.80"},
          {"1000", "Pipe", "9.75", "10:05", "2.05"},
          {"20", "Channel", "", "", ""}}},
        {"Runoff continuity",
         {"Quantity", "Volume (acre-ft)", "Depth (in)"},
         {{"Rain", "10.5", "2.00"}, {"Infiltration", "2.25", "0.43"}, {"Runoff", "8.2", "1.56"}}},
        {"Routing continuity",
         {"Quantity", "Volume (acre-ft)", "Depth (in)"},
         {{"Inflow", "8.2", "1.56"}, {"Outflow", "8.19", "1.56"}}},
    };
}

inline void writeReport(const std::string& path, const std::vector<model::ReportTable>& tables) {
    std::ofstream out(path, std::ios::binary);
    out << "RILLO report\nTest basin\n\n";
    for (const auto& t : tables) {
        model::writeReportTable(out, t);
        out << "\n";
    }
}

/// Writes `<base>.sot`, `<base>sub.ssb` and `<base>gut.ssb`.
inline ResultsFiles writeRun(const TempFolder& folder, const RunShape& shape = {}, const std::string& base = "basin") {
    const ResultsFiles files = resultsFilesFor(folder.file(base + ".sot"));
    writeReport(files.sot, reportTables());
    model::writeHydrographsFile(files.sub, makeHydrographs(shape, true));
    model::writeHydrographsFile(files.gut, makeHydrographs(shape, false));
    return files;
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

/// Cuts a file after its first `lines` lines.
inline void cutAfterLines(const std::string& path, int lines) {
    const std::string text = readText(path);
    std::size_t pos = 0;
    for (int i = 0; i < lines && pos != std::string::npos; ++i) {
        pos = text.find('\n', pos);
        if (pos != std::string::npos) ++pos;
    }
    writeText(path, text.substr(0, pos));
}

}  // namespace rillo::results::testing
