// A read-only look at the running game for the end-to-end tests:
// window.plinkfieldProbe() gives the scene model, the few counters a test
// waits on, what the audio side played and when the first frame was drawn.
// Nothing can be changed through it.
#include <emscripten/emscripten.h>

#include <string>

#include "../../rules/game_state.h"
#include "../scene.h"
#include "web_shell.h"

static void append_string(std::string& out, const std::string& s) {
    out += '"';
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) >= 0x20) out += c;
    }
    out += '"';
}

static void append_field(std::string& out, const char* name, int value) {
    out += '"';
    out += name;
    out += "\":";
    out += std::to_string(value);
    out += ',';
}

extern "C" EMSCRIPTEN_KEEPALIVE const char* web_probe_scene() {
    static std::string out;
    out = "{";
    append_field(out, "stage", game.stage);
    append_field(out, "level", game.level);
    append_field(out, "score", game.score);
    append_field(out, "hits", game.hits);
    append_field(out, "misses", game.misses);
    append_field(out, "shots_fired", game.shots_fired);
    append_field(out, "cursor_x", game.cursor_x);
    append_field(out, "cursor_y", game.cursor_y);
    out += "\"timer_started_ms\":" + std::to_string(timer_started_ms()) + ',';
    out += "\"timer_ticks\":" + std::to_string(timer_ticks_run()) + ',';
    out += "\"hole_hittable\":[";
    for (std::size_t h = 0; h < game.hole_hittable.size(); ++h) {
        if (h) out += ',';
        out += std::to_string(game.hole_hittable[h]);
    }
    out += "],\"elements\":[";
    for (Element e = 0; e < ELEMENT_COUNT; ++e) {
        const SceneElement& s = scene[e];
        const ElementRow& row = ELEMENT_TABLE[e];
        if (e) out += ',';
        out += "{\"name\":";
        append_string(out, row.name);
        out += ",\"kind\":";
        append_string(out, row.kind == ElementKind::sprite ? "sprite"
                           : row.kind == ElementKind::label ? "label"
                                                            : "button");
        out += ',';
        append_field(out, "id", row.id);
        append_field(out, "x", s.x);
        append_field(out, "y", s.y);
        append_field(out, "w", s.w);
        append_field(out, "h", s.h);
        // A button's image is the one drawn now: pressed while held.
        append_field(out, "image", row.kind == ElementKind::button ? shown_button_image(e) : s.image);
        out += "\"visible\":";
        out += s.visible ? "true" : "false";
        out += ",\"text\":";
        append_string(out, s.text);
        out += '}';
    }
    out += "]}";
    return out.c_str();
}

EM_JS(void, js_install_probe, (), {
    window.plinkfieldProbe = () => {
        const probe = JSON.parse(UTF8ToString(_web_probe_scene()));
        probe.firstFrameMs = Module.page.firstFrameMs;
        probe.audio = Module.audio.report();
        return probe;
    };
});

void install_probe() { js_install_probe(); }
