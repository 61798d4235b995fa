// Shared pieces of the painter: surfaces, pens, colours, the seeded random
// generator, the letter shapes, and the entry points of the painting.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace painter {

// ---------------------------------------------------------------- surfaces

struct SurfaceFree {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceFree>;

// Every picture is drawn in units, one a pixel of the picture the programs
// load; its @2x twin is the same drawing on a surface of scale 2, two
// pixels to the unit each way (cairo's device scale).

// An opaque picture of width x height units, black until painted.
Surface make_surface(int width, int height, int scale = 1);
// Its size in pixels, whatever its scale.
int width_of(cairo_surface_t* s);
int height_of(cairo_surface_t* s);
// Pixels to the unit: 1, or 2 for an @2x twin.
int scale_of(cairo_surface_t* s);
inline int scale_of(cairo_t* cr) { return scale_of(cairo_get_target(cr)); }
// 0xRRGGBB of one pixel, addressed in pixels, not units.
std::uint32_t pixel(cairo_surface_t* s, int x, int y);
void set_pixel(cairo_surface_t* s, int x, int y, std::uint32_t rgb);

// A cairo context that cleans up after itself. Given the place (x, y) where
// the picture is shown in the scene, it draws in scene coordinates.
class Pen {
public:
    explicit Pen(cairo_surface_t* s) : cr_(cairo_create(s)) {}
    Pen(cairo_surface_t* s, int x, int y) : Pen(s) { cairo_translate(cr_, -x, -y); }
    ~Pen() { cairo_destroy(cr_); }
    Pen(const Pen&) = delete;
    Pen& operator=(const Pen&) = delete;
    operator cairo_t*() const { return cr_; }

private:
    cairo_t* cr_;
};

// ---------------------------------------------------------------- colours

struct Rgb {
    double r, g, b;
};
constexpr Rgb rgb8(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
Rgb mix(Rgb a, Rgb b, double t);
Rgb shade(Rgb c, double factor);  // < 1 darker, > 1 lighter
void set_colour(cairo_t* cr, Rgb c, double alpha = 1.0);
void add_stop(cairo_pattern_t* p, double offset, Rgb c, double alpha = 1.0);

struct Stop {
    double offset;
    Rgb colour;
    double alpha = 1.0;
};
// Makes the source a linear gradient from (x0, y0) to (x1, y1), in the
// current user space.
void set_linear(cairo_t* cr, double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops);
// Makes the source a radial gradient from the circle of radius fr round the
// focus (fx, fy) to the circle of radius r round (cx, cy).
void set_radial(cairo_t* cr, double fx, double fy, double fr, double cx, double cy, double r,
                std::initializer_list<Stop> stops);
// Fill the current path with such a gradient; fill_radial's runs from inner
// at the focus to outer on the circle.
void fill_linear(cairo_t* cr, double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops);
void fill_radial(cairo_t* cr, double fx, double fy, double cx, double cy, double r, Rgb inner, Rgb outer);

// ---------------------------------------------------------------- random

// splitmix64: the same seed gives the same pictures and sounds everywhere.
// Every feature of the scenery draws from a stream of its own, so that a
// change to one feature repaints only that feature and the sprites cut from
// it, never a neighbour that happened to draw after it.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    // The stream of one part of a feature (one cloud, one burrow, one bush),
    // apart from the streams of its other parts.
    Rng(std::uint64_t seed, int part);
    std::uint64_t next();
    double uniform();                   // [0, 1)
    double range(double lo, double hi);  // [lo, hi)
    double gauss();                      // mean 0, deviation 1

private:
    std::uint64_t state_;
};

// ---------------------------------------------------------------- shapes

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r);

// Letters drawn as strokes on a 4 x 6 grid, so no font file is needed.
// Adds the strokes of text to the path; height is the cap height.
void letters_path(cairo_t* cr, const std::string& text, double x, double y, double height);
double letters_width(const std::string& text, double height);

// ---------------------------------------------------------------- painting

using Pictures = std::map<int, Surface>;

// What the painters share: the scene, bitmap 100, which every other picture
// is cut from (the buttons are painted on their places in it, the sprites
// on the scenery of theirs); and the crown behind the web, before the web
// was strung.
struct SceneArt {
    int scale = 1;                     // of every picture painted
    cairo_surface_t* scene = nullptr;  // owned by the pictures, as 100
    Surface web_backdrop;              // at WEB_X, WEB_Y, the size of the web patch
};
// Paints its bitmaps into out, and nothing else: PAINTERS (painters.cpp)
// names the bitmaps of each.
using Painter = void (*)(SceneArt& art, Pictures& out);
// Every bitmap of the game program, each by the painter PAINTERS names, at
// the given scale: 1 for the programs' files, 2 for their @2x twins.
void paint_pictures(Pictures& out, int scale);

// The best score's plate (BEST_PLATE of layout.h), cut from the scene at
// its scale: the panel there, with "BEST" over a sunken box. The builds
// that keep a table of best games carry it; the Windows resources do not.
Surface paint_best_plate(cairo_surface_t* scene);

// A copy of the scene at (x, y), w x h, at the scene's scale; all in units.
Surface cut(cairo_surface_t* scene, int x, int y, int w, int h);
// A copy of a whole picture.
Surface copy_of(cairo_surface_t* picture);
// A blank picture of bitmap id's catalogue size: the scene at (x, y).
Surface blank_at(cairo_surface_t* scene, int id, int x, int y);

// ---------------------------------------------------------------- sounds

struct Sound {
    int rate;
    int bits;
    int channels;
    std::vector<double> samples;  // interleaved, -1 .. 1
};
using Sounds = std::map<int, Sound>;
void make_game_sounds(Sounds& out);
// The beep of a refused command, for the builds whose platform has none.
Sound make_refusal_beep();
Sound make_ambient_loop();   // WAVE 300
Sound make_ambient_chime();  // WAVE 600

// ---------------------------------------------------------------- icons

// The cross-hair cursor, icon 32, drawn in units on its 32 x 32 grid:
// whether the point (x, y) is black. Elsewhere it is clear.
bool crosshair_black(double x, double y);
// Its @2x twin: 64 x 64 with alpha, each pixel as much black as the
// drawing covers of it.
Surface paint_crosshair_2x();

Surface paint_ambient_picture();  // bitmap 100 of Ambient
Surface paint_ambient_icon();     // 16 x 16, with alpha

// The game's icon on the desktop, size x size with alpha, drawn anew for
// each size; made for the sizes of the hicolor theme, 16 to 512.
Surface paint_app_icon(int size);

}  // namespace painter
