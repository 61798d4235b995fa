// Behind the meadow: the sky, its clouds and the far hills with their line
// of trees.

#include <cmath>

#include "resources/painter/scenery.h"

namespace painter {

void paint_sky(cairo_t* cr) {
    cairo_rectangle(cr, 0, 0, SCENE_W, HORIZON + 20);
    fill_linear(cr, 0, 0, 0, HORIZON + 20,
                {{0.0, rgb8(58, 112, 190)}, {0.55, rgb8(118, 168, 222)}, {1.0, rgb8(196, 222, 236)}});
}

namespace {

// A soft cloud: many translucent puffs, white on top, a little grey below.
void paint_cloud(cairo_t* cr, Rng& rng, double cx, double cy, double w, double h) {
    const int puffs = static_cast<int>(w * h / 140.0);
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < puffs; ++i) {
            const double a = rng.range(0, 2 * M_PI), d = std::sqrt(rng.uniform());
            const double x = cx + std::cos(a) * d * w * 0.5;
            double y = cy + std::sin(a) * d * h * 0.5;
            const double r = rng.range(0.18, 0.34) * h * (1.2 - 0.5 * d);
            if (pass == 0) y += r * 0.35;  // the shaded underside first
            if (pass == 0)
                set_radial(cr, x, y - r * 0.2, 0, x, y, r,
                           {{0.0, rgb8(178, 190, 208), 0.35}, {1.0, rgb8(178, 190, 208), 0.0}});
            else
                set_radial(cr, x, y - r * 0.2, 0, x, y, r,
                           {{0.0, rgb8(255, 255, 255), 0.55}, {0.6, rgb8(246, 249, 252), 0.3}, {1.0, rgb8(240, 245, 250), 0.0}});
            ellipse(cr, x, y, r * 1.25, r);
            cairo_fill(cr);
        }
}

}  // namespace

void paint_clouds(cairo_t* cr) {
    const struct {
        double cx, cy, w, h;
    } clouds[] = {{345, 118, 250, 58}, {610, 78, 190, 44}, {140, 200, 190, 40}, {850, 150, 230, 52},
                  {520, 215, 300, 34}, {900, 60, 150, 32},  {60, 80, 160, 40},   {760, 250, 200, 26}};
    int k = 0;
    for (const auto& c : clouds) {
        Rng rng(0xC10D5, k++);
        paint_cloud(cr, rng, c.cx, c.cy, c.w, c.h);
    }
}

namespace {

double far_ridge(double x) { return 268 + 12 * std::sin(x / 140.0 + 0.5) + 6 * std::sin(x / 47.0 + 1.0); }

}  // namespace
double near_ridge(double x) { return HORIZON - 4 + 5 * std::sin(x / 95.0 + 2.0) + 2.5 * std::sin(x / 31.0); }

void paint_hills(cairo_t* cr) {
    cairo_move_to(cr, 0, SCENE_H);
    for (int x = 0; x <= SCENE_W; x += 4) cairo_line_to(cr, x, far_ridge(x));
    cairo_line_to(cr, SCENE_W, SCENE_H);
    cairo_close_path(cr);
    fill_linear(cr, 0, 250, 0, HORIZON, {{0, rgb8(150, 178, 184)}, {1, rgb8(132, 166, 150)}});

    // A far line of trees and bushes along the near ridge.
    Rng rng(0x7EE5);
    for (int i = 0; i < 170; ++i) {
        const double x = rng.range(0, SCENE_W);
        const double clump = 0.5 + 0.5 * std::sin(x / 60.0) * std::sin(x / 23.0 + 1);
        if (rng.uniform() > clump) continue;
        const double r = rng.range(3, 9);
        const double y = near_ridge(x) - r * 0.4;
        ellipse(cr, x, y, r, r * 0.9);
        fill_radial(cr, x - r * 0.3, y - r * 0.4, x, y, r, rgb8(120, 150, 100), rgb8(82, 112, 80));
    }
}

}  // namespace painter
