#include "Horton.h"

#include <algorithm>
#include <cmath>

namespace rillo::model {

Horton::Horton(double f0, double fc, double decay)
    : f0_(std::max(f0, 0.0)), fc_(std::max(fc, 0.0)), k_(std::max(decay, 0.0)) {
    if (k_ == 0) fc_ = f0_;  // no decay: the capacity stays at f0
}

double Horton::curve(double t, double e) const {
    if (k_ == 0) return f0_ * t;
    return fc_ * t + (f0_ - fc_) / k_ * (1 - e);
}

double Horton::curve(double t) const { return curve(t, std::exp(-k_ * t)); }

double Horton::decayOver(double h) const {
    // The sub-steps of one time step share their length: one exponential each.
    if (h != lastH_) {
        lastH_ = h;
        lastDecay_ = std::exp(-k_ * h);
    }
    return lastDecay_;
}

double Horton::capacity(double h) const { return curve(tp_ + h, e_ * decayOver(h)) - cumulative_; }

double Horton::infiltrate(double supply, double h) {
    if (!(supply > 0) || !(h > 0)) return 0;
    const double e = e_ * decayOver(h);
    const double next = curve(tp_ + h, e);
    const double cap = next - cumulative_;
    if (supply >= cap) {
        tp_ += h;
        e_ = e;
        cumulative_ = next;
        return std::max(cap, 0.0);
    }
    // Light supply: all of it infiltrates; find the equivalent time again,
    // bracketed by this interval (F(tp) <= target < F(tp + h)).
    const double target = cumulative_ + supply;
    double lo = tp_, hi = tp_ + h, t = tp_ + h * supply / cap;
    for (int i = 0; i < 40; ++i) {
        const double et = std::exp(-k_ * t);
        const double g = curve(t, et) - target;
        if (g > 0) hi = t; else lo = t;
        const double slope = k_ == 0 ? f0_ : fc_ + (f0_ - fc_) * et;
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
