/*
 * Splitter geometry: limits, tracking rectangle, clamping, moves.
 */
#include "axcheck.h"
#include "geometry.h"

using namespace splitgeo;

static void test_limits()
{
    /* 1000 wide before a vertical bar at 1012, 800 wide after it */
    std::vector<Child> kids = {{0, 0, 1000, 300, false}, {1062, 0, 1862, 300, false}};
    Limits l = unit_limits(true, 3000, 24, 1012, kids, 0, 0);
    ok(l.lower == 1012 - 700, "lower %ld\n", l.lower);
    ok(l.upper == 1012 + 500, "upper %ld\n", l.upper);

    /* the same two 1000 and 800 high beside a horizontal bar: 600 each kept */
    std::vector<Child> rows = {{0, 0, 300, 1000, false}, {0, 1062, 300, 1862, false}};
    l = unit_limits(false, 3000, 24, 1012, rows, 0, 0);
    ok(l.lower == 1012 - 400, "lower %ld\n", l.lower);
    ok(l.upper == 1012 + 200, "upper %ld\n", l.upper);

    /* lines take no part */
    std::vector<Child> line = {{0, 0, 0, 0, true}};
    l = unit_limits(true, 3000, 24, 1012, line, 0, 0);
    ok(l.lower == 12 && l.upper == 2988, "outer range %ld..%ld\n", l.lower, l.upper);

    /* Max and Min narrow the range; 0 means none */
    l = unit_limits(true, 3000, 24, 1012, kids, 500, 1300);
    ok(l.lower == 500 && l.upper == 1300, "min/max %ld..%ld\n", l.lower, l.upper);
    l = unit_limits(true, 3000, 24, 1012, kids, 100, 2000);
    ok(l.lower == 312 && l.upper == 1512, "looser min/max ignored %ld..%ld\n", l.lower, l.upper);
}

static void test_client_limits()
{
    Limits l = client_limits(200, 7);
    ok(l.lower == 3 && l.upper == 197, "client limits %ld..%ld\n", l.lower, l.upper);
    l = client_limits(4, 10);
    ok(l.lower == 5 && l.upper == 5, "tiny client %ld..%ld\n", l.lower, l.upper);
}

static void test_track_and_clamp()
{
    Limits l = {100, 300};
    long s, e;
    track_span(200, l, 7, &s, &e);
    ok(s == 197 && e == 203, "inside %ld..%ld\n", s, e);
    track_span(500, l, 7, &s, &e);
    ok(s == 297 && e == 303, "pinned at upper %ld..%ld\n", s, e);
    track_span(20, l, 7, &s, &e);
    ok(s == 97 && e == 103, "pinned at lower %ld..%ld\n", s, e);

    ok(clamp_split(200, l, 7, 0) == 200, "inside unchanged\n");
    ok(clamp_split(400, l, 7, 0) == 300, "above upper\n");
    ok(clamp_split(50, l, 7, 0) == 100, "below lower\n");
    ok(clamp_split(400, l, 7, 2) == 302, "grab offset added\n");

    RECT r = {197, 0, 203, 50};
    ok(rect_centre(r, true) == 200, "centre of tracking rectangle\n");
    RECT area = {2, 2, 98, 48};
    RECT bar = bar_rect(area, true, 50, 7);
    ok(bar.left == 47 && bar.right == 53 && bar.top == 2 && bar.bottom == 48, "vertical bar\n");
    bar = bar_rect(area, false, 20, 6);
    ok(bar.top == 17 && bar.bottom == 23 && bar.left == 2 && bar.right == 98, "horizontal bar\n");
}

static void test_plan()
{
    /* a control after the bar: 200 towards it makes it 200 narrower, right edge stays */
    ChildMove m = plan_child(true, {1100, 10, 1900, 310, false}, 1000, 1200);
    ok(!m.before && m.l == 1300 && m.t == 10 && m.w == 600 && m.h == 300, "after %g,%g,%g,%g\n",
       m.l, m.t, m.w, m.h);
    ok(m.l + m.w == 1900, "right edge kept\n");
    m = plan_child(true, {0, 0, 1000, 300, false}, 1012, 312);
    ok(m.before && m.size == 300, "before: width %g\n", m.size);
    /* an exactly zero width becomes 100 */
    m = plan_child(true, {1100, 0, 1300, 300, false}, 1000, 1200);
    ok(m.w == 100, "zero width replaced: %g\n", m.w);
    /* horizontal: no replacement of a zero height */
    m = plan_child(false, {0, 1100, 300, 1300, false}, 1000, 1200);
    ok(!m.before && m.t == 1300 && m.h == 0, "horizontal after: %g %g\n", m.t, m.h);
    m = plan_child(false, {0, 0, 300, 1000, false}, 1012, 1112);
    ok(m.before && m.size == 1100, "horizontal before: %g\n", m.size);
}

int main()
{
    test_limits();
    test_client_limits();
    test_track_and_clamp();
    test_plan();
    return ax_summary("split_geometry");
}
