// The scene picture, bitmap 100: every part of it, in the order they
// overlap. The buttons are laid into it afterwards (buttons.cpp).

#include "game/model/bitmaps.h"
#include "game/model/elements.h"
#include "resources/painter/burrow.h"
#include "resources/painter/scenery.h"
#include "resources/painter/tree.h"
#include "resources/painter/web.h"

namespace painter {

void paint_scene(SceneArt& art, Pictures& out) {
    Surface scene = make_surface(SCENE_W, SCENE_H, art.scale);
    cairo_surface_t* s = scene.get();
    {
        Pen cr(s);
        paint_sky(cr);
        paint_clouds(cr);
        paint_hills(cr);
        paint_meadow(cr);
        paint_burrows(cr);
        paint_bushes(cr);
        paint_trunk(cr);
        paint_trunk_grass(cr);
        paint_branches(cr);
        paint_crown(cr);
        paint_trunk_bough(cr);
        paint_title_strip(cr);
        paint_panel(cr);
    }
    art.web_backdrop = cut(s, WEB_X, WEB_Y, ELEMENT_TABLE[web_patch].w, ELEMENT_TABLE[web_patch].h);
    {
        Pen cr(s);
        paint_web(cr, false);
    }
    art.scene = s;
    out[bmp_scene] = std::move(scene);
}

}  // namespace painter
