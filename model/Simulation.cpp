#include "Simulation.h"

#include "ChannelRouting.h"
#include "Horton.h"
#include "LevelPool.h"
#include "ModelError.h"
#include "OverlandPlane.h"
#include "Units.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <unordered_map>

namespace rillo::model {

double RunoffBalance::error() const {
    if (!(rain > 0)) return 0;
    return (rain - infiltration - surfaceStorage - runoff) / rain * 100.0;
}

double RoutingBalance::error() const {
    const double in = inflow();
    if (!(in > 0)) return 0;
    return (in - outletOutflow - divertedOut - storage) / in * 100.0;
}

namespace {
const Recorded* findRecorded(const std::vector<Recorded>& list, long number) {
    for (const auto& r : list)
        if (r.number == number) return &r;
    return nullptr;
}
}  // namespace

const Recorded* SimulationResult::subcatchment(long number) const { return findRecorded(subcatchments, number); }
const Recorded* SimulationResult::element(long number) const { return findRecorded(elements, number); }

double hyetographMean(const std::vector<double>& values, double interval, double a, double b) {
    if (!(b > a) || !(interval > 0) || values.empty()) return 0;
    const double end = interval * static_cast<double>(values.size());
    if (a >= end) return 0;
    double sum = 0;
    std::size_t k = static_cast<std::size_t>(std::max(0.0, std::floor(a / interval)));
    for (; k < values.size(); ++k) {
        const double lo = std::max(a, interval * static_cast<double>(k));
        const double hi = std::min(b, interval * static_cast<double>(k + 1));
        if (lo >= b) break;
        if (hi > lo) sum += values[k] * (hi - lo);
    }
    return sum / (b - a);
}

double importedMean(const Hydrographs& h, std::size_t column, double a, double b) {
    const double s = h.stepMinutes / 60.0;
    const std::size_t rows = h.steps();
    if (!(b > a) || !(s > 0) || rows == 0) return 0;
    double sum = 0;
    std::size_t j = static_cast<std::size_t>(std::max(0.0, std::floor(a / s)));
    for (; j < rows; ++j) {
        const double lo = std::max(a, s * static_cast<double>(j));
        const double hi = std::min(b, s * static_cast<double>(j + 1));
        if (lo >= b) break;
        if (hi > lo) sum += h.value(j, column) * (hi - lo);
    }
    return sum / (b - a);
}

namespace {

struct SubcatchmentRun {
    int hyetograph = 0;
    int element = -1;
    double area = 0;                  ///< ft^2
    double areas[3] = {0, 0, 0};      ///< impervious with storage, impervious without, pervious
    OverlandPlane planes[3];
    std::optional<Horton> horton;
    int record = -1;
    long column = -1;  ///< in the subcatchment file
    double maxError = 0;  ///< cfs
};

struct ElementRun {
    std::optional<ChannelRouting> channel;
    std::optional<LevelPool> pool;
    double length = 0;  ///< ft, of the main channel
    int record = -1;
    long column = -1;  ///< in the element file
    long depthColumn = -1, divertedColumn = -1;  ///< in the element file, when it has them
    bool warnedFull = false;
    bool warnedTable = false;
    double maxError = 0;  ///< cfs
};

struct TributaryRun {
    std::size_t column;
    int element;
};

/// Minutes from the midnight before the storm to its start.
long long startOfStorm(const ModelInput& in) {
    return static_cast<long long>(in.startHour) * 60 + in.startMinute;
}

std::string number(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

}  // namespace

/// The run's working state: the setup steps build it, the per-step phases
/// advance it, and the result is filled as it goes.
struct Simulation::State {
    ModelInput& in;
    const Network& net;
    const Hydrographs* imported;
    StepControl control;
    bool elementDepths;
    double dt;   ///< seconds
    long total;  ///< steps to compute
    long long start;  ///< minutes after midnight
    SimulationResult res;

    std::vector<SubcatchmentRun> subs;
    std::vector<ElementRun> elems;
    std::vector<TributaryRun> tributaries;
    std::vector<long> subColumn, elemColumn, depthColumn, divertedColumn;
    std::size_t subWidth = 0, elemWidth = 0;

    // The step being computed.
    long step = 0;
    double t1 = 0, t2 = 0;  ///< minutes from the start
    double* subRow = nullptr;
    double* elemRow = nullptr;
    std::vector<double> rainRate;  ///< ft/s per hyetograph
    std::vector<double> inflow;    ///< mean over the step, cfs per element
    /// The inflow at the start and the end of the step: the trend of the
    /// inflow within the step.
    std::vector<double> inflowStart, inflowEnd;

    State(ModelInput& input, const Network& network, const Hydrographs* h, const StepControl& c, bool depths, long steps)
        : in(input), net(network), imported(h), control(c), elementDepths(depths), dt(input.stepMinutes * units::SecondsPerMinute),
          total(steps < 0 ? input.steps : std::min(steps, input.steps)), start(startOfStorm(input)) {
        res.steps = total;
    }

    // Setup steps.
    void setUpFiles();
    void setUpSubcatchments();
    void setUpImports();
    void setUpElements();
    void warnOfDryGaps();
    // Per-step phases.
    void beginStep(long s);
    void rain();
    void runoff();
    void imports();
    void route();
    void routeElement(std::size_t k);
    /// A mean flow over the step and the flow at its end (cfs).
    struct Flow {
        double mean, end;
    };
    void addHydrograph(std::size_t k, Flow& f);
    Flow routeBasin(std::size_t k, Flow f);
    Flow routeChannel(std::size_t k, Flow f, double& depth);
    void record(std::size_t k, double q, double depth);
    Flow divert(std::size_t k, Flow f);
    // After the last step.
    void finish();

private:
    void fileColumns(Hydrographs& file, const char* kind, const std::vector<long>& saved,
                     const std::vector<long>& existing, std::vector<long>& columnOf);
    void elementColumns();
};

void Simulation::State::fileColumns(Hydrographs& file, const char* kind, const std::vector<long>& saved,
                                    const std::vector<long>& existing, std::vector<long>& columnOf) {
    // Every saved hydrograph once, in list order, then rain.
    file.title1 = in.title1;
    file.title2 = in.title2;
    file.kind = kind;
    const long long clock = start % (24 * 60);
    file.startHour = static_cast<int>(clock / 60);
    file.startMinute = static_cast<int>(clock % 60);
    file.stepMinutes = in.stepMinutes;
    std::unordered_map<long, std::size_t> index;
    for (std::size_t i = 0; i < existing.size(); ++i) index.emplace(existing[i], i);
    columnOf.assign(existing.size(), -1);
    for (long n : saved) {
        const auto it = index.find(n);
        if (it == index.end()) {
            in.warnings.push_back(std::string("The save list names ") + (file.kind == "elements" ? "element " : "subcatchment ") +
                                  std::to_string(n) + ", which the deck does not have.");
            continue;
        }
        if (columnOf[it->second] >= 0) continue;
        columnOf[it->second] = static_cast<long>(file.series.size());
        file.series.push_back({SeriesKind::Flow, n, "cfs"});
    }
    if (&file == &res.elementFile && elementDepths) elementColumns();
    if (in.iopt == 0)
        for (std::size_t h = 0; h < in.hyetographs.size(); ++h)
            file.series.push_back({SeriesKind::Rain, static_cast<long>(h + 1), "in/hr"});
}

void Simulation::State::elementColumns() {
    // After the flows, in their order: the depths of the elements with a
    // section, then the diverted flows of the diversions.
    std::vector<std::size_t> saved(static_cast<std::size_t>(res.elementFile.series.size()));
    for (std::size_t i = 0; i < elemColumn.size(); ++i)
        if (elemColumn[i] >= 0) saved[static_cast<std::size_t>(elemColumn[i])] = i;
    depthColumn.assign(in.elements.size(), -1);
    divertedColumn.assign(in.elements.size(), -1);
    for (std::size_t i : saved) {
        const ElementInput& e = in.elements[i];
        if (e.special == SpecialKind::Detention || e.type == 3) continue;
        depthColumn[i] = static_cast<long>(res.elementFile.series.size());
        res.elementFile.series.push_back({SeriesKind::Depth, e.number, "ft"});
    }
    for (std::size_t i : saved) {
        const ElementInput& e = in.elements[i];
        if (e.special != SpecialKind::Diversion) continue;
        divertedColumn[i] = static_cast<long>(res.elementFile.series.size());
        res.elementFile.series.push_back({SeriesKind::Diverted, e.number, "cfs"});
    }
}

void Simulation::State::setUpFiles() {
    std::vector<long> subNumbers, elemNumbers;
    for (const auto& s : in.subcatchments) subNumbers.push_back(s.number);
    for (const auto& e : in.elements) elemNumbers.push_back(e.number);
    if (in.iopt == 0) fileColumns(res.subcatchmentFile, "subcatchments", in.savedSubcatchments, subNumbers, subColumn);
    fileColumns(res.elementFile, "elements", in.savedElements, elemNumbers, elemColumn);
    const std::set<long> subRec(in.printedSubcatchments.begin(), in.printedSubcatchments.end());
    const std::set<long> elemRec(in.printedElements.begin(), in.printedElements.end());
    const double values = static_cast<double>(total) *
                          static_cast<double>(res.subcatchmentFile.series.size() + res.elementFile.series.size() +
                                              subRec.size() + 2 * elemRec.size());
    if (values > MaxRecordedValues)
        throw ModelError("The run would keep " + std::to_string(static_cast<long long>(values)) +
                         " hydrograph values, more than the model holds (" +
                         std::to_string(static_cast<long long>(MaxRecordedValues)) +
                         "); save or print fewer hydrographs or compute fewer time steps.");
    subWidth = res.subcatchmentFile.series.size();
    elemWidth = res.elementFile.series.size();
    res.subcatchmentFile.values.assign(subWidth * static_cast<std::size_t>(total), 0.0);
    res.elementFile.values.assign(elemWidth * static_cast<std::size_t>(total), 0.0);
}

void Simulation::State::setUpSubcatchments() {
    const std::set<long> printed(in.printedSubcatchments.begin(), in.printedSubcatchments.end());
    subs.resize(in.subcatchments.size());
    for (std::size_t i = 0; i < subs.size(); ++i) {
        const SubcatchmentInput& s = in.subcatchments[i];
        SubcatchmentRun& r = subs[i];
        const std::string where = "Card 1.5, line " + std::to_string(s.line) + " of the deck: subcatchment " + std::to_string(s.number);
        r.hyetograph = s.hyetograph - 1;
        r.element = s.element == 0 ? -1 : net.find(s.element);
        if (s.element == 0)
            in.warnings.push_back("Subcatchment " + std::to_string(s.number) + " drains to no element; its runoff is not routed.");
        else if (r.element < 0)
            throw ModelError(where + " drains to element " + std::to_string(s.element) + ", which the deck does not have.");
        if (s.minInfiltration > s.maxInfiltration && s.imperviousPercent < 100)
            in.warnings.push_back(where + ": its minimum infiltration rate (" + number(s.minInfiltration, 2) +
                                  " in/hr) is greater than its maximum (" + number(s.maxInfiltration, 2) +
                                  " in/hr), so its infiltration capacity rises as the soil wets; the two may be swapped.");
        r.area = s.area * units::SquareFeetPerAcre;
        const double impervious = r.area * s.imperviousPercent / 100.0;
        const double zero = impervious * in.zeroDetentionPercent / 100.0;
        r.areas[0] = impervious - zero;
        r.areas[1] = zero;
        r.areas[2] = r.area - impervious;
        const double perUnit = units::Manning * s.width * std::sqrt(s.slope) / r.area;
        if (r.areas[0] > 0) r.planes[0] = OverlandPlane(perUnit / s.imperviousN, s.imperviousStorage / units::InchesPerFoot);
        if (r.areas[1] > 0) r.planes[1] = OverlandPlane(perUnit / s.imperviousN, 0.0);
        if (r.areas[2] > 0) {
            r.planes[2] = OverlandPlane(perUnit / s.perviousN, s.perviousStorage / units::InchesPerFoot);
            r.horton.emplace(units::inchesPerHourToFeetPerSecond(s.maxInfiltration),
                             units::inchesPerHourToFeetPerSecond(s.minInfiltration), s.decay);
        }
        res.runoff.area += r.area;
        r.column = in.iopt == 0 ? subColumn[i] : -1;
        if (printed.count(s.number)) {
            r.record = static_cast<int>(res.subcatchments.size());
            res.subcatchments.push_back({s.number, {}, {}});
            res.subcatchments.back().flow.reserve(static_cast<std::size_t>(total));
        }
    }
    res.subcatchmentPeaks.resize(subs.size());
    res.subcatchmentTotals.resize(subs.size());
}

void Simulation::State::setUpImports() {
    if (in.iopt != 1) return;
    if (!imported) throw ModelError("This deck (IOPT 1) needs a hydrograph input file, and none was given.");
    try {
        checkFlows(*imported, "The hydrograph input");
    } catch (const HydrographFileError& e) {
        throw ModelError(e.what());
    }
    for (const Tributary& t : in.tributaries) {
        const std::string where = "Card 2.3, line " + std::to_string(t.line) + " of the deck: sub-catchment " + std::to_string(t.number);
        const long column = imported->flowColumn(t.number);
        if (column < 0) throw ModelError(where + " has no hydrograph in the hydrograph input.");
        const int e = net.find(t.element);
        if (e < 0) throw ModelError(where + " drains to element " + std::to_string(t.element) + ", which the deck does not have.");
        tributaries.push_back({static_cast<std::size_t>(column), e});
    }
    const double fileHours = static_cast<double>(imported->steps()) * imported->stepMinutes / 60.0;
    if (fileHours + 1e-9 < static_cast<double>(total) * in.stepMinutes / 60.0)
        in.warnings.push_back("The hydrograph input ends after " + std::to_string(imported->steps()) +
                              " of its steps, before the run does; the imported flows are zero afterwards.");
    if (static_cast<long long>(imported->startHour) * 60 + imported->startMinute != start % (24 * 60))
        in.warnings.push_back("The hydrograph input starts at another clock time than the deck; its first row is taken as the deck's first step.");
}

void Simulation::State::setUpElements() {
    const std::set<long> printed(in.printedElements.begin(), in.printedElements.end());
    elems.resize(in.elements.size());
    res.elementDesign.resize(elems.size());
    for (std::size_t i = 0; i < elems.size(); ++i) {
        const ElementInput& e = in.elements[i];
        ElementRun& r = elems[i];
        if (e.special == SpecialKind::Detention) {
            r.pool.emplace(e.table);
        } else if (e.type != 3) {
            const bool pipe = e.type == 2 || e.type == 5;
            Conduit main;
            const double diameter = e.main.width > 0 ? e.main.width : e.main.fullDepth;
            if (pipe && e.main.width > 0 && e.main.fullDepth > 0 && std::abs(e.main.fullDepth - e.main.width) > 1e-9 * e.main.width)
                in.warnings.push_back("Card 3.1, element line " + std::to_string(e.record) + ": pipe " + std::to_string(e.number) +
                                      " has a full depth of " + number(e.main.fullDepth, 3) + " ft and a diameter of " +
                                      number(e.main.width, 3) + " ft; a pipe runs full at its diameter, and its full depth is not used.");
            main.section = pipe ? Section::circle(diameter) : Section::trapezoid(e.main.width, e.main.leftSlope, e.main.rightSlope);
            main.length = e.main.length;
            main.slope = e.main.slope;
            main.roughness = e.main.roughness;
            main.fullDepth = pipe ? diameter : e.main.fullDepth;
            std::optional<Conduit> over;
            if (e.overflow) {
                over.emplace();
                over->section = Section::trapezoid(e.overflow->width, e.overflow->leftSlope, e.overflow->rightSlope);
                over->length = e.overflow->length;
                over->slope = e.overflow->slope;
                over->roughness = e.overflow->roughness;
                over->fullDepth = e.overflow->fullDepth;
            }
            r.channel.emplace(main, over);
            r.length = main.length;
            res.elementDesign[i].fullFlow = r.channel->fullFlow();
        }
        r.column = elemColumn[i];
        if (!depthColumn.empty()) {
            r.depthColumn = depthColumn[i];
            r.divertedColumn = divertedColumn[i];
        }
        if (printed.count(e.number)) {
            r.record = static_cast<int>(res.elements.size());
            res.elements.push_back({e.number, {}, {}});
            res.elements.back().flow.reserve(static_cast<std::size_t>(total));
            if (r.channel) res.elements.back().depth.reserve(static_cast<std::size_t>(total));
        }
    }
    res.elementPeaks.resize(elems.size());
    for (std::size_t i = 0; i < elems.size(); ++i) res.elementPeaks[i].hasDepth = elems[i].channel.has_value();
    inflow.assign(elems.size(), 0.0);
    inflowStart.assign(elems.size(), 0.0);
    inflowEnd.assign(elems.size(), 0.0);
    rainRate.assign(in.hyetographs.size(), 0.0);
}

void Simulation::State::warnOfDryGaps() {
    // Infiltration capacity does not recover between storms here, so a storm
    // that resumes after a long dry spell meets soil as wet as the first left
    // it, and its runoff from pervious areas comes out too large.
    constexpr double RecoveryMinutes = 6 * 60;
    std::vector<bool> infiltrating(in.hyetographs.size(), false);
    for (const auto& s : in.subcatchments)
        if (s.imperviousPercent < 100 && s.maxInfiltration > 0 && s.hyetograph >= 1 &&
            s.hyetograph <= static_cast<int>(in.hyetographs.size()))
            infiltrating[static_cast<std::size_t>(s.hyetograph - 1)] = true;
    const double runMinutes = static_cast<double>(total) * in.stepMinutes;
    for (std::size_t h = 0; h < in.hyetographs.size(); ++h) {
        if (!infiltrating[h]) continue;
        const auto& v = in.hyetographs[h];
        long lastWet = -1;
        for (std::size_t k = 0; k < v.size(); ++k) {
            if (!(v[k] > 0)) continue;
            const double gap = static_cast<double>(static_cast<long>(k) - lastWet - 1) * in.hyetographInterval;
            const double resumes = static_cast<double>(k) * in.hyetographInterval;
            if (lastWet >= 0 && gap >= RecoveryMinutes && resumes < runMinutes) {
                in.warnings.push_back("Hyetograph " + std::to_string(h + 1) + ": the rain resumes after a dry spell of " +
                                      number(gap / 60.0, 1) + " hours, " + number(resumes / 60.0, 2) +
                                      " hours after the start; infiltration capacity does not recover between storms in this model, "
                                      "so the later storm's runoff from pervious areas is overestimated. Run each storm as a deck of its own.");
                break;
            }
            lastWet = static_cast<long>(k);
        }
    }
}

void Simulation::State::beginStep(long s) {
    step = s;
    t1 = static_cast<double>(s) * in.stepMinutes;
    t2 = t1 + in.stepMinutes;
    subRow = res.subcatchmentFile.values.data() + static_cast<std::size_t>(s) * subWidth;
    elemRow = res.elementFile.values.data() + static_cast<std::size_t>(s) * elemWidth;
    std::fill(inflow.begin(), inflow.end(), 0.0);
    inflowStart.swap(inflowEnd);
    std::fill(inflowEnd.begin(), inflowEnd.end(), 0.0);
}

void Simulation::State::rain() {
    const std::size_t hyetographs = in.hyetographs.size();
    for (std::size_t h = 0; h < hyetographs; ++h) {
        const double mean = hyetographMean(in.hyetographs[h], in.hyetographInterval, t1, t2);
        rainRate[h] = units::inchesPerHourToFeetPerSecond(mean);
        if (in.iopt == 0) {
            subRow[subWidth - hyetographs + h] = mean;
            elemRow[elemWidth - hyetographs + h] = mean;
        }
    }
}

void Simulation::State::runoff() {
    for (std::size_t i = 0; i < subs.size(); ++i) {
        SubcatchmentRun& r = subs[i];
        const double rate = rainRate[static_cast<std::size_t>(r.hyetograph)];
        double volume = 0, infiltrated = 0, error = 0, end = 0;
        for (int a = 0; a < 3; ++a) {
            if (!(r.areas[a] > 0)) continue;
            const PlaneStep p = r.planes[a].step(rate, dt, a == 2 ? &*r.horton : nullptr, control);
            volume += p.runoff * r.areas[a];
            infiltrated += p.infiltrated * r.areas[a];
            error += p.error * r.areas[a];
            end += r.planes[a].endRate() * r.areas[a];
        }
        const double rained = rate * dt * r.area;
        SubcatchmentTotals& totals = res.subcatchmentTotals[i];
        totals.rain += rained;
        totals.infiltration += infiltrated;
        totals.runoff += volume;
        res.runoff.rain += rained;
        res.runoff.infiltration += infiltrated;
        res.runoff.runoff += volume;
        const double q = volume / dt;
        r.maxError = std::max(r.maxError, error / dt);
        if (r.element >= 0) {
            inflow[static_cast<std::size_t>(r.element)] += q;
            inflowEnd[static_cast<std::size_t>(r.element)] += end;
            res.routing.runoffInflow += volume;
        } else {
            res.routing.unroutedRunoff += volume;
        }
        Peak& peak = res.subcatchmentPeaks[i];
        if (q > peak.flow) peak = {q, step, 0, false};
        if (r.column >= 0) subRow[r.column] = q;
        if (r.record >= 0) res.subcatchments[static_cast<std::size_t>(r.record)].flow.push_back(q);
    }
}

void Simulation::State::imports() {
    for (const TributaryRun& t : tributaries) {
        const double q = importedMean(*imported, t.column, t1 / 60.0, t2 / 60.0);
        // The file holds means over its steps; the flow at the end of this
        // step is taken halfway between this step's mean and the next one's.
        const double next = importedMean(*imported, t.column, t2 / 60.0, (2 * t2 - t1) / 60.0);
        inflow[static_cast<std::size_t>(t.element)] += q;
        inflowEnd[static_cast<std::size_t>(t.element)] += 0.5 * (q + next);
        res.routing.importedInflow += q * dt;
    }
}

void Simulation::State::route() {
    for (int i : net.order) routeElement(static_cast<std::size_t>(i));
}

void Simulation::State::routeElement(std::size_t k) {
    // Flows through an element: the step's mean and the flow at its end.
    Flow f{inflow[k], inflowEnd[k]};
    if (in.elements[k].special == SpecialKind::Inflow) addHydrograph(k, f);
    res.elementDesign[k].peakInflow = std::max(res.elementDesign[k].peakInflow, f.mean);
    double depth = 0;
    if (elems[k].pool)
        f = routeBasin(k, f);
    else if (elems[k].channel)
        f = routeChannel(k, f, depth);
    record(k, f.mean, depth);
    if (in.elements[k].special == SpecialKind::Diversion) f = divert(k, f);
    const int down = net.downstream[k];
    if (down >= 0) {
        inflow[static_cast<std::size_t>(down)] += f.mean;
        inflowEnd[static_cast<std::size_t>(down)] += f.end;
    } else {
        res.routing.outletOutflow += f.mean * dt;
    }
}

void Simulation::State::addHydrograph(std::size_t k, Flow& f) {
    const Curve& table = in.elements[k].table;
    const double added = table.boundedMean(t1 / 60.0, t2 / 60.0);
    f.mean += added;
    inflowEnd[k] += table.bounded(t2 / 60.0);  // the next step's start
    f.end = inflowEnd[k];
    res.routing.hydrographInflow += added * dt;
}

Simulation::State::Flow Simulation::State::routeBasin(std::size_t k, Flow f) {
    ElementRun& r = elems[k];
    ElementDesign& design = res.elementDesign[k];
    const LevelPool::Result out = r.pool->step(f.mean, (f.end - inflowStart[k]) / dt, dt, control);
    f = {out.outflow, r.pool->outflow()};
    r.maxError = std::max(r.maxError, out.error / dt);
    if (r.pool->storage() > design.peakStorage) {
        design.peakStorage = r.pool->storage();
        design.peakStorageStep = step;
    }
    if (!r.warnedTable && r.pool->beyondTable()) {
        r.warnedTable = true;
        in.warnings.push_back("Detention basin " + std::to_string(in.elements[k].number) +
                              " filled beyond the last storage of its table; the table's last segment was extended.");
    }
    return f;
}

Simulation::State::Flow Simulation::State::routeChannel(std::size_t k, Flow f, double& depth) {
    ElementRun& r = elems[k];
    ElementDesign& design = res.elementDesign[k];
    ChannelRouting& channel = *r.channel;
    const ChannelRouting::Result out = channel.step(f.mean, (f.end - inflowStart[k]) / dt, dt, control);
    f = {out.outflow, channel.endFlow()};
    r.maxError = std::max(r.maxError, out.error / dt);
    depth = channel.depth();
    const double area = channel.area();
    if (area > 0) design.peakVelocity = std::max(design.peakVelocity, f.end / area);
    if (f.mean > res.elementPeaks[k].flow) design.travelAtPeak = f.mean > 0 && area > 0 ? r.length * area / f.mean : 0;
    if (channel.surcharged()) {
        if (design.surchargeStart < 0) design.surchargeStart = step;
        ++design.surchargeSteps;
        design.peakExcess = std::max(design.peakExcess, channel.excess());
        if (!r.warnedFull) {
            r.warnedFull = true;
            in.warnings.push_back("Element " + std::to_string(in.elements[k].number) +
                                  " ran full and stored water above its full depth.");
        }
    }
    return f;
}

void Simulation::State::record(std::size_t k, double q, double depth) {
    const ElementRun& r = elems[k];
    Peak& peak = res.elementPeaks[k];
    if (q > peak.flow) {
        peak.flow = q;
        peak.step = step;
    }
    peak.depth = std::max(peak.depth, depth);
    if (r.column >= 0) elemRow[r.column] = q;
    if (r.depthColumn >= 0) elemRow[r.depthColumn] = depth;
    if (r.record >= 0) {
        Recorded& rec = res.elements[static_cast<std::size_t>(r.record)];
        rec.flow.push_back(q);
        if (r.channel) rec.depth.push_back(depth);
    }
}

Simulation::State::Flow Simulation::State::divert(std::size_t k, Flow f) {
    // The table's diverted flow, never more than arrives.
    const Curve& table = in.elements[k].table;
    ElementDesign& design = res.elementDesign[k];
    const double d = std::clamp(table.extended(f.mean), 0.0, f.mean);
    const double dEnd = std::clamp(table.extended(f.end), 0.0, f.end);
    res.routing.diverted += d * dt;
    design.divertedVolume += d * dt;
    if (elems[k].divertedColumn >= 0) elemRow[elems[k].divertedColumn] = d;
    if (d > design.divertedPeak) {
        design.divertedPeak = d;
        design.divertedPeakStep = step;
    }
    const int to = net.divertTo[k];
    if (to >= 0) {
        inflow[static_cast<std::size_t>(to)] += d;
        inflowEnd[static_cast<std::size_t>(to)] += dEnd;
    } else {
        res.routing.divertedOut += d * dt;
    }
    return {f.mean - d, f.end - dEnd};
}

void Simulation::State::finish() {
    for (const SubcatchmentRun& r : subs)
        for (int a = 0; a < 3; ++a) res.runoff.surfaceStorage += r.planes[a].depth() * r.areas[a];
    for (const ElementRun& r : elems) {
        if (r.channel) res.routing.storage += r.channel->storage();
        if (r.pool) res.routing.storage += r.pool->storage();
    }
    const auto consider = [&](double error, double peak, const std::string& name) {
        if (!(peak > 0)) return;
        const double percent = error / peak * 100.0;
        if (percent > res.stepError.percent || res.stepError.series.empty()) res.stepError = {percent, name};
    };
    for (std::size_t i = 0; i < subs.size(); ++i)
        consider(subs[i].maxError, res.subcatchmentPeaks[i].flow, "subcatchment " + std::to_string(in.subcatchments[i].number));
    for (std::size_t i = 0; i < elems.size(); ++i)
        consider(elems[i].maxError, res.elementPeaks[i].flow, "element " + std::to_string(in.elements[i].number));
    if (res.stepError.percent > 1.0)
        in.warnings.push_back("The time step is long for " + res.stepError.series + ": its flows may be off by up to " +
                              number(res.stepError.percent, 1) + " % of its peak; a shorter time step (DELT) gives closer results.");

    // A long reach routed as one reservoir flattens its peak more than the
    // reach itself would.
    for (std::size_t i = 0; i < elems.size(); ++i) {
        const ElementDesign& d = res.elementDesign[i];
        const double out = res.elementPeaks[i].flow;
        // A surcharged element's peak is its capacity: it has a warning of its own.
        if (!elems[i].channel || d.surchargeSteps > 0 || !(d.peakInflow > 0) || !(d.travelAtPeak > 2 * dt)) continue;
        const double attenuation = 1 - out / d.peakInflow;
        if (attenuation < 0.1) continue;
        const long pieces = static_cast<long>(std::ceil(d.travelAtPeak / dt));
        in.warnings.push_back("Element " + std::to_string(in.elements[i].number) + ": water takes " +
                              number(d.travelAtPeak / 60.0, 1) + " minutes to pass it at its peak flow, " +
                              number(d.travelAtPeak / dt, 1) + " time steps; routed as one reservoir it lowers its peak by " +
                              number(attenuation * 100.0, 0) + " % (" + number(d.peakInflow, 2) + " cfs in, " + number(out, 2) +
                              " cfs out). Split it into about " + std::to_string(pieces) + " elements of equal length.");
    }
}

Simulation::Simulation(ModelInput& input, const Network& network, const Hydrographs* imported, StepControl control,
                       bool elementDepths)
    : in_(input), net_(network), imported_(imported), control_(control), elementDepths_(elementDepths) {}

Simulation::~Simulation() = default;

SimulationResult Simulation::run(long steps, const std::function<void(long, long)>& progress) {
    State s(in_, net_, imported_, control_, elementDepths_, steps);
    s.setUpFiles();
    s.setUpSubcatchments();
    s.setUpImports();
    s.setUpElements();
    s.warnOfDryGaps();
    const long every = std::max<long>(1, s.total / 200);
    for (long step = 0; step < s.total; ++step) {
        s.beginStep(step);
        s.rain();
        s.runoff();
        s.imports();
        s.route();
        if (progress && ((step + 1) % every == 0 || step + 1 == s.total)) progress(step + 1, s.total);
    }
    s.finish();
    return std::move(s.res);
}

}  // namespace rillo::model
