// What the page's shell files share. Everything runs on the browser's one
// thread, in event handlers, timeouts, animation frames and the callbacks
// of fetches.
#pragma once

#include <string>

#include "game/edge/view_fit.h"

// web_pictures.cpp: the painted pictures, fetched from the page's folder
// and decoded by the browser, at the scale the page draws (1, or 2 for the
// twins); the label face and the cross-hair cursor.
void set_picture_scale(int scale);  // fetches what the scene shows at it
void load_all_pictures();           // and then every other picture at it
bool shown_pictures_ready();        // every picture the scene shows has come (or failed)
void load_label_font();             // calls label_font_ready when the page has it
void set_field_cursor(bool over_field);  // the cross-hair, or the arrow of a button

// web_canvas.cpp: opens the canvas, first of all, since the other files
// keep their page objects beside it in Module.page. The scene is drawn from
// the model on the next animation frame after any change; nothing is drawn
// before the label face and the pictures the scene shows are there, and
// the first frame drawn sets the rest loading (first_frame_drawn).
void open_canvas();
void label_font_ready();
void pictures_arrived();
void request_redraw();
void redraw_now();
void stop_drawing();

// web_view.cpp: fits the canvas to the window, now and at every resize or
// change of the screen's density; its backing store is at device pixels.
void follow_window_size();
View current_view();

// web_input.cpp: the pointer (mouse, pen and fingers, as Pointer Events)
// and the keys, turned into the edge's calls.
void listen_to_input();
void stop_listening();

// web_timer.cpp
void stop_game_timer();
void start_watching();  // the replay's own clock, one recorded tick at a time
// For the probe: when the running timer started (performance.now() ms, or
// -1 when stopped) and how many ticks it has run since.
double timer_started_ms();
long long timer_ticks_run();

// web_platform.cpp: whether the close button has ended the game; input and
// drawing have stopped then and the page shows its "Play again" state.
bool page_closed();

// web_recording.cpp: with "?record" in the page's address, the session is
// recorded and can be saved.
void record_if_asked();
std::string page_recording_header();

// web_scores.cpp: the ten best games in the browser's storage, the table
// under the field, and ?watch=ID, which plays one of them instead of a game.
void best_games_start();              // at start-up: the recording, or the game to watch
void best_games_after_first_frame();  // reads the table; a watch starts
bool best_games_read();
bool best_games_watching();
void best_games_follow_game();  // after an input: Watch only between games
void watching_ended();
std::string best_games_json();  // for the probe

// web_offline.cpp: after the first frame, a service worker keeps a copy of
// the page (and of the pictures and sounds it fetched) for visits without
// a network.
void keep_offline_copy();
void offline_copy_keep_fetched();  // the pictures and sounds fetched so far, again

// web_probe.cpp: window.plinkfieldProbe() for the end-to-end tests.
void install_probe();
