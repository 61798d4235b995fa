// The rodents of the nine burrows, peeking and raised. Each sinks into the
// dark of its opening, and the burrow's front lip stays in front of it.

#include <algorithm>
#include <cmath>

#include "game/model/elements.h"
#include "resources/painter/burrow.h"
#include "resources/painter/rodent.h"
#include "resources/painter/sprites.h"

namespace painter {

namespace {

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
// into the burrow b. Raised ones show their chest and paws. What it shows,
// and its thinnest lines, go by pixels: a @2x twin shows more, more finely.
void paint_rodent(cairo_t* cr, cairo_surface_t* scene, const Burrow& b, double cx, double hy, double r, bool raised) {
    const double scale = scale_of(cr);  // pixels to the unit
    const bool detail = r * scale >= 9;
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
            cairo_set_line_width(cr, std::max(0.5 / scale, r * 0.06));
            cairo_stroke(cr);
            if (detail) {
                set_colour(cr, rgb8(250, 244, 230));
                cairo_set_line_width(cr, 0.7 / scale);
                for (int k = -1; k <= 1; ++k) {
                    cairo_move_to(cr, px + k * r * 0.1, py + r * 0.12);
                    cairo_line_to(cr, px + k * r * 0.12, py + r * 0.24);
                }
                cairo_stroke(cr);
            }
        }
    }

    paint_rodent_head(cr, cx, hy, r, {scale});
    // Whatever is down in the opening sinks into its darkness.
    cairo_save(cr);
    ellipse(cr, b.cx, b.cy, b.rx, b.ry);
    cairo_clip(cr);
    set_linear(cr, 0, b.cy - b.ry * 0.4, 0, b.cy + b.ry * 0.45, {{0, rgb8(16, 10, 7), 0.0}, {1, rgb8(16, 10, 7), 0.96}});
    cairo_paint(cr);
    cairo_restore(cr);
    // The front lip of the burrow stays in front.
    cairo_save(cr);
    clip_to_burrow_front(cr, b);
    cairo_set_source_surface(cr, scene, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
}

}  // namespace

void paint_rodent_head(cairo_t* cr, double cx, double hy, double r, const HeadStyle& style) {
    const double px = style.px, rp = r * px;  // the radius in pixels
    const bool detail = rp >= 9;
    // Ears, head, muzzle.
    for (int side = -1; side <= 1; side += 2) {
        ellipse(cr, cx + side * r * 0.72, hy - r * 0.66, r * 0.34 * style.ears, r * 0.32 * style.ears);
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
        const double ex = cx + side * r * 0.38, ey = hy - r * 0.12, er = std::max(0.9 / px, r * 0.17);
        set_colour(cr, rgb8(12, 8, 6));
        if (style.pixel_eyes) {
            // The left one on whole pixels, the right one its mirror image.
            double x = cx - r * 0.38, y = ey, mid = cx, unused = hy;
            cairo_user_to_device(cr, &x, &y);
            cairo_user_to_device(cr, &mid, &unused);
            const double side_px = std::max(1.0, std::round(2 * er * px * 0.6));
            const double left = std::floor(x - side_px / 2);
            cairo_save(cr);
            cairo_identity_matrix(cr);
            cairo_rectangle(cr, side < 0 ? left : 2 * mid - left - side_px, std::round(y - side_px / 2), side_px, side_px);
            cairo_restore(cr);
            cairo_fill(cr);
            continue;
        }
        cairo_arc(cr, ex, ey, er, 0, 2 * M_PI);
        cairo_fill(cr);
        if (rp >= 5) {
            cairo_arc(cr, ex - er * 0.35, ey - er * 0.35, er * 0.38, 0, 2 * M_PI);
            set_colour(cr, rgb8(255, 255, 255), 0.9);
            cairo_fill(cr);
        }
    }
    // Nose, teeth, whiskers.
    ellipse(cr, cx, hy + r * 0.2, std::max(0.8 / px, r * 0.16), std::max(0.6 / px, r * 0.11));
    set_colour(cr, rgb8(110, 44, 44));
    cairo_fill(cr);
    if (rp >= 4) {
        cairo_rectangle(cr, cx - r * 0.15, hy + r * 0.5, r * 0.3, r * 0.26);
        set_colour(cr, rgb8(252, 250, 236));
        cairo_fill(cr);
        if (detail) {
            cairo_move_to(cr, cx, hy + r * 0.5);
            cairo_line_to(cr, cx, hy + r * 0.76);
            set_colour(cr, rgb8(150, 130, 110));
            cairo_set_line_width(cr, 0.6 / px);
            cairo_stroke(cr);
        }
    }
    if (rp >= 7) {
        cairo_set_line_width(cr, (detail ? 0.6 : 0.45) / px);
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
        cairo_set_line_width(cr, 0.7 / px);
        set_colour(cr, FUR_DARK, 0.6);
        for (int k = -2; k <= 2; ++k) {
            cairo_move_to(cr, cx + k * r * 0.15, hy - r * 0.85);
            cairo_line_to(cr, cx + k * r * 0.2, hy - r * 0.6);
        }
        cairo_stroke(cr);
    }
}

void paint_rodents(SceneArt& art, Pictures& out) {
    cairo_surface_t* scene = art.scene;
    for (int h = 1; h <= 9; ++h) {
        const Burrow b = burrow(h);
        const double r = b.rx * 0.62;
        const ElementRow& re = ELEMENT_TABLE[raised(h)];
        const ElementRow& pe = ELEMENT_TABLE[peek(h)];
        {
            Surface s = blank_at(scene, re.image, re.x, re.y);
            Pen cr(s.get(), re.x, re.y);
            paint_rodent(cr, scene, b, b.cx, re.y + 2 + r, r, true);
            out[re.image] = std::move(s);
        }
        {
            Surface s = blank_at(scene, pe.image, pe.x, pe.y);
            Pen cr(s.get(), pe.x, pe.y);
            const double hy = std::max(pe.y + 2 + r, b.cy - r * 0.55);
            paint_rodent(cr, scene, b, b.cx, hy, r, false);
            out[pe.image] = std::move(s);
        }
    }
}

}  // namespace painter
