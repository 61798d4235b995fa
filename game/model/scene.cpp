#include "game/model/scene.h"

#include "game/model/bitmaps.h"
#include "game/seam/platform.h"

std::array<SceneElement, ELEMENT_COUNT> scene;

void create_scene() {
    for (Element e = 0; e < ELEMENT_COUNT; ++e) {
        const ElementRow& row = ELEMENT_TABLE[e];
        scene[e] = SceneElement{row.x, row.y, row.w, row.h, true, 0, row.text};
        platform_element_changed(e);
        if (row.hidden_at_start) hide_element(e);
    }
    for (Element e = 0; e < ELEMENT_COUNT; ++e)
        if (ELEMENT_TABLE[e].kind == ElementKind::sprite) set_element_image(e, ELEMENT_TABLE[e].image);
}

void show_element(Element e) {
    scene[e].visible = true;
    platform_element_changed(e);
}

void hide_element(Element e) {
    scene[e].visible = false;
    platform_element_changed(e);
}

void move_element(Element e, int x, int y, int w, int h) {
    SceneElement& s = scene[e];
    s.x = x;
    s.y = y;
    s.w = w;
    s.h = h;
    platform_element_changed(e);
}

void set_element_image(Element e, int bitmap_id) {
    SceneElement& s = scene[e];
    const BitmapInfo* b = find_bitmap(bitmap_id);
    s.image = b ? bitmap_id : 0;
    if (b) {
        s.w = b->width;
        s.h = b->height;
    }
    platform_element_changed(e);
}

void set_label_text(int control_id, const std::string& text) {
    Element e = element_by_id(control_id);
    if (e < 0 || ELEMENT_TABLE[e].kind != ElementKind::label) return;
    scene[e].text = text;
    // Hidden and shown again so the background under a longer old text is
    // repainted before the new one is drawn.
    hide_element(e);
    show_element(e);
}

Rect element_bounds(Element e) {
    const SceneElement& s = scene[e];
    return Rect{s.x, s.y, s.x + s.w, s.y + s.h};
}
