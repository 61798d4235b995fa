// What the page's shell files share. Everything runs on the browser's one
// thread, in event handlers, timeouts and animation frames.
#pragma once

#include <span>

#include "game/edge/view_fit.h"

// web_pictures.cpp: decodes every bitmap of the catalogue once and hands it
// to the page; the label font and the cross-hair cursor too.
void load_pictures();
void load_label_font();  // calls scene_fonts_ready when the page has it
void set_field_cursor(bool over_field);  // the cross-hair, or the arrow of a button

// web_canvas.cpp: opens the canvas, first of all, since the other files
// keep their page objects beside it in Module.page. The scene is drawn from
// the model on the next animation frame after any change; nothing is drawn
// before the font is ready.
void open_canvas();
void scene_fonts_ready();
void request_redraw();
void stop_drawing();

// web_view.cpp: fits the canvas to the window, now and at every resize.
void follow_window_size();
View current_view();

// web_input.cpp: mouse and keys turned into the game's window events.
void listen_to_input();
void stop_listening();

// web_timer.cpp
void stop_game_timer();
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

// web_probe.cpp: window.plinkfieldProbe() for the end-to-end tests.
void install_probe();
