// The crow of the bonus stage, in six places of its flight, wings up and
// down by turns.

#include <cmath>

#include "game/model/bitmaps.h"
#include "game/model/elements.h"
#include "resources/painter/sprites.h"

namespace painter {

namespace {

void paint_crow(cairo_t* cr, double w, double h, bool wings_up) {
    const Rgb black = rgb8(22, 22, 30), sheen = rgb8(70, 76, 100);
    const double by = wings_up ? h - 13 : 12;  // body line
    const double bx = w * 0.47;
    // One bird in every frame: the same size, whatever room the frame has.
    cairo_save(cr);
    cairo_translate(cr, bx, by);
    cairo_scale(cr, 0.8, 0.8);
    cairo_translate(cr, -bx, -by);
    auto wing = [&](double far) {
        const double tip_y = wings_up ? 2.0 + far * 2 : h - 2.0 - far * 2;
        const double tip_x = bx - 8 + far * 8;
        const double root_y = by - 1;
        cairo_move_to(cr, bx - 5 + far * 4, root_y);
        cairo_curve_to(cr, bx - 6 + far * 4, (root_y + tip_y) / 2, tip_x - 3, tip_y + (wings_up ? 6 : -6), tip_x, tip_y);
        // Fingered primaries along the trailing edge.
        const double steps = 4;
        for (int i = 1; i <= steps; ++i) {
            const double u = i / steps;
            const double x = tip_x + u * (bx + 6 + far * 3 - tip_x);
            const double y = tip_y + u * (root_y - tip_y);
            cairo_line_to(cr, x + (i % 2 ? 2.5 : 0), y + (wings_up ? -1.5 : 1.5) * (i % 2));
        }
        cairo_line_to(cr, bx + 5 + far * 3, root_y);
        cairo_close_path(cr);
        set_colour(cr, far > 0 ? shade(black, 1.25) : black);  // the far wing a shade lighter
        cairo_fill(cr);
    };
    wing(1);
    // Tail fan.
    cairo_move_to(cr, bx - 9, by);
    cairo_line_to(cr, bx - 19, by - 4);
    cairo_line_to(cr, bx - 20, by + 3);
    cairo_close_path(cr);
    set_colour(cr, black);
    cairo_fill(cr);
    // Body and head.
    ellipse(cr, bx, by, 11, 4.8);
    fill_radial(cr, bx + 2, by - 3, bx, by, 12, sheen, black);
    cairo_arc(cr, bx + 11, by - 1.5, 3.8, 0, 2 * M_PI);
    fill_radial(cr, bx + 12, by - 3, bx + 11, by - 1.5, 4, sheen, black);
    cairo_move_to(cr, bx + 14, by - 2.8);
    cairo_line_to(cr, bx + 20, by - 0.6);
    cairo_line_to(cr, bx + 14, by + 0.4);
    cairo_close_path(cr);
    set_colour(cr, rgb8(50, 48, 52));
    cairo_fill(cr);
    cairo_arc(cr, bx + 12, by - 2.5, 0.8, 0, 2 * M_PI);
    set_colour(cr, rgb8(200, 200, 210));
    cairo_fill(cr);
    wing(0);
    cairo_restore(cr);
}

}  // namespace

void paint_crows(SceneArt& art, Pictures& out) {
    cairo_surface_t* scene = art.scene;
    for (int k = 1; k <= 6; ++k) {
        const ElementRow& e = ELEMENT_TABLE[bird(k)];
        const BitmapInfo* b = find_bitmap(e.image);
        Surface s = blank_at(scene, e.image, e.x, e.y);
        Pen cr(s.get());
        paint_crow(cr, b->width, b->height, k % 2 == 1);
        out[e.image] = std::move(s);
    }
}

}  // namespace painter
