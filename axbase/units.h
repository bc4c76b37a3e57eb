/*
 * Unit conversions of the controls: pixels and HIMETRIC (0.01 mm) with the
 * screen's logical pixels per inch d.  Pure functions.
 */
#pragma once

/* h = (p * 2540 + d / 2) / d, integer division */
inline long ax_pixels_to_himetric(long p, long d)
{
    return d > 0 ? (p * 2540 + d / 2) / d : 0;
}

/* p = (d * h + 1270) / 2540, integer division */
inline long ax_himetric_to_pixels(long h, long d)
{
    return (d * h + 1270) / 2540;
}
