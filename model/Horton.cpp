#include "Horton.h"

#include <algorithm>
#include <cmath>

namespace rillo::model {

Horton::Horton(double f0, double fc, double decay, double dt)
    : f0_(std::max(f0, 0.0)), fc_(std::max(fc, 0.0)), k_(std::max(decay, 0.0)), dt_(dt), edt_(std::exp(-k_ * dt)) {
    if (k_ == 0) fc_ = f0_;  // no decay: the capacity stays at f0
}

double Horton::curve(double t, double e) const {
    if (k_ == 0) return f0_ * t;
    return fc_ * t + (f0_ - fc_) / k_ * (1 - e);
}

double Horton::curve(double t) const { return curve(t, std::exp(-k_ * t)); }

double Horton::infiltrate(double supply) {
    if (!(supply > 0)) return 0;
    const double next = curve(tp_ + dt_, e_ * edt_);
    const double cap = next - cumulative_;
    if (supply >= cap) {
        tp_ += dt_;
        e_ *= edt_;
        cumulative_ = next;
        return std::max(cap, 0.0);
    }
    // Light supply: all of it infiltrates; find the equivalent time again,
    // bracketed by this step (F(tp) <= target < F(tp + dt)).
    const double target = cumulative_ + supply;
    double lo = tp_, hi = tp_ + dt_, t = tp_ + dt_ * supply / cap;
    for (int i = 0; i < 40; ++i) {
        const double e = std::exp(-k_ * t);
        const double g = curve(t, e) - target;
        if (g > 0) hi = t; else lo = t;
        const double slope = k_ == 0 ? f0_ : fc_ + (f0_ - fc_) * e;
        double nt = slope > 0 ? t - g / slope : 0.5 * (lo + hi);
        if (!(nt > lo && nt < hi)) nt = 0.5 * (lo + hi);
        if (std::abs(nt - t) <= 1e-9 * (1 + t)) {
            t = nt;
            break;
        }
        t = nt;
    }
    tp_ = t;
    e_ = std::exp(-k_ * t);
    cumulative_ = target;
    return supply;
}

}  // namespace rillo::model
