// The cow: standing with its head in six poses on one body, and lying on
// its side after it was shot.

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "game/model/bitmaps.h"
#include "game/model/elements.h"
#include "resources/painter/sprites.h"

namespace painter {

namespace {

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

}  // namespace

void paint_cows(SceneArt& art, Pictures& out) {
    cairo_surface_t* scene = art.scene;
    const ElementRow& c = ELEMENT_TABLE[cow];
    const struct {
        int id;
        CowHead head;
    } poses[] = {
        {bmp_cow_profile, {15, 22, 0.0, false}}, {bmp_cow_turning, {16, 23, 0.35, false}}, {bmp_cow_turned, {17, 23, 0.7, false}},
        {bmp_cow_facing, {18, 23, 1.0, false}}, {bmp_cow_mouth_closed, {11, 30, 0.1, false}}, {bmp_cow_mouth_open, {11, 30, 0.1, true}},
    };
    for (const auto& pose : poses) {
        Surface s = blank_at(scene, pose.id, c.x, c.y);
        Pen cr(s.get());
        paint_cow_body(cr, pose.head);
        out[pose.id] = std::move(s);
    }

    // Lying on its side, legs stiff in the air.
    const ElementRow& f = ELEMENT_TABLE[cow_fallen];
    Surface s = blank_at(scene, bmp_cow_fallen, f.x, f.y);
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
    out[bmp_cow_fallen] = std::move(s);
}

}  // namespace painter
