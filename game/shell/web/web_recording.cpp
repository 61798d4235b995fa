// The page records its session when asked to: with "?record" in its address
// every input goes into a recording (the simulator's script language, as
// the native game's --record writes it), kept in the page and saved as a
// file by the "Save recording" link under the field. Without it the session
// is kept in memory alone, for the best games (web_scores.cpp).
#include <emscripten/emscripten.h>

#include <string>

#include "game/edge/recording.h"
#include "game/shell/web/web_shell.h"

EM_JS(int, js_recording_asked, (), { return new URLSearchParams(location.search).has("record") ? 1 : 0; });

EM_JS(void, js_now_utc, (char* out, int size), {
    stringToUTF8(new Date().toISOString().slice(0, 19).replace("T", " ") + " UTC", out, size);
});

EM_JS(void, js_recording_begin, (), {
    Module.recording = "";
    const link = document.getElementById("save-recording");
    link.hidden = false;
    link.onclick = () => {
        // A file named by the time of saving, holding the session so far.
        const stamp = new Date().toISOString().slice(0, 19).split(":").join("-");
        link.href = URL.createObjectURL(new Blob([Module.recording], {type: "text/plain"}));
        link.download = "plinkfield-" + stamp + ".sim";
    };
});

EM_JS(void, js_recording_line, (const char* line), { Module.recording += UTF8ToString(line); });

static void to_page(const std::string& line) { js_recording_line(line.c_str()); }

std::string page_recording_header() {
    char date[64] = "";
    js_now_utc(date, sizeof date);
    return std::string("plinkfield ") + PLINKFIELD_VERSION + " recording, for plinkfield-sim\nrecorded " + date +
           " in a web page";
}

void record_if_asked() {
    if (!js_recording_asked()) return;
    js_recording_begin();
    recording_start(to_page, page_recording_header());
}
