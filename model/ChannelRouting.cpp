#include "ChannelRouting.h"

#include <algorithm>

namespace rillo::model {

namespace {
constexpr int PointsPerSection = 256;
}

ChannelRouting::ChannelRouting(const Conduit& main, const std::optional<Conduit>& overflow, double dt) : dt_(dt) {
    addPart(main, 0, 0, 0, true);
    if (overflow) addPart(*overflow, points_.back().y, points_.back().v, points_.back().q, false);
    for (Point& p : points_) p.g = p.v + dt_ * p.q;
    top_ = points_.back();
}

void ChannelRouting::addPart(const Conduit& part, double baseDepth, double baseVolume, double baseFlow, bool first) {
    if (first) points_.push_back({0, 0, 0, 0});
    for (int i = 1; i <= PointsPerSection; ++i) {
        const double y = part.fullDepth * i / PointsPerSection;
        // The rating rises with storage: a pipe keeps its largest flow
        // between that depth and full.
        points_.push_back({baseDepth + y, baseVolume + part.section.area(y) * part.length,
                           std::max(baseFlow + part.section.flow(y, part.roughness, part.slope), points_.back().q), 0});
    }
}

double ChannelRouting::step(double inflow) {
    const double before = volume_;
    const double rhs = std::max(volume_ + dt_ * inflow, 0.0);
    if (rhs == 0) {
        volume_ = depth_ = 0;
        return 0;
    }
    if (rhs >= top_.g) {
        volume_ = rhs - dt_ * top_.q;
        depth_ = top_.y;
    } else {
        // Segment [i, i+1] with g_i <= rhs < g_i+1: most steps stay in the last one.
        std::size_t i = hint_;
        if (!(rhs >= segmentLow_ && rhs < segmentHigh_)) {
            const auto it = std::upper_bound(points_.begin(), points_.end(), rhs,
                                             [](double x, const Point& p) { return x < p.g; });
            i = static_cast<std::size_t>(it - points_.begin());
            i = std::min(i == 0 ? 0 : i - 1, points_.size() - 2);
            hint_ = i;
            segmentLow_ = points_[i].g;
            segmentHigh_ = points_[i + 1].g;
        }
        const Point& a = points_[i];
        const Point& b = points_[i + 1];
        const double span = b.g - a.g;
        const double f = span > 0 ? (rhs - a.g) / span : 0;
        volume_ = a.v + f * (b.v - a.v);
        depth_ = a.y + f * (b.y - a.y);
    }
    return std::max((before - volume_) / dt_ + inflow, 0.0);
}

}  // namespace rillo::model
