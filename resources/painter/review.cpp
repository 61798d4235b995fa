// The two review pictures, and Ambient's picture and icon.

#include <algorithm>
#include <cmath>
#include <string>

#include "game/shell/bitmaps.h"
#include "game/shell/elements.h"
#include "paint.h"

namespace painter {

// Every bitmap at 1:1 with its identifier under it; the scene last.
Surface contact_sheet(const Pictures& pictures) {
    constexpr int width = 1300, margin = 12, label = 14;
    struct Cell {
        int id, x, y;
    };
    std::vector<Cell> cells;
    int x = margin, y = margin, row_h = 0;
    for (const BitmapInfo& b : BITMAP_CATALOGUE) {
        if (b.id == 100) continue;
        const int cw = std::max(b.width, static_cast<int>(letters_width(std::to_string(b.id), 8)) + 2);
        if (x + cw > width - margin) {
            x = margin;
            y += row_h + label + margin;
            row_h = 0;
        }
        cells.push_back({b.id, x, y});
        x += cw + margin;
        row_h = std::max(row_h, b.height);
    }
    y += row_h + label + margin;
    cells.push_back({100, margin, y});
    const int height = y + 786 + label + margin;

    Surface sheet = make_surface(width, height);
    Pen cr(sheet.get());
    set_colour(cr, rgb8(64, 66, 72));
    cairo_paint(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (const Cell& c : cells) {
        cairo_surface_t* s = pictures.at(c.id).get();
        cairo_set_source_surface(cr, s, c.x, c.y);
        cairo_paint(cr);
        letters_path(cr, std::to_string(c.id), c.x + 1, c.y + height_of(s) + 4, 8);
        set_colour(cr, rgb8(240, 240, 240));
        cairo_set_line_width(cr, 1.1);
        cairo_stroke(cr);
    }
    return sheet;
}

// The scene with every sprite at its place at once; where sprites overlap,
// the one earlier in the table lies on top, as in the game.
Surface scene_with_all_sprites(const Pictures& pictures) {
    Surface all = make_surface(1280, 786);
    Pen cr(all.get());
    cairo_set_source_surface(cr, pictures.at(100).get(), 0, 0);
    cairo_paint(cr);
    for (int e = ELEMENT_COUNT - 1; e >= 0; --e) {
        const ElementRow& row = ELEMENT_TABLE[e];
        if (row.kind != ElementKind::sprite) continue;
        cairo_set_source_surface(cr, pictures.at(row.image).get(), row.x, row.y);
        cairo_paint(cr);
    }
    return all;
}

Surface paint_ambient_picture() {
    Surface s = make_surface(80, 80);
    Pen cr(s.get());
    set_linear(cr, 0, 0, 80, 80, {{0, rgb8(176, 214, 236)}, {1, rgb8(168, 208, 232)}});
    cairo_paint(cr);
    return s;
}

Surface paint_ambient_icon() {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 16, 16));
    Pen cr(s.get());
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    // A round meadow under a sky, with a breath of wind.
    cairo_arc(cr, 8, 8, 7.5, 0, 2 * M_PI);
    cairo_clip(cr);
    set_colour(cr, rgb8(120, 180, 230));
    cairo_paint(cr);
    cairo_move_to(cr, 0, 11);
    cairo_curve_to(cr, 5, 8, 10, 9, 16, 10);
    cairo_line_to(cr, 16, 16);
    cairo_line_to(cr, 0, 16);
    cairo_close_path(cr);
    set_colour(cr, rgb8(70, 150, 50));
    cairo_fill(cr);
    cairo_move_to(cr, 2.5, 5);
    cairo_curve_to(cr, 6, 3.5, 9, 6.5, 13, 4.5);
    set_colour(cr, rgb8(255, 255, 255), 0.9);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
    return s;
}

}  // namespace painter
