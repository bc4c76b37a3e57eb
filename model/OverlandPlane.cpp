#include "OverlandPlane.h"

#include <algorithm>
#include <cmath>

namespace rillo::model {

double OverlandPlane::solve(double net) {
    const double rhs = std::max(depth_ + net, 0.0);
    const double r = rhs - dp_;
    if (r <= 0 || c_ <= 0) {
        depth_ = rhs;
        u_ = 0;
        return 0;
    }
    // u^3 + c u^5 = r: increasing and convex for u > 0, so Newton's method
    // converges from any start above zero (from below it overshoots once).
    double u = u_ > 0 ? u_ : std::min(std::cbrt(r), std::pow(r / c_, 0.2));
    for (int i = 0; i < 60; ++i) {
        const double u2 = u * u;
        const double u3 = u2 * u;
        const double g = u3 + c_ * u3 * u2 - r;
        const double slope = 3 * u2 + 5 * c_ * u2 * u2;
        if (!(slope > 0)) break;
        const double next = std::max(u - g / slope, 0.5 * u);
        // Quadratic convergence: once a step is below 1e-7 of u, the next
        // error is far below what any output shows.
        const bool done = std::abs(next - u) <= 1e-7 * u;
        u = next;
        if (done) break;
    }
    const double x = std::clamp(u * u * u, 0.0, r);
    u_ = u;
    depth_ = dp_ + x;
    return rhs - depth_;
}

}  // namespace rillo::model
