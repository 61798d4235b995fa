// The application icon for the desktop: a rodent peeking from its burrow,
// seen through the rifle's scope. It is drawn anew at every size rather
// than scaled: the small ones keep only what still reads at their size,
// with a bigger head, and put the reticle on whole pixels.

#include <algorithm>
#include <cmath>

#include "resources/painter/paint.h"
#include "resources/painter/rodent.h"

namespace painter {

namespace {

// What a size can show. Lengths are in icon units, 64 to the icon's side;
// the head's centre, where the reticle crosses, is at (32, 28), which falls
// on a pixel corner at every hicolor size.
// The head itself shows what its size in pixels allows (rodent.h).
struct Detail {
    double head;        // radius of the rodent's head
    double burrow;      // y of the burrow's opening
    double gap;         // from the head's centre to the reticle's posts
    bool shading;       // gradients, the heap, the glass darkening at its edge
    bool paws;          // on the burrow's rim
    bool far;           // a cloud and the far hill
    bool centre_lines;  // the reticle's thin lines between its posts
};

Detail detail_for(int size) {
    if (size <= 16) return {12.0, 40.0, 13.0, false, false, false, false};
    if (size <= 32) return {12.0, 47.0, 16.5, true, false, false, false};
    if (size <= 48) return {11.0, 45.5, 18.0, true, true, false, false};
    if (size <= 64) return {11.0, 45.5, 18.0, true, true, false, true};
    return {10.5, 44.5, 19.0, true, true, true, true};
}

constexpr double CX = 32, HY = 28;

const Rgb HOLE = rgb8(22, 14, 9), RETICLE = rgb8(16, 16, 20);

// A rectangle on whole pixels: x0, y0, x1, y1 in icon units, rounded.
void pixel_rect(cairo_t* cr, double u, double x0, double y0, double x1, double y1) {
    const double l = std::round(x0 * u), t = std::round(y0 * u), r = std::round(x1 * u), b = std::round(y1 * u);
    cairo_rectangle(cr, l, t, std::max(1.0, r - l), std::max(1.0, b - t));
}

void paint_view(cairo_t* cr, const Detail& d, double horizon) {
    // Sky, a far hill, the meadow.
    cairo_rectangle(cr, 0, 0, 64, horizon);
    if (d.shading)
        fill_linear(cr, 0, 0, 0, horizon, {{0, rgb8(84, 146, 214)}, {1, rgb8(186, 218, 238)}});
    else {
        set_colour(cr, rgb8(136, 190, 232));
        cairo_fill(cr);
    }
    if (d.far) {
        // A cloud, high on the left.
        const struct {
            double x, y, r;
        } puffs[] = {{12, 15, 5}, {18, 13, 6}, {24, 16, 4.5}};
        for (const auto& p : puffs) cairo_arc(cr, p.x, p.y, p.r, 0, 2 * M_PI);
        set_colour(cr, rgb8(250, 252, 255), 0.85);
        cairo_fill(cr);
        cairo_move_to(cr, 0, horizon + 1);
        cairo_curve_to(cr, 14, horizon - 7, 30, horizon - 6, 44, horizon - 2);
        cairo_curve_to(cr, 52, horizon - 5, 60, horizon - 4, 64, horizon - 1);
        cairo_line_to(cr, 64, horizon + 1);
        cairo_close_path(cr);
        set_colour(cr, rgb8(132, 166, 150));
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 0, horizon, 64, 64 - horizon);
    if (d.shading)
        fill_linear(cr, 0, horizon, 0, 64, {{0, rgb8(150, 190, 88)}, {1, rgb8(58, 124, 36)}});
    else {
        set_colour(cr, rgb8(92, 156, 52));
        cairo_fill(cr);
    }
}

void paint_burrow_and_rodent(cairo_t* cr, const Detail& d, double u, double hx, double hy, double by) {
    const double r = d.head;
    // The opening; wider and deeper where the head fills the icon, so that
    // its dark still shows on whole pixels beside and below the body.
    const double rx = r * (d.shading ? 1.2 : 1.45), ry = r * (d.shading ? 0.36 : 0.67);
    // The heap of dug earth; too close to the fur in colour to tell apart
    // at the smallest size, where the dark opening on the grass says enough.
    if (d.shading) {
        ellipse(cr, hx, by + ry * 0.8, rx * 1.6, ry * 2.6);
        fill_radial(cr, hx - rx * 0.4, by - ry, hx, by + ry, rx * 1.7, rgb8(176, 134, 86), rgb8(112, 80, 46));
    }
    ellipse(cr, hx, by, rx, ry);
    set_colour(cr, HOLE);
    cairo_fill(cr);

    // The body comes up out of the opening: above its middle line, or in it.
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, 64, by);
    ellipse(cr, hx, by, rx, ry);
    cairo_clip(cr);
    cairo_move_to(cr, hx - r * 0.8, hy);
    cairo_curve_to(cr, hx - r * 1.05, hy + r, hx - r * 1.0, by - r * 0.4, hx - r * 0.95, by + ry);
    cairo_line_to(cr, hx + r * 0.95, by + ry);
    cairo_curve_to(cr, hx + r * 1.0, by - r * 0.4, hx + r * 1.05, hy + r, hx + r * 0.8, hy);
    cairo_close_path(cr);
    if (d.shading)
        fill_radial(cr, hx - r * 0.4, hy + r, hx, hy + r, r * 2.6, FUR, FUR_DARK);
    else {
        set_colour(cr, FUR);
        cairo_fill(cr);
    }
    if (d.shading) {
        // Chest, and the dark of the hole over the lowest fur.
        ellipse(cr, hx, hy + r * 1.55, r * 0.55, r * 0.75);
        set_colour(cr, FUR_LIGHT, 0.9);
        cairo_fill(cr);
        cairo_rectangle(cr, 0, by - ry * 2.5, 64, ry * 3.5);
        set_linear(cr, 0, by - ry * 2.5, 0, by + ry, {{0, HOLE, 0.0}, {1, HOLE, 0.9}});
        cairo_fill(cr);
    } else {
        // Down in the opening the fur is lost in the dark.
        cairo_rectangle(cr, 0, by, 64, ry);
        set_colour(cr, HOLE);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    if (d.paws)
        for (int side = -1; side <= 1; side += 2) {
            ellipse(cr, hx + side * r * 0.5, by - ry * 0.2, r * 0.3, r * 0.2);
            set_colour(cr, rgb8(214, 160, 124));
            cairo_fill_preserve(cr);
            set_colour(cr, FUR_DARK);
            cairo_set_line_width(cr, 0.5);
            cairo_stroke(cr);
        }
    if (d.shading) {
        // The lit front lip of the burrow.
        cairo_save(cr);
        cairo_translate(cr, hx, by);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1.0, 0.1 * M_PI, 0.9 * M_PI);
        cairo_restore(cr);
        set_colour(cr, rgb8(196, 156, 104));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }

    // Bigger ears and square eyes where the head has a few pixels only.
    const bool tiny = r * u < 4;
    paint_rodent_head(cr, hx, hy, r, {u, tiny ? 1.35 : 1.0, tiny});
}

// The reticle: four thick posts from the rim towards the head, and, where
// there is room, thin lines across with a gap round the centre.
// The scope's ring clips them.
void paint_reticle(cairo_t* cr, const Detail& d, double u, double cx, double cy) {
    const double gap = d.gap;
    const double post = std::max(2.0, 2 * std::round(1.1 * u)) / u;  // even, so it sits on the centre line
    cairo_save(cr);
    cairo_identity_matrix(cr);
    pixel_rect(cr, u, 0, cy - post / 2, cx - gap, cy + post / 2);
    pixel_rect(cr, u, cx + gap, cy - post / 2, 64, cy + post / 2);
    pixel_rect(cr, u, cx - post / 2, 0, cx + post / 2, cy - gap);
    pixel_rect(cr, u, cx - post / 2, cy + gap, cx + post / 2, 64);
    set_colour(cr, RETICLE);
    cairo_fill(cr);
    if (d.centre_lines) {
        const double thin = std::max(1.0, std::round(0.3 * u));
        const double hole = 2.2;  // the open centre, in units
        const double across_x = std::round(cx * u - thin / 2), across_y = std::round(cy * u - thin / 2);
        for (int side = -1; side <= 1; side += 2) {
            const double x0 = std::round(std::min(cx + side * gap, cx + side * hole) * u);
            const double x1 = std::round(std::max(cx + side * gap, cx + side * hole) * u);
            const double y0 = std::round(std::min(cy + side * gap, cy + side * hole) * u);
            const double y1 = std::round(std::max(cy + side * gap, cy + side * hole) * u);
            cairo_rectangle(cr, x0, across_y, x1 - x0, thin);
            cairo_rectangle(cr, across_x, y0, thin, y1 - y0);
        }
        set_colour(cr, RETICLE, 0.85);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

}  // namespace

Surface paint_app_icon(int size) {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size));
    Pen cr(s.get());
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);

    const Detail d = detail_for(size);
    const double u = size / 64.0;
    cairo_scale(cr, u, u);
    const double cx = 32, cy = 32;                  // the scope's centre
    const double outer = 32 - 0.5 / u;             // half a pixel in from the edge
    const double ring = std::max(1.0 / u, 2.6);    // at least a whole pixel
    const double rim = outer - ring;

    // The scope's ring.
    cairo_arc(cr, cx, cy, outer, 0, 2 * M_PI);
    if (d.shading)
        fill_linear(cr, 0, 0, 64, 64, {{0, rgb8(96, 98, 106)}, {0.5, rgb8(36, 36, 40)}, {1, rgb8(12, 12, 14)}});
    else {
        set_colour(cr, rgb8(30, 30, 34));
        cairo_fill(cr);
    }
    // The view through it.
    cairo_save(cr);
    cairo_arc(cr, cx, cy, rim, 0, 2 * M_PI);
    cairo_clip(cr);
    paint_view(cr, d, HY + d.head * 0.1);
    paint_burrow_and_rodent(cr, d, u, CX, HY, d.burrow);
    if (d.shading) {
        // The glass darkens towards its edge.
        cairo_arc(cr, cx, cy, rim, 0, 2 * M_PI);
        set_radial(cr, cx, cy, rim * 0.7, cx, cy, rim, {{0, HOLE, 0.0}, {1, HOLE, 0.45}});
        cairo_fill(cr);
    }
    paint_reticle(cr, d, u, CX, HY);
    cairo_restore(cr);
    return s;
}

}  // namespace painter
