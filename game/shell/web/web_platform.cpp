// The shell's platform calls in a page. What a browser tab has no use for
// is chosen here and listed in docs/quirks.md: the page cannot be dragged,
// nudged or minimized, and closing ends the game with a "Play again" page.
#include <emscripten/emscripten.h>

#include <ctime>

#include "game/audio/web/web_audio.h"
#include "game/edge/inputs.h"
#include "game/rules/window_events.h"
#include "game/seam/platform.h"
#include "game/shell/web/web_shell.h"

static bool closed = false;

bool page_closed() { return closed; }

void platform_beep() { play_beep(); }

EM_JS(void, js_alert, (const char* text, const char* caption), {
    alert(UTF8ToString(caption) + "\n\n" + UTF8ToString(text));
});

void platform_message_box(const char* text, const char* caption) { js_alert(text, caption); }

// A tab cannot minimize itself; the cue still plays and the game goes on.
void platform_window_minimize() {}

EM_JS(void, js_show_ended, (), {
    Module.page.canvas.style.display = "none";
    document.getElementById("ended").hidden = false;
});

void platform_window_close() {
    // The game is over for this page: the timer dies with the window, as
    // on the other builds, and a press on "Play again" loads a new game.
    closed = true;
    stop_game_timer();
    stop_listening();
    stop_drawing();
    js_show_ended();
    handle_destroy();
}

// The page has no window of its own to move: the title strip and the
// arrow keys leave the canvas where the page centred it.
void platform_window_drag(int, int) {}

void platform_window_position(int& x, int& y) {
    x = 0;
    y = 0;
}

void platform_window_move(int, int) {}

std::uint32_t platform_clock_seconds() { return input_clock(static_cast<std::uint32_t>(std::time(nullptr))); }
