#include "LevelPool.h"

#include "Units.h"

#include <algorithm>

namespace rillo::model {

namespace {
/// Below this (cubic feet) a step's error is not worth a sub-step more.
constexpr double NegligibleVolume = 1e-6;
}  // namespace

LevelPool::LevelPool(const Curve& table) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        s_.push_back(table.x(i) * units::CubicFeetPerAcreFoot);
        o_.push_back(std::max(table.y(i), 0.0));
    }
    if (s_.empty() || s_.front() > 0) {
        s_.insert(s_.begin(), 0.0);
        o_.insert(o_.begin(), o_.empty() ? 0.0 : o_.front());
    }
    if (s_.size() == 1) {  // one pair at zero storage: a constant outflow
        s_.push_back(1.0);
        o_.push_back(o_.front());
    }
    // The dead storage: up to the last pair of the leading run of zero outflows.
    for (std::size_t i = 0; i < s_.size() && o_[i] == 0; ++i) dead_ = s_[i];
}

LevelPool::Rate LevelPool::rateAt(double s) const {
    if (s <= dead_ && o_.front() == 0) return {0, 0};
    std::size_t i = static_cast<std::size_t>(std::upper_bound(s_.begin(), s_.end(), s) - s_.begin());
    i = std::clamp<std::size_t>(i, 1, s_.size() - 1);
    const double span = s_[i] - s_[i - 1];
    if (!(span > 0)) return {o_[i], 0};
    const double slope = (o_[i] - o_[i - 1]) / span;
    const double o = o_[i - 1] + slope * (s - s_[i - 1]);
    if (!(o > 0)) return {0, 0};
    return {o, slope};
}

double LevelPool::solve(double c, double r) const {
    double lowS = s_.front(), lowG = s_.front() + c * o_.front();
    if (r <= lowG) return 0;
    for (std::size_t i = 1; i < s_.size(); ++i) {
        const double g = std::max(s_[i] + c * o_[i], lowG);  // the rising envelope
        if (r < g) return lowS + (s_[i] - lowS) * (r - lowG) / (g - lowG);
        lowS = s_[i];
        lowG = g;
    }
    // Beyond the last pair, along the last segment's outflow.
    const std::size_t n = s_.size();
    const double span = s_[n - 1] - s_[n - 2];
    const double slope = span > 0 ? (o_[n - 1] - o_[n - 2]) / span : 0.0;
    return lowS + (r - lowG) / std::max(1 + c * slope, 1.0);
}

LevelPool::Result LevelPool::step(double inflow, double trend, double dt, const StepControl& control) {
    inflow = std::max(inflow, 0.0);
    if (inflow == 0 && storage_ == 0) {
        outflow_ = slope_ = 0;
        return {};
    }
    // The inflow never falls below zero within the step.
    trend = std::clamp(trend, -2 * inflow / dt, 2 * inflow / dt);
    const double storage0 = storage_, outflow0 = outflow_, slope0 = slope_;
    for (;;) {
        double error = 0;
        const int n = count_.count();
        const double h = dt / n;
        for (int k = 0; k < n; ++k) substep(inflow + trend * ((k + 0.5) * h - 0.5 * dt), h, error);
        double out = storage0 + dt * inflow - storage_;
        if (out < 0) {  // rounding in a basin that gave nothing
            storage_ = storage0 + dt * inflow;
            out = 0;
        }
        const double allowed = control.tolerance * std::max(out, inflow * dt) + NegligibleVolume;
        if (count_.accept(error, allowed, control)) return {out / dt, error};
        storage_ = storage0;
        outflow_ = outflow0;
        slope_ = slope0;
    }
}

double LevelPool::substep(double inflow, double h, double& error) {
    const double s1 = storage_, o1 = outflow_, slope1 = slope_;
    const double available = s1 + h * inflow;
    const double c = 0.5 * h;
    const double rhs = available - c * o1;
    double s2;
    // The trapezoid takes the outflow at the start for half the sub-step:
    // it must not draw the basin below empty, nor below its outlet.
    const bool fallback = rhs < c * o_.front() || (s1 > dead_ && rhs < dead_);
    if (fallback) {
        s2 = solve(h, available);
    } else if (rhs <= dead_ && o1 == 0) {
        s2 = rhs;  // below the outlet every drop stays, exactly
    } else {
        s2 = solve(c, rhs);
    }
    s2 = std::clamp(s2, 0.0, available);
    const double out = available - s2;
    const Rate r2 = rateAt(s2);
    if (fallback)
        error += std::clamp(out, 0.0, std::max(s1 - dead_, 0.0));
    else
        error += trapezoidError(h, -slope1 * (inflow - o1), -r2.slope * (inflow - r2.o));
    storage_ = s2;
    outflow_ = r2.o;
    slope_ = r2.slope;
    return out;
}

}  // namespace rillo::model
