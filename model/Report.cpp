#include "Report.h"

#include "ReportTable.h"
#include "Units.h"

#include <algorithm>
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

void printedTable(std::ostream& out, const std::string& title, const ReportClock& clock, const std::vector<long>& numbers,
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
        std::vector<std::string> row{std::to_string(s + 1), clock.at(s)};
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

ReportClock::ReportClock(const ModelInput& in, long steps)
    : startMinutes_(in.startHour * 60.0 + in.startMinute), stepMinutes_(in.stepMinutes),
      withDay_(startMinutes_ + static_cast<double>(steps) * in.stepMinutes > 24 * 60 - 1e-9 || startMinutes_ >= 24 * 60) {}

std::string ReportClock::at(long step) const {
    const double minutes = startMinutes_ + static_cast<double>(step + 1) * stepMinutes_;
    const long long seconds = std::llround(minutes * 60);
    const long long day = seconds / 86400, inDay = seconds % 86400;
    char buf[48];
    const int n = withDay_ ? std::snprintf(buf, sizeof buf, "%lld ", day + 1) : 0;
    if (inDay % 60 == 0)
        std::snprintf(buf + n, sizeof buf - static_cast<std::size_t>(n), "%02lld:%02lld", inDay / 3600, inDay / 60 % 60);
    else
        std::snprintf(buf + n, sizeof buf - static_cast<std::size_t>(n), "%02lld:%02lld:%02lld", inDay / 3600, inDay / 60 % 60, inDay % 60);
    return buf;
}

std::string significant(double v, int decimals) {
    const double a = std::abs(v);
    if (a > 0 && a < 1) decimals = std::max(decimals, std::min(15, 2 - static_cast<int>(std::floor(std::log10(a)))));
    return fixed(v, decimals);
}

namespace {

std::string percent(double part, double whole) { return whole > 0 ? fixed(part / whole * 100.0, 1) : std::string(); }

void subcatchmentDesign(std::ostream& out, const ModelInput& in, const ReportClock& clock, const SimulationResult& res) {
    ReportTable t;
    t.title = "Subcatchment design";
    t.headers = {"Number", "Area (acres)", "Rain (in)", "Infiltration (in)", "Runoff (in)", "Runoff (acre-ft)",
                 "Runoff coefficient", "Peak flow (cfs)", "Time of peak"};
    for (std::size_t i = 0; i < in.subcatchments.size(); ++i) {
        const SubcatchmentTotals& v = res.subcatchmentTotals[i];
        const Peak& p = res.subcatchmentPeaks[i];
        const double area = in.subcatchments[i].area * units::SquareFeetPerAcre;
        t.rows.push_back({std::to_string(in.subcatchments[i].number), fixed(in.subcatchments[i].area, 3), inches(v.rain, area),
                          inches(v.infiltration, area), inches(v.runoff, area), acreFeet(v.runoff),
                          v.rain > 0 ? fixed(v.runoff / v.rain, 3) : std::string(), significant(p.flow, 3),
                          p.step < 0 ? std::string() : clock.at(p.step)});
    }
    out << "\n";
    writeReportTable(out, t);
}

const char* kindOf(const ElementInput& e) {
    switch (e.special) {
    case SpecialKind::Detention: return "Detention basin";
    case SpecialKind::Diversion: return "Diversion";
    case SpecialKind::Inflow: return "Inflow hydrograph";
    case SpecialKind::None: break;
    }
    switch (e.type) {
    case 1: return "Channel";
    case 2: return "Pipe";
    case 3: return "Direct flow";
    case 4: return "Channel with overflow";
    default: return "Pipe with overflow";
    }
}

void elementDesign(std::ostream& out, const ModelInput& in, const ReportClock& clock, const SimulationResult& res) {
    ReportTable t;
    t.title = "Element design";
    t.headers = {"Number", "Kind", "Full-flow capacity (cfs)", "Peak flow (cfs)", "Time of peak", "Peak Q/Qfull",
                 "Peak velocity (ft/s)", "Peak depth (ft)", "Surcharge volume (acre-ft)", "Surcharge duration (min)",
                 "Surcharge start"};
    for (std::size_t i = 0; i < in.elements.size(); ++i) {
        const ElementDesign& d = res.elementDesign[i];
        const Peak& p = res.elementPeaks[i];
        const bool section = p.hasDepth;
        const bool surcharged = d.surchargeSteps > 0;
        t.rows.push_back({std::to_string(in.elements[i].number), kindOf(in.elements[i]),
                          section ? significant(d.fullFlow, 3) : std::string(), significant(p.flow, 3),
                          p.step < 0 ? std::string() : clock.at(p.step),
                          section && d.fullFlow > 0 ? fixed(p.flow / d.fullFlow, 3) : std::string(),
                          section ? fixed(d.peakVelocity, 3) : std::string(), section ? fixed(p.depth, 3) : std::string(),
                          section ? significant(d.peakExcess / units::CubicFeetPerAcreFoot, 5) : std::string(),
                          section ? fixed(static_cast<double>(d.surchargeSteps) * in.stepMinutes, 1) : std::string(),
                          surcharged ? clock.at(d.surchargeStart - 1) : std::string()});
    }
    out << "\n";
    writeReportTable(out, t);
}

void specialTables(std::ostream& out, const ModelInput& in, const ReportClock& clock, const SimulationResult& res) {
    ReportTable basins;
    basins.title = "Detention basins";
    basins.headers = {"Number", "Peak inflow (cfs)", "Peak outflow (cfs)", "Attenuation (%)", "Peak storage (acre-ft)",
                      "Time of peak storage"};
    ReportTable diversions;
    diversions.title = "Diversions";
    diversions.headers = {"Number", "Into element", "Diverted volume (acre-ft)", "Peak diverted flow (cfs)", "Time of peak"};
    for (std::size_t i = 0; i < in.elements.size(); ++i) {
        const ElementInput& e = in.elements[i];
        const ElementDesign& d = res.elementDesign[i];
        if (e.special == SpecialKind::Detention) {
            const double outPeak = res.elementPeaks[i].flow;
            basins.rows.push_back({std::to_string(e.number), significant(d.peakInflow, 3), significant(outPeak, 3),
                                   percent(d.peakInflow - outPeak, d.peakInflow),
                                   significant(d.peakStorage / units::CubicFeetPerAcreFoot, 5),
                                   d.peakStorageStep < 0 ? std::string() : clock.at(d.peakStorageStep)});
        } else if (e.special == SpecialKind::Diversion) {
            diversions.rows.push_back({std::to_string(e.number), std::to_string(e.divertTo),
                                       significant(d.divertedVolume / units::CubicFeetPerAcreFoot, 5),
                                       significant(d.divertedPeak, 3),
                                       d.divertedPeakStep < 0 ? std::string() : clock.at(d.divertedPeakStep)});
        }
    }
    for (const ReportTable* t : {&basins, &diversions}) {
        if (t->rows.empty()) continue;
        out << "\n";
        writeReportTable(out, *t);
    }
}

/// A file's name as the report gives it: bare when it lies beside the report.
std::string besideReport(const std::string& report, const std::string& file) {
    const std::filesystem::path r(report), f(file);
    return r.parent_path() == f.parent_path() ? f.filename().string() : file;
}

}  // namespace

void writeReport(std::ostream& out, const std::string& deckPath, const ModelInput& in, const Network& net,
                 const SimulationResult& res, const ReportFiles& files) {
    std::vector<std::string> warnings = in.warnings;
    const ReportClock clock(in, res.steps);
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
        << clock.at(-1) << "\n";
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
        printedTable(out, "Printed subcatchment hydrographs", clock, in.printedSubcatchments, res.subcatchments, false,
                     in.subcatchmentPrintInterval, res.steps, warnings, "subcatchment");
    printedTable(out, "Printed element hydrographs", clock, in.printedElements, res.elements, true,
                 in.elementPrintInterval, res.steps, warnings, "element");

    if (in.peakTable) {
        ReportTable t;
        t.title = "Peak flows and depths";
        t.headers = {"Number", "Kind", "Peak flow (cfs)", "Time of peak", "Peak depth (ft)"};
        for (std::size_t i = 0; i < in.subcatchments.size(); ++i) {
            const Peak& p = res.subcatchmentPeaks[i];
            t.rows.push_back({std::to_string(in.subcatchments[i].number), "Subcatchment", significant(p.flow, 3),
                              p.step < 0 ? std::string() : clock.at(p.step), ""});
        }
        for (std::size_t i = 0; i < in.elements.size(); ++i) {
            const Peak& p = res.elementPeaks[i];
            t.rows.push_back({std::to_string(in.elements[i].number), "Element", significant(p.flow, 3),
                              p.step < 0 ? std::string() : clock.at(p.step), p.hasDepth ? fixed(p.depth, 3) : ""});
        }
        out << "\n";
        writeReportTable(out, t);
    }

    if (in.iopt == 0) subcatchmentDesign(out, in, clock, res);
    elementDesign(out, in, clock, res);
    specialTables(out, in, clock, res);

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
        // Depths over the subcatchments' area, while all the water is theirs:
        // an inflow hydrograph's volume over them means nothing.
        const double a = in.iopt == 0 && !(b.hydrographInflow > 0) ? area : 0;
        ReportTable t;
        t.title = "Routing continuity";
        t.headers = {"Quantity", "Volume (acre-ft)", "Depth (in)"};
        if (in.iopt == 0)
            t.rows.push_back({"Subcatchment runoff inflow", acreFeet(b.runoffInflow), inches(b.runoffInflow, area)});
        else
            t.rows.push_back({"Imported hydrograph inflow", acreFeet(b.importedInflow), ""});
        t.rows.push_back({"Inflow hydrographs", acreFeet(b.hydrographInflow), ""});
        t.rows.push_back({"Outflow at outlets", acreFeet(b.outletOutflow), inches(b.outletOutflow, a)});
        t.rows.push_back({"Diverted out of the network", acreFeet(b.divertedOut), inches(b.divertedOut, a)});
        t.rows.push_back({"Storage at end", acreFeet(b.storage), inches(b.storage, a)});
        t.rows.push_back({"Diverted between elements", acreFeet(b.diverted - b.divertedOut), inches(b.diverted - b.divertedOut, a)});
        if (b.unroutedRunoff > 0)
            t.rows.push_back({"Runoff draining no element", acreFeet(b.unroutedRunoff), inches(b.unroutedRunoff, a)});
        t.rows.push_back({"Continuity error (%)", fixed(b.error(), 4), ""});
        // The balance closes by construction; what the time stepping may
        // have got wrong is its own estimate.
        t.rows.push_back({"Time-step error estimate (%)", fixed(res.stepError.percent, 4), ""});
        out << "\n";
        writeReportTable(out, t);
        if (!res.stepError.series.empty())
            out << "\n  The time-step error estimate is the largest error of a step's mean flow in any hydrograph, over\n"
                   "  that hydrograph's peak: " << fixed(res.stepError.percent, 4) << " % for " << res.stepError.series << ".\n";
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
