// The shell's platform calls on Windows: the beep, timer 1, the message
// box, the main window's minimize, close, drag and position, the clock.
#include <ctime>

#include "game/seam/platform.h"
#include "game/shell/win32/win32_shell.h"

static constexpr UINT_PTR GAME_TIMER = 1;

void platform_beep() { MessageBeep(0); }

void platform_timer_start() { SetTimer(main_window, GAME_TIMER, TICK_MS, nullptr); }

void platform_timer_stop() { KillTimer(main_window, GAME_TIMER); }

void platform_message_box(const char* text, const char* caption) { MessageBoxA(nullptr, text, caption, MB_OK); }

void platform_window_minimize() { ShowWindow(main_window, SW_MINIMIZE); }

void platform_window_close() { DestroyWindow(main_window); }

void platform_window_drag(int x, int y) {
    // The default handling of a caption press moves the window with the
    // mouse until the button is released, and only then returns.
    SendMessageA(main_window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(to_device(x), to_device(y)));
}

void platform_window_position(int& x, int& y) {
    RECT r;
    GetWindowRect(main_window, &r);
    x = r.left;
    y = r.top;
}

void platform_window_move(int x, int y) { MoveWindow(main_window, x, y, window_width(), window_height(), TRUE); }

std::uint32_t platform_clock_seconds() { return static_cast<std::uint32_t>(std::time(nullptr)); }
