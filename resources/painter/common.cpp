#include <cmath>
#include <cstring>

#include "game/model/bitmaps.h"
#include "resources/painter/paint.h"

namespace painter {

// ---------------------------------------------------------------- surfaces

Surface make_surface(int width, int height, int scale) {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width * scale, height * scale));
    // cairo leaves new memory zeroed; clear explicitly so the padding bytes
    // are known too.
    cairo_surface_flush(s.get());
    std::memset(cairo_image_surface_get_data(s.get()), 0,
                static_cast<std::size_t>(cairo_image_surface_get_stride(s.get())) *
                    static_cast<std::size_t>(height_of(s.get())));
    cairo_surface_mark_dirty(s.get());
    if (scale != 1) cairo_surface_set_device_scale(s.get(), scale, scale);
    return s;
}

int width_of(cairo_surface_t* s) { return cairo_image_surface_get_width(s); }
int height_of(cairo_surface_t* s) { return cairo_image_surface_get_height(s); }

int scale_of(cairo_surface_t* s) {
    double x = 1, y = 1;
    cairo_surface_get_device_scale(s, &x, &y);
    return static_cast<int>(x);
}

std::uint32_t pixel(cairo_surface_t* s, int x, int y) {
    cairo_surface_flush(s);
    const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    std::uint32_t v;
    std::memcpy(&v, row + 4 * x, 4);
    return v & 0xFFFFFFu;
}

void set_pixel(cairo_surface_t* s, int x, int y, std::uint32_t rgb) {
    cairo_surface_flush(s);
    unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    std::uint32_t v = rgb | 0xFF000000u;
    std::memcpy(row + 4 * x, &v, 4);
    cairo_surface_mark_dirty(s);
}

Surface cut(cairo_surface_t* scene, int x, int y, int w, int h) {
    Surface s = make_surface(w, h, scale_of(scene));
    Pen cr(s.get());
    cairo_set_source_surface(cr, scene, -x, -y);
    cairo_paint(cr);
    return s;
}

Surface copy_of(cairo_surface_t* picture) {
    const int scale = scale_of(picture);
    return cut(picture, 0, 0, width_of(picture) / scale, height_of(picture) / scale);
}

Surface blank_at(cairo_surface_t* scene, int id, int x, int y) {
    const BitmapInfo* b = find_bitmap(id);
    return cut(scene, x, y, b->width, b->height);
}

// ---------------------------------------------------------------- colours

Rgb mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

Rgb shade(Rgb c, double f) {
    if (f <= 1.0) return {c.r * f, c.g * f, c.b * f};
    const double t = f - 1.0;
    return mix(c, {1, 1, 1}, t);
}

void set_colour(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void add_stop(cairo_pattern_t* p, double offset, Rgb c, double alpha) {
    cairo_pattern_add_color_stop_rgba(p, offset, c.r, c.g, c.b, alpha);
}

namespace {

// The context keeps its own reference to the source.
void set_gradient(cairo_t* cr, cairo_pattern_t* g, std::initializer_list<Stop> stops) {
    for (const Stop& stop : stops) add_stop(g, stop.offset, stop.colour, stop.alpha);
    cairo_set_source(cr, g);
    cairo_pattern_destroy(g);
}

}  // namespace

void set_linear(cairo_t* cr, double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops) {
    set_gradient(cr, cairo_pattern_create_linear(x0, y0, x1, y1), stops);
}

void set_radial(cairo_t* cr, double fx, double fy, double fr, double cx, double cy, double r,
                std::initializer_list<Stop> stops) {
    set_gradient(cr, cairo_pattern_create_radial(fx, fy, fr, cx, cy, r), stops);
}

void fill_linear(cairo_t* cr, double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops) {
    set_linear(cr, x0, y0, x1, y1, stops);
    cairo_fill(cr);
}

void fill_radial(cairo_t* cr, double fx, double fy, double cx, double cy, double r, Rgb inner, Rgb outer) {
    set_radial(cr, fx, fy, 0, cx, cy, r, {{0, inner}, {1, outer}});
    cairo_fill(cr);
}

// ---------------------------------------------------------------- random

Rng::Rng(std::uint64_t seed, int part) : state_(seed ^ (0xD1B54A32D192ED03ull * (static_cast<std::uint64_t>(part) + 1))) {
    state_ = next();
}

std::uint64_t Rng::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

double Rng::range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

double Rng::gauss() {
    // Irwin-Hall: sum of twelve uniforms, close enough for texture and noise.
    double s = 0;
    for (int i = 0; i < 12; ++i) s += uniform();
    return s - 6.0;
}

// ---------------------------------------------------------------- shapes

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// ---------------------------------------------------------------- letters

namespace {

// Each glyph: polylines separated by -1; coordinates are pairs on a grid
// 4 wide and 6 high, y downwards.
struct Glyph {
    char c;
    std::vector<double> pts;
};

const std::vector<Glyph>& glyphs() {
    static const std::vector<Glyph> g = {
        {'A', {0, 6, 2, 0, 4, 6, -1, 0.7, 4, 3.3, 4}},
        {'B', {0, 6, 0, 0, 3, 0, 4, 1, 4, 2, 3, 3, 0, 3, -1, 3, 3, 4, 4, 4, 5, 3, 6, 0, 6}},
        {'C', {4, 1, 3, 0, 1, 0, 0, 1, 0, 5, 1, 6, 3, 6, 4, 5}},
        {'D', {0, 0, 0, 6, 3, 6, 4, 5, 4, 1, 3, 0, 0, 0}},
        {'E', {4, 0, 0, 0, 0, 6, 4, 6, -1, 0, 3, 3, 3}},
        {'F', {4, 0, 0, 0, 0, 6, -1, 0, 3, 3, 3}},
        {'G', {4, 1, 3, 0, 1, 0, 0, 1, 0, 5, 1, 6, 3, 6, 4, 5, 4, 3, 2, 3}},
        {'H', {0, 0, 0, 6, -1, 4, 0, 4, 6, -1, 0, 3, 4, 3}},
        {'I', {2, 0, 2, 6, -1, 1, 0, 3, 0, -1, 1, 6, 3, 6}},
        {'K', {0, 0, 0, 6, -1, 4, 0, 0, 4, -1, 1.4, 2.9, 4, 6}},
        {'L', {0, 0, 0, 6, 4, 6}},
        {'M', {0, 6, 0, 0, 2, 3, 4, 0, 4, 6}},
        {'N', {0, 6, 0, 0, 4, 6, 4, 0}},
        {'O', {1, 0, 3, 0, 4, 1, 4, 5, 3, 6, 1, 6, 0, 5, 0, 1, 1, 0}},
        {'P', {0, 6, 0, 0, 3, 0, 4, 1, 4, 2, 3, 3, 0, 3}},
        {'R', {0, 6, 0, 0, 3, 0, 4, 1, 4, 2, 3, 3, 0, 3, -1, 2, 3, 4, 6}},
        {'S', {4, 1, 3, 0, 1, 0, 0, 1, 0, 2, 1, 3, 3, 3, 4, 4, 4, 5, 3, 6, 1, 6, 0, 5}},
        {'T', {0, 0, 4, 0, -1, 2, 0, 2, 6}},
        {'V', {0, 0, 2, 6, 4, 0}},
        {'0', {1, 0, 3, 0, 4, 1, 4, 5, 3, 6, 1, 6, 0, 5, 0, 1, 1, 0}},
        {'1', {1, 1, 2, 0, 2, 6, -1, 1, 6, 3, 6}},
        {'2', {0, 1, 1, 0, 3, 0, 4, 1, 4, 2, 0, 6, 4, 6}},
        {'3', {0, 1, 1, 0, 3, 0, 4, 1, 4, 2, 3, 3, 1.5, 3, -1, 3, 3, 4, 4, 4, 5, 3, 6, 1, 6, 0, 5}},
        {'4', {3, 6, 3, 0, 0, 4, 4, 4}},
        {'5', {4, 0, 0, 0, 0, 3, 3, 3, 4, 4, 4, 5, 3, 6, 0, 6}},
        {'6', {3, 0, 1, 0, 0, 1, 0, 5, 1, 6, 3, 6, 4, 5, 4, 4, 3, 3, 0, 3}},
        {'7', {0, 0, 4, 0, 1.5, 6}},
        {'8', {1, 3, 0, 2, 0, 1, 1, 0, 3, 0, 4, 1, 4, 2, 3, 3, 1, 3, 0, 4, 0, 5, 1, 6, 3, 6, 4, 5, 4, 4, 3, 3}},
        {'9', {4, 3, 1, 3, 0, 2, 0, 1, 1, 0, 3, 0, 4, 1, 4, 5, 3, 6, 1, 6}},
    };
    return g;
}

const Glyph* glyph(char c) {
    for (const Glyph& g : glyphs())
        if (g.c == c) return &g;
    return nullptr;
}

}  // namespace

double letters_width(const std::string& text, double height) {
    const double u = height / 6.0;
    return text.empty() ? 0.0 : (static_cast<double>(text.size()) * 6.0 - 2.0) * u;
}

void letters_path(cairo_t* cr, const std::string& text, double x, double y, double height) {
    const double u = height / 6.0;
    double pen_x = x;
    for (char c : text) {
        if (const Glyph* g = glyph(c)) {
            bool start = true;
            for (std::size_t i = 0; i < g->pts.size();) {
                if (g->pts[i] < 0) {
                    start = true;
                    ++i;
                    continue;
                }
                const double px = pen_x + g->pts[i] * u, py = y + g->pts[i + 1] * u;
                if (start)
                    cairo_move_to(cr, px, py);
                else
                    cairo_line_to(cr, px, py);
                start = false;
                i += 2;
            }
        }
        pen_x += 6.0 * u;
    }
}

}  // namespace painter
