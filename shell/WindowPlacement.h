#pragma once
// The main window's placement in twips (1/1440 inch), kept in the settings
// store between runs, and the placement of the progress bar over the status
// bar. Plain arithmetic on twips: the window converts to and from pixels.

#include "UiServices.h"

#include <string>

namespace rillo::shell {

inline constexpr double TwipsPerInch = 1440.0;

double pixelsToTwips(int pixels, double dotsPerInch);
int twipsToPixels(double twips, double dotsPerInch);

struct TwipRect {
    double left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipRect&) const = default;
};

/// Settings of the placement: application "Rillo2000", section "Startup".
struct PlacementKeys {
    static constexpr const char* app = "Rillo2000";
    static constexpr const char* section = "Startup";
};

/// The stored placement. Missing keys take the defaults: left and top 0,
/// width and height the screen's less 1500 twips. A stored value that is not
/// a number, a size that is not positive, or a window that would lie wholly
/// outside `desktop` falls back to the defaults, so that the window can
/// always be found again.
TwipRect loadPlacement(UiServices& ui, double screenWidth, double screenHeight, const TwipRect& desktop);

/// Writes the four values as the decimal text of single-precision numbers.
void savePlacement(UiServices& ui, const TwipRect& placement);

/// The shortest decimal text of a single-precision number ("15360", "7.5").
std::string singleText(double value);

/// The progress bar over the status bar, within their container: left 960
/// and width 4215 as designed; top and height halfway between the status
/// bar's and the bar's designed top (0) and height (255).
TwipRect progressBarPlacement(double statusBarTop, double statusBarHeight);

/// The status bar's designed height.
inline constexpr double StatusBarHeight = 360.0;

}  // namespace rillo::shell
