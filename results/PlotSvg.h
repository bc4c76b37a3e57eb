#pragma once
// A plot's scene as an SVG drawing (SVG 1.1, as any browser or drawing
// program reads it): the same items the window paints, at the scene's size.

#include "PlotScene.h"

#include <string>

namespace rillo::results {

/// The drawing as text. `title` becomes the drawing's title element.
std::string plotSvg(const PlotScene& scene, const PlotFonts& fonts, const std::string& title);

/// Writes the drawing to a file; throws std::runtime_error when it cannot
/// be written (a drawing cut short is removed).
void writePlotSvgFile(const std::string& path, const PlotScene& scene, const PlotFonts& fonts, const std::string& title);

}  // namespace rillo::results
