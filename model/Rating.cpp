#include "Rating.h"

#include <algorithm>
#include <cmath>

namespace rillo::model {

namespace {
constexpr double DepthRatio = 1.1;        ///< each tabulated depth over the one below
constexpr double LowestFraction = 1e-5;   ///< the lowest depth but zero, of the full depth
constexpr double LargestFlowDepth = 0.93818;  ///< of a circle's diameter: where Manning's flow is largest

struct Hermite {
    double q, slope;
};

/// The segment's cubic and its slope at x.
Hermite cubic(const Rating::Cursor& c, double x) {
    return {c.q0 + x * (c.c1 + x * (c.c2 + x * c.c3)), c.c1 + x * (2 * c.c2 + x * 3 * c.c3)};
}
}  // namespace

Rating::Rating(const Conduit& main, const std::optional<Conduit>& overflow) {
    nodes_.push_back({0, 0, 0, 0, 0});
    addPart(main, nodes_.front());
    fullFlow_ = main.section.flow(main.fullDepth, main.roughness, main.slope);
    if (overflow) addPart(*overflow, nodes_.back());
    // Slopes limited so that no segment's cubic overshoots (Fritsch and
    // Carlson): the rating rises, or stays level, from node to node.
    for (std::size_t i = 0; i + 1 < nodes_.size(); ++i) {
        Node& a = nodes_[i];
        Node& b = nodes_[i + 1];
        const double dv = b.v - a.v;
        const double m = dv > 0 ? (b.q - a.q) / dv : 0;
        if (!(m > 0)) {
            a.slope = b.slope = 0;
            continue;
        }
        const double alpha = a.slope / m, beta = b.slope / m;
        const double norm = alpha * alpha + beta * beta;
        if (norm > 9) {
            const double tau = 3 / std::sqrt(norm);
            a.slope = tau * alpha * m;
            b.slope = tau * beta * m;
        }
    }
    top_ = nodes_.back();
}

void Rating::addPart(const Conduit& part, Node base) {  // base by value: the table grows
    const Section& s = part.section;
    const double n = part.roughness, slope = part.slope, length = part.length, full = part.fullDepth;
    const int count = static_cast<int>(std::ceil(std::log(1 / LowestFraction) / std::log(DepthRatio)));
    const bool circle = s.shape == Section::Shape::Circle;
    const double top = circle ? std::min(full, s.width) : full;
    std::vector<double> depths;
    for (int k = count; k >= 0; --k) depths.push_back(full * std::pow(DepthRatio, -k));
    // A circle carries most at 0.938 of its diameter: a depth of its own.
    if (circle && LargestFlowDepth * s.width < full) {
        depths.push_back(LargestFlowDepth * s.width);
        std::sort(depths.begin(), depths.end());
    }
    for (double y : depths) {
        const double lo = y * (1 - 1e-4), hi = std::min(y * (1 + 1e-4), top);
        const double raw = base.q + s.flow(y, n, slope);
        Node node{base.v + s.area(y) * length, std::max(raw, nodes_.back().q), 0, base.y + y, base.a + s.area(y)};
        // A pipe keeps its largest flow from there up to full: the slope is
        // that of Manning's equation only where the rating still rises with it.
        const double dv = (s.area(hi) - s.area(lo)) * length;
        if (raw >= nodes_.back().q && dv > 0) node.slope = std::max((s.flow(hi, n, slope) - s.flow(lo, n, slope)) / dv, 0.0);
        nodes_.push_back(node);
    }
}

void Rating::load(std::size_t i, Cursor& cursor) const {
    cursor.i = i;
    const Node& a = cursor.a = nodes_[i];
    const Node& b = cursor.b = nodes_[i + 1];
    cursor.valid = true;
    const double d = b.v - a.v;
    if (!(d > 0)) {  // a segment of no storage: its top end
        cursor.q0 = b.q;
        cursor.c1 = b.slope;
        cursor.c2 = cursor.c3 = cursor.dy = cursor.da = 0;
        return;
    }
    // The cubic Hermite interpolant through (0, a.q) and (d, b.q) with
    // slopes a.slope and b.slope, as a polynomial in x.
    const double m = (b.q - a.q) / d;
    cursor.q0 = a.q;
    cursor.c1 = a.slope;
    cursor.c2 = (3 * m - 2 * a.slope - b.slope) / d;
    cursor.c3 = (a.slope + b.slope - 2 * m) / (d * d);
    cursor.dy = (b.y - a.y) / d;
    cursor.da = (b.a - a.a) / d;
}

void Rating::seek(double v, Cursor& cursor) const {
    if (cursor.valid && v >= cursor.a.v && v < cursor.b.v) return;
    const std::size_t last = nodes_.size() - 2;
    const std::size_t hint = cursor.valid ? cursor.i : 0;
    if (hint < last && v >= cursor.b.v && v < nodes_[hint + 2].v) return load(hint + 1, cursor);
    if (hint > 0 && v < cursor.a.v && v >= nodes_[hint - 1].v) return load(hint - 1, cursor);
    const auto it = std::upper_bound(nodes_.begin(), nodes_.end(), v, [](double x, const Node& p) { return x < p.v; });
    const std::size_t i = static_cast<std::size_t>(it - nodes_.begin());
    load(std::min(i == 0 ? 0 : i - 1, last), cursor);
}

Rating::Value Rating::at(double v, Cursor& cursor) const {
    if (!(v > 0)) return {0, 0};
    if (v >= top_.v) return {top_.q, 0};
    seek(v, cursor);
    const Hermite h = cubic(cursor, v - cursor.a.v);
    return {std::max(h.q, 0.0), std::max(h.slope, 0.0)};
}

double Rating::depth(double v, Cursor& cursor) const {
    if (!(v > 0)) return 0;
    if (v >= top_.v) return top_.y;
    seek(v, cursor);
    return cursor.a.y + cursor.dy * (v - cursor.a.v);
}

double Rating::area(double v, Cursor& cursor) const {
    if (!(v > 0)) return 0;
    if (v >= top_.v) return top_.a;
    seek(v, cursor);
    return cursor.a.a + cursor.da * (v - cursor.a.v);
}

double Rating::solve(double c, double r, Cursor& cursor, Value& there) const {
    there = {0, 0};
    if (!(r > 0)) return 0;
    if (r >= top_.v + c * top_.q) {
        there = {top_.q, 0};
        return r - c * top_.q;
    }
    const auto g = [&](std::size_t i) { return nodes_[i].v + c * nodes_[i].q; };
    const bool inside = cursor.valid && r >= cursor.a.v + c * cursor.a.q && r < cursor.b.v + c * cursor.b.q;
    const std::size_t last = nodes_.size() - 2;
    const std::size_t i = cursor.i;
    if (!inside && cursor.valid && r >= g(i + 1) && i < last && r < g(i + 2)) {
        load(i + 1, cursor);  // the flow rose into the next segment, as it mostly does
    } else if (!inside && cursor.valid && r < g(i) && i > 0 && r >= g(i - 1)) {
        load(i - 1, cursor);
    } else if (!inside) {
        std::size_t lo = 0, hi = nodes_.size() - 1;  // g(lo) <= r < g(hi)
        while (hi - lo > 1) {
            const std::size_t mid = (lo + hi) / 2;
            (g(mid) <= r ? lo : hi) = mid;
        }
        load(lo, cursor);
    }
    const Node& a = cursor.a;
    const Node& b = cursor.b;
    const double dv = b.v - a.v, ga = a.v + c * a.q, gb = b.v + c * b.q;
    double x = gb > ga ? dv * (r - ga) / (gb - ga) : 0;  // from a.v
    Hermite h = cubic(cursor, x);
    for (int k = 0; k < 20; ++k) {
        const double f = x + a.v + c * h.q - r;
        const double df = 1 + c * std::max(h.slope, 0.0);
        const double next = std::clamp(x - f / df, 0.0, dv);
        const double moved = next - x;
        x = next;
        if (std::abs(moved) <= 1e-7 * dv) {
            // Newton's last move is far below what matters: the flow there
            // follows along the slope.
            h.q += h.slope * moved;
            break;
        }
        h = cubic(cursor, x);
    }
    there = {std::max(h.q, 0.0), std::max(h.slope, 0.0)};
    return a.v + x;
}

}  // namespace rillo::model
