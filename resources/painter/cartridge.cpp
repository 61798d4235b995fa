// The rifle cartridge of the tray, brass case and copper bullet.

#include "game/model/bitmaps.h"
#include "game/model/elements.h"
#include "resources/painter/sprites.h"

namespace painter {

void paint_cartridge(SceneArt& art, Pictures& out) {
    cairo_surface_t* scene = art.scene;
    const ElementRow& e = ELEMENT_TABLE[cartridge(1)];
    Surface s = blank_at(scene, bmp_cartridge, e.x, e.y);
    Pen cr(s.get());
    // Brass case, then its rim over it.
    auto brass = [&] {
        fill_linear(cr, 2, 0, 12, 0,
                    {{0, rgb8(120, 86, 30)}, {0.3, rgb8(246, 214, 120)}, {0.6, rgb8(200, 156, 62)}, {1, rgb8(110, 78, 26)}});
    };
    cairo_move_to(cr, 3, 17);
    cairo_line_to(cr, 11, 17);
    cairo_line_to(cr, 12, 21);
    cairo_line_to(cr, 12, 49);
    cairo_line_to(cr, 2, 49);
    cairo_line_to(cr, 2, 21);
    cairo_close_path(cr);
    brass();
    cairo_rectangle(cr, 1.5, 49, 11, 3.5);
    brass();
    cairo_rectangle(cr, 1.5, 48.5, 11, 0.8);
    set_colour(cr, rgb8(90, 62, 20));
    cairo_fill(cr);
    // Copper bullet.
    cairo_move_to(cr, 3, 17.5);
    cairo_line_to(cr, 3, 12);
    cairo_curve_to(cr, 3, 7, 5.5, 3.5, 7, 2.5);
    cairo_curve_to(cr, 8.5, 3.5, 11, 7, 11, 12);
    cairo_line_to(cr, 11, 17.5);
    cairo_close_path(cr);
    fill_linear(cr, 3, 0, 11, 0, {{0, rgb8(120, 56, 30)}, {0.35, rgb8(240, 160, 110)}, {1, rgb8(110, 50, 26)}});
    out[bmp_cartridge] = std::move(s);
}

}  // namespace painter
