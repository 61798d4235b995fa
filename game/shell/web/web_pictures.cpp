// The painted pictures, the label face and the cross-hair, fetched from the
// page's folder and decoded by the browser itself: pictures/<id>.webp as
// painted, pictures/<id>@2x.webp the twins painted at twice the size, drawn
// where a field pixel covers more than one device pixel and only fetched
// then. What the scene shows comes first; the rest once the first frame is
// drawn.
#include <emscripten/emscripten.h>

#include <vector>

#include "game/edge/pointer.h"
#include "game/model/bitmaps.h"
#include "game/model/elements.h"
#include "game/model/layout.h"
#include "game/model/scene.h"
#include "game/shell/web/web_shell.h"

// Each picture becomes an ImageBitmap in Module.page.pictures[scale],
// decoded once, away from the page's thread; the scene picture the page's
// head has fetched and decoded already (earlyScene, in index.html) is taken
// from there when it is the one asked for. A picture settles when it has
// come or failed, and a failed one is drawn as nothing, as a sprite whose
// bitmap failed to load.
EM_JS(void, js_fetch_pictures, (int scale, const int* ids, int count), {
    const page = Module.page;
    for (let i = 0; i < count; ++i) {
        const id = HEAP32[(ids >> 2) + i];
        if (page.asked[scale].has(id)) continue;
        page.asked[scale].add(id);
        const url = "pictures/" + id + (scale === 2 ? "@2x" : "") + ".webp";
        const early = document.getElementById("early-scene");
        const decoded = early && early.currentSrc.endsWith("/" + url) ? window.earlyScene : fetch(url)
            .then((response) => {
                if (!response.ok) throw new Error(response.status + " " + response.statusText);
                return response.blob();
            })
            .then((blob) => createImageBitmap(blob));
        decoded
            .then((bitmap) => {
                page.pictures[scale].set(id, bitmap);
                page.fetched.push(url);
            }, (error) => console.warn("plinkfield: " + url + " cannot be shown: " + error.message))
            .then(() => {
                page.settled[scale].add(id);
                _web_picture_settled(scale);
            });
    }
});

EM_JS(int, js_picture_settled, (int scale, int id), { return Module.page.settled[scale].has(id) ? 1 : 0; });

EM_JS(void, js_set_scale, (int scale), { Module.page.scale = scale; });

static int scale = 0;  // none yet
static bool everything_asked = false;

// The pictures the scene shows now: its background, and every visible
// sprite and button (a button's pressed picture comes with the rest).
static std::vector<int> shown_pictures() {
    std::vector<int> ids = {SCENE_PICTURE};
    for (Element e = 0; e < ELEMENT_COUNT; ++e) {
        if (!scene[e].visible) continue;
        if (ELEMENT_TABLE[e].kind == ElementKind::sprite) ids.push_back(scene[e].image);
        if (ELEMENT_TABLE[e].kind == ElementKind::button) ids.push_back(shown_button_image(e));
    }
    return ids;
}

static void fetch_all() {
    std::vector<int> ids;
    for (const BitmapInfo& b : BITMAP_CATALOGUE) ids.push_back(b.id);
    ids.push_back(BEST_PLATE_PICTURE);
    js_fetch_pictures(scale, ids.data(), static_cast<int>(ids.size()));
}

void set_picture_scale(int s) {
    if (s == scale) return;
    scale = s;
    js_set_scale(s);
    const std::vector<int> shown = shown_pictures();
    js_fetch_pictures(scale, shown.data(), static_cast<int>(shown.size()));
    if (everything_asked) fetch_all();
}

void load_all_pictures() {
    everything_asked = true;
    fetch_all();
}

bool shown_pictures_ready() {
    for (int id : shown_pictures())
        if (!js_picture_settled(scale, id)) return false;
    return true;
}

extern "C" EMSCRIPTEN_KEEPALIVE void web_picture_settled(int s) {
    pictures_arrived();
    // A whole set has come: the offline copy keeps it too.
    if (everything_asked && s == scale) {
        for (const BitmapInfo& b : BITMAP_CATALOGUE)
            if (!js_picture_settled(s, b.id)) return;
        offline_copy_keep_fetched();
    }
}

// The labels' face: Liberation Sans cut to the characters labels show,
// metric-compatible with Arial. The first frame is drawn once the page has
// it, or has given up on it.
EM_JS(void, js_load_font, (), {
    const done = () => _web_label_font_settled();
    try {
        const face = new FontFace("Plinkfield-Labels", "url(labels.ttf)");
        document.fonts.add(face);
        face.load().then(done, (error) => {
            console.warn("plinkfield: the labels' face cannot be loaded: " + error.message);
            done();
        });
    } catch (e) {
        done();
    }
});

extern "C" EMSCRIPTEN_KEEPALIVE void web_label_font_settled() { label_font_ready(); }

void load_label_font() { js_load_font(); }

// Icon 32 as a CSS cursor, its twin on denser screens; a browser that
// cannot show them falls back on its own cross-hair (and one that knows no
// image-set for cursors keeps the plain icon). The hot spot is the centre,
// where the lines cross.
EM_JS(void, js_use_cursor, (int over_field, int icon), {
    const style = Module.page.canvas.style;
    const plain = 'url("pictures/' + icon + '.ico") 16 16, crosshair';
    const cursor = over_field ? plain : "default";
    if (style.cursor === cursor || (over_field && style.cursor.startsWith("image-set"))) return;
    style.cursor = cursor;
    if (over_field)
        style.cursor = 'image-set(url("pictures/' + icon + '.ico") 1x, url("pictures/' + icon + '@2x.png") 2x) 16 16, crosshair';
});

void set_field_cursor(bool over_field) { js_use_cursor(over_field ? 1 : 0, CROSSHAIR_ICON); }
