// What the SDL shell's files share. Each file keeps one concern: sdl_main
// the start-up and the loop, sdl_video the window and the drawing,
// sdl_text the label fonts, sdl_timer the 100 ms schedule and the clock,
// sdl_input the events, sdl_pad the gamepads and their cross-hair,
// sdl_platform the shell's platform calls, sdl_scores the table of best
// games on the disk, sdl_dump the test dump.
// Everything runs on the one thread that runs the game.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

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
// A label's text in its font as black on transparent, or nullptr for an
// empty text, at the density last set. The texture belongs to the caller.
SDL_Texture* text_render(SDL_Renderer* renderer, Font font, const char* text);

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
// The shell's clock, in milliseconds from an arbitrary start.
double timer_now_ms();

// ------------------------------------------------------------- sdl_input

// Turns one event into the shell routines' calls.
void input_handle(const SDL_Event& event);
// The button drawn in its pressed state (control identifier), or 0.
int input_pressed_button();
// The cursor to show at a game point: the cross-hair over the field, the
// arrow over a button.
void input_init_cursors();

// --------------------------------------------------------------- sdl_pad

// Opens SDL's game-controller subsystem, after the first frame (a desktop
// with many input devices takes its time to list them); the pads plugged
// in already arrive as added. pad_close before video_close.
void pad_open();
void pad_close();
// Milliseconds until the pads are to be read or the cross-hair stepped, or
// -1 when neither ever is (no subsystem).
int pad_wait_ms();
// Reads the pads, when that is due: what they did joins the event queue.
void pad_read_due();
// Moves the cross-hair by the steps due.
void pad_run_due();
// A game-controller event onto the edge's gamepad; in a replay only the
// pads' coming and going are kept track of.
void pad_handle(const SDL_Event& event, bool replaying);
// Any use of the mouse, at window point x, y: the mouse has the pointer.
void pad_mouse_moved(int x, int y, bool on_field);
// Draws the pad's cross-hair over the field while the pad aims.
void pad_draw(SDL_Renderer* renderer);
// For the dump: the pads attached, whether the cross-hair is shown, and how
// long opening the subsystem took (-1: not opened).
int pad_count();
bool pad_aiming();
double pad_open_ms();

// ---------------------------------------------------------- sdl_platform

// True once the main window has been closed, by whichever path.
bool window_closed();

// ------------------------------------------------------------ sdl_scores

// After the first frame: a thread of its own reads the table of best games
// and, when keep_games (not in a replay), stores each game that makes it.
void scores_open(bool keep_games);
// Waits for the thread to store what it was given: a game that the
// window's close ended is kept too.
void scores_close();
// What the thread reports: the table on the disk, for the edge.
void scores_handle(const SDL_Event& event);
// The table has been read (or found missing or unreadable): BEST shows.
bool scores_read();
// For the dump: {"read", "text" (BEST's), "new_best", "games" (ended games
// handled, stored or not), "written" (stored)}.
std::string scores_json();
// --scores: prints the table, returns the exit status.
int scores_print();
// --replay best:N: the recording's path of the table's game N; false after
// saying why on stderr.
bool scores_recording(const std::string& rank, std::string& path);

// ------------------------------------------------------------- sdl_dump

// PLINKFIELD_SCENE_DUMP=FILE: after every change the game writes its state,
// its scene and its window to FILE as one JSON object (test-only).
void dump_open();
void dump_write_if_changed();
// PLINKFIELD_TEST_PAD=FIFO: a virtual pad driven by the lines written to
// FIFO (test-only). The lines arrive as events, which this keeps, and
// dump_before_pad_read does the next one just before the pads are read.
void dump_handle(const SDL_Event& event);
void dump_before_pad_read();

// -------------------------------------------------------------- pictures

// An embedded bitmap or icon of the game as an SDL surface, or nullptr; a
// bitmap's twin is painted at twice its size, for denser windows.
SDL_Surface* load_game_bitmap(int id);
SDL_Surface* load_game_twin(int id);
SDL_Surface* load_game_icon(int id);
// The desktop icon's 64-pixel drawing, for the window.
SDL_Surface* load_window_icon();
