/*
 * Splitter geometry.
 */
#include "geometry.h"

#include <algorithm>

namespace splitgeo {

Limits unit_limits(bool vertical, double size, long bar_thickness, long position,
                   const std::vector<Child> &children, long min, long max)
{
    Limits lim;
    lim.lower = bar_thickness / 2;
    lim.upper = (long)size - bar_thickness / 2;
    long keep = vertical ? 300 : 600;
    for (const Child &c : children) {
        if (c.is_line)
            continue;
        long start = vertical ? (long)c.left : (long)c.top;
        long extent = vertical ? (long)(c.right - c.left) : (long)(c.bottom - c.top);
        if (start < position)
            lim.lower = std::max(lim.lower, position + keep - extent);
        else
            lim.upper = std::min(lim.upper, position + extent - keep);
    }
    if (max != 0 && max < lim.upper)
        lim.upper = max;
    if (min != 0 && min > lim.lower)
        lim.lower = min;
    return lim;
}

Limits client_limits(long client_extent, long thickness_px)
{
    Limits lim;
    lim.lower = thickness_px / 2;
    lim.upper = client_extent - thickness_px / 2;
    if (lim.upper < lim.lower)
        lim.upper = lim.lower;
    return lim;
}

void track_span(long m, const Limits &lim, long t, long *start, long *end)
{
    long h = t / 2;
    if (m < lim.lower || m > lim.upper) {
        if (m > lim.upper - h) {
            *start = lim.upper - h;
            *end = lim.upper + h;
            return;
        }
        if (m < lim.lower) {
            *start = lim.lower - h;
            *end = lim.lower + h;
            return;
        }
    }
    *start = m - h;
    *end = m + h;
}

long clamp_split(long a, const Limits &lim, long t, long g)
{
    if (a > lim.upper || a < lim.lower) {
        if (a > lim.upper - t / 2)
            return lim.upper + g;
        if (a <= lim.lower)
            return lim.lower + g;
    }
    return a;
}

ChildMove plan_child(bool vertical, const Child &c, long O, long N)
{
    long L = (long)c.left, T = (long)c.top;
    long W = (long)(c.right - c.left), H = (long)(c.bottom - c.top);
    ChildMove m = {};
    long d = N - O;
    if (vertical) {
        m.before = L < O;
        if (m.before) {
            m.size = (double)(W + d);
        } else {
            m.l = L + d;
            m.t = T;
            m.w = W - d;
            if (m.w == 0)
                m.w = 100;
            m.h = H;
        }
    } else {
        m.before = T < O;
        if (m.before) {
            m.size = (double)(H + d);
        } else {
            m.l = L;
            m.t = T + d;
            m.w = W;
            m.h = H - d;
        }
    }
    return m;
}

RECT bar_rect(const RECT &area, bool vertical, long p, long t)
{
    RECT r = area;
    if (vertical) {
        r.left = p - t / 2;
        r.right = p + t / 2;
    } else {
        r.top = p - t / 2;
        r.bottom = p + t / 2;
    }
    return r;
}

} // namespace splitgeo
