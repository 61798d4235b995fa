// The wooden title strip along the top and the bottom panel: scoreboard,
// captions and the cartridge tray.

#include <cstdint>

#include "resources/painter/scenery.h"

namespace painter {

namespace {

void bevel_box(cairo_t* cr, double x, double y, double w, double h, Rgb fill, bool sunken) {
    set_colour(cr, fill);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    const Rgb lit = rgb8(236, 222, 196), dark = rgb8(40, 28, 18);
    cairo_set_line_width(cr, 1);
    set_colour(cr, sunken ? dark : lit, 0.9);
    cairo_move_to(cr, x + 0.5, y + h - 0.5);
    cairo_line_to(cr, x + 0.5, y + 0.5);
    cairo_line_to(cr, x + w - 0.5, y + 0.5);
    cairo_stroke(cr);
    set_colour(cr, sunken ? lit : dark, 0.9);
    cairo_move_to(cr, x + w - 0.5, y + 0.5);
    cairo_line_to(cr, x + w - 0.5, y + h - 0.5);
    cairo_line_to(cr, x + 0.5, y + h - 0.5);
    cairo_stroke(cr);
}

void wood(cairo_t* cr, double x, double y, double w, double h, std::uint64_t seed) {
    cairo_rectangle(cr, x, y, w, h);
    fill_linear(cr, 0, y, 0, y + h, {{0, rgb8(118, 84, 52)}, {1, rgb8(82, 56, 34)}});
    Rng rng(seed);
    for (int i = 0; i < static_cast<int>(w * h / 90); ++i) {
        const double yy = rng.range(y + 2, y + h - 2), xx = rng.range(x, x + w), len = rng.range(30, 160);
        cairo_move_to(cr, xx, yy);
        cairo_curve_to(cr, xx + len * 0.3, yy + rng.range(-1.5, 1.5), xx + len * 0.7, yy + rng.range(-1.5, 1.5),
                       xx + len, yy + rng.range(-1, 1));
        set_colour(cr, rng.uniform() < 0.5 ? rgb8(60, 40, 24) : rgb8(140, 104, 68), 0.25);
        cairo_set_line_width(cr, rng.range(0.5, 1.3));
        cairo_stroke(cr);
    }
}

// A caption on the wood over a box, as the scoreboard's are.
void caption(cairo_t* cr, const char* text, double centre) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    letters_path(cr, text, centre - letters_width(text, 7) / 2, 703.5, 7);
    set_colour(cr, CREAM);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

constexpr Rgb LABEL_GREY = rgb8(192, 192, 192);  // the labels' own background

}  // namespace

void paint_title_strip(cairo_t* cr) {
    wood(cr, 0, 0, SCENE_W, 30, 0x717E);
    set_colour(cr, rgb8(160, 120, 80));
    cairo_rectangle(cr, 0, 0, SCENE_W, 1);
    cairo_fill(cr);
    set_colour(cr, rgb8(30, 20, 12));
    cairo_rectangle(cr, 0, 29, SCENE_W, 1);
    cairo_fill(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (int pass = 0; pass < 2; ++pass) {
        letters_path(cr, "PLINKFIELD", 14 + (pass == 0 ? 1.2 : 0), 8 + (pass == 0 ? 1.2 : 0), 14);
        set_colour(cr, pass == 0 ? rgb8(30, 18, 10) : CREAM);
        cairo_set_line_width(cr, 2.4);
        cairo_stroke(cr);
    }
}

void paint_panel(cairo_t* cr) {
    wood(cr, 0, PANEL_TOP, SCENE_W, SCENE_H - PANEL_TOP, 0x9A4E);
    set_colour(cr, rgb8(30, 20, 12));
    cairo_rectangle(cr, 0, PANEL_TOP, SCENE_W, 1);
    cairo_fill(cr);
    set_colour(cr, rgb8(170, 130, 88));
    cairo_rectangle(cr, 0, PANEL_TOP + 1, SCENE_W, 1);
    cairo_fill(cr);

    // The scoreboard: light grey, as the labels' own background.
    bevel_box(cr, 497, 713, 280, 58, LABEL_GREY, true);
    const struct {
        const char* text;
        double centre;
    } captions[] = {{"HITS", 530}, {"SCORE", 619}, {"MISSES", 728}};
    for (const auto& c : captions) caption(cr, c.text, c.centre);

    // The cartridge tray: one slot per cartridge, all alike.
    rounded_rect(cr, 861, 707, 414, 66, 5);
    fill_linear(cr, 0, 707, 0, 773, {{0, rgb8(46, 34, 24)}, {1, rgb8(70, 52, 36)}});
    set_colour(cr, rgb8(24, 16, 10));
    cairo_set_line_width(cr, 1);
    rounded_rect(cr, 861.5, 707.5, 413, 65, 5);
    cairo_stroke(cr);
    for (int k = 1; k <= 25; ++k) {
        const double x = 853 + 16 * k, y = 713;
        rounded_rect(cr, x + 1, y + 1, 12, 52, 3);
        fill_linear(cr, 0, y, 0, y + 54, {{0, rgb8(14, 10, 7)}, {1, rgb8(38, 28, 20)}});
    }
}

Surface paint_best_plate(cairo_surface_t* scene) {
    Surface plate = cut(scene, BEST_PLATE.x, BEST_PLATE.y, BEST_PLATE.w, BEST_PLATE.h);
    Pen cr(plate.get(), BEST_PLATE.x, BEST_PLATE.y);
    bevel_box(cr, BEST_BOX.x, BEST_BOX.y, BEST_BOX.w, BEST_BOX.h, LABEL_GREY, true);
    caption(cr, "BEST", BEST_NUMBER.x + BEST_NUMBER.w / 2.0);
    return plate;
}

}  // namespace painter
