// The sprite painters, one file each, and what they share. Each cuts its
// background from the scene where the picture is shown, so no seam shows.
#pragma once

#include "resources/painter/paint.h"

namespace painter {

void paint_rodents(SceneArt& art, Pictures& out);  // rodents.cpp
void paint_cows(SceneArt& art, Pictures& out);  // cow.cpp
void paint_lizards(SceneArt& art, Pictures& out);  // lizards.cpp
void paint_spiders(SceneArt& art, Pictures& out);  // spider.cpp
void paint_crows(SceneArt& art, Pictures& out);  // crow.cpp
void paint_cartridge(SceneArt& art, Pictures& out);  // cartridge.cpp
void paint_splats(SceneArt& art, Pictures& out);  // splat.cpp
void paint_markers(SceneArt& art, Pictures& out);  // markers.cpp

}  // namespace painter
