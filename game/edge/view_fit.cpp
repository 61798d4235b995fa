#include "game/edge/view_fit.h"

#include <algorithm>
#include <cmath>

View fit_view(double window_width, double window_height) {
    const double scale = std::max(0.0, std::min(window_width / FIELD_WIDTH, window_height / FIELD_HEIGHT));
    View v;
    v.width = FIELD_WIDTH * scale;
    v.height = FIELD_HEIGHT * scale;
    v.left = (window_width - v.width) / 2;
    v.top = (window_height - v.height) / 2;
    return v;
}

bool view_to_game(const View& v, double page_x, double page_y, int& gx, int& gy) {
    if (v.width <= 0 || v.height <= 0) return false;
    const double fx = (page_x - v.left) * FIELD_WIDTH / v.width;
    const double fy = (page_y - v.top) * FIELD_HEIGHT / v.height;
    if (fx < 0 || fy < 0 || fx >= FIELD_WIDTH || fy >= FIELD_HEIGHT) return false;
    gx = static_cast<int>(std::floor(fx));
    gy = static_cast<int>(std::floor(fy));
    return true;
}
