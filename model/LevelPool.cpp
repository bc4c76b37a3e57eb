#include "LevelPool.h"

#include "Units.h"

#include <algorithm>

namespace rillo::model {

LevelPool::LevelPool(const Curve& table, double dt) : dt_(dt) {
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
    // A table whose outflow falls is searched on its rising envelope.
    for (std::size_t i = 0; i < s_.size(); ++i)
        h_.push_back(std::max(s_[i] + 0.5 * dt_ * o_[i], h_.empty() ? 0.0 : h_.back()));
}

double LevelPool::outflowAt(double s) const {
    std::size_t i = static_cast<std::size_t>(std::upper_bound(s_.begin(), s_.end(), s) - s_.begin());
    i = std::clamp<std::size_t>(i, 1, s_.size() - 1);
    const double span = s_[i] - s_[i - 1];
    const double o = span > 0 ? o_[i - 1] + (o_[i] - o_[i - 1]) * (s - s_[i - 1]) / span : o_[i];
    return std::max(o, 0.0);
}

double LevelPool::step(double inflow) {
    const double before = storage_;
    const double rhs = storage_ - 0.5 * dt_ * outflow_ + dt_ * inflow;
    if (rhs <= h_.front()) {
        // Less than the basin's empty state holds: it empties.
        storage_ = 0;
    } else {
        std::size_t i = static_cast<std::size_t>(std::upper_bound(h_.begin(), h_.end(), rhs) - h_.begin());
        i = std::clamp<std::size_t>(i, 1, h_.size() - 1);
        const double span = h_[i] - h_[i - 1];
        if (span > 0) {
            storage_ = s_[i - 1] + (s_[i] - s_[i - 1]) * (rhs - h_[i - 1]) / span;
        } else {
            storage_ = s_[i - 1];
        }
        storage_ = std::clamp(storage_, 0.0, before + dt_ * inflow);
    }
    double out = (before - storage_) / dt_ + inflow;
    if (storage_ <= dead_) {
        // Below its outlet a basin gives nothing: the trapezoid's step, which
        // takes the outflow at the start of the step for half of it, must
        // not draw it down past the outlet, and water that only fills the
        // dead storage is kept exactly.
        if (before > dead_) {
            storage_ = dead_;
            out = (before - dead_) / dt_ + inflow;
        } else {
            storage_ = before + dt_ * inflow;
            out = 0;
        }
    }
    if (out < 0) {  // rounding in an emptying basin
        storage_ = before + dt_ * inflow;
        out = 0;
    }
    outflow_ = outflowAt(storage_);
    return out;
}

}  // namespace rillo::model
