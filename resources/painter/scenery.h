// The parts of the scene picture, each painted by its own file, and the
// geometry they share. scene.cpp paints them in the order they overlap.
#pragma once

#include <algorithm>

#include "game/model/layout.h"
#include "resources/painter/paint.h"

namespace painter {

inline constexpr int SCENE_W = FIELD_WIDTH, SCENE_H = FIELD_HEIGHT;
inline constexpr double HORIZON = 296.0;  // where the meadow meets the hills
inline constexpr int PANEL_TOP = 700;
inline constexpr Rgb CREAM = rgb8(244, 232, 196);  // the lettering on wood

// 0 at the horizon, 1 at the panel: how near a point of the meadow is.
inline double nearness(double y) { return std::clamp((y - HORIZON) / (PANEL_TOP - HORIZON), 0.0, 1.0); }

// sky.cpp
void paint_sky(cairo_t* cr);
void paint_clouds(cairo_t* cr);
void paint_hills(cairo_t* cr);
// The meadow's far edge, in front of the hills.
double near_ridge(double x);

// meadow.cpp
void paint_meadow(cairo_t* cr);
// Bushes in the near meadow, clear of every burrow, the cow and the tree.
void paint_bushes(cairo_t* cr);

// panel.cpp
void paint_title_strip(cairo_t* cr);
void paint_panel(cairo_t* cr);

// scene.cpp: the scene, 100, with every part above; the web backdrop.
void paint_scene(SceneArt& art, Pictures& out);
// buttons.cpp: both pictures of every button, painted on its place in the
// scene; the normal ones are then laid into the scene.
void paint_buttons(SceneArt& art, Pictures& out);

}  // namespace painter
