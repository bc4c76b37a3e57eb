#pragma once
// One sub-area of a subcatchment as a nonlinear reservoir:
//
//   dd/dt = i - f - alpha (d - dp)^(5/3),   alpha = 1.49 W S^(1/2) / (n A)
//
// (d ponded depth, dp retention storage, all in feet and seconds). Each
// time step is cut into sub-steps of the trapezoidal rule: over a sub-step
// h the end depth d2 solves
//
//   d2 + h/2 alpha (d2 - dp)^(5/3) = d1 + (i - f) h - h/2 alpha (d1 - dp)^(5/3),
//
// found by Newton's method in u = (d2 - dp)^(1/3), where the equation is the
// polynomial u^3 + c u^5 = r. The sub-step's outflow is what the balance
// leaves, d1 + (i - f) h - d2, so water is conserved exactly whatever the
// precision of the root. Infiltration is taken in every sub-step from the
// water there is during it (ponded depth and rain). The sub-steps are
// chosen by the error estimate of Substeps.h; where the trapezoidal rule
// would drain more than is there (a step far too long for the plane), that
// sub-step falls back on backward Euler, which never does. A rainless step
// of a plane that infiltrates nothing is the recession's closed form.

#include "Horton.h"
#include "Substeps.h"

namespace rillo::model {

/// What one time step of a plane gave.
struct PlaneStep {
    double runoff = 0;       ///< ft that ran off
    double infiltrated = 0;  ///< ft
    double error = 0;        ///< estimated error of the runoff, ft
};

class OverlandPlane {
public:
    OverlandPlane() = default;
    /// alpha in ft^(-2/3)/s, retention storage in feet.
    OverlandPlane(double alpha, double retention) : alpha_(alpha), dp_(retention) {}

    /// One time step of `dt` seconds under `rain` ft/s, infiltrating through
    /// `horton` when there is one.
    PlaneStep step(double rain, double dt, Horton* horton, const StepControl& control);
    double depth() const { return depth_; }
    /// The runoff rate at the end of the last step (ft/s).
    double endRate() const { return alpha_ * u_ * u_ * u_ * u_ * u_; }
    int substeps() const { return count_.count(); }

private:
    /// One sub-step; adds to the step's sums.
    void substep(double rain, double h, Horton* horton, PlaneStep& sums);
    double solveRoot(double c, double r) const;
    double alpha_ = 0, dp_ = 0;
    double depth_ = 0, u_ = 0;  ///< u = (depth - dp)^(1/3), 0 at or below dp
    SubstepCount count_;
};

}  // namespace rillo::model
