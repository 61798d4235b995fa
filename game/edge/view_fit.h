// Where the 1280 x 786 field sits in the browser window, and the way back
// from a point in the page to a point of the game. Free of any browser
// header so the native tests can check it.
#pragma once

#include "game/model/layout.h"

// The canvas on the page, in CSS pixels of the window.
struct View {
    double left = 0, top = 0, width = FIELD_WIDTH, height = FIELD_HEIGHT;
};

// The largest box of the field's proportions that fits the window, centred
// in it; bigger or smaller than the field alike.
View fit_view(double window_width, double window_height);

// A page point to the game pixel under it. False when the point lies off
// the canvas; gx and gy are then left as they were.
bool view_to_game(const View& v, double page_x, double page_y, int& gx, int& gy);
