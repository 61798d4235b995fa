// Every sprite: its background is cut from the scene where it is shown,
// then the creature is painted on it, so no seam shows.

#include "game/shell/bitmaps.h"
#include "sprites.h"

namespace painter {

Surface blank_at(cairo_surface_t* scene, int id, int x, int y) {
    const BitmapInfo* b = find_bitmap(id);
    return cut(scene, x, y, b->width, b->height);
}

void paint_sprites(const SceneArt& art, Pictures& out) {
    cairo_surface_t* scene = art.scene.get();
    paint_rodents(scene, out);
    paint_cows(scene, out);
    paint_lizards(scene, out);
    paint_spiders(art, out);
    paint_crows(scene, out);
    paint_cartridge(scene, out);
    paint_splats(scene, out);
    paint_markers(scene, out);
}

}  // namespace painter
