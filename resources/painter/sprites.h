// The sprite painters, one file each, and what they share. Each cuts its
// background from the scene where the picture is shown, so no seam shows.
#pragma once

#include "paint.h"

namespace painter {

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

void paint_rodents(SceneArt& art, Pictures& out);  // rodents.cpp
void paint_cows(SceneArt& art, Pictures& out);  // cow.cpp
void paint_lizards(SceneArt& art, Pictures& out);  // lizards.cpp
void paint_spiders(SceneArt& art, Pictures& out);  // spider.cpp
void paint_crows(SceneArt& art, Pictures& out);  // crow.cpp
void paint_cartridge(SceneArt& art, Pictures& out);  // cartridge.cpp
void paint_splats(SceneArt& art, Pictures& out);  // splat.cpp
void paint_markers(SceneArt& art, Pictures& out);  // markers.cpp

}  // namespace painter
