// Where the 1280 x 786 field sits: in the browser window, with the way back
// from a point in the page to a point of the game; in the native window,
// whose scale fits the display and the zoom keys step; and in the pixels of
// a window made of child windows, as the Windows build draws it.
#pragma once

#include "game/model/layout.h"

// The canvas on the page, in CSS pixels of the window.
struct View {
    double left = 0, top = 0, width = FIELD_WIDTH, height = FIELD_HEIGHT;
};

// The largest box of the field's proportions that fits the window, centred
// in it; bigger or smaller than the field alike.
View fit_view(double window_width, double window_height);

// A page point to the game pixel under it. False when the point lies off
// the canvas; gx and gy are then left as they were.
bool view_to_game(const View& v, double page_x, double page_y, int& gx, int& gy);

// The canvas's own pixels: the view's size in device pixels, whole, so the
// page draws at the screen's real resolution (at least one pixel each way).
struct Backing {
    int width = FIELD_WIDTH, height = FIELD_HEIGHT;
};
Backing backing_store(const View& v, double device_pixel_ratio);

// Which pictures the page draws: the painter's twice-size twins (2) where a
// field pixel covers more than one device pixel, the pictures as painted
// (1) where it covers one or less.
int picture_scale(const View& v, double device_pixel_ratio);

// ------------------------------------------------------------ the window

// The smallest and largest factors a window is drawn at.
inline constexpr double MIN_SCALE = 0.25;
inline constexpr double MAX_SCALE = 8.0;

// The largest scale at which the whole window fits an area of w x h (the
// display's usable area: without its panels), to a hundredth below.
double largest_fitting_scale(int w, int h);

// The scale the window opens at: up to four fifths of the area in quarter
// steps and never below one to one, so an ordinary screen shows the field
// pixel for pixel and a large one grows it; but where that does not fit,
// the largest twentieth that does (0.9 on a 1366 x 768 laptop with a panel).
double automatic_scale(int w, int h);

// Ctrl+Plus (direction 1) and Ctrl+Minus (-1): the next quarter step up or
// down, never below MIN_SCALE; a step up past `largest` (what fits) stops
// at `largest`. The scale as it is when there is no step left.
double zoom_step(double scale, int direction, double largest);

// ------------------------------------------------ a window of child windows

// The Windows build places every element on whole device pixels of a window
// drawn at `scale`: an edge at field coordinate v lies at device pixel
// device_edge(v, scale), and device pixel p shows field pixel
// field_pixel(p, scale), the one under its centre. The two agree: p lies at
// or past device_edge(v) exactly when field_pixel(p) is v or more, so a press
// on a pixel drawn as part of an element lands inside that element. At
// scale 1 both give back what they are given.
int device_edge(int v, double scale);
int field_pixel(int p, double scale);

// Device pixels enough for a length of the field wherever it lies: a
// picture made this size covers its element, which cuts off the rest.
int device_length(int length, double scale);
