// The big tree, which the scene and the lizard pictures share; its leaf
// clusters make the bushes too.
#pragma once

#include "resources/painter/paint.h"

namespace painter {

void paint_trunk(cairo_t* cr);
void paint_branches(cairo_t* cr);
// The crown, with a gap in the leaves where the web hangs.
void paint_crown(cairo_t* cr);
// The leafy bough where the lizards come out of the crown; painted over a
// lizard frame it hides the part of the lizard that is still in the leaves.
void paint_trunk_bough(cairo_t* cr);
// The grass at the foot of the trunk, in front of a lizard going into it.
void paint_trunk_grass(cairo_t* cr);

// A round cluster of leaves, lit from the top left; light scales its colours.
struct Cluster {
    double x, y, r;
};
void paint_cluster(cairo_t* cr, const Cluster& c, Rng& rng, double light);

}  // namespace painter
