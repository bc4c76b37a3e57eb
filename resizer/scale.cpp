/*
 * Proportional scaling of the resizer.
 */
#include "scale.h"

namespace rszscale {

Ratios ratios_of(const Geometry &g, long U, long V)
{
    return {ratio(g.left, U), ratio(g.top, V), ratio(g.width, U), ratio(g.height, V)};
}

bool refresh_value(float *value, float *ratio_, bool readable, float current, long base)
{
    if (!readable) {
        *value = 0;
        return false;
    }
    if (current == *value)
        return false;
    *value = current;
    if (base)
        *ratio_ = current / (float)base;
    return true;
}

Geometry plan(const Ratios &r, Geometry *rec, bool is_line, float W, float H)
{
    Geometry n = {W * r.left, H * r.top, W * r.width, H * r.height};
    if (is_line) {
        rec->left = n.left;
        rec->width = n.width;
        rec->height = n.height;
    } else {
        if (n.left + n.width >= W)
            n.width = W - n.left - 1;
        if (n.width > 0)
            rec->width = n.width;
        else
            n.width = rec->width;
        rec->left = n.left;
        if (n.top + n.height >= H)
            n.height = H - n.top - 50;
        if (n.height > 0)
            rec->height = n.height;
        else
            n.height = rec->height;
    }
    if (n.top > 0)
        rec->top = n.top;
    else
        n.top = rec->top;
    return n;
}

std::wstring font_name_for(float size, const std::wstring &recorded)
{
    return size >= 7 ? recorded : std::wstring(L"Small Fonts");
}

POINT centre(const RECT &work, long width_px, long height_px)
{
    long cx = (work.left + work.right) / 2, cy = (work.top + work.bottom) / 2;
    POINT p = {(LONG)(cx - width_px * 0.5), (LONG)(cy - height_px * 0.5)};
    return p;
}

long twips_to_pixels(double twips, long dpi) { return (long)(twips / (1440.0 / dpi)); }

long pixels_to_twips(long pixels, long dpi) { return (long)((1440.0 / dpi) * pixels); }

} // namespace rszscale
