// The cross-hair cursor, icon 32: a ring touching the four edges of its
// 32 x 32 grid and two bars two units wide through the middle. The icon
// file (formats.cpp) samples the drawing at its pixels' centres; the @2x
// twin takes the share of each pixel it covers, so the ring's edge is smooth.

#include <cmath>
#include <cstdint>
#include <cstring>

#include "resources/painter/paint.h"

namespace painter {

bool crosshair_black(double x, double y) {
    const double dx = x - 16.0, dy = y - 16.0;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d >= 14.0 && d <= 16.2) return true;
    return d < 16.0 && (std::abs(dx) < 1.0 || std::abs(dy) < 1.0);
}

Surface paint_crosshair_2x() {
    constexpr int size = 64, samples = 8;  // samples a pixel, each way
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size));
    cairo_surface_flush(s.get());
    unsigned char* data = cairo_image_surface_get_data(s.get());
    const int stride = cairo_image_surface_get_stride(s.get());
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int covered = 0;
            for (int j = 0; j < samples; ++j)
                for (int i = 0; i < samples; ++i)
                    covered += crosshair_black((x + (i + 0.5) / samples) / 2, (y + (j + 0.5) / samples) / 2);
            // Black, so premultiplied it is alpha alone.
            const std::uint32_t alpha = static_cast<std::uint32_t>(std::lround(255.0 * covered / (samples * samples)));
            const std::uint32_t argb = alpha << 24;
            std::memcpy(data + y * stride + 4 * x, &argb, 4);
        }
    cairo_surface_mark_dirty(s.get());
    return s;
}

}  // namespace painter
