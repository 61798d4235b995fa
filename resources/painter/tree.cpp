// The big tree at the right edge: trunk, branches, the crown with the gap
// where the web hangs, the bough the lizards come out of, the grass at its
// foot; and the leaf clusters the bushes are made of too.

#include <algorithm>
#include <cmath>
#include <vector>

#include "resources/painter/scenery.h"
#include "resources/painter/tree.h"
#include "resources/painter/web.h"

namespace painter {

namespace {

// The trunk's bark runs straight up: its colour depends on x alone wherever
// the lizards climb, so one lizard picture fits every height of the trunk.
double bark_tone(double x) {
    const double u = (x - 1214.0) / 66.0;  // 0 at the left edge, 1 at the window's edge
    const double round = 0.45 + 0.55 * std::sin(std::clamp(u, 0.0, 1.0) * M_PI * 0.85 + 0.15);
    const double grain = 0.07 * std::sin(x * 0.55) + 0.05 * std::sin(x * 0.29 + 1.7) + 0.04 * std::sin(x * 0.83 + 0.4);
    return std::clamp(round + grain, 0.0, 1.2);
}

}  // namespace

void paint_trunk(cairo_t* cr) {
    // One row of bark, repeated down the whole trunk, its tone taken at the
    // middle of every pixel: the grain is finer at 2x, not doubled.
    const int scale = scale_of(cr);
    Surface row = make_surface(SCENE_W, 1, scale);
    for (int x = 1150 * scale; x < SCENE_W * scale; ++x) {
        const double v = bark_tone((x + 0.5) / scale);
        const Rgb c = mix(rgb8(30, 22, 16), rgb8(92, 70, 50), std::clamp(v, 0.0, 1.0));
        for (int y = 0; y < scale; ++y)
            set_pixel(row.get(), x, y,
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
    cairo_line_to(cr, SCENE_W, PANEL_TOP + 2);
    cairo_line_to(cr, SCENE_W, 200);
    cairo_close_path(cr);
    cairo_set_source(cr, bark);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(bark);
    // The root flare is darker towards the ground.
    fill_linear(cr, 1184, 0, 1214, 0, {{0, rgb8(22, 16, 12), 0.9}, {1, rgb8(22, 16, 12), 0.0}});

    // Cracks only up in the crown and left of the lizards' lane, each group
    // from its own stream: the lizard pictures carry the lane's.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    auto cracks = [&](Rng rng, int count, double x0, double x1, double y0, double y1) {
        for (int i = 0; i < count; ++i) {
            const double x = rng.range(x0, x1), y = rng.range(y0, y1);
            const double len = rng.range(10, 40);
            cairo_move_to(cr, x, y);
            cairo_curve_to(cr, x + rng.range(-2, 2), y + len * 0.3, x + rng.range(-2, 2), y + len * 0.6, x, y + len);
            set_colour(cr, rgb8(20, 14, 10), 0.6);
            cairo_set_line_width(cr, rng.range(0.6, 1.4));
            cairo_stroke(cr);
        }
    };
    cracks(Rng(0xBA4C, 0), 40, 1220, 1278, 200, 330);
    cracks(Rng(0xBA4C, 1), 20, 1215, 1220.5, 420, 690);
}

namespace {

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

}  // namespace

void paint_branches(cairo_t* cr) {
    branch(cr, {1250, 320, 1236, 250, 1196, 200, 1160, 178, 1112, 150, 1060, 128, 990, 112}, 26, 5);
    branch(cr, {1255, 300, 1250, 220, 1228, 140, 1200, 80, 1180, 40}, 24, 5);
    branch(cr, {1262, 260, 1276, 170, 1280, 110}, 18, 8);
    branch(cr, {1170, 172, 1164, 120, 1150, 80}, 8, 3);
    branch(cr, {1090, 140, 1070, 190, 1060, 215}, 6, 2);
}

void paint_cluster(cairo_t* cr, const Cluster& c, Rng& rng, double light) {
    cairo_arc(cr, c.x, c.y, c.r, 0, 2 * M_PI);
    set_radial(cr, c.x - c.r * 0.35, c.y - c.r * 0.45, c.r * 0.1, c.x, c.y, c.r,
               {{0.0, shade(rgb8(104, 156, 58), light)},
                {0.55, shade(rgb8(62, 112, 38), light)},
                {1.0, shade(rgb8(34, 70, 26), light)}});
    cairo_fill(cr);
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

namespace {

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

}  // namespace

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
    set_radial(cr, WEB_CX, WEB_CY, 5, WEB_CX, WEB_CY + 10, 60, {{0, rgb8(22, 40, 18), 0.9}, {1, rgb8(22, 40, 18), 0.0}});
    cairo_paint(cr);
    cairo_restore(cr);
    std::stable_sort(front.begin(), front.end(), [](const Cluster& a, const Cluster& b) { return a.y > b.y; });
    for (const Cluster& c : front) paint_cluster(cr, c, rng, 0.85 + 0.3 * (1.0 - std::clamp(c.y / 250.0, 0.0, 1.0)));
}

// Grass in front of the foot of the trunk, below every place a lizard frame
// shares with another; the frames that reach down here carry it too.
void paint_trunk_grass(cairo_t* cr) {
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

}  // namespace painter
