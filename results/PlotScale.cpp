#include "PlotScale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace rillo::results {

namespace {

/// Multiples of `step` within the range, computed from whole indices so
/// that no error accumulates along the axis.
std::vector<double> multiplesWithin(ValueRange range, double step) {
    std::vector<double> out;
    if (!(step > 0) || !(range.span() >= 0)) return out;
    // A tick that misses an end by a rounding error still counts.
    const double slack = step * 1e-9;
    const double first = std::ceil((range.low - slack) / step);
    const double last = std::floor((range.high + slack) / step);
    if (last - first > 10000) return out;
    for (double i = first; i <= last; ++i) {
        const double tick = i * step;
        out.push_back(std::abs(tick) < slack ? 0.0 : tick);
    }
    return out;
}

}  // namespace

double niceStep(double rough) {
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double fraction = rough / power;
    const double nice = fraction < 1.5 ? 1.0 : fraction < 3.0 ? 2.0 : fraction < 7.0 ? 5.0 : 10.0;
    return nice * power;
}

ValueRange niceRange(ValueRange range, int ticks) {
    if (!(range.span() > 0)) range.high = range.low + 1.0;
    const double step = niceStep(range.span() / std::max(1, ticks - 1));
    return {std::floor(range.low / step + 1e-9) * step, std::ceil(range.high / step - 1e-9) * step};
}

std::vector<double> niceTicks(ValueRange range, int ticks, double* step) {
    if (!(range.span() > 0)) return {};
    const double s = niceStep(range.span() / std::max(1, ticks - 1));
    if (step) *step = s;
    return multiplesWithin(range, s);
}

std::vector<double> clockTicks(ValueRange hours, int ticks, double* step) {
    if (!(hours.span() > 0)) return {};
    // In seconds: steps that fall on round times of day.
    static constexpr std::array<double, 19> seconds{1,    2,    5,    10,   15,    30,    60,    120,   300,  600,
                                                    900,  1800, 3600, 7200, 10800, 14400, 21600, 43200, 86400};
    const double rough = hours.span() * 3600.0 / std::max(1, ticks - 1);
    double chosen = 0;
    for (double s : seconds)
        if (s >= rough * 0.75) {
            chosen = s;
            break;
        }
    // Longer than a day between ticks: whole days, nicely spaced.
    if (chosen == 0) chosen = niceStep(rough / 86400.0) * 86400.0;
    const double s = chosen / 3600.0;
    if (step) *step = s;
    return multiplesWithin(hours, s);
}

std::string numberLabel(double value, double step) {
    const int decimals = step > 0 ? std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9))) : 0;
    if (std::abs(value) < step * 1e-6) value = 0.0;  // no "-0"
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string clockLabel(double hours, double step) {
    long long seconds = std::llround(hours * 3600.0) % 86400;
    if (seconds < 0) seconds += 86400;
    char text[32];
    if (step > 0 && step < 1.0 / 60.0 - 1e-12)
        std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    else
        std::snprintf(text, sizeof text, "%02lld:%02lld", seconds / 3600, seconds / 60 % 60);
    return text;
}

}  // namespace rillo::results
