#pragma once
// The model's time loop: rain on the subcatchments (or imported
// hydrographs), their runoff into the elements, and the routing of every
// element from upstream to downstream, step by step. Every flow is the mean
// of its step, so what one part gives the next receives exactly, and the
// continuity sums close.

#include "HydrographFile.h"
#include "ModelInput.h"
#include "Network.h"
#include "Substeps.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rillo::model {

struct Peak {
    double flow = 0;    ///< cfs
    long step = -1;     ///< step of the peak flow, -1 when it never flowed
    double depth = 0;   ///< ft (elements with a section)
    bool hasDepth = false;
};

/// A subcatchment's totals over the run, in cubic feet.
struct SubcatchmentTotals {
    double rain = 0, infiltration = 0, runoff = 0;
};

/// What an element's design is checked against, over the run.
struct ElementDesign {
    double fullFlow = 0;       ///< Manning's flow at full depth (cfs); 0 without a section
    double peakInflow = 0;     ///< cfs
    double peakVelocity = 0;   ///< ft/s, mean flow over the flow area
    double travelAtPeak = 0;   ///< s: length over the velocity at the peak outflow
    double peakExcess = 0;     ///< ft^3 stored above the top of the rating
    long surchargeSteps = 0;   ///< steps that ended with water stored so
    long surchargeStart = -1;  ///< the first of them
    double peakStorage = 0;    ///< ft^3 (detention basins)
    long peakStorageStep = -1;
    double divertedVolume = 0; ///< ft^3 (diversions)
    double divertedPeak = 0;   ///< cfs
    long divertedPeakStep = -1;
};

/// The largest estimated time-stepping error of any series: its step's
/// error over the series' peak flow.
struct StepErrorEstimate {
    double percent = 0;
    std::string series;  ///< "subcatchment 4", "element 103"; empty when none flowed
};

/// Volumes in cubic feet.
struct RunoffBalance {
    double rain = 0, infiltration = 0, surfaceStorage = 0, runoff = 0;
    double area = 0;  ///< ft^2 of all subcatchments
    double error() const;  ///< percent of the rain
};

struct RoutingBalance {
    double runoffInflow = 0;      ///< subcatchment runoff that entered an element
    double importedInflow = 0;    ///< IOPT 1 hydrographs
    double hydrographInflow = 0;  ///< inflow hydrograph elements
    double outletOutflow = 0;
    double divertedOut = 0;       ///< diverted to an element the deck lacks
    double diverted = 0;          ///< all diverted flow (internal and out)
    double storage = 0;           ///< at the end (nothing at the start)
    double unroutedRunoff = 0;    ///< runoff of subcatchments draining no element
    double inflow() const { return runoffInflow + importedInflow + hydrographInflow; }
    double error() const;  ///< percent of the inflow
};

/// One recorded hydrograph: the mean flow of every step, and for elements
/// the depth at the end of every step.
struct Recorded {
    long number = 0;
    std::vector<double> flow;
    std::vector<double> depth;  ///< empty for elements without a section (direct flow, detention)
};

struct SimulationResult {
    long steps = 0;
    std::vector<Peak> subcatchmentPeaks;    ///< in input order
    std::vector<Peak> elementPeaks;
    std::vector<SubcatchmentTotals> subcatchmentTotals;  ///< in input order
    std::vector<ElementDesign> elementDesign;
    StepErrorEstimate stepError;
    std::vector<Recorded> subcatchments;    ///< those printed
    std::vector<Recorded> elements;
    /// The saved hydrographs as the files hold them, filled step by step:
    /// the saved subcatchments (IOPT 0) or elements, for elements the
    /// depths and diverted flows when asked for, then for IOPT 0 the mean
    /// rain intensity of every hyetograph.
    Hydrographs subcatchmentFile, elementFile;
    RunoffBalance runoff;
    RoutingBalance routing;

    const Recorded* subcatchment(long number) const;
    const Recorded* element(long number) const;
};

class Simulation {
public:
    /// `imported` holds the sub-catchment hydrographs of an IOPT 1 deck.
    /// With `elementDepths` the element file also has, after the flows, the
    /// depth of each saved element with a section and the diverted flow of
    /// each saved diversion (a file of format version 2).
    /// Adds warnings to the input's list; throws ModelError.
    Simulation(ModelInput& input, const Network& network, const Hydrographs* imported, StepControl control = {},
               bool elementDepths = false);
    ~Simulation();

    /// Runs `steps` steps (all of the deck's when negative); progress gets
    /// the step number after each step.
    SimulationResult run(long steps = -1, const std::function<void(long, long)>& progress = {});

    /// Most values the saved and printed hydrographs may hold.
    static constexpr double MaxRecordedValues = 60e6;

private:
    struct State;
    ModelInput& in_;
    const Network& net_;
    const Hydrographs* imported_;
    StepControl control_;
    bool elementDepths_;
};

/// Mean intensity of a hyetograph over [a, b] minutes: value k holds over
/// [k t, (k + 1) t) and zero after the last.
double hyetographMean(const std::vector<double>& values, double interval, double a, double b);

/// Mean of an imported flow column over [a, b] hours: row j holds its mean
/// over [j s, (j + 1) s] hours, zero after the last row.
double importedMean(const Hydrographs& h, std::size_t column, double a, double b);

}  // namespace rillo::model
