#include "ChannelRouting.h"

#include <algorithm>

namespace rillo::model {

namespace {
constexpr int PointsPerSection = 256;
}

ChannelRouting::ChannelRouting(const Conduit& main, const std::optional<Conduit>& overflow, double dt) : dt_(dt) {
    addPart(main, 0, 0, 0, true);
    if (overflow) addPart(*overflow, y_.back(), v_.back(), q_.back(), false);
    g_.resize(v_.size());
    for (std::size_t i = 0; i < v_.size(); ++i) g_[i] = v_[i] + dt_ * q_[i];
}

void ChannelRouting::addPart(const Conduit& part, double baseDepth, double baseVolume, double baseFlow, bool first) {
    if (first) {
        y_.push_back(0);
        v_.push_back(0);
        q_.push_back(0);
    }
    for (int i = 1; i <= PointsPerSection; ++i) {
        const double y = part.fullDepth * i / PointsPerSection;
        y_.push_back(baseDepth + y);
        v_.push_back(baseVolume + part.section.area(y) * part.length);
        // The rating rises with storage: a pipe keeps its largest flow
        // between that depth and full.
        q_.push_back(std::max(baseFlow + part.section.flow(y, part.roughness, part.slope), q_.back()));
    }
}

double ChannelRouting::step(double inflow) {
    const double before = volume_;
    const double rhs = std::max(volume_ + dt_ * inflow, 0.0);
    if (rhs >= g_.back()) {
        volume_ = rhs - dt_ * q_.back();
        depth_ = y_.back();
    } else {
        // Segment [i, i+1] with g_i <= rhs < g_i+1, searched from the last one.
        std::size_t i = std::min(hint_, g_.size() - 2);
        if (g_[i] > rhs || g_[i + 1] <= rhs) {
            i = static_cast<std::size_t>(std::upper_bound(g_.begin(), g_.end(), rhs) - g_.begin());
            i = i == 0 ? 0 : i - 1;
        }
        hint_ = i;
        const double span = g_[i + 1] - g_[i];
        const double f = span > 0 ? (rhs - g_[i]) / span : 0;
        volume_ = v_[i] + f * (v_[i + 1] - v_[i]);
        depth_ = y_[i] + f * (y_[i + 1] - y_[i]);
    }
    return std::max((before - volume_) / dt_ + inflow, 0.0);
}

}  // namespace rillo::model
