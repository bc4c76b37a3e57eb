/*
 * Splitter geometry: limits, tracking rectangle, clamping and the move of
 * each control beside the bar.  Pure functions, no window or COM.
 */
#pragma once

#include <windows.h>

#include <vector>

namespace splitgeo {

struct Limits {
    long lower;
    long upper;
};

/* A control inside the splitter, in container units. */
struct Child {
    double left, top, right, bottom;
    bool is_line;
};

/* Limits of the bar's centre in container units (steps 4 to 6): the outer
 * range keeps the whole bar inside the splitter's own extent `size`; every
 * control before the bar keeps at least 300 units of width (600 of height
 * beside a horizontal bar), every control after it likewise; then Min/Max. */
Limits unit_limits(bool vertical, double size, long bar_thickness, long position,
                   const std::vector<Child> &children, long min, long max);

/* Limits of the bar's centre in pixels when there are no records to go by:
 * the control's own client extent, so the bar stays within the control. */
Limits client_limits(long client_extent, long thickness_px);

/* Span along the axis of the tracking rectangle for the candidate centre m. */
void track_span(long m, const Limits &lim, long t, long *start, long *end);

/* Clamping of a split target a (step 2 of a split). */
long clamp_split(long a, const Limits &lim, long t, long g);

/* What a split from O to N does to one control. */
struct ChildMove {
    bool before;          /* before the bar: only its width (height) changes */
    double size;          /* the new width (height) of a control before the bar */
    double l, t, w, h;    /* Move arguments of a control after the bar */
};
ChildMove plan_child(bool vertical, const Child &c, long O, long N);

/* The bar rectangle inside the drawing area for pixel position p and pixel
 * thickness t. */
RECT bar_rect(const RECT &area, bool vertical, long p, long t);

/* Bar's centre of a tracking rectangle along the axis. */
inline long rect_centre(const RECT &r, bool vertical)
{
    return vertical ? r.left + (r.right - r.left) / 2 : r.top + (r.bottom - r.top) / 2;
}

} // namespace splitgeo
