// The sprite painters, one file each, and what they share. Each cuts its
// background from the scene where the picture is shown, so no seam shows.
#pragma once

#include "paint.h"

namespace painter {

// A blank picture of bitmap id's catalogue size: the scene at (x, y).
Surface blank_at(cairo_surface_t* scene, int id, int x, int y);

// A sprite painted in scene coordinates.
struct ScenePen {
    Surface s;
    cairo_t* cr;
    ScenePen(cairo_surface_t* scene, int id, int x, int y) : s(blank_at(scene, id, x, y)), cr(cairo_create(s.get())) {
        cairo_translate(cr, -x, -y);
    }
    ~ScenePen() { cairo_destroy(cr); }
    ScenePen(const ScenePen&) = delete;
    ScenePen& operator=(const ScenePen&) = delete;
};

void paint_rodents(cairo_surface_t* scene, Pictures& out);   // rodents.cpp
void paint_cows(cairo_surface_t* scene, Pictures& out);      // cow.cpp
void paint_lizards(cairo_surface_t* scene, Pictures& out);   // lizards.cpp
void paint_spiders(const SceneArt& art, Pictures& out);      // spider.cpp
void paint_crows(cairo_surface_t* scene, Pictures& out);     // crow.cpp
void paint_cartridge(cairo_surface_t* scene, Pictures& out); // cartridge.cpp
void paint_splats(cairo_surface_t* scene, Pictures& out);    // splat.cpp
void paint_markers(cairo_surface_t* scene, Pictures& out);   // markers.cpp

}  // namespace painter
