// What the Windows shell's files share: the program's handles, the fonts
// and the scale the window is drawn at. Everything runs on the one GUI
// thread.
#pragma once

#include <windows.h>

#include "game/model/layout.h"

// Set by WinMain before anything else uses them.
extern HWND main_window;
extern HFONT large_font;
extern HFONT small_font;

// The main window's procedure, registered with its class by WinMain.
LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Called by the scene for each button it creates: however a press on the
// button ends, the keyboard focus goes back to the main window.
void subclass_button(HWND button);

// WM_DRAWITEM: paints an owner-drawn button from its normal or pressed
// bitmap, loaded for this paint and released after it.
void draw_button(int control_id, const DRAWITEMSTRUCT& request);

// ------------------------------------------------------------ the scale
// (win32_view.cpp) Device pixels per field pixel: the edge's automatic
// scale for the work area of the window's monitor, 1 where the field fits
// as it is. The scene model and the rules stay in field pixels; the shell
// maps every rectangle out and every point back.
extern double window_scale;

// The scale for a monitor's work area, in device pixels (the program is
// DPI aware), and that area.
double scale_for_monitor(HMONITOR monitor);
RECT work_area(HMONITOR monitor);

// Field pixels to device pixels and back (view_fit.h), at window_scale.
int to_device(int field);
int to_field(int device);
// The main window's size at window_scale.
int window_width();
int window_height();

// The labels' fonts at window_scale, into large_font and small_font.
void make_label_fonts();

// WM_DPICHANGED: the window has moved to a monitor of another density.
// Takes the scale of that monitor and draws everything anew at it, the
// window's top-left corner where the system suggests.
void rescale_window(HMONITOR monitor, int left, int top);

// ---------------------------------------------------------- the pictures
// (win32_pictures.cpp) A bitmap of the catalogue made width x height
// device pixels: the resource as LoadImageA gives it where that is its own
// size, otherwise made from its twin or from it. nullptr for an identifier
// the catalogue lacks. The caller deletes it.
HBITMAP load_picture(int bitmap_id, int width, int height);

// The class background: the scene picture at window_scale, as a pattern
// brush.
HBRUSH make_scene_brush();

// ------------------------------------------------------------- the scene
// (win32_scene.cpp) Every child window again at window_scale: its
// rectangle, its picture, its font.
void rescale_scene();
