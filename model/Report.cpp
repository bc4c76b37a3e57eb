#include "Report.h"

#include "ReportTable.h"
#include "Units.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <ostream>

namespace rillo::model {

namespace {

std::string fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s(buf);
    if (s.find_first_not_of("-0.") == std::string::npos && s.front() == '-') s.erase(0, 1);  // no "-0.000"
    return s;
}

std::string acreFeet(double cubicFeet) { return fixed(cubicFeet / units::CubicFeetPerAcreFoot, 5); }

std::string inches(double cubicFeet, double area) {
    return area > 0 ? fixed(cubicFeet / area * units::InchesPerFoot, 4) : std::string();
}

void printedTable(std::ostream& out, const std::string& title, const ModelInput& in, const std::vector<long>& numbers,
                  const std::vector<Recorded>& recorded, bool withDepth, int interval, long steps,
                  std::vector<std::string>& warnings, const char* kind) {
    ReportTable t;
    t.title = title;
    t.headers = {"Step", "Time"};
    std::vector<const Recorded*> columns;
    for (long n : numbers) {
        const Recorded* r = nullptr;
        for (const auto& x : recorded)
            if (x.number == n) r = &x;
        if (!r) {
            warnings.push_back(std::string("The print list names ") + kind + " " + std::to_string(n) +
                               ", which the deck does not have.");
            continue;
        }
        columns.push_back(r);
        t.headers.push_back(std::to_string(n) + " flow (cfs)");
        if (withDepth) t.headers.push_back(std::to_string(n) + " depth (ft)");
    }
    if (columns.empty()) return;
    for (long s = interval - 1; s < steps; s += interval) {
        std::vector<std::string> row{std::to_string(s + 1), clockAt(in, s)};
        for (const Recorded* r : columns) {
            row.push_back(fixed(r->flow[static_cast<std::size_t>(s)], 3));
            if (withDepth)
                row.push_back(r->depth.empty() ? std::string() : fixed(r->depth[static_cast<std::size_t>(s)], 3));
        }
        t.rows.push_back(std::move(row));
    }
    out << "\n";
    writeReportTable(out, t);
}

}  // namespace

std::string clockAt(const ModelInput& in, long step) {
    const double minutes = in.startHour * 60.0 + in.startMinute + static_cast<double>(step + 1) * in.stepMinutes;
    const long long whole = static_cast<long long>(std::llround(minutes)) % (24 * 60);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld", whole / 60, whole % 60);
    return buf;
}

namespace {

/// A file's name as the report gives it: bare when it lies beside the report.
std::string besideReport(const std::string& report, const std::string& file) {
    const std::filesystem::path r(report), f(file);
    return r.parent_path() == f.parent_path() ? f.filename().string() : file;
}

}  // namespace

void writeReport(std::ostream& out, const std::string& deckPath, const ModelInput& in, const Network& net,
                 const SimulationResult& res, const ReportFiles& files) {
    std::vector<std::string> warnings = in.warnings;
    out << "  RILLO rainfall-runoff and conveyance routing\n";
    out << "  Deck: " << deckPath << "\n";
    // So that the results window finds the hydrographs of a named run.
    if (!files.subcatchments.empty())
        out << SubcatchmentFileLine << besideReport(files.report, files.subcatchments) << "\n";
    if (!files.elements.empty()) out << ElementFileLine << besideReport(files.report, files.elements) << "\n";
    out << "  Title: " << in.title1 << "\n";
    out << "         " << in.title2 << "\n";
    out << "  Option (IOPT): " << in.iopt
        << (in.iopt == 0 ? " - subcatchment hydrographs computed from rainfall\n" : " - imported sub-catchment hydrographs\n");
    out << "  Time steps: " << res.steps << " of " << fixed(in.stepMinutes, 2) << " minutes; the storm starts at "
        << clockAt(in, -1) << "\n";
    if (in.iopt == 0) {
        out << "  Hyetographs: " << in.hyetographs.size() << ", values every " << fixed(in.hyetographInterval, 2)
            << " minutes (in/hr)\n";
        out << "  Subcatchments: " << in.subcatchments.size() << "; impervious area with zero detention: "
            << fixed(in.zeroDetentionPercent, 1) << " %\n";
    } else {
        out << "  Imported sub-catchment hydrographs: " << in.tributaries.size() << "\n";
    }
    int special = 0;
    for (const auto& e : in.elements) special += e.special != SpecialKind::None;
    out << "  Conveyance elements: " << in.elements.size() << ", of which special: " << special << "\n";
    out << "  Outlets of the network:";
    for (std::size_t i = 0; i < in.elements.size(); ++i)
        if (net.downstream[i] < 0) out << " " << in.elements[i].number;
    out << "\n";
    out << "  Flows are means over each time step; depths are at the end of each step.\n";

    if (in.iopt == 0)
        printedTable(out, "Printed subcatchment hydrographs", in, in.printedSubcatchments, res.subcatchments, false,
                     in.subcatchmentPrintInterval, res.steps, warnings, "subcatchment");
    printedTable(out, "Printed element hydrographs", in, in.printedElements, res.elements, true,
                 in.elementPrintInterval, res.steps, warnings, "element");

    if (in.peakTable) {
        ReportTable t;
        t.title = "Peak flows and depths";
        t.headers = {"Number", "Kind", "Peak flow (cfs)", "Time of peak", "Peak depth (ft)"};
        for (std::size_t i = 0; i < in.subcatchments.size(); ++i) {
            const Peak& p = res.subcatchmentPeaks[i];
            t.rows.push_back({std::to_string(in.subcatchments[i].number), "Subcatchment", fixed(p.flow, 3),
                              p.step < 0 ? std::string() : clockAt(in, p.step), ""});
        }
        for (std::size_t i = 0; i < in.elements.size(); ++i) {
            const Peak& p = res.elementPeaks[i];
            t.rows.push_back({std::to_string(in.elements[i].number), "Element", fixed(p.flow, 3),
                              p.step < 0 ? std::string() : clockAt(in, p.step), p.hasDepth ? fixed(p.depth, 3) : ""});
        }
        out << "\n";
        writeReportTable(out, t);
    }

    const double area = res.runoff.area;
    if (in.iopt == 0) {
        const RunoffBalance& b = res.runoff;
        ReportTable t;
        t.title = "Runoff continuity";
        t.headers = {"Quantity", "Volume (acre-ft)", "Depth (in)"};
        t.rows = {{"Total rainfall", acreFeet(b.rain), inches(b.rain, area)},
                  {"Infiltration", acreFeet(b.infiltration), inches(b.infiltration, area)},
                  {"Surface storage at end", acreFeet(b.surfaceStorage), inches(b.surfaceStorage, area)},
                  {"Surface runoff", acreFeet(b.runoff), inches(b.runoff, area)},
                  {"Continuity error (%)", fixed(b.error(), 4), ""}};
        out << "\n";
        writeReportTable(out, t);
    }
    {
        const RoutingBalance& b = res.routing;
        const double a = in.iopt == 0 ? area : 0;
        ReportTable t;
        t.title = "Routing continuity";
        t.headers = {"Quantity", "Volume (acre-ft)", "Depth (in)"};
        if (in.iopt == 0)
            t.rows.push_back({"Subcatchment runoff inflow", acreFeet(b.runoffInflow), inches(b.runoffInflow, a)});
        else
            t.rows.push_back({"Imported hydrograph inflow", acreFeet(b.importedInflow), ""});
        t.rows.push_back({"Inflow hydrographs", acreFeet(b.hydrographInflow), inches(b.hydrographInflow, a)});
        t.rows.push_back({"Outflow at outlets", acreFeet(b.outletOutflow), inches(b.outletOutflow, a)});
        t.rows.push_back({"Diverted out of the network", acreFeet(b.divertedOut), inches(b.divertedOut, a)});
        t.rows.push_back({"Storage at end", acreFeet(b.storage), inches(b.storage, a)});
        t.rows.push_back({"Diverted between elements", acreFeet(b.diverted - b.divertedOut), inches(b.diverted - b.divertedOut, a)});
        if (b.unroutedRunoff > 0)
            t.rows.push_back({"Runoff draining no element", acreFeet(b.unroutedRunoff), inches(b.unroutedRunoff, a)});
        t.rows.push_back({"Continuity error (%)", fixed(b.error(), 4), ""});
        out << "\n";
        writeReportTable(out, t);
    }

    if (!warnings.empty()) {
        ReportTable t;
        t.title = "Warnings";
        t.headers = {"Number", "Warning"};
        for (std::size_t i = 0; i < warnings.size(); ++i) t.rows.push_back({std::to_string(i + 1), warnings[i]});
        out << "\n";
        writeReportTable(out, t);
    }
    out << "\n  End of report.\n";
}

}  // namespace rillo::model
