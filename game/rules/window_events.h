// What the main window's inputs mean to the game: a backend, through the
// edge, turns its events into these calls and nothing else. Points are
// client coordinates of the 1280 x 786 game area.
#pragma once

// A button's command, by control identifier; an unknown one does nothing.
// The backend calls it when a press on the button is released over it.
void dispatch_command(int control_id);

// Whether a left press at this point drags the window instead of shooting:
// in the painted title strip, outside the bonus stage. A backend may ask it
// before the press arrives (a window manager's hit test).
bool press_drags_window(int x, int y);

// A left press on the field: the drag strip, the shot, the bonus click and
// one tick, in that order.
void handle_press(int x, int y);

// The mouse moved: records the cursor and moves the marker of the stage.
void follow_cursor(int x, int y);

// The arrow keys move the window by 2 pixels, in every stage.
enum class ArrowKey { left, up, right, down, COUNT };
void nudge_window(ArrowKey key);

// Command 450, and the platform's own ways of closing the main window
// (Alt+F4, the window manager's close): stops the timer, closes Ambient and
// destroys the window.
void close_game_window();

// The main window is being destroyed, however that came about.
void handle_destroy();
