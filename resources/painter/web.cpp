// The web in the crown, strung in the scene and torn in the picture of the
// web without its spider.

#include <cmath>

#include "resources/painter/web.h"

namespace painter {

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

}  // namespace painter
