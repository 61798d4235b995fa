// What the SDL shell's files share. Each file keeps one concern: sdl_main
// the start-up and the loop, sdl_video the window and the drawing,
// sdl_text the label fonts, sdl_timer the 100 ms schedule, sdl_input the
// events, sdl_platform the shell's platform calls, sdl_dump the test dump.
// Everything runs on the one thread that runs the game.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "game/model/layout.h"

// ------------------------------------------------------------- sdl_video

// Opens the borderless window at `scale` (0: chosen from the display) and
// its software renderer; loads every picture. False after an SDL failure,
// which has been reported.
bool video_open(double scale);
void video_close();
SDL_Window* video_window();
// Draws the scene from the model when something changed since the last
// frame; a window that was uncovered or resized counts as a change.
void video_draw_if_dirty();
void video_mark_dirty();
// F11: the whole screen and back; the picture keeps its proportions.
void video_toggle_fullscreen();
// Ctrl+Plus (1), Ctrl+Minus (-1), Ctrl+0 (0): a quarter step larger or
// smaller, never past what fits the display, or back to the automatic scale;
// the window stays on the screen. Nothing in fullscreen.
void video_zoom(int direction);
bool video_fullscreen();
double video_scale();
// Window pixels to game coordinates (the hit test gets window pixels).
void video_window_to_game(int wx, int wy, int& gx, int& gy);
// Frames presented so far, and the wall-clock time of the first one in
// nanoseconds since the epoch (for the benchmark's start-up time).
long video_frames();
long long video_first_frame_ns();

// -------------------------------------------------------------- sdl_text

// The two label fonts, Liberation Sans built into the program, at the cell
// heights the Windows fonts are asked for (36 and 24).
bool text_open();
void text_close();
// Window pixels per field pixel: the labels are rendered at that size.
void text_set_density(double density);
// The label's text as black on transparent, or nullptr for an empty text,
// at the density last set. The texture belongs to the caller.
SDL_Texture* text_render(SDL_Renderer* renderer, int element, const char* text);

// ------------------------------------------------------------- sdl_timer

// Milliseconds until the next tick is due (rounded up), or -1 when the
// timer is stopped and the loop may sleep until an event.
int timer_wait_ms();
// Runs every tick whose time has come (the edge's schedule says how many
// after a stall).
void timer_run_due();
// From now on the loaded replay plays at the timer's pace, and the game's
// own timer runs nothing: a replay's window takes no input.
void timer_start_replay();
bool timer_replaying();
// Ticks run since the program started, and the wall-clock time of the
// latest one in nanoseconds since the epoch.
long timer_ticks();
long long timer_last_tick_ns();

// ------------------------------------------------------------- sdl_input

// Turns one event into the shell routines' calls.
void input_handle(const SDL_Event& event);
// The button drawn in its pressed state (control identifier), or 0.
int input_pressed_button();
// The cursor to show at a game point: the cross-hair over the field, the
// arrow over a button.
void input_init_cursors();

// ---------------------------------------------------------- sdl_platform

// True once the main window has been closed, by whichever path.
bool window_closed();

// ------------------------------------------------------------- sdl_dump

// PLINKFIELD_SCENE_DUMP=FILE: after every change the game writes its state,
// its scene and its window to FILE as one JSON object (test-only).
void dump_open();
void dump_write_if_changed();

// -------------------------------------------------------------- pictures

// An embedded bitmap or icon of the game as an SDL surface, or nullptr; a
// bitmap's twin is painted at twice its size, for denser windows.
SDL_Surface* load_game_bitmap(int id);
SDL_Surface* load_game_twin(int id);
SDL_Surface* load_game_icon(int id);
// The desktop icon's 64-pixel drawing, for the window.
SDL_Surface* load_window_icon();
