// The blood splat on a shot lizard, fresh and fading.

#include <cmath>

#include "game/model/bitmaps.h"
#include "resources/painter/sprites.h"

namespace painter {

// The splat is painted over the trunk where the lizards climb; its colour
// runs from fresh red to almost black.
void paint_splats(SceneArt& art, Pictures& out) {
    cairo_surface_t* scene = art.scene;
    const int ids[] = {bmp_splat, bmp_splat_fade_1, bmp_splat_fade_2, bmp_splat_fade_3, bmp_splat_fade_4};
    const double darkness[] = {0.0, 0.3, 0.55, 0.78, 0.93};
    for (int i = 0; i < 5; ++i) {
        Surface s = blank_at(scene, ids[i], 1230, 486);
        Pen cr(s.get());
        Rng rng(0x5B1A7);
        const Rgb ink = rgb8(14, 4, 4);
        const Rgb fresh = mix(rgb8(206, 18, 16), ink, darkness[i]);
        const Rgb deep = mix(rgb8(124, 4, 6), ink, darkness[i]);
        // Droplets flung outwards.
        for (int k = 0; k < 11; ++k) {
            const double a = rng.range(0, 2 * M_PI), d = rng.range(10, 15.5);
            const double r = rng.range(0.8, 2.2) * (1.0 - (d - 10) / 12);
            cairo_arc(cr, 17.5 + std::cos(a) * d, 17.5 + std::sin(a) * d, r, 0, 2 * M_PI);
            set_colour(cr, deep);
            cairo_fill(cr);
        }
        // The blob.
        constexpr int n = 16;
        for (int k = 0; k <= n; ++k) {
            const double a = 2 * M_PI * (k % n) / n;
            const double d = k % 2 ? rng.range(5, 7) : rng.range(8, 12);
            const double x = 17.5 + std::cos(a) * d, y = 17.5 + std::sin(a) * d;
            if (k == 0)
                cairo_move_to(cr, x, y);
            else
                cairo_line_to(cr, x, y);
        }
        cairo_close_path(cr);
        fill_radial(cr, 15, 15, 17.5, 17.5, 12, fresh, deep);
        ellipse(cr, 14.5, 14, 2.2, 1.4);
        set_colour(cr, rgb8(255, 220, 220), 0.55 * (1.0 - darkness[i]));
        cairo_fill(cr);
        out[ids[i]] = std::move(s);
    }
}

}  // namespace painter
