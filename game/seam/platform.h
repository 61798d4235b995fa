// The calls the game makes outside itself, besides sound. One implementation
// per backend (win32, sdl, web) plus the recording one used by tests and the
// simulator; the backend is picked by what the program links. Everything
// here runs on the one thread that runs the game.
#pragma once

#include <cstdint>

// The default system beep of a refused command.
void platform_beep();

// The game timer: a game_tick every 100 ms while it runs.
void platform_timer_start();
void platform_timer_stop();

// A modal box without owner window and with one OK button; returns when
// it is dismissed.
void platform_message_box(const char* text, const char* caption);

// The main window. Position is its top-left corner on the screen.
void platform_window_minimize();
void platform_window_close();  // destroys it; handle_destroy follows
// The press at client point x, y moves the window with the mouse until the
// button is released. A backend whose window manager already took the press
// (through press_drags_window) has nothing left to do.
void platform_window_drag(int x, int y);
void platform_window_position(int& x, int& y);
void platform_window_move(int x, int y);

// Calendar time in seconds, which seeds the rodent generator once.
std::uint32_t platform_clock_seconds();

// The scene model changed element e; a backend that keeps real windows
// mirrors it, one that redraws from the model may just note that it must.
void platform_element_changed(int e);
