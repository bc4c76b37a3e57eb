#pragma once
// Routing through a channel or pipe as a nonlinear reservoir: the element's
// storage V = A(y) L and its outflow Q(y) by Manning's equation on the
// section, dV/dt = I - Q. The rating (V, Q, y) is tabulated once at 256
// depths per section, and each step is solved implicitly (backward Euler):
//
//   V2 + dt Q(V2) = V1 + dt I,
//
// which on the tabulated rating is a search and one linear interpolation.
// The step's outflow is what the balance leaves, (V1 - V2) / dt + I, so the
// routing conserves water exactly. Above full depth an element without an
// overflow channel stores the excess as volume and releases its capacity
// (the largest flow of its rating; for a pipe, the flow a little below
// full); with an overflow channel the volume above full depth fills the
// overflow section, which adds its own Manning flow, and only above its
// full depth is water stored.

#include "Section.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace rillo::model {

struct Conduit {
    Section section;
    double length = 0;     ///< ft
    double slope = 0;      ///< ft/ft
    double roughness = 0;  ///< Manning's n
    double fullDepth = 0;  ///< ft
};

class ChannelRouting {
public:
    ChannelRouting(const Conduit& main, const std::optional<Conduit>& overflow, double dt);

    /// One step with the step's mean inflow (cfs); returns the mean outflow (cfs).
    double step(double inflow);
    double depth() const { return depth_; }
    double storage() const { return volume_; }
    /// The largest outflow the element gives before it stores water.
    double capacity() const { return top_.q; }
    /// Whether the last step stored water above the top of the rating.
    bool surcharged() const { return volume_ > top_.v; }

private:
    void addPart(const Conduit& part, double baseDepth, double baseVolume, double baseFlow, bool first);
    double dt_;
    /// The rating at one depth; g = V + dt Q is what each step searches.
    struct Point {
        double y, v, q, g;
    };
    std::vector<Point> points_;
    Point top_{};  ///< the last point, kept here so a step reads one table line
    double segmentLow_ = 0, segmentHigh_ = -1;  ///< g at both ends of the segment last used
    double volume_ = 0, depth_ = 0;
    std::size_t hint_ = 0;
};

}  // namespace rillo::model
