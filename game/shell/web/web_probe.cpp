// A read-only look at the running game for the end-to-end tests:
// window.plinkfieldProbe() gives the game state and the scene model (as the
// simulator prints them), the image each button shows, the timer's count,
// what the audio side played, when the first frame was drawn, the canvas
// and its pictures, the offline copy, the recording and the best games. Nothing can be
// changed through it.
#include <emscripten/emscripten.h>

#include <string>

#include "game/edge/game_json.h"
#include "game/edge/pointer.h"
#include "game/model/scene.h"
#include "game/shell/web/web_shell.h"

extern "C" EMSCRIPTEN_KEEPALIVE const char* web_probe_json() {
    static std::string out;
    out = "{\"state\":" + state_object() + ",\"scene\":" + scene_array() + ",\"buttons\":{";
    bool first = true;
    for (Element e = 0; e < ELEMENT_COUNT; ++e) {
        if (ELEMENT_TABLE[e].kind != ElementKind::button) continue;
        if (!first) out += ',';
        first = false;
        // Pressed while held with the pointer over it.
        out += json_string(ELEMENT_TABLE[e].name) + ':' + std::to_string(shown_button_image(e));
    }
    out += "},\"timer\":{\"started_ms\":" + std::to_string(timer_started_ms()) +
           ",\"ticks\":" + std::to_string(timer_ticks_run()) + "},\"best\":" + best_games_json() + "}";
    return out.c_str();
}

EM_JS(void, js_install_probe, (), {
    window.plinkfieldProbe = () => {
        const probe = JSON.parse(UTF8ToString(_web_probe_json()));
        const page = Module.page;
        probe.firstFrameMs = page.firstFrameMs;
        probe.view = {
            width: page.canvas.width,
            height: page.canvas.height,
            ratio: window.devicePixelRatio,
            scale: page.scale,
            pictures: {1: page.pictures[1].size, 2: page.pictures[2].size},
            fetched: page.fetched.length,
        };
        probe.audio = Module.audio.report();
        probe.offline = Module.offline === undefined ? null : Module.offline;
        probe.recording = Module.recording === undefined ? null : Module.recording;
        return probe;
    };
});

void install_probe() { js_install_probe(); }
