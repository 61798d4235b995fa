// The lizard on the trunk: climbing up, climbing down, going into the
// leaves above and the grass below.

#include <algorithm>
#include <cmath>

#include "game/model/bitmaps.h"
#include "game/model/elements.h"
#include "resources/painter/sprites.h"
#include "resources/painter/tree.h"

namespace painter {

namespace {

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
    set_linear(cr, cx - 5, 0, cx + 5, 0, {{0, skin_dark}, {0.4, skin}, {0.6, shade(skin, 1.12)}, {1, skin_dark}});
    cairo_fill_preserve(cr);
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

}  // namespace

void paint_lizards(SceneArt& art, Pictures& out) {
    cairo_surface_t* scene = art.scene;
    // (image, the element whose place it is cut at, snout y, climbing down,
    // stride, hidden in the leaves above). The two frames the game never
    // loads are cut where the climb goes into the leaves.
    const struct {
        int id;
        Element place;
        double snout;
        bool down;
        int legs;
        bool in_leaves;
    } frames[] = {
        {bmp_lizard_head_bottom, climber(0), 669, false, 0, false},  // head out of the grass
        {bmp_lizard_up_a, climber(1), 615, false, 0, false},         // climbing, first stride
        {bmp_lizard_up_b, climber(2), 551, false, 1, false},         // climbing, second stride
        {bmp_lizard_leaving_body, climber(5), 364, false, 0, true},  // rear body going into the leaves
        {bmp_lizard_leaving_tail, climber(6), 352, false, 1, true},  // the tail
        {bmp_lizard_leaving_tip, climber(7), 344, false, 0, true},   // the tail tip
        {bmp_lizard_head_top, descender(0), 405, true, 0, true},     // head coming out of the leaves
        {bmp_lizard_down_a, descender(1), 462, true, 0, false},      // climbing down, first stride
        {bmp_lizard_down_b, descender(2), 531, true, 1, false},      // climbing down, second stride
        {bmp_lizard_tail_tip, descender(5), 736, true, 1, false},    // the tail tip going into the grass
        {bmp_lizard_down_body, climber(5), 440, true, 0, true},      // rear body out of the leaves
        {bmp_lizard_down_tail, climber(5), 410, true, 1, true},      // the tail out of the leaves
    };
    for (const auto& f : frames) {
        const int x = ELEMENT_TABLE[f.place].x, y = ELEMENT_TABLE[f.place].y;
        Surface s = blank_at(scene, f.id, x, y);
        Pen cr(s.get(), x, y);
        const BitmapInfo* b = find_bitmap(f.id);
        paint_lizard(cr, x + b->width / 2.0, f.snout, f.down, f.legs);
        if (f.in_leaves) paint_trunk_bough(cr);
        if (y + b->height > 680) paint_trunk_grass(cr);
        out[f.id] = std::move(s);
    }
}

}  // namespace painter
