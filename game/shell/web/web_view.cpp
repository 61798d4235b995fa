// The canvas keeps its 1280 x 786 pixels and is shown at the largest size
// of those proportions that fits the browser window, centred by the page.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include "game/shell/web/web_shell.h"

EM_JS(double, js_window_width, (), { return window.innerWidth; });
EM_JS(double, js_window_height, (), { return window.innerHeight; });

EM_JS(void, js_canvas_place, (double* left, double* top, double* width, double* height), {
    const r = Module.page.canvas.getBoundingClientRect();
    HEAPF64[left >> 3] = r.left;
    HEAPF64[top >> 3] = r.top;
    HEAPF64[width >> 3] = r.width;
    HEAPF64[height >> 3] = r.height;
});

static void fit_canvas() {
    const View v = fit_view(js_window_width(), js_window_height());
    emscripten_set_element_css_size("#field", v.width, v.height);
}

static EM_BOOL on_resize(int, const EmscriptenUiEvent*, void*) {
    fit_canvas();
    return EM_FALSE;
}

void follow_window_size() {
    fit_canvas();
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, on_resize);
}

View current_view() {
    // Where the page really put it, which is where the pointer meets it.
    View v;
    js_canvas_place(&v.left, &v.top, &v.width, &v.height);
    return v;
}
