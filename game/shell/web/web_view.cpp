// The canvas is shown at the largest size of the field's proportions that
// fits the browser window, centred by the page; on an upright phone the
// "turn your phone" line under it takes its height from the window first,
// and so does the table of best games once there is one.
// Its backing store has a pixel for every device pixel of that size, and
// the pictures are the twins where a field pixel covers more than one.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include "game/shell/web/web_shell.h"

// The room for the field (CSS pixels) and the screen's density.
EM_JS(void, js_window_room, (double* width, double* height, double* ratio), {
    const under = (id) => {
        const e = document.getElementById(id);
        return e.hidden || getComputedStyle(e).display === "none" ? 0 : e.getBoundingClientRect().height;
    };
    HEAPF64[width >> 3] = window.innerWidth;
    HEAPF64[height >> 3] = Math.max(0, window.innerHeight - under("turn") - under("best"));
    HEAPF64[ratio >> 3] = window.devicePixelRatio || 1;
});

EM_JS(void, js_canvas_place, (double* left, double* top, double* width, double* height), {
    const r = Module.page.canvas.getBoundingClientRect();
    HEAPF64[left >> 3] = r.left;
    HEAPF64[top >> 3] = r.top;
    HEAPF64[width >> 3] = r.width;
    HEAPF64[height >> 3] = r.height;
});

// The density changes without a resize when the page is zoomed or moved to
// another screen: a media query on the present density says when.
EM_JS(void, js_watch_density, (), {
    const watch = () => {
        matchMedia("(resolution: " + (window.devicePixelRatio || 1) + "dppx)").addEventListener("change", () => {
            _web_window_changed();
            watch();
        }, {once: true});
    };
    watch();
});

static void fit_canvas() {
    double width = 0, height = 0, ratio = 1;
    js_window_room(&width, &height, &ratio);
    const View v = fit_view(width, height);
    const Backing b = backing_store(v, ratio);
    emscripten_set_element_css_size("#field", v.width, v.height);
    int now_w = 0, now_h = 0;
    emscripten_get_canvas_element_size("#field", &now_w, &now_h);
    if (now_w != b.width || now_h != b.height) emscripten_set_canvas_element_size("#field", b.width, b.height);
    set_picture_scale(picture_scale(v, ratio));
    // A canvas that is sized anew is blank: drawn again before the page
    // shows it.
    redraw_now();
}

extern "C" EMSCRIPTEN_KEEPALIVE void web_window_changed() { fit_canvas(); }

static EM_BOOL on_resize(int, const EmscriptenUiEvent*, void*) {
    fit_canvas();
    return EM_FALSE;
}

void follow_window_size() {
    fit_canvas();
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, on_resize);
    js_watch_density();
}

View current_view() {
    // Where the page really put it, which is where the pointer meets it.
    View v;
    js_canvas_place(&v.left, &v.top, &v.width, &v.height);
    return v;
}
