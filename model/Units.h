#pragma once
// The deck's US customary units and the factors the kernels use: the
// kernels compute in feet and seconds.

namespace rillo::model::units {

inline constexpr double SquareFeetPerAcre = 43560.0;
inline constexpr double CubicFeetPerAcreFoot = 43560.0;
inline constexpr double InchesPerFoot = 12.0;
inline constexpr double SecondsPerHour = 3600.0;
inline constexpr double SecondsPerMinute = 60.0;
/// Manning's constant for feet and seconds.
inline constexpr double Manning = 1.49;

/// in/hr to ft/s.
inline constexpr double inchesPerHourToFeetPerSecond(double v) { return v / InchesPerFoot / SecondsPerHour; }
inline constexpr double feetPerSecondToInchesPerHour(double v) { return v * InchesPerFoot * SecondsPerHour; }

}  // namespace rillo::model::units
