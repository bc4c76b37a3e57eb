#pragma once
// A table of (x, y) pairs read as a piecewise-linear function: the tabular
// values of special elements.

#include <cstddef>
#include <vector>

namespace rillo::model {

class Curve {
public:
    Curve() = default;
    /// x must not decrease (the caller checks and names the element).
    Curve(std::vector<double> x, std::vector<double> y);

    std::size_t size() const { return x_.size(); }
    double x(std::size_t i) const { return x_[i]; }
    double y(std::size_t i) const { return y_[i]; }

    /// Linear between pairs; beyond the last pair the last segment goes on
    /// (a single pair: its y); below the first pair, the first y.
    double extended(double x) const;
    /// Linear between pairs, zero outside the first and last x.
    double bounded(double x) const;
    /// Mean of bounded() over [a, b], integrated exactly.
    double boundedMean(double a, double b) const;

private:
    std::vector<double> x_, y_;
};

}  // namespace rillo::model
