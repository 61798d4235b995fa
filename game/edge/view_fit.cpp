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

Backing backing_store(const View& v, double device_pixel_ratio) {
    const double ratio = device_pixel_ratio > 0 ? device_pixel_ratio : 1.0;
    return {std::max(1, static_cast<int>(std::lround(v.width * ratio))),
            std::max(1, static_cast<int>(std::lround(v.height * ratio)))};
}

int picture_scale(const View& v, double device_pixel_ratio) {
    return v.width / FIELD_WIDTH * device_pixel_ratio > 1.0 ? 2 : 1;
}

double largest_fitting_scale(int w, int h) {
    const double fits = std::min(w / double(FIELD_WIDTH), h / double(FIELD_HEIGHT));
    return std::clamp(std::floor(fits * 100.0 + 1e-9) / 100.0, MIN_SCALE, MAX_SCALE);
}

double automatic_scale(int w, int h) {
    const double fits = std::min(w / double(FIELD_WIDTH), h / double(FIELD_HEIGHT));
    const double roomy = std::max(1.0, std::floor(fits * 0.8 * 4.0) / 4.0);
    if (roomy <= fits) return roomy;
    return std::max(MIN_SCALE, std::floor(fits * 20.0 + 1e-9) / 20.0);
}

double zoom_step(double scale, int direction, double largest) {
    // A quarter step from wherever the scale stands: 0.9 goes up to 1 and
    // down to 0.75.
    const double quarters = scale * 4.0;
    const double next = (direction > 0 ? std::floor(quarters + 1e-9) + 1 : std::ceil(quarters - 1e-9) - 1) / 4.0;
    const double most = std::min(largest, MAX_SCALE);
    if (next < MIN_SCALE) return scale;
    // The last step up stops where the window still fits.
    if (next > most + 1e-9) return scale < most ? most : scale;
    return next;
}

// The small allowance keeps a product that is whole in decimals (786 x 0.9)
// from landing a hair below it in binary; both sides take the same one, so
// they keep agreeing.
static constexpr double WHOLE = 1e-9;

int device_edge(int v, double scale) { return static_cast<int>(std::ceil(v * scale - 0.5 - WHOLE)); }

int field_pixel(int p, double scale) { return static_cast<int>(std::floor((p + 0.5 + WHOLE) / scale)); }

int device_length(int length, double scale) { return static_cast<int>(std::ceil(length * scale - WHOLE)); }
