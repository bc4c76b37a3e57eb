#include "ChannelRouting.h"

#include <algorithm>

namespace rillo::model {

namespace {
/// Below this (cubic feet) a step's error is not worth a sub-step more.
constexpr double NegligibleVolume = 1e-6;
}  // namespace

ChannelRouting::ChannelRouting(const Conduit& main, const std::optional<Conduit>& overflow)
    : rating_(main, overflow) {}

double ChannelRouting::depth() const { return rating_.depth(volume_, cursor_); }
double ChannelRouting::area() const { return rating_.area(volume_, cursor_); }

ChannelRouting::Result ChannelRouting::step(double inflow, double trend, double dt, const StepControl& control) {
    inflow = std::max(inflow, 0.0);
    if (inflow == 0 && volume_ == 0) {
        flow_ = slope_ = 0;
        return {};
    }
    // The inflow never falls below zero within the step.
    trend = std::clamp(trend, -2 * inflow / dt, 2 * inflow / dt);
    const double volume0 = volume_, flow0 = flow_, slope0 = slope_;
    for (;;) {
        double error = 0;
        const int n = count_.count();
        const double h = dt / n;
        for (int k = 0; k < n; ++k) substep(inflow + trend * ((k + 0.5) * h - 0.5 * dt), h, error);
        const double out = std::max(volume0 + dt * inflow - volume_, 0.0);
        const double allowed = control.tolerance * std::max(out, inflow * dt) + NegligibleVolume;
        if (count_.accept(error, allowed, control)) return {out / dt, error};
        volume_ = volume0;
        flow_ = flow0;
        slope_ = slope0;
    }
}

double ChannelRouting::substep(double inflow, double h, double& error) {
    const double v1 = volume_, q1 = flow_, slope1 = slope_;
    const double available = v1 + h * inflow;
    const double rhs = available - 0.5 * h * q1;
    Rating::Value r2;
    double v2;
    bool fallback = false;
    if (rhs < 0) {
        fallback = true;  // the trapezoid would drain more than is there
        v2 = rating_.solve(h, available, cursor_, r2);
    } else {
        v2 = rating_.solve(0.5 * h, rhs, cursor_, r2);
    }
    v2 = std::clamp(v2, 0.0, available);
    const double out = available - v2;
    if (fallback)
        error += out;
    else
        error += trapezoidError(h, -slope1 * (inflow - q1), -r2.slope * (inflow - r2.q));
    volume_ = v2;
    flow_ = r2.q;
    slope_ = r2.slope;
    return out;
}

}  // namespace rillo::model
