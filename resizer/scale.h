/*
 * Proportional scaling of the resizer: ratios, new geometry with the right
 * and bottom margins, font sizes, centring.  Pure functions.
 */
#pragma once

#include <windows.h>

#include <string>

namespace rszscale {

/* left, top, width, height (for a line: X1, Y1, X2, Y2), container units */
struct Geometry {
    float left, top, width, height;
};

struct Ratios {
    float left, top, width, height;
};

/* A value over a base size; 0 when the base is 0 (nothing to scale by). */
inline float ratio(float value, long base) { return base ? value / (float)base : 0.0f; }

/* Ratios against the design scale size U x V. */
Ratios ratios_of(const Geometry &g, long U, long V);

/* Refresh pass for one value: unreadable sets the value to 0; a value the
 * program changed since the last resize takes over and its ratio is rebased
 * on the previous scale size.  Returns true when the ratio was rebased. */
bool refresh_value(float *value, float *ratio_, bool readable, float current, long base);

/* The new place of a control for the new scale size W x H (steps 4 and 6):
 * plain reals, the 1-unit right and 50-unit bottom margins, and the record
 * updated as the control is expected to end up. */
Geometry plan(const Ratios &r, Geometry *record, bool is_line, float W, float H);

/* Font size for the new scale size: the smaller of the two scale factors. */
inline float font_size(float ratio_h, float ratio_w, float W, float H)
{
    float a = H * ratio_h, b = W * ratio_w;
    return a < b ? a : b;
}

/* Below 7 points the recorded face gives way to "Small Fonts". */
std::wstring font_name_for(float size, const std::wstring &recorded);

/* Centring on the work area: new top-left in pixels. */
POINT centre(const RECT &work, long width_px, long height_px);
long twips_to_pixels(double twips, long dpi);
long pixels_to_twips(long pixels, long dpi);

} // namespace rszscale
