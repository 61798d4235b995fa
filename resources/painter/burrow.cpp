// The burrows: the heap of dug earth, the dark opening and its lit front
// lip. The rodent pictures are cut from here and keep the lip in front.

#include <algorithm>
#include <cmath>
#include <vector>

#include "game/model/elements.h"
#include "resources/painter/burrow.h"
#include "resources/painter/scenery.h"

namespace painter {

namespace {

double lip_width(const Burrow& b) { return 0.6 + b.rx * 0.06; }

void paint_burrow(cairo_t* cr, const Burrow& b, Rng& rng) {
    const double t = nearness(b.cy);
    // The heap of dug earth around the opening, soft at its edge.
    const double mx = b.rx * 1.8, my = b.ry * 2.4, mcy = b.cy + b.ry * 0.55;
    cairo_save(cr);
    cairo_translate(cr, b.cx, mcy);
    cairo_scale(cr, 1.0, my / mx);
    cairo_translate(cr, -b.cx, -mcy);
    cairo_arc(cr, b.cx, mcy, mx * 1.15, 0, 2 * M_PI);
    set_radial(cr, b.cx, mcy, 0, b.cx, mcy, mx * 1.15, {{0.7, rgb8(96, 72, 40), 0.6}, {1.0, rgb8(96, 72, 40), 0.0}});
    cairo_fill(cr);
    cairo_arc(cr, b.cx, mcy, mx, 0, 2 * M_PI);
    set_radial(cr, b.cx - mx * 0.2, mcy - mx * 0.35, 0, b.cx, mcy, mx,
               {{0.0, rgb8(170, 128, 80)}, {0.7, rgb8(136, 98, 58)}, {1.0, rgb8(112, 82, 48)}});
    cairo_fill(cr);
    cairo_restore(cr);
    // Clods.
    for (int i = 0; i < 6 + static_cast<int>(10 * t); ++i) {
        const double a = rng.range(0, 2 * M_PI), d = rng.range(0.5, 0.95);
        const double x = b.cx + std::cos(a) * mx * d, y = mcy + std::sin(a) * my * d;
        set_colour(cr, shade(rgb8(120, 86, 50), rng.range(0.7, 1.2)));
        cairo_arc(cr, x, y, 0.4 + 1.4 * t * rng.uniform(), 0, 2 * M_PI);
        cairo_fill(cr);
    }
    // The opening: the far wall catches a little light, the depth is black.
    ellipse(cr, b.cx, b.cy, b.rx, b.ry);
    fill_linear(cr, 0, b.cy - b.ry, 0, b.cy + b.ry,
                {{0.0, rgb8(74, 50, 30)}, {0.45, rgb8(30, 19, 12)}, {1.0, rgb8(16, 10, 7)}});
    // The lit front lip.
    cairo_save(cr);
    cairo_translate(cr, b.cx, b.cy);
    cairo_scale(cr, b.rx, b.ry);
    cairo_arc(cr, 0, 0, 1.0, 0.15 * M_PI, 0.85 * M_PI);
    cairo_restore(cr);
    set_colour(cr, rgb8(186, 146, 96), 0.9);
    cairo_set_line_width(cr, lip_width(b));
    cairo_stroke(cr);
    // Tufts of grass at the heap's sides.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int side = -1; side <= 1; side += 2)
        for (int i = 0; i < 5; ++i) {
            const double x = b.cx + side * mx * rng.range(0.75, 1.05);
            const double y = mcy + my * rng.range(-0.1, 0.5);
            const double h = (2 + 12 * t) * rng.range(0.6, 1.1);
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x + side * h * rng.range(0.1, 0.5), y - h);
            set_colour(cr, shade(mix(rgb8(150, 180, 90), rgb8(50, 118, 34), t), rng.range(0.85, 1.15)));
            cairo_set_line_width(cr, 0.5 + 1.2 * t);
            cairo_stroke(cr);
        }
}

}  // namespace

Burrow burrow(int hole) {
    const ElementRow& p = ELEMENT_TABLE[peek(hole)];
    const ElementRow& r = ELEMENT_TABLE[raised(hole)];
    // Centred where the two pictures overlap, as wide as the peeking head
    // needs, its middle line just above the raised rodent's lower edge.
    const double left = std::max(p.x, r.x), right = std::min(p.x + p.w, r.x + r.w);
    Burrow b;
    b.cx = (left + right) / 2.0;
    b.rx = std::min(p.w, r.w) * 0.46;
    b.ry = b.rx * (0.28 + 0.12 * nearness(r.y + r.h));
    b.cy = r.y + r.h - b.ry * 0.6;
    b.cy = std::min(b.cy, PANEL_TOP - 3 - b.ry);
    return b;
}

void clip_to_burrow_front(cairo_t* cr, const Burrow& b) {
    cairo_rectangle(cr, b.cx - 4 * b.rx, b.cy, 8 * b.rx, 8 * b.ry + 40);
    cairo_clip(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(cr, -10000, -10000, 20000, 20000);
    // Inside the lit rim, which belongs to the lip.
    const double rim = 0.5 * lip_width(b) + 0.5;
    ellipse(cr, b.cx, b.cy, b.rx - rim, b.ry - rim);
    cairo_clip(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

void paint_burrows(cairo_t* cr) {
    std::vector<int> holes = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::stable_sort(holes.begin(), holes.end(), [](int a, int b) { return burrow(a).cy < burrow(b).cy; });
    for (int h : holes) {
        Rng rng(0xB0220, h);
        paint_burrow(cr, burrow(h), rng);
    }
}

}  // namespace painter
