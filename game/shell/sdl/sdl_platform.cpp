// The shell's platform calls over SDL: the beep, the message box, the main
// window's minimize, close and position, and the clock. The timer is in
// sdl_timer.cpp.
#include <ctime>

#include "game/audio/sdl/sdl_audio.h"
#include "game/edge/inputs.h"
#include "game/rules/window_events.h"
#include "game/seam/platform.h"
#include "game/shell/sdl/sdl_shell.h"

namespace {
bool closed = false;
}

void platform_beep() { sound_beep(); }

void platform_message_box(const char* text, const char* caption) {
    // Modal, without owner; the loop stands still until it is dismissed.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr);
    video_mark_dirty();
}

void platform_window_minimize() { SDL_MinimizeWindow(video_window()); }

void platform_window_close() {
    // The loop ends after this event and destroys the window; the timer
    // dies with it, and the window's destruction follows at once.
    closed = true;
    platform_timer_stop();
    handle_destroy();
}

bool window_closed() { return closed; }

void platform_window_drag(int, int) {
    // The window manager has taken the press already: the hit test said
    // the strip drags (press_drags_window), and SDL never passed it on.
}

void platform_window_position(int& x, int& y) { SDL_GetWindowPosition(video_window(), &x, &y); }

void platform_window_move(int x, int y) { SDL_SetWindowPosition(video_window(), x, y); }

std::uint32_t platform_clock_seconds() { return input_clock(static_cast<std::uint32_t>(std::time(nullptr))); }
