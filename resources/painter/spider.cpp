// The spider: resting in its web and hanging from its thread at four
// depths; and the web torn where it sat.

#include <cmath>

#include "game/model/bitmaps.h"
#include "game/model/elements.h"
#include "resources/painter/sprites.h"
#include "resources/painter/web.h"

namespace painter {

namespace {

void paint_spider(cairo_t* cr, double cx, double cy, int pose, bool hanging) {
    const Rgb body = rgb8(150, 92, 44), dark = rgb8(60, 36, 18);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // Eight legs from the head part, knees out.
    const double head_y = hanging ? cy + 4 : cy - 3;
    for (int side = -1; side <= 1; side += 2)
        for (int k = 0; k < 4; ++k) {
            const double wiggle = 0.18 * std::sin(pose * 1.7 + k * 1.3 + side);
            const double a = (hanging ? -0.9 + k * 0.55 : -1.1 + k * 0.7) + wiggle;  // from straight out
            const double reach = k == 0 || k == 3 ? 10.5 : 9.5;
            const double kx = cx + side * std::cos(a) * reach * 0.55, ky = head_y + std::sin(a) * reach * 0.55 - 2.5;
            const double fx = cx + side * std::cos(a) * reach, fy = head_y + std::sin(a) * reach + (hanging ? 3 : 2);
            cairo_move_to(cr, cx + side * 1.2, head_y);
            cairo_line_to(cr, kx, ky);
            cairo_line_to(cr, fx, fy);
        }
    set_colour(cr, dark);
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
    // Abdomen with a pale cross, head.
    const double ab_y = hanging ? cy - 3 : cy + 4;
    ellipse(cr, cx, ab_y, 4.3, 5.2);
    fill_radial(cr, cx - 1.5, ab_y - 2, cx, ab_y, 6, shade(body, 1.25), dark);
    cairo_move_to(cr, cx, ab_y - 3);
    cairo_line_to(cr, cx, ab_y + 2.5);
    cairo_move_to(cr, cx - 2, ab_y - 0.5);
    cairo_line_to(cr, cx + 2, ab_y - 0.5);
    set_colour(cr, rgb8(250, 240, 210), 0.85);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_arc(cr, cx, head_y, 2.6, 0, 2 * M_PI);
    fill_radial(cr, cx - 1, head_y - 1, cx, head_y, 3, body, dark);
}

}  // namespace

void paint_spiders(SceneArt& art, Pictures& out) {
    cairo_surface_t* scene = art.scene;
    {
        const ElementRow& e = ELEMENT_TABLE[spider(0)];
        Surface s = blank_at(scene, e.image, e.x, e.y);
        Pen cr(s.get(), e.x, e.y);
        paint_spider(cr, WEB_CX, WEB_CY, 0, false);
        out[e.image] = std::move(s);
    }
    for (int i = 1; i <= 4; ++i) {
        const ElementRow& e = ELEMENT_TABLE[spider(i)];
        const BitmapInfo* b = find_bitmap(e.image);
        Surface s = blank_at(scene, e.image, e.x, e.y);
        Pen cr(s.get(), e.x, e.y);
        const double body_y = e.y + b->height - 12.0;
        // The thread from the web above.
        cairo_move_to(cr, WEB_CX + 0.5, e.y);
        cairo_line_to(cr, WEB_CX + 0.5, body_y - 7);
        set_colour(cr, rgb8(240, 244, 248), 0.8);
        cairo_set_line_width(cr, 0.7);
        cairo_stroke(cr);
        paint_spider(cr, WEB_CX + 0.5, body_y, i, true);
        out[e.image] = std::move(s);
    }
    // The web after its spider was shot: torn where it sat.
    Surface patch = copy_of(art.web_backdrop.get());
    Pen cr(patch.get(), WEB_X, WEB_Y);
    paint_web(cr, true);
    out[bmp_web] = std::move(patch);
}

}  // namespace painter
