#pragma once
// One sub-area of a subcatchment as a nonlinear reservoir:
//
//   dd/dt = i - f - alpha (d - dp)^(5/3),   alpha = 1.49 W S^(1/2) / (n A)
//
// (d ponded depth, dp retention storage, all in feet and seconds). Each
// step is solved implicitly (backward Euler): the end depth d2 solves
//
//   d2 + dt alpha (d2 - dp)^(5/3) = d1 + (i - f) dt,
//
// found by Newton's method in u = (d2 - dp)^(1/3), where the equation is the
// polynomial u^3 + c u^5 = r. The step's outflow is then defined as what
// the balance leaves, d1 + (i - f) dt - d2, so water is conserved exactly
// whatever the precision of the root. The implicit step never oscillates
// nor drains more than is there, at any step length.

namespace rillo::model {

class OverlandPlane {
public:
    OverlandPlane() = default;
    /// alpha in ft^(-2/3)/s, retention storage in feet, step in seconds.
    OverlandPlane(double alpha, double retention, double dt) : c_(alpha * dt), dp_(retention) {}

    /// Adds `net` feet (rain less infiltration, never more than is there to
    /// infiltrate) over one step; returns the depth that runs off (ft).
    double step(double net) {
        if (net == 0 && u_ == 0) return 0;  // dry, or holding only its retention storage
        return solve(net);
    }
    double depth() const { return depth_; }

private:
    double solve(double net);
    double c_ = 0, dp_ = 0;
    double depth_ = 0, u_ = 0;
};

}  // namespace rillo::model
