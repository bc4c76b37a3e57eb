/*
 * Resizer scaling: ratios, the margins, fonts, centring.
 */
#include "axcheck.h"
#include "scale.h"

using namespace rszscale;

static void test_plan()
{
    /* designed at 4800 x 3600: a text box at (480, 360), 2400 x 720 */
    Geometry rec = {480, 360, 2400, 720};
    Ratios r = ratios_of(rec, 4800, 3600);
    Geometry n = plan(r, &rec, false, 9600, 7200);
    ok(n.left == 960 && n.top == 720 && n.width == 4800 && n.height == 1440,
       "doubled: %g %g %g %g\n", n.left, n.top, n.width, n.height);
    ok(rec.left == 960 && rec.top == 720 && rec.width == 4800 && rec.height == 1440,
       "record follows\n");
    ok(font_size(8.0f / 3600, 8.0f / 4800, 9600, 7200) == 16, "font 16\n");
    ok(font_size(8.0f / 3600, 8.0f / 4800, 9600, 3600) == 8, "font 8: the smaller factor\n");

    /* right edge reaching the scale width: 1 unit narrower than the room left */
    Geometry wide = {2400, 0, 2400, 100};
    n = plan(ratios_of(wide, 4800, 3600), &wide, false, 9600, 7200);
    ok(n.width == 9600 - 4800 - 1, "right margin: %g\n", n.width);
    /* bottom edge reaching the scale height: 50 units shorter */
    Geometry tall = {0, 1800, 100, 1800};
    n = plan(ratios_of(tall, 4800, 3600), &tall, false, 9600, 7200);
    ok(n.height == 7200 - 3600 - 50, "bottom margin: %g\n", n.height);

    /* no room at all: the record's size is kept */
    Geometry edge = {4800, 3600, 300, 200};
    n = plan(ratios_of(edge, 4800, 3600), &edge, false, 4800, 3600);
    ok(n.width == 300 && n.height == 200, "kept size: %g %g\n", n.width, n.height);
    /* a top of 0 takes the record's top */
    Geometry at_top = {100, 0, 100, 100};
    n = plan(ratios_of(at_top, 4800, 3600), &at_top, false, 9600, 7200);
    ok(n.top == 0, "top 0 stays\n");

    /* lines: no margins */
    Geometry line = {480, 360, 4800, 3600};
    n = plan(ratios_of(line, 4800, 3600), &line, true, 9600, 7200);
    ok(n.width == 9600 && n.height == 7200, "line ends scale freely\n");
}

static void test_ratios_and_refresh()
{
    Ratios r = ratios_of({100, 100, 100, 100}, 0, 0);
    ok(r.left == 0 && r.height == 0, "empty base gives 0, not a division by zero\n");
    float value = 960, rt = 0.1f;
    ok(refresh_value(&value, &rt, true, 1920, 9600) && value == 1920 && rt == 0.2f,
       "moved by the program: rebased\n");
    ok(!refresh_value(&value, &rt, true, 1920, 9600) && rt == 0.2f, "unchanged: kept\n");
    ok(!refresh_value(&value, &rt, false, 5, 9600) && value == 0 && rt == 0.2f,
       "unreadable: value 0, ratio kept\n");
    value = 5;
    ok(refresh_value(&value, &rt, true, 7, 0) && rt == 0.2f, "zero base: ratio kept\n");
}

static void test_fonts_and_centre()
{
    ok(font_name_for(6.9f, L"Arial") == L"Small Fonts", "below 7\n");
    ok(font_name_for(7.0f, L"Arial") == L"Arial", "at 7\n");
    RECT work = {0, 0, 1024, 738};
    POINT p = centre(work, 321, 200);
    ok(p.x == 351 && p.y == 269, "centre %ld,%ld\n", p.x, p.y);
    ok(twips_to_pixels(4815, 96) == 321 && pixels_to_twips(351, 96) == 5265, "twips\n");
}

int main()
{
    test_plan();
    test_ratios_and_refresh();
    test_fonts_and_centre();
    return ax_summary("rsz_scale");
}
