#pragma once
// Error control of the reservoirs' time stepping. Each time step of the deck
// is cut into n equal sub-steps of the trapezoidal rule; the sub-steps'
// local error estimates are summed, and a step whose sum exceeds what is
// allowed is taken again with more sub-steps. The trapezoidal rule's error
// over a whole step falls with the square of the sub-step, which sets how
// many more (or, after an easy step, how many fewer for the next step).

#include <algorithm>
#include <cmath>

namespace rillo::model {

struct StepControl {
    /// Allowed error of a step's outflow volume, relative to the larger of
    /// its inflow and outflow.
    double tolerance = 2e-4;
    /// At most this many sub-steps per time step; a step that still misses
    /// the tolerance is kept, and its error shows in the run's estimate.
    int maxSubsteps = 1024;
};

/// The sub-step count of one reservoir, carried from step to step.
class SubstepCount {
public:
    int count() const { return n_; }

    /// After a try with count() sub-steps of estimated error `error` where
    /// `allowed` is allowed: true to keep the step, false to take it again
    /// with the count raised.
    bool accept(double error, double allowed, const StepControl& control) {
        // Most steps are kept with the count they had: no square root for them.
        if (error <= allowed || n_ >= control.maxSubsteps) {
            // Easy steps let the next one try fewer sub-steps, at most halving.
            if (n_ > 1 && 16 * error < allowed) {
                const double ratio = std::sqrt(error / allowed);
                n_ = std::max({1, n_ / 2, static_cast<int>(std::ceil(n_ * ratio * 1.3))});
            }
            return true;
        }
        const double ratio = allowed > 0 ? std::sqrt(error / allowed) : 64.0;
        const double grown = std::ceil(n_ * std::min(ratio, 64.0) * 1.2);
        n_ = static_cast<int>(std::min<double>(control.maxSubsteps, std::max<double>(grown, n_ + 1)));
        return false;
    }

private:
    int n_ = 1;
};

/// The trapezoidal rule's local error over a sub-step h of y' = f(y),
/// from the second derivatives y'' = f'(y) f(y) at both ends:
/// h^2 / 12 |y''(end) - y''(start)| (the Euler-Maclaurin end correction).
inline double trapezoidError(double h, double second1, double second2) {
    return h * h / 12.0 * std::abs(second2 - second1);
}

}  // namespace rillo::model
