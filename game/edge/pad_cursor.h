// The gamepad's cross-hair: how the left stick and the d-pad move a point
// over the field, in real time. Platform-free arithmetic; a backend reports
// what the controls say and when, and asks where the point is.
//
// The stick has a round dead zone: a pad at rest never sits exactly at the
// centre, and a worn one drifts. Beyond it the speed grows with the square
// of the deflection, so a small push aims finely and a full one travels;
// and it grows with time while the push keeps its direction (a rodent is up
// for less than a second, so the far side of the field must be near), from
// PAD_START_SPEED to PAD_TOP_SPEED over PAD_ACCEL_MS. Turning back, or
// letting go, starts slow again.
//
// A d-pad press moves PAD_DPAD_STEP pixels at once, for the last bit of
// aim; held past PAD_DPAD_GLIDE_MS it glides as the stick pushed all the
// way does.
//
// The motion runs in steps of PAD_STEP_MS on a fixed schedule from the
// moment a push begins, as the game's ticks do: a late wake runs the steps
// it owes, so the speed does not depend on how often a backend wakes, and a
// stall is not made up beyond PAD_MAX_CATCH_UP_STEPS, so the cross-hair
// never leaps across the field after one.
#pragma once

#include "game/model/layout.h"

// What a pad's controls say: the left stick as the pad reports it (-32768
// to 32767 on each axis, y growing downwards) and the four d-pad
// directions.
struct PadControls {
    int stick_x = 0, stick_y = 0;
    bool left = false, right = false, up = false, down = false;

    friend bool operator==(const PadControls&, const PadControls&) = default;
};

// A stick inside this radius counts as centred (about a quarter of its way).
inline constexpr int PAD_DEAD_ZONE = 8000;
// One step of motion: 60 a second, as often as a screen is redrawn.
inline constexpr double PAD_STEP_MS = 1000.0 / 60.0;
// Field pixels a second at full deflection, from rest and at the most.
inline constexpr double PAD_START_SPEED = 700;
inline constexpr double PAD_TOP_SPEED = 2100;
// How long an unbroken push takes from the one speed to the other.
inline constexpr double PAD_ACCEL_MS = 500;
// A d-pad press moves this far at once; held this long, it glides.
inline constexpr int PAD_DPAD_STEP = 4;
inline constexpr double PAD_DPAD_GLIDE_MS = 300;
// The most steps one late wake runs: a tenth of a second's worth.
inline constexpr int PAD_MAX_CATCH_UP_STEPS = 6;

struct PadCursor {
    // Where the cross-hair is, in field pixels; its point is the pixel it
    // lies in. Starts in the middle of the field.
    double x = FIELD_WIDTH / 2.0, y = FIELD_HEIGHT / 2.0;
    PadControls controls;   // as last reported
    double glide_from_ms = 0;  // when the d-pad was pressed from none
    double push_ms = 0;        // how long the push has kept its direction
    double last_dx = 0, last_dy = 0;  // the direction of the last step
    bool stepping = false;     // the controls push: steps are due
    double next_step_ms = 0;
};

// The cross-hair's point: a pixel of the field.
int pad_point_x(const PadCursor& c);
int pad_point_y(const PadCursor& c);

// Puts the cross-hair on field point x, y (clamped to the field): where the
// mouse left the game's cursor, so the pad takes over from there.
void pad_cursor_place(PadCursor& c, int x, int y);

// The controls as they are at now_ms. A d-pad direction pressed now moves a
// step at once; a push that begins starts the steps' schedule, one that
// ends stops it. True when the point moved.
bool pad_cursor_set_controls(PadCursor& c, const PadControls& controls, double now_ms);

// Runs every step due at now_ms. True when the point moved.
bool pad_cursor_run_due(PadCursor& c, double now_ms);

// Milliseconds until the next step falls due (0 if overdue), or -1 while
// the controls push nothing and the cross-hair stays where it is.
double pad_cursor_wait_ms(const PadCursor& c, double now_ms);
