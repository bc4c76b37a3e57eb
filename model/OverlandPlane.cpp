#include "OverlandPlane.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace rillo::model {

namespace {
/// Below this (feet) a step's error is not worth a sub-step more.
constexpr double NegligibleDepth = 1e-10;
}  // namespace

PlaneStep OverlandPlane::step(double rain, double dt, Horton* horton, const StepControl& control) {
    if (rain == 0 && u_ == 0) {
        // Dry, or holding only retention water: with nothing running off the
        // step is exact in one piece (the held water infiltrates as it can).
        PlaneStep s;
        if (horton && depth_ > 0) {
            s.infiltrated = horton->infiltrate(depth_, dt);
            depth_ = std::max(depth_ - s.infiltrated, 0.0);
        }
        return s;
    }
    if (rain == 0 && !horton) {
        // A recession with nothing infiltrating has a closed form: in
        // u = (d - dp)^(1/3), du/dt = -alpha/3 u^3, so u^-2 grows linearly,
        // u(t)^-2 = u(0)^-2 + 2/3 alpha t. The step is exact in one piece,
        // and costs a square root (most of a run's steps are recessions).
        PlaneStep s;
        const double u2 = u_ / std::sqrt(1 + 2.0 / 3.0 * alpha_ * dt * u_ * u_);
        const double d2 = std::min(dp_ + u2 * u2 * u2, depth_);
        s.runoff = depth_ - d2;
        depth_ = d2;
        u_ = u2;
        return s;
    }
    const double depth0 = depth_, u0 = u_;
    std::optional<Horton> horton0;
    if (horton) horton0 = *horton;
    if (u_ == 0) {
        // A plane holding no more than its retention storage that ends the
        // step so has run nothing off in it: its depth (rain less
        // infiltration, whose capacity only falls) is convex in time, so it
        // never rose above both ends. Such a step is exact in one piece.
        PlaneStep s;
        s.infiltrated = horton ? horton->infiltrate(depth_ + rain * dt, dt) : 0.0;
        const double end = depth_ + rain * dt - s.infiltrated;
        if (end <= dp_) {
            depth_ = std::max(end, 0.0);
            return s;
        }
        if (horton) *horton = *horton0;
    }
    for (;;) {
        PlaneStep sums;
        const int n = count_.count();
        const double h = dt / n;
        for (int k = 0; k < n; ++k) substep(rain, h, horton, sums);
        const double allowed = control.tolerance * std::max(sums.runoff, rain * dt) + NegligibleDepth;
        if (count_.accept(sums.error, allowed, control)) return sums;
        depth_ = depth0;
        u_ = u0;
        if (horton) *horton = *horton0;
    }
}

void OverlandPlane::substep(double rain, double h, Horton* horton, PlaneStep& sums) {
    const double u1 = u_;
    const double q1 = alpha_ * u1 * u1 * u1 * u1 * u1;  // ft/s at the start
    const double infiltrated = horton ? horton->infiltrate(depth_ + rain * h, h) : 0.0;
    sums.infiltrated += infiltrated;
    const double available = depth_ + rain * h - infiltrated;
    if (!(available > 0)) {  // everything infiltrated
        depth_ = u_ = 0;
        return;
    }
    const double rhs = available - 0.5 * h * q1;
    double u2 = 0, d2 = 0;
    bool fallback = false;
    if (rhs < 0) {
        // The trapezoid would drain more than is there: backward Euler.
        fallback = true;
        const double r = available - dp_;
        if (r > 0) {
            u2 = solveRoot(alpha_ * h, r);
            d2 = dp_ + u2 * u2 * u2;
        } else {
            d2 = available;
        }
    } else if (rhs <= dp_) {
        d2 = rhs;
    } else {
        u2 = solveRoot(0.5 * alpha_ * h, rhs - dp_);
        d2 = dp_ + u2 * u2 * u2;
    }
    d2 = std::min(d2, available);
    const double runoff = available - d2;
    sums.runoff += runoff;
    if (fallback) {
        sums.error += runoff;
    } else {
        const double s = (rain * h - infiltrated) / h;
        const double second1 = -5.0 / 3.0 * alpha_ * u1 * u1 * (s - q1);
        const double q2 = alpha_ * u2 * u2 * u2 * u2 * u2;
        const double second2 = -5.0 / 3.0 * alpha_ * u2 * u2 * (s - q2);
        sums.error += trapezoidError(h, second1, second2);
    }
    depth_ = d2;
    u_ = u2;
}

double OverlandPlane::solveRoot(double c, double r) const {
    // u^3 + c u^5 = r: increasing and convex for u > 0, so Newton's method
    // converges from any start above zero (from below it overshoots once).
    if (!(c > 0)) return std::cbrt(r);
    double u = u_ > 0 ? u_ : std::min(std::cbrt(r), std::pow(r / c, 0.2));
    for (int i = 0; i < 60; ++i) {
        const double u2 = u * u;
        const double u3 = u2 * u;
        const double g = u3 + c * u3 * u2 - r;
        const double slope = 3 * u2 + 5 * c * u2 * u2;
        if (!(slope > 0)) break;
        const double next = std::max(u - g / slope, 0.5 * u);
        // Quadratic convergence: once a step is below 1e-7 of u, the next
        // error is far below what any output shows.
        const bool done = std::abs(next - u) <= 1e-7 * u;
        u = next;
        if (done) break;
    }
    return std::max(u, 0.0);
}

}  // namespace rillo::model
