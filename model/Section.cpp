#include "Section.h"

#include "Units.h"

#include <algorithm>
#include <cmath>

namespace rillo::model {

namespace {
double circleAngle(double depth, double diameter) {
    const double ratio = std::clamp(1 - 2 * depth / diameter, -1.0, 1.0);
    return 2 * std::acos(ratio);
}
}  // namespace

double Section::area(double depth) const {
    if (!(depth > 0)) return 0;
    if (shape == Shape::Circle) {
        const double y = std::min(depth, width);
        const double t = circleAngle(y, width);
        return width * width * (t - std::sin(t)) / 8;
    }
    return width * depth + 0.5 * (leftSlope + rightSlope) * depth * depth;
}

double Section::perimeter(double depth) const {
    if (!(depth > 0)) return shape == Shape::Circle ? 0 : width;
    if (shape == Shape::Circle) return width * circleAngle(std::min(depth, width), width) / 2;
    return width + depth * (std::sqrt(1 + leftSlope * leftSlope) + std::sqrt(1 + rightSlope * rightSlope));
}

double Section::flow(double depth, double n, double slope) const {
    const double a = area(depth);
    const double p = perimeter(depth);
    if (!(a > 0) || !(p > 0) || !(n > 0) || !(slope > 0)) return 0;
    return units::Manning / n * a * std::pow(a / p, 2.0 / 3.0) * std::sqrt(slope);
}

double normalDepth(const Section& section, double n, double slope, double q, double maxDepth) {
    if (!(q > 0)) return 0;
    // A circle carries most a little below full: search only the rising part.
    double top = maxDepth;
    if (section.shape == Section::Shape::Circle) top = std::min(maxDepth, 0.9382 * section.width);
    if (section.flow(top, n, slope) <= q) return top;
    double lo = 0, hi = top;
    for (int i = 0; i < 200 && hi - lo > 1e-12 * top; ++i) {
        const double mid = 0.5 * (lo + hi);
        (section.flow(mid, n, slope) < q ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

}  // namespace rillo::model
