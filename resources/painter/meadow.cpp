// The meadow: its grass, light and shadow, flowers, and the bushes in the
// near grass.

#include <algorithm>
#include <cmath>
#include <vector>

#include "resources/painter/scenery.h"
#include "resources/painter/tree.h"

namespace painter {

namespace {

// Broad light and shadow over the grass.
void paint_light_and_shadow(cairo_t* cr) {
    Rng rng(0x3EAD0);
    for (int i = 0; i < 160; ++i) {
        const double y = rng.range(HORIZON + 4, PANEL_TOP);
        const double t = nearness(y);
        const double x = rng.range(-50, SCENE_W + 50);
        const double rx = (25 + 110 * t) * rng.range(0.6, 1.4), ry = rx * (0.18 + 0.15 * t);
        const bool light = rng.uniform() < 0.5;
        const Rgb c = light ? rgb8(200, 220, 120) : rgb8(40, 90, 30);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, 1.0, ry / rx);
        cairo_translate(cr, -x, -y);
        cairo_arc(cr, x, y, rx, 0, 2 * M_PI);
        set_radial(cr, x, y, 0, x, y, rx, {{0, c, light ? 0.16 : 0.14}, {1, c, 0.0}});
        cairo_fill(cr);
        cairo_restore(cr);
    }
}

// Blades: small and pale far away, long and rich near by.
void paint_blades(cairo_t* cr) {
    Rng rng(0xB1ADE);
    struct Blade {
        double x, y, h, lean, width;
        Rgb c;
    };
    std::vector<Blade> blades;
    for (int i = 0; i < 30000; ++i) {
        const double y = rng.range(HORIZON, PANEL_TOP + 6);
        const double t = nearness(y);
        const double x = rng.range(-10, SCENE_W + 10);
        if (y < near_ridge(x) + 1) continue;
        Blade b;
        b.x = x;
        b.y = y;
        b.h = (1.5 + 15.0 * std::pow(t, 1.5)) * rng.range(0.6, 1.3);
        b.lean = rng.range(-0.45, 0.45);
        b.width = 0.45 + 1.3 * t;
        const Rgb base = mix(rgb8(168, 190, 104), rgb8(44, 112, 30), std::pow(t, 0.8));
        b.c = shade(base, rng.range(0.8, 1.25));
        blades.push_back(b);
    }
    std::stable_sort(blades.begin(), blades.end(), [](const Blade& a, const Blade& b) { return a.y < b.y; });
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (const Blade& b : blades) {
        cairo_move_to(cr, b.x, b.y);
        cairo_curve_to(cr, b.x, b.y - b.h * 0.5, b.x + b.lean * b.h * 0.4, b.y - b.h * 0.8, b.x + b.lean * b.h,
                       b.y - b.h);
        set_colour(cr, b.c, 0.85);
        cairo_set_line_width(cr, b.width);
        cairo_stroke(cr);
    }
}

void paint_flowers(cairo_t* cr) {
    Rng rng(0xF10E5);
    const Rgb petals[] = {rgb8(250, 250, 240), rgb8(250, 220, 70), rgb8(200, 160, 230), rgb8(240, 150, 170)};
    for (int i = 0; i < 420; ++i) {
        const double y = rng.range(HORIZON + 6, PANEL_TOP - 2);
        const double t = nearness(y);
        const double x = rng.range(0, SCENE_W);
        const double r = 0.5 + 2.0 * t;
        set_colour(cr, petals[static_cast<int>(rng.uniform() * 4) % 4], 0.9);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        cairo_fill(cr);
        if (r > 1.5) {
            set_colour(cr, rgb8(240, 200, 40));
            cairo_arc(cr, x, y, r * 0.35, 0, 2 * M_PI);
            cairo_fill(cr);
        }
    }
}

}  // namespace

void paint_meadow(cairo_t* cr) {
    cairo_move_to(cr, 0, PANEL_TOP);
    for (int x = 0; x <= SCENE_W; x += 4) cairo_line_to(cr, x, near_ridge(x));
    cairo_line_to(cr, SCENE_W, PANEL_TOP);
    cairo_close_path(cr);
    fill_linear(cr, 0, HORIZON - 10, 0, PANEL_TOP,
                {{0.0, rgb8(172, 192, 110)},
                 {0.25, rgb8(138, 178, 76)},
                 {0.6, rgb8(96, 156, 52)},
                 {1.0, rgb8(58, 124, 36)}});
    paint_light_and_shadow(cr);
    paint_blades(cr);
    paint_flowers(cr);
}

// Bushes in the near meadow, clear of every burrow, the cow and the tree.
void paint_bushes(cairo_t* cr) {
    const struct {
        double x, y, w, h;
    } bushes[] = {{95, 660, 130, 60}, {930, 672, 110, 44}, {440, 600, 60, 26}, {1000, 470, 44, 18}};
    int k = 0;
    for (const auto& b : bushes) {
        Rng rng(0xB054, k++);
        ellipse(cr, b.x, b.y + b.h * 0.42, b.w * 0.6, b.h * 0.16);
        set_colour(cr, rgb8(24, 60, 16), 0.35);
        cairo_fill(cr);
        std::vector<Cluster> cs;
        const int n = static_cast<int>(b.w * b.h / 120);
        for (int i = 0; i < n; ++i) {
            const double a = rng.range(M_PI, 2 * M_PI), d = std::sqrt(rng.uniform());
            const double r = rng.range(0.12, 0.2) * b.h + 3;
            cs.push_back({b.x + std::cos(a) * d * (b.w * 0.5 - r), b.y + b.h * 0.35 + std::sin(a) * d * (b.h * 0.8 - r), r});
        }
        std::stable_sort(cs.begin(), cs.end(), [](const Cluster& p, const Cluster& q) { return p.y < q.y; });
        for (const Cluster& c : cs) paint_cluster(cr, c, rng, 0.8 + 0.25 * rng.uniform());
    }
}

}  // namespace painter
