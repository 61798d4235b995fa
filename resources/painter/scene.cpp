// The scene picture, bitmap 100: sky, hills, meadow, burrows, the big tree,
// the title strip and the bottom panel with the four buttons.

#include <algorithm>
#include <cmath>

#include "game/shell/buttons.h"
#include "game/shell/elements.h"
#include "paint.h"

namespace painter {

namespace {

constexpr int W = 1280, H = 786;
constexpr double HORIZON = 296.0;  // where the meadow meets the hills

// 0 at the horizon, 1 at the panel: how near a point of the meadow is.
double nearness(double y) { return std::clamp((y - HORIZON) / (PANEL_TOP - HORIZON), 0.0, 1.0); }

// ---------------------------------------------------------------- sky

void paint_sky(cairo_t* cr) {
    cairo_rectangle(cr, 0, 0, W, HORIZON + 20);
    fill_linear(cr, 0, 0, 0, HORIZON + 20,
                {{0.0, rgb8(58, 112, 190)}, {0.55, rgb8(118, 168, 222)}, {1.0, rgb8(196, 222, 236)}});
}

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
            cairo_pattern_t* g = cairo_pattern_create_radial(x, y - r * 0.2, 0, x, y, r);
            if (pass == 0) {
                add_stop(g, 0.0, rgb8(178, 190, 208), 0.35);
                add_stop(g, 1.0, rgb8(178, 190, 208), 0.0);
            } else {
                add_stop(g, 0.0, rgb8(255, 255, 255), 0.55);
                add_stop(g, 0.6, rgb8(246, 249, 252), 0.3);
                add_stop(g, 1.0, rgb8(240, 245, 250), 0.0);
            }
            cairo_set_source(cr, g);
            ellipse(cr, x, y, r * 1.25, r);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
        }
}

void paint_clouds(cairo_t* cr) {
    Rng rng(0xC10D5);
    paint_cloud(cr, rng, 345, 118, 250, 58);
    paint_cloud(cr, rng, 610, 78, 190, 44);
    paint_cloud(cr, rng, 140, 200, 190, 40);
    paint_cloud(cr, rng, 850, 150, 230, 52);
    paint_cloud(cr, rng, 520, 215, 300, 34);
    paint_cloud(cr, rng, 900, 60, 150, 32);
    paint_cloud(cr, rng, 60, 80, 160, 40);
    paint_cloud(cr, rng, 760, 250, 200, 26);
}

// ---------------------------------------------------------------- hills

double far_ridge(double x) { return 268 + 12 * std::sin(x / 140.0 + 0.5) + 6 * std::sin(x / 47.0 + 1.0); }
double near_ridge(double x) { return HORIZON - 4 + 5 * std::sin(x / 95.0 + 2.0) + 2.5 * std::sin(x / 31.0); }

void paint_hills(cairo_t* cr) {
    cairo_move_to(cr, 0, H);
    for (int x = 0; x <= W; x += 4) cairo_line_to(cr, x, far_ridge(x));
    cairo_line_to(cr, W, H);
    cairo_close_path(cr);
    fill_linear(cr, 0, 250, 0, HORIZON, {{0, rgb8(150, 178, 184)}, {1, rgb8(132, 166, 150)}});

    // A far line of trees and bushes along the near ridge.
    Rng rng(0x7EE5);
    for (int i = 0; i < 170; ++i) {
        const double x = rng.range(0, W);
        const double clump = 0.5 + 0.5 * std::sin(x / 60.0) * std::sin(x / 23.0 + 1);
        if (rng.uniform() > clump) continue;
        const double r = rng.range(3, 9);
        const double y = near_ridge(x) - r * 0.4;
        cairo_pattern_t* t = cairo_pattern_create_radial(x - r * 0.3, y - r * 0.4, 0, x, y, r);
        add_stop(t, 0, rgb8(120, 150, 100));
        add_stop(t, 1, rgb8(82, 112, 80));
        cairo_set_source(cr, t);
        ellipse(cr, x, y, r, r * 0.9);
        cairo_fill(cr);
        cairo_pattern_destroy(t);
    }
}

// ---------------------------------------------------------------- meadow

void paint_meadow(cairo_t* cr) {
    cairo_move_to(cr, 0, PANEL_TOP);
    for (int x = 0; x <= W; x += 4) cairo_line_to(cr, x, near_ridge(x));
    cairo_line_to(cr, W, PANEL_TOP);
    cairo_close_path(cr);
    fill_linear(cr, 0, HORIZON - 10, 0, PANEL_TOP,
                {{0.0, rgb8(172, 192, 110)},
                 {0.25, rgb8(138, 178, 76)},
                 {0.6, rgb8(96, 156, 52)},
                 {1.0, rgb8(58, 124, 36)}});

    Rng rng(0x3EAD0);
    // Broad light and shadow over the grass.
    for (int i = 0; i < 160; ++i) {
        const double y = rng.range(HORIZON + 4, PANEL_TOP);
        const double t = nearness(y);
        const double x = rng.range(-50, W + 50);
        const double rx = (25 + 110 * t) * rng.range(0.6, 1.4), ry = rx * (0.18 + 0.15 * t);
        const bool light = rng.uniform() < 0.5;
        cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, rx);
        const Rgb c = light ? rgb8(200, 220, 120) : rgb8(40, 90, 30);
        add_stop(p, 0, c, light ? 0.16 : 0.14);
        add_stop(p, 1, c, 0.0);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, 1.0, ry / rx);
        cairo_translate(cr, -x, -y);
        cairo_set_source(cr, p);
        cairo_arc(cr, x, y, rx, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_pattern_destroy(p);
    }

    // Blades: small and pale far away, long and rich near by.
    struct Blade {
        double x, y, h, lean, width;
        Rgb c;
    };
    std::vector<Blade> blades;
    for (int i = 0; i < 30000; ++i) {
        const double y = rng.range(HORIZON, PANEL_TOP + 6);
        const double t = nearness(y);
        const double x = rng.range(-10, W + 10);
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
    // A few flowers.
    const Rgb petals[] = {rgb8(250, 250, 240), rgb8(250, 220, 70), rgb8(200, 160, 230), rgb8(240, 150, 170)};
    for (int i = 0; i < 420; ++i) {
        const double y = rng.range(HORIZON + 6, PANEL_TOP - 2);
        const double t = nearness(y);
        const double x = rng.range(0, W);
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

// ---------------------------------------------------------------- burrows

double lip_width(const Burrow& b) { return 0.6 + b.rx * 0.06; }

void paint_burrow(cairo_t* cr, const Burrow& b, Rng& rng) {
    const double t = nearness(b.cy);
    // The heap of dug earth around the opening, soft at its edge.
    const double mx = b.rx * 1.8, my = b.ry * 2.4, mcy = b.cy + b.ry * 0.55;
    cairo_pattern_t* soft = cairo_pattern_create_radial(b.cx, mcy, 0, b.cx, mcy, mx * 1.15);
    add_stop(soft, 0.7, rgb8(96, 72, 40), 0.6);
    add_stop(soft, 1.0, rgb8(96, 72, 40), 0.0);
    cairo_save(cr);
    cairo_translate(cr, b.cx, mcy);
    cairo_scale(cr, 1.0, my / mx);
    cairo_translate(cr, -b.cx, -mcy);
    cairo_set_source(cr, soft);
    cairo_arc(cr, b.cx, mcy, mx * 1.15, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(soft);
    cairo_pattern_t* heap = cairo_pattern_create_radial(b.cx - mx * 0.2, mcy - mx * 0.35, 0, b.cx, mcy, mx);
    add_stop(heap, 0.0, rgb8(170, 128, 80));
    add_stop(heap, 0.7, rgb8(136, 98, 58));
    add_stop(heap, 1.0, rgb8(112, 82, 48));
    cairo_set_source(cr, heap);
    cairo_arc(cr, b.cx, mcy, mx, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(heap);
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

// ---------------------------------------------------------------- tree

// The trunk's bark runs straight up: its colour depends on x alone wherever
// the lizards climb, so one lizard picture fits every height of the trunk.
double bark_tone(double x) {
    const double u = (x - 1214.0) / 66.0;  // 0 at the left edge, 1 at the window's edge
    const double round = 0.45 + 0.55 * std::sin(std::clamp(u, 0.0, 1.0) * M_PI * 0.85 + 0.15);
    const double grain = 0.07 * std::sin(x * 0.55) + 0.05 * std::sin(x * 0.29 + 1.7) + 0.04 * std::sin(x * 0.83 + 0.4);
    return std::clamp(round + grain, 0.0, 1.2);
}

void paint_trunk(cairo_t* cr) {
    // One row of bark, repeated down the whole trunk.
    Surface row = make_surface(W, 1);
    for (int x = 1150; x < W; ++x) {
        const double v = bark_tone(x + 0.5);
        const Rgb c = mix(rgb8(30, 22, 16), rgb8(92, 70, 50), std::clamp(v, 0.0, 1.0));
        set_pixel(row.get(), x, 0,
                  (static_cast<std::uint32_t>(c.r * 255) << 16) | (static_cast<std::uint32_t>(c.g * 255) << 8) |
                      static_cast<std::uint32_t>(c.b * 255));
    }
    cairo_pattern_t* bark = cairo_pattern_create_for_surface(row.get());
    cairo_pattern_set_extend(bark, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(bark, CAIRO_FILTER_NEAREST);

    cairo_move_to(cr, 1226, 200);
    cairo_curve_to(cr, 1216, 240, 1214, 260, 1214, 300);
    cairo_line_to(cr, 1214, 630);
    cairo_curve_to(cr, 1213, 668, 1200, 690, 1184, PANEL_TOP + 2);
    cairo_line_to(cr, W, PANEL_TOP + 2);
    cairo_line_to(cr, W, 200);
    cairo_close_path(cr);
    cairo_set_source(cr, bark);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(bark);
    // The root flare is darker towards the ground.
    fill_linear(cr, 1184, 0, 1214, 0, {{0, rgb8(22, 16, 12), 0.9}, {1, rgb8(22, 16, 12), 0.0}});

    // Cracks only left of the lizards' lane and up in the crown.
    Rng rng(0xBA4C);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 60; ++i) {
        const bool high = i < 40;
        const double x = high ? rng.range(1220, 1278) : rng.range(1215, 1220.5);
        const double y = high ? rng.range(200, 330) : rng.range(420, 690);
        const double len = rng.range(10, 40);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + rng.range(-2, 2), y + len * 0.3, x + rng.range(-2, 2), y + len * 0.6, x, y + len);
        set_colour(cr, rgb8(20, 14, 10), 0.6);
        cairo_set_line_width(cr, rng.range(0.6, 1.4));
        cairo_stroke(cr);
    }
}

void branch(cairo_t* cr, std::initializer_list<double> pts, double w0, double w1) {
    std::vector<double> p(pts);
    const std::size_t n = p.size() / 2;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const double u = static_cast<double>(i) / static_cast<double>(n - 1);
        cairo_move_to(cr, p[2 * i], p[2 * i + 1]);
        cairo_line_to(cr, p[2 * i + 2], p[2 * i + 3]);
        set_colour(cr, mix(rgb8(58, 42, 30), rgb8(74, 56, 40), u));
        cairo_set_line_width(cr, w0 + (w1 - w0) * u);
        cairo_stroke(cr);
    }
}

void paint_branches(cairo_t* cr) {
    branch(cr, {1250, 320, 1236, 250, 1196, 200, 1160, 178, 1112, 150, 1060, 128, 990, 112}, 26, 5);
    branch(cr, {1255, 300, 1250, 220, 1228, 140, 1200, 80, 1180, 40}, 24, 5);
    branch(cr, {1262, 260, 1276, 170, 1280, 110}, 18, 8);
    branch(cr, {1170, 172, 1164, 120, 1150, 80}, 8, 3);
    branch(cr, {1090, 140, 1070, 190, 1060, 215}, 6, 2);
}

struct Cluster {
    double x, y, r;
};

void paint_cluster(cairo_t* cr, const Cluster& c, Rng& rng, double light) {
    cairo_pattern_t* g = cairo_pattern_create_radial(c.x - c.r * 0.35, c.y - c.r * 0.45, c.r * 0.1, c.x, c.y, c.r);
    add_stop(g, 0.0, shade(rgb8(104, 156, 58), light));
    add_stop(g, 0.55, shade(rgb8(62, 112, 38), light));
    add_stop(g, 1.0, shade(rgb8(34, 70, 26), light));
    cairo_set_source(cr, g);
    cairo_arc(cr, c.x, c.y, c.r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // Single leaves at the rim break the round outline.
    for (int i = 0; i < static_cast<int>(c.r * 1.6); ++i) {
        const double a = rng.range(0, 2 * M_PI), d = c.r * rng.range(0.55, 1.05);
        const double x = c.x + std::cos(a) * d, y = c.y + std::sin(a) * d;
        const double up = -std::sin(a);  // leaves on top are lit
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, a + rng.range(-0.6, 0.6));
        ellipse(cr, 0, 0, rng.range(2.0, 3.6), rng.range(1.0, 1.7));
        cairo_restore(cr);
        set_colour(cr, shade(mix(rgb8(40, 80, 28), rgb8(120, 170, 70), 0.5 + 0.5 * up), light * rng.range(0.85, 1.1)));
        cairo_fill(cr);
    }
}

bool in_crown(double x, double y) {
    auto in = [&](double cx, double cy, double rx, double ry) {
        const double dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy < 1.0;
    };
    return in(1040, 105, 110, 82) || in(1170, 85, 125, 80) || in(1250, 160, 60, 110) || in(1120, 40, 160, 40);
}

// The gap in the leaves where the web hangs and the spider lets itself down.
bool in_web_gap(double x, double y, double r) {
    const double dx = (x - WEB_CX) / (42 + r), dy = (y - (WEB_CY + 20)) / (36 + r);
    return dx * dx + dy * dy < 1.0 || (std::abs(x - WEB_CX) < 18 + r && y > WEB_CY);
}

void paint_crown(cairo_t* cr) {
    Rng rng(0xC40A);
    std::vector<Cluster> back, front;
    for (int i = 0; i < 900; ++i) {
        const Cluster c{rng.range(900, 1300), rng.range(-10, 250), rng.range(12, 26)};
        if (!in_crown(c.x, c.y)) continue;
        back.push_back(c);
        if (!in_web_gap(c.x, c.y, c.r)) front.push_back(c);
    }
    // Deep shade inside the crown, darkest in the gap behind the web.
    for (const Cluster& c : back) {
        set_colour(cr, rgb8(28, 52, 22));
        cairo_arc(cr, c.x, c.y, c.r * 0.9, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    cairo_save(cr);
    for (const Cluster& c : back) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, c.x, c.y, c.r * 0.9, 0, 2 * M_PI);
    }
    cairo_clip(cr);
    cairo_pattern_t* gap = cairo_pattern_create_radial(WEB_CX, WEB_CY, 5, WEB_CX, WEB_CY + 10, 60);
    add_stop(gap, 0, rgb8(22, 40, 18), 0.9);
    add_stop(gap, 1, rgb8(22, 40, 18), 0.0);
    cairo_set_source(cr, gap);
    cairo_paint(cr);
    cairo_pattern_destroy(gap);
    cairo_restore(cr);
    std::stable_sort(front.begin(), front.end(), [](const Cluster& a, const Cluster& b) { return a.y > b.y; });
    for (const Cluster& c : front) paint_cluster(cr, c, rng, 0.85 + 0.3 * (1.0 - std::clamp(c.y / 250.0, 0.0, 1.0)));
}

// Bushes in the near meadow, clear of every burrow, the cow and the tree.
void paint_bushes(cairo_t* cr) {
    Rng rng(0xB054);
    const struct {
        double x, y, w, h;
    } bushes[] = {{95, 660, 130, 60}, {930, 672, 110, 44}, {440, 600, 60, 26}, {1000, 470, 44, 18}};
    for (const auto& b : bushes) {
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

// Grass in front of the foot of the trunk, below every place a lizard frame
// shares with another; the frames that reach down here carry it too.
void paint_trunk_grass_blades(cairo_t* cr) {
    Rng rng(0x6A55);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 140; ++i) {
        // No blade reaches above y 679, where climber[1] begins to share its picture.
        const double x = rng.range(1176, 1282), y = rng.range(695, PANEL_TOP + 3);
        const double h = rng.range(4, std::min(11.0, y - 683)), lean = rng.range(-0.3, 0.3);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x, y - h * 0.5, x + lean * h * 0.4, y - h * 0.8, x + lean * h, y - h);
        set_colour(cr, shade(rgb8(52, 120, 34), rng.range(0.75, 1.25)), 0.95);
        cairo_set_line_width(cr, rng.range(1.2, 2.0));
        cairo_stroke(cr);
    }
}

// ---------------------------------------------------------------- panel

Rgb cream() { return rgb8(244, 232, 196); }

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

void paint_title_strip(cairo_t* cr) {
    wood(cr, 0, 0, W, 30, 0x717E);
    set_colour(cr, rgb8(160, 120, 80));
    cairo_rectangle(cr, 0, 0, W, 1);
    cairo_fill(cr);
    set_colour(cr, rgb8(30, 20, 12));
    cairo_rectangle(cr, 0, 29, W, 1);
    cairo_fill(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (int pass = 0; pass < 2; ++pass) {
        letters_path(cr, "PLINKFIELD", 14 + (pass == 0 ? 1.2 : 0), 8 + (pass == 0 ? 1.2 : 0), 14);
        set_colour(cr, pass == 0 ? rgb8(30, 18, 10) : cream());
        cairo_set_line_width(cr, 2.4);
        cairo_stroke(cr);
    }
}

void paint_panel(cairo_t* cr) {
    wood(cr, 0, PANEL_TOP, W, H - PANEL_TOP, 0x9A4E);
    set_colour(cr, rgb8(30, 20, 12));
    cairo_rectangle(cr, 0, PANEL_TOP, W, 1);
    cairo_fill(cr);
    set_colour(cr, rgb8(170, 130, 88));
    cairo_rectangle(cr, 0, PANEL_TOP + 1, W, 1);
    cairo_fill(cr);

    // The scoreboard: light grey, as the labels' own background.
    bevel_box(cr, 497, 713, 280, 58, rgb8(192, 192, 192), true);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const struct {
        const char* text;
        double centre;
    } captions[] = {{"HITS", 530}, {"SCORE", 619}, {"MISSES", 728}};
    for (const auto& c : captions) {
        letters_path(cr, c.text, c.centre - letters_width(c.text, 7) / 2, 703.5, 7);
        set_colour(cr, cream());
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }

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

// ---------------------------------------------------------------- buttons

void plate(cairo_t* cr, int w, int h, Rgb top, Rgb bottom, const char* word, bool pressed) {
    const double r = 9;
    set_colour(cr, rgb8(28, 18, 10));
    rounded_rect(cr, 0.5, 0.5, w - 1, h - 1, r);
    cairo_fill(cr);
    rounded_rect(cr, 2, 2, w - 4, h - 4, r - 1.5);
    fill_linear(cr, 0, 2, 0, h - 2,
                {{0, pressed ? shade(bottom, 0.9) : top}, {1, pressed ? shade(top, 0.8) : bottom}});
    // Bevel: lit from the top left, inverted when pressed.
    cairo_set_line_width(cr, 1.5);
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, w, h / 2.0);
    cairo_clip(cr);
    set_colour(cr, pressed ? rgb8(0, 0, 0) : rgb8(255, 255, 255), pressed ? 0.45 : 0.5);
    rounded_rect(cr, 2.75, 2.75, w - 5.5, h - 5.5, r - 2);
    cairo_stroke(cr);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_rectangle(cr, 0, h / 2.0, w, h / 2.0);
    cairo_clip(cr);
    set_colour(cr, pressed ? rgb8(255, 255, 255) : rgb8(0, 0, 0), pressed ? 0.25 : 0.4);
    rounded_rect(cr, 2.75, 2.75, w - 5.5, h - 5.5, r - 2);
    cairo_stroke(cr);
    cairo_restore(cr);
    // The word, pushed down and right when pressed.
    // One size for both words, so CANCEL fits with room to spare.
    const double th = 17, off = pressed ? 1.5 : 0;
    const double tx = (w - letters_width(word, th)) / 2 + off, ty = (h - th) / 2 + off;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    letters_path(cr, word, tx + 1.5, ty + 1.5, th);
    set_colour(cr, rgb8(20, 12, 8), 0.6);
    cairo_set_line_width(cr, 3.6);
    cairo_stroke(cr);
    letters_path(cr, word, tx, ty, th);
    set_colour(cr, pressed ? shade(cream(), 0.9) : cream());
    cairo_set_line_width(cr, 3.4);
    cairo_stroke(cr);
}

void mark(cairo_t* cr, int w, int h, bool close, bool pressed) {
    set_colour(cr, rgb8(28, 18, 10));
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
    cairo_rectangle(cr, 1, 1, w - 2, h - 2);
    fill_linear(cr, 0, 1, 0, h - 1,
                {{0, pressed ? rgb8(70, 48, 30) : rgb8(150, 110, 70)},
                 {1, pressed ? rgb8(100, 72, 44) : rgb8(96, 66, 40)}});
    cairo_set_line_width(cr, 1);
    set_colour(cr, pressed ? rgb8(20, 12, 8) : rgb8(200, 165, 120));
    cairo_move_to(cr, 1.5, h - 1.5);
    cairo_line_to(cr, 1.5, 1.5);
    cairo_line_to(cr, w - 1.5, 1.5);
    cairo_stroke(cr);
    set_colour(cr, pressed ? rgb8(160, 120, 80) : rgb8(50, 32, 20));
    cairo_move_to(cr, w - 1.5, 1.5);
    cairo_line_to(cr, w - 1.5, h - 1.5);
    cairo_line_to(cr, 1.5, h - 1.5);
    cairo_stroke(cr);
    const double o = pressed ? 1 : 0;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    set_colour(cr, cream());
    cairo_set_line_width(cr, 2.2);
    if (close) {
        cairo_move_to(cr, 7.5 + o, 5.5 + o);
        cairo_line_to(cr, 15.5 + o, 13.5 + o);
        cairo_move_to(cr, 15.5 + o, 5.5 + o);
        cairo_line_to(cr, 7.5 + o, 13.5 + o);
    } else {
        cairo_move_to(cr, 7 + o, 13 + o);
        cairo_line_to(cr, 16 + o, 13 + o);
    }
    cairo_stroke(cr);
}

void paint_buttons(cairo_surface_t* scene, Pictures& out) {
    for (const ButtonImages& b : BUTTON_IMAGES) {
        const ElementRow& e = ELEMENT_TABLE[element_by_id(b.control_id)];
        for (int pressed = 0; pressed < 2; ++pressed) {
            Surface s = cut(scene, e.x, e.y, e.w, e.h);
            Pen cr(s.get());
            switch (b.control_id) {
                case 700: plate(cr, e.w, e.h, rgb8(96, 176, 76), rgb8(40, 104, 34), "START", pressed); break;
                case 800: plate(cr, e.w, e.h, rgb8(212, 84, 62), rgb8(128, 34, 24), "CANCEL", pressed); break;
                default: mark(cr, e.w, e.h, b.control_id == 450, pressed); break;
            }
            out[pressed ? b.pressed : b.normal] = std::move(s);
        }
    }
    Pen cr(scene);
    for (const ButtonImages& b : BUTTON_IMAGES) {
        const ElementRow& e = ELEMENT_TABLE[element_by_id(b.control_id)];
        cairo_set_source_surface(cr, out.at(b.normal).get(), e.x, e.y);
        cairo_paint(cr);
    }
}

}  // namespace

// ---------------------------------------------------------------- shared

Surface cut(cairo_surface_t* scene, int x, int y, int w, int h) {
    Surface s = make_surface(w, h);
    Pen cr(s.get());
    cairo_set_source_surface(cr, scene, -x, -y);
    cairo_paint(cr);
    return s;
}

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

void paint_trunk_grass(cairo_t* cr) { paint_trunk_grass_blades(cr); }

void paint_trunk_bough(cairo_t* cr) {
    Rng rng(0xB0A6);
    std::vector<Cluster> cs;
    for (int i = 0; i < 60; ++i) {
        const double x = rng.range(1170, 1290), r = rng.range(10, 19);
        // Down to y 397 at the lizards' lane, so every frame below stays clear.
        const double y = rng.range(250, 397 - r);
        if (x < 1200 && y > 340) continue;
        cs.push_back({x, y, r});
    }
    std::stable_sort(cs.begin(), cs.end(), [](const Cluster& a, const Cluster& b) { return a.y < b.y; });
    for (const Cluster& c : cs) paint_cluster(cr, c, rng, 0.95);
}

void paint_web(cairo_t* cr, bool torn) {
    Rng rng(0x3EB);
    constexpr int spokes = 11;
    double ax[spokes], ay[spokes];
    for (int i = 0; i < spokes; ++i) {
        const double a = 2 * M_PI * (i + rng.range(-0.25, 0.25)) / spokes;
        const double reach = rng.range(0.85, 1.0);
        ax[i] = WEB_CX + std::cos(a) * 33 * reach;
        ay[i] = WEB_CY + std::sin(a) * 19 * reach;
    }
    const double hole = torn ? 0.5 : 0.0;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 0.7);
    set_colour(cr, rgb8(236, 240, 244), 0.8);
    for (int i = 0; i < spokes; ++i) {
        cairo_move_to(cr, WEB_CX + (ax[i] - WEB_CX) * hole, WEB_CY + (ay[i] - WEB_CY) * hole);
        cairo_line_to(cr, ax[i], ay[i]);
    }
    cairo_stroke(cr);
    cairo_set_line_width(cr, 0.55);
    set_colour(cr, rgb8(230, 236, 240), 0.7);
    for (int ring = 1; ring <= 8; ++ring) {
        const double f = ring / 8.6;
        if (f < hole) continue;
        for (int i = 0; i <= spokes; ++i) {
            const int k = i % spokes;
            const double x = WEB_CX + (ax[k] - WEB_CX) * f, y = WEB_CY + (ay[k] - WEB_CY) * f;
            if (i == 0)
                cairo_move_to(cr, x, y);
            else
                cairo_line_to(cr, x, y);
        }
        cairo_stroke(cr);
    }
    if (torn) {
        // Loose ends hanging into the hole.
        set_colour(cr, rgb8(230, 236, 240), 0.75);
        for (int i : {1, 4, 7, 9}) {
            const double x = WEB_CX + (ax[i] - WEB_CX) * hole, y = WEB_CY + (ay[i] - WEB_CY) * hole;
            cairo_move_to(cr, x, y);
            cairo_curve_to(cr, x + (WEB_CX - x) * 0.3, y + 3, x + (WEB_CX - x) * 0.4, y + 6, x + (WEB_CX - x) * 0.35,
                           y + 9);
        }
        cairo_stroke(cr);
    } else {
        set_colour(cr, rgb8(236, 240, 244), 0.6);
        cairo_arc(cr, WEB_CX, WEB_CY, 1.6, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

SceneArt paint_scene(Pictures& buttons) {
    SceneArt art;
    art.scene = make_surface(W, H);
    cairo_surface_t* s = art.scene.get();
    {
        Pen cr(s);
        paint_sky(cr);
        paint_clouds(cr);
        paint_hills(cr);
        paint_meadow(cr);
        Rng rng(0xB0220);
        // Far burrows first, so nearer heaps overlap them.
        std::vector<int> holes = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        std::stable_sort(holes.begin(), holes.end(), [](int a, int b) { return burrow(a).cy < burrow(b).cy; });
        for (int h : holes) paint_burrow(cr, burrow(h), rng);
        paint_bushes(cr);
        paint_trunk(cr);
        paint_trunk_grass(cr);
        paint_branches(cr);
        paint_crown(cr);
        paint_trunk_bough(cr);
        paint_title_strip(cr);
        paint_panel(cr);
    }
    art.web_backdrop = cut(s, WEB_X, WEB_Y, ELEMENT_TABLE[web_patch].w, ELEMENT_TABLE[web_patch].h);
    {
        Pen cr(s);
        paint_web(cr, false);
    }
    paint_buttons(s, buttons);
    return art;
}

}  // namespace painter
