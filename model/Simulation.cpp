#include "Simulation.h"

#include "ChannelRouting.h"
#include "Horton.h"
#include "LevelPool.h"
#include "ModelError.h"
#include "OverlandPlane.h"
#include "Units.h"

#include <algorithm>
#include <cmath>
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

struct SubcatchmentRun {
    int hyetograph = 0;
    int element = -1;
    double area = 0;                  ///< ft^2
    double areas[3] = {0, 0, 0};      ///< impervious with storage, impervious without, pervious
    OverlandPlane planes[3];
    std::optional<Horton> horton;
    int record = -1;
    long column = -1;  ///< in the subcatchment file
};

struct ElementRun {
    std::optional<ChannelRouting> channel;
    std::optional<LevelPool> pool;
    int record = -1;
    long column = -1;  ///< in the element file
    bool warnedFull = false;
    bool warnedTable = false;
};

Simulation::Simulation(ModelInput& input, const Network& network, const Hydrographs* imported)
    : in_(input), net_(network), imported_(imported) {}

Simulation::~Simulation() = default;

SimulationResult Simulation::run(long steps, const std::function<void(long, long)>& progress) {
    const ModelInput& in = in_;
    const double dt = in.stepMinutes * units::SecondsPerMinute;
    const long total = steps < 0 ? in.steps : std::min(steps, in.steps);
    SimulationResult res;
    res.steps = total;

    // The files' columns: every saved hydrograph once, in list order, then rain.
    const auto fileColumns = [&](Hydrographs& file, const char* kind, const std::vector<long>& saved,
                                 const std::vector<long>& existing, std::vector<long>& columnOf) {
        file.title1 = in.title1;
        file.title2 = in.title2;
        file.kind = kind;
        const long long start = (static_cast<long long>(in.startHour) * 60 + in.startMinute) % (24 * 60);
        file.startHour = static_cast<int>(start / 60);
        file.startMinute = static_cast<int>(start % 60);
        file.stepMinutes = in.stepMinutes;
        std::unordered_map<long, std::size_t> index;
        for (std::size_t i = 0; i < existing.size(); ++i) index.emplace(existing[i], i);
        columnOf.assign(existing.size(), -1);
        for (long n : saved) {
            const auto it = index.find(n);
            if (it == index.end()) {
                in_.warnings.push_back(std::string("The save list names ") + (file.kind == "elements" ? "element " : "subcatchment ") +
                                       std::to_string(n) + ", which the deck does not have.");
                continue;
            }
            if (columnOf[it->second] >= 0) continue;
            columnOf[it->second] = static_cast<long>(file.series.size());
            file.series.push_back({SeriesKind::Flow, n, "cfs"});
        }
        if (in.iopt == 0)
            for (std::size_t h = 0; h < in.hyetographs.size(); ++h)
                file.series.push_back({SeriesKind::Rain, static_cast<long>(h + 1), "in/hr"});
    };
    std::vector<long> subNumbers, elemNumbers, subColumn, elemColumn;
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
    const std::size_t subWidth = res.subcatchmentFile.series.size(), elemWidth = res.elementFile.series.size();
    res.subcatchmentFile.values.assign(subWidth * static_cast<std::size_t>(total), 0.0);
    res.elementFile.values.assign(elemWidth * static_cast<std::size_t>(total), 0.0);

    // Subcatchments.
    std::vector<SubcatchmentRun> subs(in.subcatchments.size());
    for (std::size_t i = 0; i < subs.size(); ++i) {
        const SubcatchmentInput& s = in.subcatchments[i];
        SubcatchmentRun& r = subs[i];
        r.hyetograph = s.hyetograph - 1;
        r.element = s.element == 0 ? -1 : net_.find(s.element);
        if (r.element < 0)
            in_.warnings.push_back("Subcatchment " + std::to_string(s.number) + " drains to " +
                                   (s.element == 0 ? std::string("no element") : "element " + std::to_string(s.element) + ", which the deck does not have") +
                                   "; its runoff is not routed.");
        r.area = s.area * units::SquareFeetPerAcre;
        const double impervious = r.area * s.imperviousPercent / 100.0;
        const double zero = impervious * in.zeroDetentionPercent / 100.0;
        r.areas[0] = impervious - zero;
        r.areas[1] = zero;
        r.areas[2] = r.area - impervious;
        const double root = std::sqrt(s.slope);
        const double perUnit = units::Manning * s.width * root / r.area;
        if (r.areas[0] > 0)
            r.planes[0] = OverlandPlane(perUnit / s.imperviousN, s.imperviousStorage / units::InchesPerFoot, dt);
        if (r.areas[1] > 0) r.planes[1] = OverlandPlane(perUnit / s.imperviousN, 0.0, dt);
        if (r.areas[2] > 0) {
            r.planes[2] = OverlandPlane(perUnit / s.perviousN, s.perviousStorage / units::InchesPerFoot, dt);
            r.horton.emplace(units::inchesPerHourToFeetPerSecond(s.maxInfiltration),
                             units::inchesPerHourToFeetPerSecond(s.minInfiltration), s.decay, dt);
        }
        res.runoff.area += r.area;
        r.column = in.iopt == 0 ? subColumn[i] : -1;
        if (subRec.count(s.number)) {
            r.record = static_cast<int>(res.subcatchments.size());
            res.subcatchments.push_back({s.number, {}, {}});
            res.subcatchments.back().flow.reserve(static_cast<std::size_t>(total));
        }
    }
    res.subcatchmentPeaks.resize(subs.size());

    // Imported hydrographs (IOPT 1).
    struct TributaryRun {
        std::size_t column;
        int element;
    };
    std::vector<TributaryRun> tributaries;
    if (in.iopt == 1) {
        if (!imported_) throw ModelError("This deck (IOPT 1) needs a hydrograph input file, and none was given.");
        for (double v : imported_->values)
            if (!std::isfinite(v) || v < 0)
                throw ModelError("The hydrograph input holds a flow that is negative or not a number.");
        for (const Tributary& t : in.tributaries) {
            const long column = imported_->flowColumn(t.number);
            if (column < 0)
                throw ModelError("Card 2.3, line " + std::to_string(t.line) + " of the deck: sub-catchment " +
                                 std::to_string(t.number) + " has no hydrograph in the hydrograph input.");
            const int e = net_.find(t.element);
            if (e < 0)
                in_.warnings.push_back("Sub-catchment " + std::to_string(t.number) + " drains to element " +
                                       std::to_string(t.element) + ", which the deck does not have; its flow is not routed.");
            else
                tributaries.push_back({static_cast<std::size_t>(column), e});
        }
        const double fileHours = static_cast<double>(imported_->steps()) * imported_->stepMinutes / 60.0;
        if (fileHours + 1e-9 < static_cast<double>(total) * in.stepMinutes / 60.0)
            in_.warnings.push_back("The hydrograph input ends after " + std::to_string(imported_->steps()) +
                                   " of its steps, before the run does; the imported flows are zero afterwards.");
        const long long deckStart = (static_cast<long long>(in.startHour) * 60 + in.startMinute) % (24 * 60);
        if (static_cast<long long>(imported_->startHour) * 60 + imported_->startMinute != deckStart)
            in_.warnings.push_back("The hydrograph input starts at another clock time than the deck; its first row is taken as the deck's first step.");
    }

    // Elements.
    std::vector<ElementRun> elems(in.elements.size());
    for (std::size_t i = 0; i < elems.size(); ++i) {
        const ElementInput& e = in.elements[i];
        ElementRun& r = elems[i];
        if (e.special == SpecialKind::Detention) {
            r.pool.emplace(e.table, dt);
        } else if (e.type != 3) {
            const bool pipe = e.type == 2 || e.type == 5;
            Conduit main;
            const double diameter = e.main.width > 0 ? e.main.width : e.main.fullDepth;
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
            r.channel.emplace(main, over, dt);
        }
        r.column = elemColumn[i];
        if (elemRec.count(e.number)) {
            r.record = static_cast<int>(res.elements.size());
            res.elements.push_back({e.number, {}, {}});
            res.elements.back().flow.reserve(static_cast<std::size_t>(total));
            if (r.channel) res.elements.back().depth.reserve(static_cast<std::size_t>(total));
        }
    }
    res.elementPeaks.resize(elems.size());
    for (std::size_t i = 0; i < elems.size(); ++i) res.elementPeaks[i].hasDepth = elems[i].channel.has_value();

    std::vector<double> inflow(elems.size());
    std::vector<double> rainFeet(in.hyetographs.size());
    const long every = std::max<long>(1, total / 200);

    for (long step = 0; step < total; ++step) {
        const double t1 = static_cast<double>(step) * in.stepMinutes;
        const double t2 = t1 + in.stepMinutes;
        double* subRow = res.subcatchmentFile.values.data() + static_cast<std::size_t>(step) * subWidth;
        double* elemRow = res.elementFile.values.data() + static_cast<std::size_t>(step) * elemWidth;
        const std::size_t hyetographs = in.hyetographs.size();
        for (std::size_t h = 0; h < hyetographs; ++h) {
            const double mean = hyetographMean(in.hyetographs[h], in.hyetographInterval, t1, t2);
            rainFeet[h] = units::inchesPerHourToFeetPerSecond(mean) * dt;
            if (in.iopt == 0) {
                subRow[subWidth - hyetographs + h] = mean;
                elemRow[elemWidth - hyetographs + h] = mean;
            }
        }
        std::fill(inflow.begin(), inflow.end(), 0.0);

        for (std::size_t i = 0; i < subs.size(); ++i) {
            SubcatchmentRun& r = subs[i];
            const double p = rainFeet[static_cast<std::size_t>(r.hyetograph)];
            double volume = 0;
            if (r.areas[0] > 0) volume += r.planes[0].step(p) * r.areas[0];
            if (r.areas[1] > 0) volume += r.planes[1].step(p) * r.areas[1];
            if (r.areas[2] > 0) {
                const double infiltrated = r.horton->infiltrate(r.planes[2].depth() + p);
                res.runoff.infiltration += infiltrated * r.areas[2];
                volume += r.planes[2].step(p - infiltrated) * r.areas[2];
            }
            res.runoff.rain += p * r.area;
            res.runoff.runoff += volume;
            const double q = volume / dt;
            if (r.element >= 0) {
                inflow[static_cast<std::size_t>(r.element)] += q;
                res.routing.runoffInflow += volume;
            } else {
                res.routing.unroutedRunoff += volume;
            }
            Peak& peak = res.subcatchmentPeaks[i];
            if (q > peak.flow) peak = {q, step, 0, false};
            if (r.column >= 0) subRow[r.column] = q;
            if (r.record >= 0) res.subcatchments[static_cast<std::size_t>(r.record)].flow.push_back(q);
        }

        for (const TributaryRun& t : tributaries) {
            const double q = importedMean(*imported_, t.column, t1 / 60.0, t2 / 60.0);
            inflow[static_cast<std::size_t>(t.element)] += q;
            res.routing.importedInflow += q * dt;
        }

        for (int i : net_.order) {
            const std::size_t k = static_cast<std::size_t>(i);
            const ElementInput& e = in.elements[k];
            ElementRun& r = elems[k];
            double q = inflow[k];
            if (e.special == SpecialKind::Inflow) {
                const double added = e.table.boundedMean(t1 / 60.0, t2 / 60.0);
                q += added;
                res.routing.hydrographInflow += added * dt;
            }
            double depth = 0;
            if (r.pool) {
                q = r.pool->step(q);
                if (!r.warnedTable && r.pool->beyondTable()) {
                    r.warnedTable = true;
                    in_.warnings.push_back("Detention basin " + std::to_string(e.number) +
                                           " filled beyond the last storage of its table; the table's last segment was extended.");
                }
            } else if (r.channel) {
                q = r.channel->step(q);
                depth = r.channel->depth();
                if (!r.warnedFull && r.channel->surcharged()) {
                    r.warnedFull = true;
                    in_.warnings.push_back("Element " + std::to_string(e.number) +
                                           " ran full and stored water above its full depth.");
                }
            }
            Peak& peak = res.elementPeaks[k];
            if (q > peak.flow) {
                peak.flow = q;
                peak.step = step;
            }
            peak.depth = std::max(peak.depth, depth);
            if (r.column >= 0) elemRow[r.column] = q;
            if (r.record >= 0) {
                Recorded& rec = res.elements[static_cast<std::size_t>(r.record)];
                rec.flow.push_back(q);
                if (r.channel) rec.depth.push_back(depth);
            }
            if (e.special == SpecialKind::Diversion) {
                const double d = std::clamp(e.table.extended(q), 0.0, q);
                q -= d;
                res.routing.diverted += d * dt;
                const int to = net_.divertTo[k];
                if (to >= 0)
                    inflow[static_cast<std::size_t>(to)] += d;
                else
                    res.routing.divertedOut += d * dt;
            }
            const int down = net_.downstream[k];
            if (down >= 0)
                inflow[static_cast<std::size_t>(down)] += q;
            else
                res.routing.outletOutflow += q * dt;
        }
        if (progress && ((step + 1) % every == 0 || step + 1 == total)) progress(step + 1, total);
    }

    for (std::size_t i = 0; i < subs.size(); ++i)
        for (int a = 0; a < 3; ++a) res.runoff.surfaceStorage += subs[i].planes[a].depth() * subs[i].areas[a];
    for (const ElementRun& r : elems) {
        if (r.channel) res.routing.storage += r.channel->storage();
        if (r.pool) res.routing.storage += r.pool->storage();
    }
    return res;
}

}  // namespace rillo::model
