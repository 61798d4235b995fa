// The scene drawn on the page's canvas from the model: the scene picture,
// then every visible element from the last row of ELEMENT_TABLE to the
// first, so earlier rows lie on top as the child windows of the other
// builds do. Changes only ask for a frame; the frame draws it all.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

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
        pictures: {},
        fieldCursor: "crosshair",
        firstFrameMs: null,
    };
});

EM_JS(void, js_draw_picture, (int id, int x, int y, int w, int h), {
    // A sprite shows its bitmap at its own size from the top-left corner,
    // cut to the element's rectangle.
    const picture = Module.page.pictures[id];
    if (!picture) return;
    const sw = Math.min(w, picture.width);
    const sh = Math.min(h, picture.height);
    if (sw > 0 && sh > 0) Module.page.context.drawImage(picture, 0, 0, sw, sh, x, y, sw, sh);
});

EM_JS(void, js_draw_stretched, (int id, int x, int y, int w, int h), {
    const picture = Module.page.pictures[id];
    if (picture && w > 0 && h > 0) Module.page.context.drawImage(picture, x, y, w, h);
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

EM_JS(void, js_frame_drawn, (), {
    if (Module.page.firstFrameMs === null) Module.page.firstFrameMs = performance.now();
});

static bool fonts_ready = false;
static bool frame_requested = false;
static bool drawing_stopped = false;
// The face is metric-compatible with Arial, whose ascent and descent fill
// the cell the other builds ask their fonts for.
static void draw_label(const SceneElement& s, Font font) {
    const double cell = label_font(font).cell_height;
    js_draw_label(s.text.c_str(), s.x, s.y, s.w, s.h, cell * EM_UNITS / CELL_UNITS, cell * ASCENT_UNITS / CELL_UNITS);
}

static void draw_scene() {
    js_draw_picture(SCENE_PICTURE, 0, 0, FIELD_WIDTH, FIELD_HEIGHT);
    for (Element e = ELEMENT_COUNT - 1; e >= 0; --e) {
        const SceneElement& s = scene[e];
        const ElementRow& row = ELEMENT_TABLE[e];
        if (!s.visible) continue;
        switch (row.kind) {
            case ElementKind::sprite:
                js_draw_picture(s.image, s.x, s.y, s.w, s.h);
                break;
            case ElementKind::label:
                draw_label(s, row.font);
                break;
            case ElementKind::button:
                js_draw_stretched(shown_button_image(e), s.x, s.y, s.w, s.h);
                break;
        }
    }
    js_frame_drawn();
}

static EM_BOOL on_animation_frame(double, void*) {
    frame_requested = false;
    if (!drawing_stopped) draw_scene();
    return EM_FALSE;
}

void open_canvas() { js_open_canvas(); }

void request_redraw() {
    if (!fonts_ready || frame_requested || drawing_stopped) return;
    frame_requested = true;
    emscripten_request_animation_frame(on_animation_frame, nullptr);
}

void scene_fonts_ready() {
    fonts_ready = true;
    // At once rather than on the next frame: the page shows the scene as
    // soon as it can.
    if (!drawing_stopped) draw_scene();
}

void stop_drawing() { drawing_stopped = true; }

void platform_element_changed(int) { request_redraw(); }
