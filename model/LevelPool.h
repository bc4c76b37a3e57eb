#pragma once
// Level-pool routing of a detention basin by the storage-indication method
// (Puls): the trapezoidal rule on dS/dt = I - O(S),
//
//   S2 + O(S2) h / 2 = S1 - O1 h / 2 + I h,
//
// with O(S) the basin's storage (acre-ft) to outflow (cfs) table, linear
// between pairs and extended along its last segment. The left side is
// piecewise linear in S, so each sub-step is a search and one
// interpolation. As for the channels (ChannelRouting.h), each time step is
// cut into sub-steps whose number the error estimate of Substeps.h sets,
// and the inflow within the step rises or falls linearly about its mean.
// The step's outflow is what the balance leaves, (S1 - S2) / dt + I, so
// water is conserved exactly and no outflow is negative. Where the
// trapezoid would draw the basin below empty or below its outlet, that
// sub-step falls back on backward Euler, which never does. A basin whose
// table starts with zero outflows holds that dead storage: it never drains
// below it, and water that only fills it gives exactly nothing.

#include "Curve.h"
#include "Substeps.h"

#include <vector>

namespace rillo::model {

class LevelPool {
public:
    /// Table in acre-ft and cfs.
    explicit LevelPool(const Curve& storageOutflow);

    struct Result {
        double outflow = 0;  ///< mean over the step, cfs
        double error = 0;    ///< estimated error of the outflow volume, ft^3
    };
    /// One step of `dt` seconds with the step's mean inflow (cfs) changing
    /// by `trend` cfs/s through the step.
    Result step(double inflow, double trend, double dt, const StepControl& control);
    /// Storage in cubic feet.
    double storage() const { return storage_; }
    /// Outflow at the end of the step (cfs).
    double outflow() const { return outflow_; }
    /// Whether the storage has gone beyond the table's last pair.
    bool beyondTable() const { return storage_ > s_.back(); }
    int substeps() const { return count_.count(); }

private:
    struct Rate {
        double o, slope;  ///< outflow (cfs) and dO/dS (1/s)
    };
    Rate rateAt(double s) const;
    /// The storage S with S + c O(S) = r, on the rising envelope of the
    /// left side (a table whose outflow falls somewhere); 0 when r is no
    /// more than the empty basin's c O(0).
    double solve(double c, double r) const;
    double substep(double inflow, double h, double& error);
    std::vector<double> s_, o_;
    double dead_ = 0;  ///< storage below the outlet (ft^3): no outflow up to it
    double storage_ = 0, outflow_ = 0, slope_ = 0;
    SubstepCount count_;
};

}  // namespace rillo::model
