// The rodent's colours and head, which the rodent pictures and the desktop
// icon share.
#pragma once

#include "resources/painter/paint.h"

namespace painter {

inline constexpr Rgb FUR = rgb8(168, 114, 62), FUR_DARK = rgb8(104, 66, 34), FUR_LIGHT = rgb8(226, 192, 142);

struct HeadStyle {
    double px = 1.0;          // pixels to the unit of the drawing
    double ears = 1.0;        // their size, as a multiple
    bool pixel_eyes = false;  // square eyes on whole pixels, for the smallest icons
};
// Ears, head, muzzle, eyes, nose; teeth, whiskers and fur strokes where the
// head is big enough to show them: what it shows, and its thinnest lines,
// go by pixels. Centre (cx, hy), radius r.
void paint_rodent_head(cairo_t* cr, double cx, double hy, double r, const HeadStyle& style = {});

}  // namespace painter
