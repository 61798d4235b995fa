// Every sprite: its background is cut from the scene where it is shown,
// then the creature is painted on it, so no seam shows.

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "game/shell/bitmaps.h"
#include "game/shell/elements.h"
#include "paint.h"

namespace painter {

namespace {

Surface blank_at(cairo_surface_t* scene, int id, int x, int y) {
    const BitmapInfo* b = find_bitmap(id);
    return cut(scene, x, y, b->width, b->height);
}

// A sprite painted in scene coordinates.
struct ScenePen {
    Surface s;
    cairo_t* cr;
    ScenePen(cairo_surface_t* scene, int id, int x, int y) : s(blank_at(scene, id, x, y)), cr(cairo_create(s.get())) {
        cairo_translate(cr, -x, -y);
    }
    ~ScenePen() { cairo_destroy(cr); }
    ScenePen(const ScenePen&) = delete;
    ScenePen& operator=(const ScenePen&) = delete;
};

void fill_radial(cairo_t* cr, double fx, double fy, double cx, double cy, double r, Rgb inner, Rgb outer) {
    cairo_pattern_t* g = cairo_pattern_create_radial(fx, fy, 0, cx, cy, r);
    add_stop(g, 0, inner);
    add_stop(g, 1, outer);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// ---------------------------------------------------------------- rodents

const Rgb FUR = rgb8(168, 114, 62), FUR_DARK = rgb8(104, 66, 34), FUR_LIGHT = rgb8(226, 192, 142);

void rodent_body_path(cairo_t* cr, double cx, double top, double bottom, double half) {
    cairo_new_path(cr);
    cairo_move_to(cr, cx - half * 0.8, top);
    cairo_curve_to(cr, cx - half * 1.1, top + (bottom - top) * 0.3, cx - half * 1.15, bottom - 2, cx - half * 1.1,
                   bottom + 40);
    cairo_line_to(cr, cx + half * 1.1, bottom + 40);
    cairo_curve_to(cr, cx + half * 1.15, bottom - 2, cx + half * 1.1, top + (bottom - top) * 0.3, cx + half * 0.8, top);
    cairo_close_path(cr);
}

// A rodent of head radius r: head centre (cx, hy), the body running down
// into the burrow b. Raised ones show their chest and paws.
void paint_rodent(cairo_t* cr, cairo_surface_t* scene, const Burrow& b, double cx, double hy, double r, bool raised) {
    const bool detail = r >= 9;
    // Body.
    rodent_body_path(cr, cx, hy, b.cy + b.ry, r * 0.95);
    fill_radial(cr, cx - r * 0.4, hy + r, cx, hy + r, r * 3.5, FUR, FUR_DARK);
    if (raised) {
        ellipse(cr, cx, hy + r * 2.1, r * 0.62, r * 1.1);
        set_colour(cr, FUR_LIGHT, 0.9);
        cairo_fill(cr);
    }
    // Darker as it goes down into the hole.
    rodent_body_path(cr, cx, hy, b.cy + b.ry, r * 0.95);
    fill_linear(cr, 0, b.cy - b.ry * 1.6, 0, b.cy + b.ry * 0.3,
                {{0, rgb8(16, 10, 7), 0.0}, {1, rgb8(16, 10, 7), 0.92}});
    if (raised && hy + r * 1.8 < b.cy - b.ry) {
        // Front paws held to the chest, claws showing on the big ones.
        for (int side = -1; side <= 1; side += 2) {
            const double px = cx + side * r * 0.42, py = hy + r * 1.55;
            ellipse(cr, px, py, r * 0.26, r * 0.2);
            set_colour(cr, rgb8(214, 160, 124));
            cairo_fill_preserve(cr);
            set_colour(cr, FUR_DARK, 0.8);
            cairo_set_line_width(cr, std::max(0.5, r * 0.06));
            cairo_stroke(cr);
            if (detail) {
                set_colour(cr, rgb8(250, 244, 230));
                cairo_set_line_width(cr, 0.7);
                for (int k = -1; k <= 1; ++k) {
                    cairo_move_to(cr, px + k * r * 0.1, py + r * 0.12);
                    cairo_line_to(cr, px + k * r * 0.12, py + r * 0.24);
                }
                cairo_stroke(cr);
            }
        }
    }

    // Ears, head, muzzle.
    for (int side = -1; side <= 1; side += 2) {
        ellipse(cr, cx + side * r * 0.72, hy - r * 0.66, r * 0.34, r * 0.32);
        set_colour(cr, FUR_DARK);
        cairo_fill(cr);
        ellipse(cr, cx + side * r * 0.72, hy - r * 0.62, r * 0.2, r * 0.18);
        set_colour(cr, rgb8(222, 150, 140));
        cairo_fill(cr);
    }
    ellipse(cr, cx, hy, r, r * 0.92);
    fill_radial(cr, cx - r * 0.35, hy - r * 0.45, cx, hy, r * 1.05, shade(FUR, 1.15), FUR_DARK);
    ellipse(cr, cx, hy + r * 0.42, r * 0.56, r * 0.38);
    set_colour(cr, FUR_LIGHT);
    cairo_fill(cr);
    // Eyes with a glint.
    for (int side = -1; side <= 1; side += 2) {
        const double ex = cx + side * r * 0.38, ey = hy - r * 0.12, er = std::max(0.9, r * 0.17);
        cairo_arc(cr, ex, ey, er, 0, 2 * M_PI);
        set_colour(cr, rgb8(12, 8, 6));
        cairo_fill(cr);
        if (r >= 5) {
            cairo_arc(cr, ex - er * 0.35, ey - er * 0.35, er * 0.38, 0, 2 * M_PI);
            set_colour(cr, rgb8(255, 255, 255), 0.9);
            cairo_fill(cr);
        }
    }
    // Nose, teeth, whiskers.
    ellipse(cr, cx, hy + r * 0.2, std::max(0.8, r * 0.16), std::max(0.6, r * 0.11));
    set_colour(cr, rgb8(110, 44, 44));
    cairo_fill(cr);
    if (r >= 4) {
        cairo_rectangle(cr, cx - r * 0.15, hy + r * 0.5, r * 0.3, r * 0.26);
        set_colour(cr, rgb8(252, 250, 236));
        cairo_fill(cr);
        if (detail) {
            cairo_move_to(cr, cx, hy + r * 0.5);
            cairo_line_to(cr, cx, hy + r * 0.76);
            set_colour(cr, rgb8(150, 130, 110));
            cairo_set_line_width(cr, 0.6);
            cairo_stroke(cr);
        }
    }
    if (r >= 7) {
        cairo_set_line_width(cr, detail ? 0.6 : 0.45);
        set_colour(cr, rgb8(40, 26, 16), 0.7);
        for (int side = -1; side <= 1; side += 2)
            for (int k = -1; k <= 1; ++k) {
                cairo_move_to(cr, cx + side * r * 0.3, hy + r * 0.35 + k * r * 0.08);
                cairo_line_to(cr, cx + side * r * 1.25, hy + r * 0.28 + k * r * 0.22);
            }
        cairo_stroke(cr);
    }
    if (detail) {
        // Fur strokes on the crown.
        cairo_set_line_width(cr, 0.7);
        set_colour(cr, FUR_DARK, 0.6);
        for (int k = -2; k <= 2; ++k) {
            cairo_move_to(cr, cx + k * r * 0.15, hy - r * 0.85);
            cairo_line_to(cr, cx + k * r * 0.2, hy - r * 0.6);
        }
        cairo_stroke(cr);
    }
    // Whatever is down in the opening sinks into its darkness.
    cairo_save(cr);
    ellipse(cr, b.cx, b.cy, b.rx, b.ry);
    cairo_clip(cr);
    cairo_pattern_t* deep = cairo_pattern_create_linear(0, b.cy - b.ry * 0.4, 0, b.cy + b.ry * 0.45);
    add_stop(deep, 0, rgb8(16, 10, 7), 0.0);
    add_stop(deep, 1, rgb8(16, 10, 7), 0.96);
    cairo_set_source(cr, deep);
    cairo_paint(cr);
    cairo_pattern_destroy(deep);
    cairo_restore(cr);
    // The front lip of the burrow stays in front.
    cairo_save(cr);
    clip_to_burrow_front(cr, b);
    cairo_set_source_surface(cr, scene, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
}

void paint_rodents(cairo_surface_t* scene, Pictures& out) {
    for (int h = 1; h <= 9; ++h) {
        const Burrow b = burrow(h);
        const double r = b.rx * 0.62;
        const ElementRow& re = ELEMENT_TABLE[raised(h)];
        const ElementRow& pe = ELEMENT_TABLE[peek(h)];
        {
            ScenePen p(scene, re.image, re.x, re.y);
            paint_rodent(p.cr, scene, b, b.cx, re.y + 2 + r, r, true);
            out[re.image] = std::move(p.s);
        }
        {
            ScenePen p(scene, pe.image, pe.x, pe.y);
            const double hy = std::max(pe.y + 2 + r, b.cy - r * 0.55);
            paint_rodent(p.cr, scene, b, b.cx, hy, r, false);
            out[pe.image] = std::move(p.s);
        }
    }
}

// ---------------------------------------------------------------- cow

const Rgb HIDE = rgb8(244, 242, 234), HIDE_SHADE = rgb8(176, 174, 170), PATCH = rgb8(28, 26, 28);
const Rgb OUTLINE = rgb8(70, 64, 60);

void patch_blob(cairo_t* cr, Rng& rng, double cx, double cy, double rx, double ry) {
    constexpr int n = 9;
    for (int i = 0; i <= n; ++i) {
        const double a = 2 * M_PI * (i % n) / n;
        const double k = i == n ? 1.0 : rng.range(0.75, 1.15);
        const double x = cx + std::cos(a) * rx * k, y = cy + std::sin(a) * ry * k;
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
    set_colour(cr, PATCH);
    cairo_fill(cr);
}

struct Spot {
    double cx, cy, rx, ry;
};

// The filled hide's outline, and its black patches kept inside it.
void outline_with_spots(cairo_t* cr, cairo_path_t* hide, Rng& rng, std::initializer_list<Spot> spots) {
    cairo_append_path(cr, hide);
    set_colour(cr, OUTLINE, 0.55);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_append_path(cr, hide);
    cairo_clip(cr);
    cairo_new_path(cr);
    for (const Spot& p : spots) patch_blob(cr, rng, p.cx, p.cy, p.rx, p.ry);
    cairo_restore(cr);
    cairo_path_destroy(hide);
}

void cow_leg(cairo_t* cr, double x, double top, double bottom, bool far) {
    cairo_move_to(cr, x - 3, top);
    cairo_line_to(cr, x + 3, top);
    cairo_line_to(cr, x + 2.4, bottom - 3);
    cairo_line_to(cr, x - 2.4, bottom - 3);
    cairo_close_path(cr);
    set_colour(cr, far ? shade(HIDE_SHADE, 0.85) : HIDE);
    cairo_fill_preserve(cr);
    set_colour(cr, rgb8(60, 56, 54), 0.6);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
    cairo_rectangle(cr, x - 2.6, bottom - 3.5, 5.2, 3.5);
    set_colour(cr, rgb8(50, 42, 36));
    cairo_fill(cr);
}

struct CowHead {
    double x, y;  // centre
    double turn;  // 0 profile to the left, 1 looking at the viewer
    bool mouth_open;
};

void paint_cow_head(cairo_t* cr, const CowHead& h) {
    const double t = h.turn;
    // Ears and horns behind the head.
    auto ear = [&](double ex, double ey, double dir) {
        cairo_save(cr);
        cairo_translate(cr, ex, ey);
        cairo_rotate(cr, dir);
        ellipse(cr, 0, 0, 5, 2.3);
        cairo_restore(cr);
        set_colour(cr, PATCH);
        cairo_fill(cr);
    };
    auto horn = [&](double x0, double y0, double dx) {
        cairo_move_to(cr, x0 - 1.3, y0);
        cairo_curve_to(cr, x0, y0 - 3, x0 + dx * 0.6, y0 - 5, x0 + dx, y0 - 5.5);
        cairo_curve_to(cr, x0 + dx * 0.5, y0 - 3, x0 + 1.5, y0 - 1, x0 + 1.3, y0);
        cairo_close_path(cr);
        set_colour(cr, rgb8(230, 220, 190));
        cairo_fill_preserve(cr);
        set_colour(cr, rgb8(120, 110, 90));
        cairo_set_line_width(cr, 0.5);
        cairo_stroke(cr);
    };
    ear(h.x + 8 + 3 * t, h.y - 5 + t, 0.3 - 0.5 * t);
    if (t > 0.2) ear(h.x + 8 - 19 * t, h.y - 5 + t, -0.3 + 0.5 * t + M_PI);
    horn(h.x + 5 - 1 * t, h.y - 8 - t, 2 + 1 * t);
    if (t > 0.3) horn(h.x + 5 - 11 * t, h.y - 8 - t, -2 - 1 * t);

    // The skull: long and tilted in profile, upright from the front.
    cairo_save(cr);
    cairo_translate(cr, h.x, h.y);
    cairo_rotate(cr, -0.45 * (1 - t));
    ellipse(cr, 0, 0, 11 - 3.5 * t, 7.5 + 3.5 * t);
    cairo_restore(cr);
    cairo_path_t* skull = cairo_copy_path(cr);
    fill_radial(cr, h.x - 3, h.y - 4, h.x, h.y, 13, HIDE, HIDE_SHADE);
    cairo_append_path(cr, skull);
    set_colour(cr, OUTLINE, 0.7);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    // A black patch over the back of the head and the far eye.
    cairo_save(cr);
    cairo_append_path(cr, skull);
    cairo_clip(cr);
    cairo_new_path(cr);
    ellipse(cr, h.x + 8 - 2 * t, h.y - 5, 7, 6);
    set_colour(cr, PATCH);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_path_destroy(skull);

    // Muzzle with nostrils; a mouth below.
    const double mx = h.x - 8.5 * (1 - t), my = h.y + 4 + 5 * t;
    ellipse(cr, mx, my, 5 + t, 3.8);
    fill_radial(cr, mx - 1, my - 1.5, mx, my, 6, rgb8(246, 196, 190), rgb8(214, 150, 146));
    ellipse(cr, mx, my, 5 + t, 3.8);
    set_colour(cr, rgb8(150, 90, 90), 0.7);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
    for (int k = 0; k < 2; ++k) {
        if (k == 1 && t < 0.3) break;
        const double nx = t < 0.3 ? mx - 2.5 : mx + (k ? 2.2 : -2.2) * t;
        ellipse(cr, nx, my - 0.6, 0.9, 0.7);
        set_colour(cr, rgb8(90, 40, 40));
        cairo_fill(cr);
    }
    if (h.mouth_open) {
        ellipse(cr, mx + 0.5, my + 4.2, 3.6, 2.4);
        set_colour(cr, rgb8(70, 20, 24));
        cairo_fill(cr);
        ellipse(cr, mx + 0.5, my + 5.0, 2.0, 1.1);
        set_colour(cr, rgb8(220, 110, 120));
        cairo_fill(cr);
    } else {
        cairo_move_to(cr, mx - 3, my + 3.6);
        cairo_curve_to(cr, mx - 1, my + 4.4, mx + 1, my + 4.4, mx + 3, my + 3.4);
        set_colour(cr, rgb8(120, 70, 70));
        cairo_set_line_width(cr, 0.7);
        cairo_stroke(cr);
    }
    // Eyes: one in profile, two from the front.
    auto eye = [&](double ex, double ey, double a) {
        ellipse(cr, ex, ey, 1.7, 1.5);
        set_colour(cr, rgb8(255, 255, 255), a);
        cairo_fill(cr);
        cairo_arc(cr, ex, ey + 0.1, 1.15, 0, 2 * M_PI);
        set_colour(cr, rgb8(20, 14, 12), a);
        cairo_fill(cr);
        cairo_arc(cr, ex - 0.4, ey - 0.4, 0.4, 0, 2 * M_PI);
        set_colour(cr, rgb8(255, 255, 255), a);
        cairo_fill(cr);
    };
    eye(h.x + 1 - 6 * t, h.y - 3, 1.0);
    if (t > 0.3) eye(h.x + 1 + 4 * t, h.y - 3, std::min(1.0, (t - 0.3) / 0.4));
}

void paint_cow_body(cairo_t* cr, const CowHead& head) {
    Rng rng(0xC0E);
    // Shadow on the grass.
    ellipse(cr, 57, 61.5, 38, 3.5);
    set_colour(cr, rgb8(20, 40, 10), 0.3);
    cairo_fill(cr);
    // Far legs, then the tail.
    cow_leg(cr, 36, 36, 62, true);
    cow_leg(cr, 82, 36, 62, true);
    cairo_move_to(cr, 88, 22);
    cairo_curve_to(cr, 93, 28, 93, 38, 92, 46);
    set_colour(cr, HIDE_SHADE);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    ellipse(cr, 92, 48, 1.8, 3.2);
    set_colour(cr, PATCH);
    cairo_fill(cr);
    // The neck reaches from the shoulders to the head.
    cairo_move_to(cr, 34, 17);
    cairo_curve_to(cr, 28, 16, head.x + 10, head.y - 8, head.x + 4, head.y - 6);
    cairo_line_to(cr, head.x + 2, head.y + 7);
    cairo_curve_to(cr, head.x + 12, head.y + 12, 26, 42, 34, 42);
    cairo_close_path(cr);
    set_colour(cr, HIDE);
    cairo_fill(cr);
    // Barrel.
    cairo_move_to(cr, 30, 20);
    cairo_curve_to(cr, 40, 13, 60, 16, 72, 14);
    cairo_curve_to(cr, 82, 12, 90, 16, 89, 26);
    cairo_curve_to(cr, 90, 36, 86, 44, 78, 44);
    cairo_curve_to(cr, 64, 47, 46, 46, 34, 43);
    cairo_curve_to(cr, 26, 40, 25, 26, 30, 20);
    cairo_close_path(cr);
    cairo_path_t* barrel = cairo_copy_path(cr);
    fill_linear(cr, 0, 14, 0, 46, {{0, HIDE}, {0.6, HIDE}, {1, HIDE_SHADE}});
    outline_with_spots(cr, barrel, rng, {{50, 22, 9, 7}, {74, 30, 8, 9}, {36, 36, 5, 4}, {62, 42, 5, 3}});
    // Udder, near legs.
    ellipse(cr, 70, 45, 5.5, 3.5);
    set_colour(cr, rgb8(240, 170, 170));
    cairo_fill(cr);
    cow_leg(cr, 30, 38, 63, false);
    cow_leg(cr, 76, 38, 63, false);
    paint_cow_head(cr, head);
}

void paint_cows(cairo_surface_t* scene, Pictures& out) {
    const ElementRow& c = ELEMENT_TABLE[cow];
    const struct {
        int id;
        CowHead head;
    } poses[] = {
        {7350, {15, 22, 0.0, false}}, {7450, {16, 23, 0.35, false}}, {7600, {17, 23, 0.7, false}},
        {7650, {18, 23, 1.0, false}}, {6000, {11, 30, 0.1, false}}, {9500, {11, 30, 0.1, true}},
    };
    for (const auto& pose : poses) {
        Surface s = blank_at(scene, pose.id, c.x, c.y);
        Pen cr(s.get());
        paint_cow_body(cr, pose.head);
        out[pose.id] = std::move(s);
    }

    // Lying on its side, legs stiff in the air.
    const ElementRow& f = ELEMENT_TABLE[cow_fallen];
    Surface s = blank_at(scene, 7550, f.x, f.y);
    Pen cr(s.get());
    Rng rng(0xFA11);
    ellipse(cr, 55, 45, 44, 3.5);
    set_colour(cr, rgb8(20, 40, 10), 0.3);
    cairo_fill(cr);
    const double legs[][4] = {{44, 26, 50, 6}, {52, 25, 60, 7}, {74, 24, 84, 5}, {82, 26, 93, 9}};
    for (const auto& l : legs) {
        cairo_move_to(cr, l[0], l[1]);
        cairo_line_to(cr, l[2], l[3]);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        set_colour(cr, OUTLINE);
        cairo_set_line_width(cr, 6.2);
        cairo_stroke_preserve(cr);
        set_colour(cr, HIDE);
        cairo_set_line_width(cr, 4.6);
        cairo_stroke(cr);
        const double dx = l[2] - l[0], dy = l[3] - l[1], len = std::hypot(dx, dy);
        cairo_move_to(cr, l[2] - dx / len, l[3] - dy / len);
        cairo_line_to(cr, l[2] + dx / len * 2.5, l[3] + dy / len * 2.5);
        set_colour(cr, rgb8(50, 42, 36));
        cairo_stroke(cr);
    }
    ellipse(cr, 64, 32, 34, 13);
    cairo_path_t* body = cairo_copy_path(cr);
    fill_radial(cr, 60, 26, 64, 32, 36, HIDE, HIDE_SHADE);
    outline_with_spots(cr, body, rng, {{56, 36, 9, 6}, {82, 28, 7, 8}, {42, 26, 5, 4}});
    ellipse(cr, 70, 21, 5, 3);
    set_colour(cr, rgb8(240, 170, 170));
    cairo_fill(cr);
    cairo_move_to(cr, 97, 34);
    cairo_curve_to(cr, 100, 38, 100, 42, 102, 43);
    set_colour(cr, HIDE_SHADE);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // The head flat on the grass, eyes crossed out, tongue out.
    cairo_save(cr);
    cairo_translate(cr, 20, 36);
    cairo_rotate(cr, 0.25);
    ellipse(cr, 0, 0, 12, 7);
    cairo_restore(cr);
    fill_radial(cr, 18, 33, 20, 36, 13, HIDE, HIDE_SHADE);
    ellipse(cr, 25, 29, 5, 2.2);
    set_colour(cr, PATCH);
    cairo_fill(cr);
    ellipse(cr, 10, 39, 5, 3.6);
    set_colour(cr, rgb8(236, 180, 176));
    cairo_fill(cr);
    ellipse(cr, 9, 44, 2, 1.4);
    set_colour(cr, rgb8(220, 100, 110));
    cairo_fill(cr);
    cairo_set_line_width(cr, 0.9);
    set_colour(cr, rgb8(20, 14, 12));
    cairo_move_to(cr, 17, 31);
    cairo_line_to(cr, 20.5, 34);
    cairo_move_to(cr, 20.5, 31);
    cairo_line_to(cr, 17, 34);
    cairo_stroke(cr);
    out[7550] = std::move(s);
}

// ---------------------------------------------------------------- lizards

// Distance along the lizard from its snout: head 0-11, body 14-34, tail to 62.
double lizard_half_width(double u) {
    if (u < 11) return 1.2 + 2.6 * std::sin(std::min(1.0, u / 8.0) * M_PI / 2);
    if (u < 14) return 3.8 - 0.6 * (u - 11) / 3;
    if (u < 34) return 3.2 + 1.4 * std::sin((u - 14) / 20 * M_PI);
    return std::max(0.35, 3.0 * (1 - (u - 34) / 28.5));
}

// A lizard seen from above on the trunk, snout at (cx, snout_y), running
// up the trunk (or down, head first). legs picks one of two strides.
void paint_lizard(cairo_t* cr, double cx, double snout_y, bool down, int legs) {
    const double dir = down ? -1.0 : 1.0;  // along the body, from the snout
    const double bend = legs == 0 ? 1.0 : -1.0;
    auto spine_x = [&](double u) { return cx + bend * 1.6 * std::sin(u / 62.0 * 2 * M_PI); };
    auto at_y = [&](double u) { return snout_y + dir * u; };

    // Legs: upper and lower limb, four toes.
    const Rgb skin = rgb8(104, 164, 62), skin_dark = rgb8(52, 98, 36), belly = rgb8(190, 206, 110);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (int pair = 0; pair < 2; ++pair) {
        const double u = pair == 0 ? 16.5 : 31.5;
        for (int side = -1; side <= 1; side += 2) {
            // Diagonal legs move together: the stride alternates.
            const bool forward = ((side > 0) == (pair == 0)) == (legs == 0);
            const double sx = spine_x(u) + side * 3.0, sy = at_y(u);
            const double kx = sx + side * 6.5, ky = sy + dir * (forward ? -3.5 : 3.5);
            const double fx = kx + side * 2.5, fy = ky + dir * (forward ? -5.0 : 5.0);
            cairo_move_to(cr, sx, sy);
            cairo_line_to(cr, kx, ky);
            cairo_line_to(cr, fx, fy);
            set_colour(cr, skin_dark);
            cairo_set_line_width(cr, 2.4);
            cairo_stroke_preserve(cr);
            set_colour(cr, skin);
            cairo_set_line_width(cr, 1.4);
            cairo_stroke(cr);
            for (int toe = -1; toe <= 2; ++toe) {
                const double a = std::atan2(fy - ky, fx - kx) + toe * 0.55 - 0.25;
                cairo_move_to(cr, fx, fy);
                cairo_line_to(cr, fx + std::cos(a) * 2.6, fy + std::sin(a) * 2.6);
            }
            set_colour(cr, skin_dark);
            cairo_set_line_width(cr, 0.8);
            cairo_stroke(cr);
        }
    }
    // The body outline, snout to tail tip.
    cairo_new_path(cr);
    for (double u = 0; u <= 62.0; u += 1.0) cairo_line_to(cr, spine_x(u) - lizard_half_width(u), at_y(u));
    for (double u = 62.0; u >= 0; u -= 1.0) cairo_line_to(cr, spine_x(u) + lizard_half_width(u), at_y(u));
    cairo_close_path(cr);
    cairo_path_t* outline = cairo_copy_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(cx - 5, 0, cx + 5, 0);
    add_stop(g, 0, skin_dark);
    add_stop(g, 0.4, skin);
    add_stop(g, 0.6, shade(skin, 1.12));
    add_stop(g, 1, skin_dark);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    set_colour(cr, rgb8(30, 56, 22), 0.8);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
    // Spots along the back, a pale stripe on each flank.
    cairo_save(cr);
    cairo_append_path(cr, outline);
    cairo_clip(cr);
    cairo_new_path(cr);
    for (double u = 13; u < 50; u += 4.0) {
        ellipse(cr, spine_x(u), at_y(u), 1.1, 1.4);
        set_colour(cr, skin_dark);
        cairo_fill(cr);
    }
    for (int side = -1; side <= 1; side += 2) {
        for (double u = 14; u <= 34; u += 1.0) {
            const double x = spine_x(u) + side * (lizard_half_width(u) - 0.9);
            if (u == 14)
                cairo_move_to(cr, x, at_y(u));
            else
                cairo_line_to(cr, x, at_y(u));
        }
        set_colour(cr, belly, 0.8);
        cairo_set_line_width(cr, 0.9);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    cairo_path_destroy(outline);
    // Eyes.
    for (int side = -1; side <= 1; side += 2) {
        cairo_arc(cr, spine_x(5) + side * 2.6, at_y(5), 1.0, 0, 2 * M_PI);
        set_colour(cr, rgb8(250, 220, 60));
        cairo_fill(cr);
        cairo_arc(cr, spine_x(5) + side * 2.7, at_y(5), 0.55, 0, 2 * M_PI);
        set_colour(cr, rgb8(10, 10, 10));
        cairo_fill(cr);
    }
}

void paint_lizards(cairo_surface_t* scene, Pictures& out) {
    // (image, x, y of its place, snout y, climbing down, stride, hidden in
    // the leaves above)
    const struct {
        int id, x, y;
        double snout;
        bool down;
        int legs;
        bool in_leaves;
    } frames[] = {
        {9400, 1230, 634, 669, false, 0, false},   // head out of the grass
        {10050, 1230, 614, 615, false, 0, false},  // climbing, first stride
        {10150, 1230, 550, 551, false, 1, false},  // climbing, second stride
        {10250, 1230, 370, 364, false, 0, true},   // rear body going into the leaves
        {10350, 1230, 370, 352, false, 1, true},   // the tail
        {10400, 1230, 370, 344, false, 0, true},   // the tail tip
        {10750, 1224, 380, 405, true, 0, true},    // head coming out of the leaves
        {10800, 1224, 400, 462, true, 0, false},   // climbing down, first stride
        {10850, 1224, 469, 531, true, 1, false},   // climbing down, second stride
        {11000, 1228, 672, 736, true, 1, false},   // the tail tip going into the grass
        {10900, 1230, 370, 440, true, 0, true},    // rear body out of the leaves
        {10950, 1230, 370, 410, true, 1, true},    // the tail out of the leaves
    };
    for (const auto& f : frames) {
        ScenePen p(scene, f.id, f.x, f.y);
        const BitmapInfo* b = find_bitmap(f.id);
        paint_lizard(p.cr, f.x + b->width / 2.0, f.snout, f.down, f.legs);
        if (f.in_leaves) paint_trunk_bough(p.cr);
        if (f.y + b->height > 680) paint_trunk_grass(p.cr);
        out[f.id] = std::move(p.s);
    }
}

// ---------------------------------------------------------------- spider

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

void paint_spiders(const SceneArt& art, Pictures& out) {
    cairo_surface_t* scene = art.scene.get();
    {
        const ElementRow& e = ELEMENT_TABLE[spider(0)];
        ScenePen p(scene, e.image, e.x, e.y);
        paint_spider(p.cr, WEB_CX, WEB_CY, 0, false);
        out[e.image] = std::move(p.s);
    }
    for (int i = 1; i <= 4; ++i) {
        const ElementRow& e = ELEMENT_TABLE[spider(i)];
        const BitmapInfo* b = find_bitmap(e.image);
        ScenePen p(scene, e.image, e.x, e.y);
        const double body_y = e.y + b->height - 12.0;
        // The thread from the web above.
        cairo_move_to(p.cr, WEB_CX + 0.5, e.y);
        cairo_line_to(p.cr, WEB_CX + 0.5, body_y - 7);
        set_colour(p.cr, rgb8(240, 244, 248), 0.8);
        cairo_set_line_width(p.cr, 0.7);
        cairo_stroke(p.cr);
        paint_spider(p.cr, WEB_CX + 0.5, body_y, i, true);
        out[e.image] = std::move(p.s);
    }
    // The web after its spider was shot: torn where it sat.
    Surface patch = make_surface(width_of(art.web_backdrop.get()), height_of(art.web_backdrop.get()));
    Pen cr(patch.get());
    cairo_set_source_surface(cr, art.web_backdrop.get(), 0, 0);
    cairo_paint(cr);
    cairo_translate(cr, -WEB_X, -WEB_Y);
    paint_web(cr, true);
    out[2850] = std::move(patch);
}

// ---------------------------------------------------------------- crows

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
        set_colour(cr, far ? shade(black, 1.25) : black);
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

void paint_crows(cairo_surface_t* scene, Pictures& out) {
    for (int k = 1; k <= 6; ++k) {
        const ElementRow& e = ELEMENT_TABLE[bird(k)];
        const BitmapInfo* b = find_bitmap(e.image);
        Surface s = blank_at(scene, e.image, e.x, e.y);
        Pen cr(s.get());
        paint_crow(cr, b->width, b->height, k % 2 == 1);
        out[e.image] = std::move(s);
    }
}

// ---------------------------------------------------------------- small things

void paint_cartridge(cairo_surface_t* scene, Pictures& out) {
    const ElementRow& e = ELEMENT_TABLE[cartridge(1)];
    Surface s = blank_at(scene, 850, e.x, e.y);
    Pen cr(s.get());
    // Brass case with its rim.
    cairo_pattern_t* brass = cairo_pattern_create_linear(2, 0, 12, 0);
    add_stop(brass, 0, rgb8(120, 86, 30));
    add_stop(brass, 0.3, rgb8(246, 214, 120));
    add_stop(brass, 0.6, rgb8(200, 156, 62));
    add_stop(brass, 1, rgb8(110, 78, 26));
    cairo_move_to(cr, 3, 17);
    cairo_line_to(cr, 11, 17);
    cairo_line_to(cr, 12, 21);
    cairo_line_to(cr, 12, 49);
    cairo_line_to(cr, 2, 49);
    cairo_line_to(cr, 2, 21);
    cairo_close_path(cr);
    cairo_set_source(cr, brass);
    cairo_fill(cr);
    cairo_rectangle(cr, 1.5, 49, 11, 3.5);
    cairo_set_source(cr, brass);
    cairo_fill(cr);
    cairo_pattern_destroy(brass);
    cairo_rectangle(cr, 1.5, 48.5, 11, 0.8);
    set_colour(cr, rgb8(90, 62, 20));
    cairo_fill(cr);
    // Copper bullet.
    cairo_pattern_t* copper = cairo_pattern_create_linear(3, 0, 11, 0);
    add_stop(copper, 0, rgb8(120, 56, 30));
    add_stop(copper, 0.35, rgb8(240, 160, 110));
    add_stop(copper, 1, rgb8(110, 50, 26));
    cairo_move_to(cr, 3, 17.5);
    cairo_line_to(cr, 3, 12);
    cairo_curve_to(cr, 3, 7, 5.5, 3.5, 7, 2.5);
    cairo_curve_to(cr, 8.5, 3.5, 11, 7, 11, 12);
    cairo_line_to(cr, 11, 17.5);
    cairo_close_path(cr);
    cairo_set_source(cr, copper);
    cairo_fill(cr);
    cairo_pattern_destroy(copper);
    out[850] = std::move(s);
}

// The splat is painted over the trunk where the lizards climb; its colour
// runs from fresh red to almost black.
void paint_splats(cairo_surface_t* scene, Pictures& out) {
    const int ids[] = {10650, 11450, 11500, 11550, 11600};
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

void paint_markers(cairo_surface_t* scene, Pictures& out) {
    {
        // Over the grass it usually sits on; the cursor point is (10, 11).
        Surface s = blank_at(scene, 9000, 300, 540);
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
        out[9000] = std::move(s);
    }
    {
        Surface s = make_surface(32, 32);
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
        out[9200] = std::move(s);
    }
}

}  // namespace

void paint_sprites(const SceneArt& art, Pictures& out) {
    cairo_surface_t* scene = art.scene.get();
    paint_rodents(scene, out);
    paint_cows(scene, out);
    paint_lizards(scene, out);
    paint_spiders(art, out);
    paint_crows(scene, out);
    paint_cartridge(scene, out);
    paint_splats(scene, out);
    paint_markers(scene, out);
}

}  // namespace painter
