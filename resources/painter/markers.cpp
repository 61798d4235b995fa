// The marks under the cursor: the hit marker over the grass and the bonus
// stage's reticle.

#include <cmath>

#include "game/model/bitmaps.h"
#include "resources/painter/sprites.h"

namespace painter {

void paint_markers(SceneArt& art, Pictures& out) {
    cairo_surface_t* scene = art.scene;
    {
        // Over the grass it usually sits on; the cursor point is (10, 11).
        Surface s = blank_at(scene, bmp_hit_marker, 300, 540);
        Pen cr(s.get());
        Rng rng(0x9000);
        for (int k = 0; k < 9; ++k) {
            const double a = rng.range(0, 2 * M_PI), d = k == 0 ? 0 : rng.range(2.5, 7.5);
            const double r = k == 0 ? 3.4 : rng.range(0.8, 1.8);
            cairo_arc(cr, 10.5 + std::cos(a) * d, 11.5 + std::sin(a) * d, r, 0, 2 * M_PI);
            set_colour(cr, k == 0 ? rgb8(170, 12, 12) : rgb8(130, 8, 8));
            cairo_fill(cr);
        }
        cairo_rectangle(cr, 10, 0, 1, 20);
        cairo_rectangle(cr, 0, 11, 20, 1);
        set_colour(cr, rgb8(0, 0, 0));
        cairo_fill(cr);
        out[bmp_hit_marker] = std::move(s);
    }
    {
        Surface s = make_surface(32, 32, art.scale);
        Pen cr(s.get());
        set_colour(cr, rgb8(255, 255, 255));
        cairo_paint(cr);
        Rng rng(0x9200);
        for (int k = 0; k < 7; ++k) {
            const double a = rng.range(0, 2 * M_PI), d = k == 0 ? 0 : rng.range(2, 5);
            cairo_arc(cr, 16 + std::cos(a) * d, 16 + std::sin(a) * d, k == 0 ? 4.5 : rng.range(1.2, 2.2), 0,
                      2 * M_PI);
            set_colour(cr, rgb8(120, 10, 12));
            cairo_fill(cr);
        }
        set_colour(cr, rgb8(0, 0, 0));
        cairo_set_line_width(cr, 2);
        cairo_arc(cr, 16, 16, 12.5, 0, 2 * M_PI);
        cairo_stroke(cr);
        cairo_rectangle(cr, 15, 1, 2, 9);
        cairo_rectangle(cr, 15, 22, 2, 9);
        cairo_rectangle(cr, 1, 15, 9, 2);
        cairo_rectangle(cr, 22, 15, 9, 2);
        cairo_fill(cr);
        out[bmp_bonus_reticle] = std::move(s);
    }
}

}  // namespace painter
