// The burrows, which the scene and the rodent pictures share.
#pragma once

#include "resources/painter/paint.h"

namespace painter {

struct Burrow {
    double cx, cy;  // centre of the dark opening
    double rx, ry;  // its half axes
};
// Where the burrow of hole 1 to 9 lies: from the places of its two rodents.
Burrow burrow(int hole);
// The front lip of a burrow hides what is below the opening's middle line
// and outside it: clip to that region.
void clip_to_burrow_front(cairo_t* cr, const Burrow& b);
// The nine burrows into the scene: the heaps of dug earth, the openings and
// their lips, far ones first so that nearer heaps overlap them.
void paint_burrows(cairo_t* cr);

}  // namespace painter
