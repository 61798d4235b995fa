// The painted bitmaps, the label font and the cross-hair, handed to the
// page once at start-up from the files built into the .wasm.
#include <emscripten/emscripten.h>

#include <cstdio>

#include "game/edge/bmp_decode.h"
#include "game/model/bitmaps.h"
#include "game/model/layout.h"
#include "game/shell/web/web_shell.h"
#include "resources/embedded.h"

// Each bitmap becomes a canvas of its own, drawn from at every frame.
EM_JS(void, js_add_picture, (int id, int width, int height, const unsigned char* rgba), {
    const picture = document.createElement("canvas");
    picture.width = width;
    picture.height = height;
    const pixels = new Uint8ClampedArray(HEAPU8.slice(rgba, rgba + width * height * 4).buffer);
    picture.getContext("2d").putImageData(new ImageData(pixels, width, height), 0, 0);
    Module.page.pictures[id] = picture;
});

void load_pictures() {
    for (const BitmapInfo& b : BITMAP_CATALOGUE) {
        const EmbeddedResource* file = find_game_resource(ResourceKind::bitmap, b.id);
        Picture picture;
        if (!file || !decode_bmp({file->data, file->size}, picture)) {
            // Drawn as nothing, as a sprite whose bitmap failed to load.
            std::fprintf(stderr, "plinkfield: bitmap %d cannot be decoded\n", b.id);
            continue;
        }
        js_add_picture(b.id, picture.width, picture.height, picture.rgba.data());
    }
}

// The labels' face: Liberation Sans, metric-compatible with Arial. The
// first frame is drawn once the page has it, or has given up on it.
EM_JS(void, js_load_font, (const unsigned char* bytes, int size), {
    const done = () => _web_label_font_settled();
    try {
        const face = new FontFace("Plinkfield-Labels", HEAPU8.slice(bytes, bytes + size).buffer);
        document.fonts.add(face);
        face.load().then(done, done);
    } catch (e) {
        done();
    }
});

extern "C" EMSCRIPTEN_KEEPALIVE void web_label_font_settled() { scene_fonts_ready(); }

void load_label_font() {
    const EmbeddedResource* font = find_game_resource(ResourceKind::font, LABEL_FONT);
    if (!font) {
        web_label_font_settled();  // drawn in the page's own sans-serif
        return;
    }
    js_load_font(font->data, static_cast<int>(font->size));
}

// Icon 32 as a CSS cursor; a browser that cannot show it falls back on its
// own cross-hair. The hot spot is the centre, where the lines cross.
EM_JS(void, js_make_field_cursor, (const unsigned char* ico, int size), {
    let text = "";
    for (let i = 0; i < size; ++i) text += String.fromCharCode(HEAPU8[ico + i]);
    Module.page.fieldCursor = "url(data:image/x-icon;base64," + btoa(text) + ") 16 16, crosshair";
});

EM_JS(void, js_use_cursor, (int over_field), {
    const cursor = over_field ? Module.page.fieldCursor : "default";
    if (Module.page.canvas.style.cursor !== cursor) Module.page.canvas.style.cursor = cursor;
});

void set_field_cursor(bool over_field) {
    static bool made = false;
    if (!made) {
        if (const EmbeddedResource* icon = find_game_resource(ResourceKind::icon, CROSSHAIR_ICON))
            js_make_field_cursor(icon->data, static_cast<int>(icon->size));
        made = true;
    }
    js_use_cursor(over_field ? 1 : 0);
}
