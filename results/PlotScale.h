#pragma once
// The scales of a plot as pure functions: a linear map from an axis' values
// to pixels, and tick marks at "nice" values (1, 2 or 5 times a power of
// ten, or whole clock steps) with their labels.

#include <string>
#include <utility>
#include <vector>

namespace rillo::results {

/// A closed range of axis values.
struct ValueRange {
    double low = 0;
    double high = 1;
    double span() const { return high - low; }
    bool operator==(const ValueRange&) const = default;
};

/// Maps the values of a range linearly onto pixels: `low` to `from`,
/// `high` to `to` (an upward axis has `from` below `to` on the screen).
struct LinearScale {
    ValueRange values;
    double from = 0;
    double to = 1;
    double pixel(double value) const { return from + (value - values.low) * (to - from) / values.span(); }
    double value(double pixel) const { return values.low + (pixel - from) * values.span() / (to - from); }
};

/// The distance between ticks: 1, 2 or 5 times a power of ten, the nearest
/// such to `rough`. `rough` must be above zero.
double niceStep(double rough);

/// A range widened outwards to whole multiples of a nice step chosen so
/// that about `ticks` ticks span it; an empty range is first widened to 1.
ValueRange niceRange(ValueRange range, int ticks);

/// Ticks at the multiples of a nice step that lie within the range, about
/// `ticks` of them; `step` receives their distance.
std::vector<double> niceTicks(ValueRange range, int ticks, double* step = nullptr);

/// Ticks on a clock axis whose values are hours after midnight: at whole
/// seconds, minutes or hours that divide the day (1, 2, 5, 10, 15, 30
/// minutes, 1, 2, 3, 4, 6, 12, 24 hours and so on), about `ticks` of them.
std::vector<double> clockTicks(ValueRange hours, int ticks, double* step = nullptr);

/// A tick's label with as many decimals as its step needs ("0.25", "100").
std::string numberLabel(double value, double step);

/// The time of day of a clock value, "HH:MM" ("HH:MM:SS" for steps under a
/// minute); times past midnight wrap round to the next day.
std::string clockLabel(double hours, double step);

}  // namespace rillo::results
