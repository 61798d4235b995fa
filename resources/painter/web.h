// The web in the crown, which the scene and the spider pictures share.
#pragma once

#include "resources/painter/paint.h"

namespace painter {

inline constexpr double WEB_CX = 1130.0;
inline constexpr double WEB_CY = 153.0;
inline constexpr int WEB_X = 1097;  // the web patch's place
inline constexpr int WEB_Y = 131;

// The web, in scene coordinates; torn opens the hole the shot spider leaves.
void paint_web(cairo_t* cr, bool torn);

}  // namespace painter
