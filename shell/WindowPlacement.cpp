#include "WindowPlacement.h"

#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace rillo::shell {

double pixelsToTwips(int pixels, double dotsPerInch) { return pixels * TwipsPerInch / dotsPerInch; }

int twipsToPixels(double twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / TwipsPerInch));
}

namespace {

/// A stored value, or nothing when the key is missing or holds no number.
std::optional<double> storedNumber(UiServices& ui, const char* key) {
    const std::string text = ui.setting(PlacementKeys::app, PlacementKeys::section, key, {});
    if (!isNumeric(text)) return std::nullopt;
    const double value = std::strtod(std::string(trimmed(text)).c_str(), nullptr);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

bool overlaps(const TwipRect& a, const TwipRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

}  // namespace

TwipRect loadPlacement(UiServices& ui, double screenWidth, double screenHeight, const TwipRect& desktop) {
    const TwipRect defaults{0, 0, screenWidth - 1500, screenHeight - 1500};
    TwipRect placement = defaults;
    placement.left = storedNumber(ui, "Left").value_or(defaults.left);
    placement.top = storedNumber(ui, "Top").value_or(defaults.top);
    placement.width = storedNumber(ui, "Width").value_or(defaults.width);
    placement.height = storedNumber(ui, "Height").value_or(defaults.height);
    if (placement.width <= 0 || placement.height <= 0) {
        placement.width = defaults.width;
        placement.height = defaults.height;
    }
    if (!overlaps(placement, desktop)) placement = defaults;
    return placement;
}

std::string singleText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value),
                                      std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

void savePlacement(UiServices& ui, const TwipRect& placement) {
    ui.saveSetting(PlacementKeys::app, PlacementKeys::section, "Left", singleText(placement.left));
    ui.saveSetting(PlacementKeys::app, PlacementKeys::section, "Top", singleText(placement.top));
    ui.saveSetting(PlacementKeys::app, PlacementKeys::section, "Width", singleText(placement.width));
    ui.saveSetting(PlacementKeys::app, PlacementKeys::section, "Height", singleText(placement.height));
}

TwipRect progressBarPlacement(double statusBarTop, double statusBarHeight) {
    constexpr double designedLeft = 960, designedTop = 0, designedWidth = 4215, designedHeight = 255;
    return {designedLeft, statusBarTop / 2 + designedTop / 2, designedWidth,
            statusBarHeight / 2 + designedHeight / 2};
}

}  // namespace rillo::shell
