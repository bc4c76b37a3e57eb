#include "Curve.h"

#include <algorithm>

namespace rillo::model {

Curve::Curve(std::vector<double> x, std::vector<double> y) : x_(std::move(x)), y_(std::move(y)) {}

namespace {
double lerp(double x0, double y0, double x1, double y1, double x) {
    return x1 > x0 ? y0 + (y1 - y0) * (x - x0) / (x1 - x0) : y1;
}
}  // namespace

double Curve::extended(double x) const {
    if (x_.empty()) return 0;
    if (x_.size() == 1 || x <= x_.front()) return y_.front();
    const auto it = std::upper_bound(x_.begin(), x_.end(), x);
    std::size_t i = static_cast<std::size_t>(it - x_.begin());
    if (i >= x_.size()) i = x_.size() - 1;
    return lerp(x_[i - 1], y_[i - 1], x_[i], y_[i], x);
}

double Curve::bounded(double x) const {
    if (x_.empty() || x < x_.front() || x > x_.back()) return 0;
    if (x_.size() == 1) return y_.front();
    const auto it = std::upper_bound(x_.begin(), x_.end(), x);
    std::size_t i = static_cast<std::size_t>(it - x_.begin());
    if (i >= x_.size()) return y_.back();
    return lerp(x_[i - 1], y_[i - 1], x_[i], y_[i], x);
}

double Curve::boundedMean(double a, double b) const {
    if (!(b > a) || x_.size() < 2) return 0;
    double sum = 0;
    for (std::size_t i = 0; i + 1 < x_.size(); ++i) {
        const double lo = std::max(a, x_[i]), hi = std::min(b, x_[i + 1]);
        if (!(hi > lo)) continue;
        const double ylo = lerp(x_[i], y_[i], x_[i + 1], y_[i + 1], lo);
        const double yhi = lerp(x_[i], y_[i], x_[i + 1], y_[i + 1], hi);
        sum += 0.5 * (ylo + yhi) * (hi - lo);
    }
    return sum / (b - a);
}

}  // namespace rillo::model
