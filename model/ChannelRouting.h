#pragma once
// Routing through a channel or pipe as a nonlinear reservoir on its rating
// (Rating.h): dV/dt = I - Q(V). Each time step is cut into sub-steps of the
// trapezoidal rule,
//
//   V2 + h/2 Q(V2) = V1 + h I - h/2 Q(V1),
//
// their number set by the error estimate of Substeps.h. The inflow within
// the step rises or falls linearly about its mean (the trend of the
// upstream flows at the step's ends), so the step's inflow volume is
// exactly its mean times the step. The step's outflow
// is what the balance leaves, (V1 - V2) / dt + I, so the routing conserves
// water exactly. Above the top of the rating the excess is stored and
// released at the top flow. Where the trapezoid would drain more than is
// there, that sub-step falls back on backward Euler.

#include "Rating.h"
#include "Substeps.h"

#include <cstddef>
#include <optional>

namespace rillo::model {

class ChannelRouting {
public:
    ChannelRouting(const Conduit& main, const std::optional<Conduit>& overflow);

    struct Result {
        double outflow = 0;  ///< mean over the step, cfs
        double error = 0;    ///< estimated error of the outflow volume, ft^3
    };
    /// One step of `dt` seconds with the step's mean inflow (cfs) changing
    /// by `trend` cfs/s through the step.
    Result step(double inflow, double trend, double dt, const StepControl& control);
    /// The outflow at the end of the last step (cfs).
    double endFlow() const { return flow_; }
    double depth() const;
    /// The flow area at the end of the last step (ft^2).
    double area() const;
    double storage() const { return volume_; }
    /// The largest outflow the element gives before it stores water.
    double capacity() const { return rating_.topFlow(); }
    /// Manning's flow of the main channel at its full depth.
    double fullFlow() const { return rating_.fullFlow(); }
    /// Water stored above the top of the rating (ft^3).
    double excess() const { return std::max(volume_ - rating_.topVolume(), 0.0); }
    bool surcharged() const { return volume_ > rating_.topVolume(); }
    int substeps() const { return count_.count(); }
    const Rating& rating() const { return rating_; }

private:
    double substep(double inflow, double h, double& error);
    Rating rating_;
    double volume_ = 0, flow_ = 0;  ///< storage and outflow at the end of the last sub-step
    double slope_ = 0;              ///< dQ/dV there
    mutable Rating::Cursor cursor_;
    SubstepCount count_;
};

}  // namespace rillo::model
