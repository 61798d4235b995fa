// The review pictures: every bitmap on one sheet, the scene with every
// sprite in place, and the desktop icon at every size.

#include <algorithm>
#include <cmath>
#include <string>

#include "game/model/bitmaps.h"
#include "game/model/elements.h"
#include "resources/painter/paint.h"

namespace painter {

// Every bitmap at 1:1 with its identifier under it; the scene last. Both
// sheets are painted at the scale of the pictures on them.
Surface contact_sheet(const Pictures& pictures) {
    constexpr int width = 1300, margin = 12, label = 14;
    struct Cell {
        int id, x, y;
    };
    std::vector<Cell> cells;
    int x = margin, y = margin, row_h = 0;
    for (const BitmapInfo& b : BITMAP_CATALOGUE) {
        if (b.id == bmp_scene) continue;
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

    Surface sheet = make_surface(width, height, scale_of(pictures.at(bmp_scene).get()));
    Pen cr(sheet.get());
    set_colour(cr, rgb8(64, 66, 72));
    cairo_paint(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (const Cell& c : cells) {
        cairo_set_source_surface(cr, pictures.at(c.id).get(), c.x, c.y);
        cairo_paint(cr);
        letters_path(cr, std::to_string(c.id), c.x + 1, c.y + find_bitmap(c.id)->height + 4, 8);
        set_colour(cr, rgb8(240, 240, 240));
        cairo_set_line_width(cr, 1.1);
        cairo_stroke(cr);
    }
    return sheet;
}

// The scene with every sprite at its place at once; where sprites overlap,
// the one earlier in the table lies on top, as in the game.
Surface scene_with_all_sprites(const Pictures& pictures) {
    cairo_surface_t* scene = pictures.at(bmp_scene).get();
    Surface all = make_surface(1280, 786, scale_of(scene));
    Pen cr(all.get());
    cairo_set_source_surface(cr, scene, 0, 0);
    cairo_paint(cr);
    for (int e = ELEMENT_COUNT - 1; e >= 0; --e) {
        const ElementRow& row = ELEMENT_TABLE[e];
        if (row.kind != ElementKind::sprite) continue;
        cairo_set_source_surface(cr, pictures.at(row.image).get(), row.x, row.y);
        cairo_paint(cr);
    }
    return all;
}

// Every size of the desktop icon at 1:1, on a light and on a dark ground,
// and the three smallest enlarged with their pixels square.
Surface icon_sheet(const std::vector<Surface>& icons) {
    constexpr int margin = 12, zoomed = 128;
    int row_w = margin, tallest = 0;
    for (const Surface& i : icons) {
        row_w += width_of(i.get()) + margin;
        tallest = std::max(tallest, height_of(i.get()));
    }
    const int band = tallest + zoomed + 3 * margin;
    Surface sheet = make_surface(row_w, 2 * band);
    Pen cr(sheet.get());
    for (int b = 0; b < 2; ++b) {
        const int top = b * band;
        cairo_rectangle(cr, 0, top, row_w, band);
        set_colour(cr, b == 0 ? rgb8(236, 236, 232) : rgb8(44, 46, 52));
        cairo_fill(cr);
        int x = margin;
        for (const Surface& i : icons) {
            cairo_set_source_surface(cr, i.get(), x, top + margin + tallest - height_of(i.get()));
            cairo_paint(cr);
            x += width_of(i.get()) + margin;
        }
        x = margin;
        for (std::size_t k = 0; k < std::min<std::size_t>(3, icons.size()); ++k) {
            const double zoom = static_cast<double>(zoomed) / width_of(icons[k].get());
            cairo_save(cr);
            cairo_translate(cr, x, top + 2 * margin + tallest);
            cairo_scale(cr, zoom, zoom);
            cairo_set_source_surface(cr, icons[k].get(), 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
            cairo_paint(cr);
            cairo_restore(cr);
            x += zoomed + margin;
        }
    }
    return sheet;
}

}  // namespace painter
