// The four buttons, normal and pressed: the START and CANCEL plates and the
// minimize and close marks. Each is painted on the scene where it sits, and
// the normal ones are then laid into the scene.

#include "game/model/buttons.h"
#include "game/model/elements.h"
#include "resources/painter/scenery.h"

namespace painter {

namespace {

void plate(cairo_t* cr, int w, int h, Rgb top, Rgb bottom, const char* word, bool pressed) {
    const double r = 9;
    set_colour(cr, rgb8(28, 18, 10));
    rounded_rect(cr, 0.5, 0.5, w - 1, h - 1, r);
    cairo_fill(cr);
    rounded_rect(cr, 2, 2, w - 4, h - 4, r - 1.5);
    fill_linear(cr, 0, 2, 0, h - 2,
                {{0, pressed ? shade(bottom, 0.9) : top}, {1, pressed ? shade(top, 0.8) : bottom}});
    // Bevel: lit from the top left, inverted when pressed.
    cairo_set_line_width(cr, 1.5);
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, w, h / 2.0);
    cairo_clip(cr);
    set_colour(cr, pressed ? rgb8(0, 0, 0) : rgb8(255, 255, 255), pressed ? 0.45 : 0.5);
    rounded_rect(cr, 2.75, 2.75, w - 5.5, h - 5.5, r - 2);
    cairo_stroke(cr);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_rectangle(cr, 0, h / 2.0, w, h / 2.0);
    cairo_clip(cr);
    set_colour(cr, pressed ? rgb8(255, 255, 255) : rgb8(0, 0, 0), pressed ? 0.25 : 0.4);
    rounded_rect(cr, 2.75, 2.75, w - 5.5, h - 5.5, r - 2);
    cairo_stroke(cr);
    cairo_restore(cr);
    // The word, pushed down and right when pressed.
    // One size for both words, so CANCEL fits with room to spare.
    const double th = 17, off = pressed ? 1.5 : 0;
    const double tx = (w - letters_width(word, th)) / 2 + off, ty = (h - th) / 2 + off;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    letters_path(cr, word, tx + 1.5, ty + 1.5, th);
    set_colour(cr, rgb8(20, 12, 8), 0.6);
    cairo_set_line_width(cr, 3.6);
    cairo_stroke(cr);
    letters_path(cr, word, tx, ty, th);
    set_colour(cr, pressed ? shade(CREAM, 0.9) : CREAM);
    cairo_set_line_width(cr, 3.4);
    cairo_stroke(cr);
}

void mark(cairo_t* cr, int w, int h, bool close, bool pressed) {
    set_colour(cr, rgb8(28, 18, 10));
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
    cairo_rectangle(cr, 1, 1, w - 2, h - 2);
    fill_linear(cr, 0, 1, 0, h - 1,
                {{0, pressed ? rgb8(70, 48, 30) : rgb8(150, 110, 70)},
                 {1, pressed ? rgb8(100, 72, 44) : rgb8(96, 66, 40)}});
    cairo_set_line_width(cr, 1);
    set_colour(cr, pressed ? rgb8(20, 12, 8) : rgb8(200, 165, 120));
    cairo_move_to(cr, 1.5, h - 1.5);
    cairo_line_to(cr, 1.5, 1.5);
    cairo_line_to(cr, w - 1.5, 1.5);
    cairo_stroke(cr);
    set_colour(cr, pressed ? rgb8(160, 120, 80) : rgb8(50, 32, 20));
    cairo_move_to(cr, w - 1.5, 1.5);
    cairo_line_to(cr, w - 1.5, h - 1.5);
    cairo_line_to(cr, 1.5, h - 1.5);
    cairo_stroke(cr);
    const double o = pressed ? 1 : 0;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    set_colour(cr, CREAM);
    cairo_set_line_width(cr, 2.2);
    if (close) {
        cairo_move_to(cr, 7.5 + o, 5.5 + o);
        cairo_line_to(cr, 15.5 + o, 13.5 + o);
        cairo_move_to(cr, 15.5 + o, 5.5 + o);
        cairo_line_to(cr, 7.5 + o, 13.5 + o);
    } else {
        cairo_move_to(cr, 7 + o, 13 + o);
        cairo_line_to(cr, 16 + o, 13 + o);
    }
    cairo_stroke(cr);
}

}  // namespace

void paint_buttons(SceneArt& art, Pictures& out) {
    cairo_surface_t* scene = art.scene;
    for (const ButtonImages& b : BUTTON_IMAGES) {
        const ElementRow& e = ELEMENT_TABLE[element_by_id(b.control_id)];
        for (int pressed = 0; pressed < 2; ++pressed) {
            Surface s = cut(scene, e.x, e.y, e.w, e.h);
            Pen cr(s.get());
            switch (b.control_id) {
                case 700: plate(cr, e.w, e.h, rgb8(96, 176, 76), rgb8(40, 104, 34), "START", pressed); break;
                case 800: plate(cr, e.w, e.h, rgb8(212, 84, 62), rgb8(128, 34, 24), "CANCEL", pressed); break;
                default: mark(cr, e.w, e.h, b.control_id == CLOSE_BUTTON_ID, pressed); break;
            }
            out[pressed ? b.pressed : b.normal] = std::move(s);
        }
    }
    Pen cr(scene);
    for (const ButtonImages& b : BUTTON_IMAGES) {
        const ElementRow& e = ELEMENT_TABLE[element_by_id(b.control_id)];
        cairo_set_source_surface(cr, out.at(b.normal).get(), e.x, e.y);
        cairo_paint(cr);
    }
}

}  // namespace painter
