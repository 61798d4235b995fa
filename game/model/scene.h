// The scene model: rectangle, visibility, image and text of every element.
// It is the single truth: hit tests read it, backends mirror or draw it.
// The rules act on the scene only through the six operations below.
#pragma once

#include <array>
#include <string>

#include "game/model/elements.h"

struct Rect {
    int left, top, right, bottom;
};

// Left and top edges are inside, right and bottom edges outside.
constexpr bool point_in_rect(const Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

struct SceneElement {
    int x = 0, y = 0, w = 0, h = 0;
    bool visible = true;
    int image = 0;     // bitmap identifier a sprite shows, 0 for none
    std::string text;  // a label's text

    bool operator==(const SceneElement&) const = default;
};

extern std::array<SceneElement, ELEMENT_COUNT> scene;

// Builds all 83 elements from ELEMENT_TABLE: created in table order, the
// hidden ones hidden at once, then every sprite given its initial image.
void create_scene();

void show_element(Element e);
void hide_element(Element e);
void move_element(Element e, int x, int y, int w, int h);
// The sprite takes the image's catalogue size, keeping its top-left corner.
// An identifier the catalogue lacks leaves the sprite without a picture.
void set_element_image(Element e, int bitmap_id);
// By control identifier, as the scoreboard addresses its labels.
void set_label_text(int control_id, const std::string& text);
// Client coordinates, visible or not.
Rect element_bounds(Element e);
