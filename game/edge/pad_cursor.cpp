#include "game/edge/pad_cursor.h"

#include <algorithm>
#include <cmath>

namespace {

// The stick's end: SDL and evdev report -32768 to 32767.
constexpr double STICK_END = 32767.0;

struct Push {
    double x = 0, y = 0;  // a direction whose length, 0 to 1, is the strength
};

bool any_dpad(const PadControls& k) { return k.left || k.right || k.up || k.down; }

bool stick_pushed(const PadControls& k) {
    return std::hypot(double(k.stick_x), double(k.stick_y)) > PAD_DEAD_ZONE;
}

Push stick_push(const PadControls& k) {
    const double r = std::hypot(double(k.stick_x), double(k.stick_y));
    if (r <= PAD_DEAD_ZONE) return {};
    // Measured from the dead zone's edge, and squared: half way out is a
    // quarter of the speed.
    const double travel = std::min(1.0, (r - PAD_DEAD_ZONE) / (STICK_END - PAD_DEAD_ZONE));
    const double strength = travel * travel;
    return {k.stick_x / r * strength, k.stick_y / r * strength};
}

// The d-pad held long enough: a full push its way, diagonals as long as the
// straight ones.
Push glide_push(const PadCursor& c, double at_ms) {
    const PadControls& k = c.controls;
    if (!any_dpad(k) || at_ms - c.glide_from_ms < PAD_DPAD_GLIDE_MS) return {};
    const double dx = double(k.right) - double(k.left), dy = double(k.down) - double(k.up);
    const double len = std::hypot(dx, dy);
    if (len == 0) return {};  // opposite directions cancel
    return {dx / len, dy / len};
}

void clamp_to_field(PadCursor& c) {
    c.x = std::clamp(c.x, 0.0, double(FIELD_WIDTH - 1));
    c.y = std::clamp(c.y, 0.0, double(FIELD_HEIGHT - 1));
}

// One step of PAD_STEP_MS, the one that falls due at at_ms.
void step(PadCursor& c, double at_ms) {
    const Push s = stick_push(c.controls), g = glide_push(c, at_ms);
    Push p{s.x + g.x, s.y + g.y};
    const double len = std::hypot(p.x, p.y);
    if (len == 0) {
        c.push_ms = 0;
        c.last_dx = c.last_dy = 0;
        return;
    }
    if (len > 1) p = {p.x / len, p.y / len};
    // Turning back (more than a right angle) is a new push.
    if (p.x * c.last_dx + p.y * c.last_dy < 0) c.push_ms = 0;
    const double ramp = std::min(1.0, c.push_ms / PAD_ACCEL_MS);
    const double speed = PAD_START_SPEED + (PAD_TOP_SPEED - PAD_START_SPEED) * ramp;
    c.x += p.x * speed * PAD_STEP_MS / 1000.0;
    c.y += p.y * speed * PAD_STEP_MS / 1000.0;
    clamp_to_field(c);
    c.push_ms += PAD_STEP_MS;
    c.last_dx = p.x;
    c.last_dy = p.y;
}

struct Point {
    int x, y;
    friend bool operator==(const Point&, const Point&) = default;
};

Point point_of(const PadCursor& c) { return {pad_point_x(c), pad_point_y(c)}; }

}  // namespace

int pad_point_x(const PadCursor& c) { return std::clamp(int(std::floor(c.x)), 0, FIELD_WIDTH - 1); }

int pad_point_y(const PadCursor& c) { return std::clamp(int(std::floor(c.y)), 0, FIELD_HEIGHT - 1); }

void pad_cursor_place(PadCursor& c, int x, int y) {
    // The middle of the pixel, so that the least push either way leaves it
    // after the same distance.
    c.x = x + 0.5;
    c.y = y + 0.5;
    clamp_to_field(c);
}

bool pad_cursor_set_controls(PadCursor& c, const PadControls& k, double now_ms) {
    // What the old controls owe runs first.
    const Point before = point_of(c);
    pad_cursor_run_due(c, now_ms);

    const PadControls& old = c.controls;
    if (any_dpad(k) && !any_dpad(old)) c.glide_from_ms = now_ms;
    const int dx = int(k.right && !old.right) - int(k.left && !old.left);
    const int dy = int(k.down && !old.down) - int(k.up && !old.up);
    c.x += dx * PAD_DPAD_STEP;
    c.y += dy * PAD_DPAD_STEP;
    clamp_to_field(c);

    const bool was_stepping = c.stepping;
    c.controls = k;
    c.stepping = stick_pushed(k) || any_dpad(k);
    if (c.stepping && !was_stepping) c.next_step_ms = now_ms + PAD_STEP_MS;
    if (!c.stepping || !was_stepping) {
        c.push_ms = 0;
        c.last_dx = c.last_dy = 0;
    }
    return point_of(c) != before;
}

bool pad_cursor_run_due(PadCursor& c, double now_ms) {
    if (!c.stepping || now_ms < c.next_step_ms) return false;
    const Point before = point_of(c);
    for (int n = 0; n < PAD_MAX_CATCH_UP_STEPS && c.next_step_ms <= now_ms; ++n) {
        step(c, c.next_step_ms);
        c.next_step_ms += PAD_STEP_MS;
    }
    // A stall: the steps owed past the bound are dropped, and the schedule
    // goes on from now.
    if (c.next_step_ms <= now_ms) {
        c.next_step_ms += std::floor((now_ms - c.next_step_ms) / PAD_STEP_MS) * PAD_STEP_MS;
        while (c.next_step_ms <= now_ms) c.next_step_ms += PAD_STEP_MS;
    }
    return point_of(c) != before;
}

double pad_cursor_wait_ms(const PadCursor& c, double now_ms) {
    if (!c.stepping) return -1;
    return std::max(0.0, c.next_step_ms - now_ms);
}
