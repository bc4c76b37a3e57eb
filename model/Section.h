#pragma once
// Cross-section geometry of channels and pipes and Manning's equation on it
// (feet and seconds):
//
//   Q = (1.49 / n) A R^(2/3) S^(1/2),   R = A / P
//
// Trapezoid: bottom width b, side slopes zl and zr (horizontal per vertical);
//   A = b y + (zl + zr) y^2 / 2,  P = b + y (sqrt(1 + zl^2) + sqrt(1 + zr^2)).
// Circle of diameter D, with the central angle t = 2 acos(1 - 2 y / D):
//   A = D^2 (t - sin t) / 8,  P = D t / 2.

namespace rillo::model {

struct Section {
    enum class Shape { Trapezoid, Circle };
    Shape shape = Shape::Trapezoid;
    double width = 0;  ///< bottom width, or the diameter of a circle
    double leftSlope = 0, rightSlope = 0;

    static Section trapezoid(double bottom, double left, double right) { return {Shape::Trapezoid, bottom, left, right}; }
    static Section circle(double diameter) { return {Shape::Circle, diameter, 0, 0}; }

    double area(double depth) const;
    double perimeter(double depth) const;
    /// Manning's flow at a depth for a roughness and a slope.
    double flow(double depth, double n, double slope) const;
};

/// The normal depth of a flow: the depth in [0, maxDepth] at which Manning's
/// flow equals q (bisection on the rising part of the rating); maxDepth when
/// the flow exceeds what the section carries there.
double normalDepth(const Section& section, double n, double slope, double q, double maxDepth);

}  // namespace rillo::model
