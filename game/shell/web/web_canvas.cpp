// The scene drawn on the page's canvas from the model: the scene picture,
// then every visible element from the last row of ELEMENT_TABLE to the
// first, so earlier rows lie on top as the child windows of the other
// builds do. The canvas has a pixel for every device pixel; the field's
// coordinates are mapped onto it, so the labels' text is drawn at the
// screen's own resolution. Changes only ask for a frame; the frame draws
// it all.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include "game/audio/web/web_audio.h"
#include "game/edge/best_games.h"
#include "game/edge/pointer.h"
#include "game/model/bitmaps.h"
#include "game/model/buttons.h"
#include "game/model/layout.h"
#include "game/model/scene.h"
#include "game/seam/platform.h"
#include "game/shell/web/web_shell.h"

EM_JS(void, js_open_canvas, (), {
    const canvas = document.getElementById("field");
    Module.page = {
        canvas: canvas,
        context: canvas.getContext("2d", {alpha: false}),
        scale: 1,                                 // which pictures are drawn: 1, or 2 for the twins
        pictures: {1: new Map(), 2: new Map()},  // ImageBitmaps by scale and picture id
        asked: {1: new Set(), 2: new Set()},
        settled: {1: new Set(), 2: new Set()},
        fetched: [],                             // the picture files that came, in order
        firstFrameMs: null,
    };
});

EM_JS(void, js_begin_frame, (int field_width, int field_height), {
    // Sizing the canvas resets its context: set it all again each frame.
    const page = Module.page;
    const context = page.context;
    context.setTransform(page.canvas.width / field_width, 0, 0, page.canvas.height / field_height, 0, 0);
    context.imageSmoothingEnabled = true;
    context.imageSmoothingQuality = "high";
});

EM_JS(void, js_draw_picture, (int id, int x, int y, int w, int h, int stretched), {
    // The scale the page draws, or the other one while that has not come.
    const page = Module.page;
    let scale = page.scale;
    let picture = page.pictures[scale].get(id);
    if (!picture) {
        scale = 3 - scale;
        picture = page.pictures[scale].get(id);
    }
    if (!picture) return;
    if (stretched) {
        if (w > 0 && h > 0) page.context.drawImage(picture, x, y, w, h);
        return;
    }
    // A sprite shows its bitmap at its own size from the top-left corner,
    // cut to the element's rectangle.
    const sw = Math.min(w, picture.width / scale);
    const sh = Math.min(h, picture.height / scale);
    if (sw > 0 && sh > 0) page.context.drawImage(picture, 0, 0, sw * scale, sh * scale, x, y, sw, sh);
});

EM_JS(void, js_draw_label, (const char* text, int x, int y, int w, int h, double em, double ascent), {
    // Light grey under black text, one left-aligned line from the top.
    const context = Module.page.context;
    context.save();
    context.fillStyle = "#c0c0c0";
    context.fillRect(x, y, w, h);
    context.beginPath();
    context.rect(x, y, w, h);
    context.clip();
    context.fillStyle = "#000000";
    context.textBaseline = "alphabetic";
    context.font = em + "px Plinkfield-Labels, Liberation Sans, Arial, sans-serif";
    context.fillText(UTF8ToString(text), x, y + ascent);
    context.restore();
});

EM_JS(void, js_first_frame_drawn, (), { Module.page.firstFrameMs = performance.now(); });

static bool font_ready = false;
static bool first_frame = false;
static bool frame_requested = false;
static bool drawing_stopped = false;

// The face is metric-compatible with Arial, whose ascent and descent fill
// the cell the other builds ask their fonts for.
static void draw_label(const std::string& text, const PanelPlace& p, Font font) {
    const double cell = label_font(font).cell_height;
    js_draw_label(text.c_str(), p.x, p.y, p.w, p.h, cell * EM_UNITS / CELL_UNITS, cell * ASCENT_UNITS / CELL_UNITS);
}

// The best score, part of the panel under every element, once the table
// has been read: the painted plate and the number as the score's.
static void draw_best_score() {
    if (!best_games_read()) return;
    js_draw_picture(BEST_PLATE_PICTURE, BEST_PLATE.x, BEST_PLATE.y, BEST_PLATE.w, BEST_PLATE.h, 1);
    draw_label(best_number_text(), BEST_NUMBER, Font::large);
}

// NEW BEST, over the field as the banners are.
static void draw_new_best() {
    PanelPlace place{};
    if (new_best_banner(place)) draw_label(NEW_BEST_TEXT, place, Font::large);
}

// The first frame waits for the label face, so the scoreboard never shows
// in a stand-in face, and for the pictures it shows, so it is whole.
static bool may_draw() {
    if (drawing_stopped || !font_ready) return false;
    return first_frame || shown_pictures_ready();
}

static void draw_scene() {
    js_begin_frame(FIELD_WIDTH, FIELD_HEIGHT);
    js_draw_picture(SCENE_PICTURE, 0, 0, FIELD_WIDTH, FIELD_HEIGHT, 0);
    draw_best_score();
    for (Element e = ELEMENT_COUNT - 1; e >= 0; --e) {
        const SceneElement& s = scene[e];
        const ElementRow& row = ELEMENT_TABLE[e];
        if (!s.visible) continue;
        switch (row.kind) {
            case ElementKind::sprite:
                js_draw_picture(s.image, s.x, s.y, s.w, s.h, 0);
                break;
            case ElementKind::label:
                draw_label(s.text, {s.x, s.y, s.w, s.h}, row.font);
                break;
            case ElementKind::button:
                js_draw_picture(shown_button_image(e), s.x, s.y, s.w, s.h, 1);
                break;
        }
    }
    draw_new_best();
    if (first_frame) return;
    first_frame = true;
    js_first_frame_drawn();
    // Now the rest, which the first frame did not wait for.
    load_all_pictures();
    prepare_sounds();
    set_field_cursor(true);
    keep_offline_copy();
    best_games_after_first_frame();
}

static EM_BOOL on_animation_frame(double, void*) {
    frame_requested = false;
    if (may_draw()) draw_scene();
    return EM_FALSE;
}

void open_canvas() { js_open_canvas(); }

void request_redraw() {
    if (frame_requested || !may_draw()) return;
    frame_requested = true;
    emscripten_request_animation_frame(on_animation_frame, nullptr);
}

void redraw_now() {
    if (may_draw()) draw_scene();
}

// The page shows the scene as soon as it can: at once, not on the next
// animation frame.
void label_font_ready() {
    font_ready = true;
    redraw_now();
}

void pictures_arrived() {
    if (first_frame)
        request_redraw();
    else
        redraw_now();
}

void stop_drawing() { drawing_stopped = true; }

void platform_element_changed(int) { request_redraw(); }
