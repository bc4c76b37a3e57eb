#pragma once
// What a plot draws, laid out in pixels: rectangles, lines, paths and text
// in painting order. The window paints a scene with QPainter and the SVG
// writer writes the same scene, so the screen and an exported drawing agree.

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace rillo::results {

struct PlotPoint {
    double x = 0;
    double y = 0;
    bool operator==(const PlotPoint&) const = default;
};

struct PlotRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
    bool contains(double x, double y) const { return x >= left && x <= right() && y >= top && y <= bottom(); }
};

struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;
    bool operator==(const Rgba&) const = default;
};

/// A font as the layout sees it: its size and how wide a text is in it.
struct PlotFont {
    std::string family = "sans-serif";
    double pixelSize = 12;
    bool bold = false;
    double ascent = 10;
    double descent = 3;
    std::function<double(const std::string&)> width;

    double height() const { return ascent + descent; }
    double widthOf(const std::string& text) const;
    /// A font whose widths are estimated from the number of characters:
    /// for layouts made without a window system, as in the tests.
    static PlotFont estimated(double pixelSize, bool bold = false);
};

struct PlotFonts {
    PlotFont label;  ///< ticks, axis titles, the legend
    PlotFont title;  ///< the plot's title
    static PlotFonts estimated() { return {PlotFont::estimated(12), PlotFont::estimated(15, true)}; }
};

struct SceneRect {
    PlotRect rect;
    Rgba fill;
    Rgba stroke{0, 0, 0, 0};  ///< alpha 0: no outline
    double strokeWidth = 1;
};

struct SceneLine {
    PlotPoint from;
    PlotPoint to;
    Rgba colour;
    double width = 1;
};

/// A polyline, or with `closed` a polygon with a fill. A clipped path is
/// cut at the edge of the plot area.
struct ScenePath {
    std::vector<PlotPoint> points;
    Rgba stroke;
    double strokeWidth = 1;
    bool closed = false;
    Rgba fill{0, 0, 0, 0};
    bool clipped = true;
    bool dashed = false;  ///< drawn in dashes of about four times its width
};

/// A text whose baseline starts (Start), is centred (Middle) or ends (End)
/// at `at`, turned by `angle` degrees clockwise about that point.
struct SceneText {
    enum class Align { Start, Middle, End };
    enum class Font { Label, Title };
    PlotPoint at;
    std::string text;
    Align align = Align::Start;
    Font font = Font::Label;
    double angle = 0;
    Rgba colour{0, 0, 0, 255};
};

using SceneItem = std::variant<SceneRect, SceneLine, ScenePath, SceneText>;

struct PlotScene {
    double width = 0;
    double height = 0;
    PlotRect plotArea;
    std::vector<SceneItem> items;
};

}  // namespace rillo::results
