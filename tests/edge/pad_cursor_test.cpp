// The pad's cross-hair: the stick's dead zone and curve, the acceleration,
// the d-pad's steps and glide, the field's edges and the steps' schedule.
#include "game/edge/pad_cursor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int FULL = 32767;

// Half a step past the n-th step of a push: n steps have run, never n + 1,
// whatever the rounding.
constexpr double steps(int n) { return (n + 0.5) * PAD_STEP_MS; }

PadControls stick(int x, int y) { return {.stick_x = x, .stick_y = y}; }

// A cross-hair in the middle of the field, or at its left edge for the long
// pushes to the right.
PadCursor fresh(int x = 600) {
    PadCursor c;
    pad_cursor_place(c, x, 400);
    return c;
}
constexpr int LEFT_EDGE = 20;

// Holds the controls from `from_ms` for `ms`, waking every `wake_ms`, and
// lets go at the end. The cross-hair as it stands then.
PadCursor held(PadControls k, double ms, double from_ms = 1000.25, double wake_ms = 1, int x = 600) {
    PadCursor c = fresh(x);
    pad_cursor_set_controls(c, k, from_ms);
    for (double t = from_ms; t < from_ms + ms; t += wake_ms) pad_cursor_run_due(c, t);
    pad_cursor_set_controls(c, {}, from_ms + ms);
    return c;
}

double travelled(const PadCursor& c) { return std::hypot(c.x - 600.5, c.y - 400.5); }

TEST(PadCursor, AStickInsideTheDeadZoneMovesNothingAndAsksForNoWake) {
    const PadControls resting[] = {
        stick(0, 0),
        stick(7999, 0),
        stick(0, -8000),
        stick(5600, 5600),   // 7920 from the centre
        stick(-3000, 7000),  // 7616
    };
    for (const PadControls& k : resting) {
        PadCursor c = fresh();
        EXPECT_FALSE(pad_cursor_set_controls(c, k, 0));
        EXPECT_EQ(pad_cursor_wait_ms(c, 0), -1) << k.stick_x << "," << k.stick_y;
        pad_cursor_run_due(c, 5000);
        EXPECT_EQ(pad_point_x(c), 600);
        EXPECT_EQ(pad_point_y(c), 400);
    }
}

TEST(PadCursor, TheDeadZoneIsRoundSoADiagonalOutsideItMoves) {
    // 6000 on each axis is inside a square dead zone of 8000, but 8485 from
    // the centre.
    const PadCursor c = held(stick(6000, 6000), 2000);
    EXPECT_GT(pad_point_x(c), 600);
    EXPECT_GT(pad_point_y(c), 400);
}

TEST(PadCursor, TheStickPushesTheWayItLeansAtTheSameSpeedEveryWay) {
    struct Row {
        PadControls k;
        int dx, dy;  // the signs of the motion
    };
    const Row rows[] = {
        {stick(FULL, 0), 1, 0},
        {stick(-32768, 0), -1, 0},
        {stick(0, FULL), 0, 1},  // down the field
        {stick(0, -32768), 0, -1},
        {stick(23170, 23170), 1, 1},
        {stick(-23170, 23170), -1, 1},
    };
    const double straight = travelled(held(stick(FULL, 0), steps(6)));
    for (const Row& r : rows) {
        const PadCursor c = held(r.k, steps(6));
        const double dx = c.x - 600.5, dy = c.y - 400.5;
        EXPECT_EQ((dx > 0) - (dx < 0), r.dx) << r.k.stick_x << "," << r.k.stick_y;
        EXPECT_EQ((dy > 0) - (dy < 0), r.dy) << r.k.stick_x << "," << r.k.stick_y;
        if (r.dx && r.dy) {
            EXPECT_NEAR(std::abs(dx), std::abs(dy), 0.01);
        }
        EXPECT_NEAR(travelled(c), straight, 0.5) << "a diagonal is no faster than a straight push";
    }
}

TEST(PadCursor, AFullPushStartsAtTheStartSpeedAndReachesTheTopSpeed) {
    // The first tenth of a second, six steps, near the start speed.
    const double first = travelled(held(stick(FULL, 0), steps(6)));
    EXPECT_GT(first, PAD_START_SPEED * 0.1);
    EXPECT_LT(first, PAD_START_SPEED * 0.1 * 1.25);
    // Past the acceleration, a tenth of a second covers the top speed's.
    const int accelerated = static_cast<int>(PAD_ACCEL_MS / PAD_STEP_MS) + 1;
    const double early = held(stick(FULL, 0), steps(accelerated), 0, 1, LEFT_EDGE).x;
    const double late = held(stick(FULL, 0), steps(accelerated + 6), 0, 1, LEFT_EDGE).x;
    ASSERT_LT(late, FIELD_WIDTH - 1) << "clear of the far edge";
    EXPECT_NEAR(late - early, PAD_TOP_SPEED * 0.1, 1e-6);
}

TEST(PadCursor, AGreaterDeflectionIsNeverSlower) {
    double before = 0;
    for (int v = 9000; v <= FULL; v += 2000) {
        const double now = travelled(held(stick(v, 0), steps(18)));
        EXPECT_GT(now, before) << "stick at " << v;
        before = now;
    }
    // Half way out from the dead zone's edge is a quarter of the speed.
    const int half = PAD_DEAD_ZONE + (FULL - PAD_DEAD_ZONE) / 2;
    EXPECT_NEAR(travelled(held(stick(half, 0), steps(18))) / travelled(held(stick(FULL, 0), steps(18))), 0.25, 0.01);
}

TEST(PadCursor, LettingGoOrTurningBackStartsSlowAgain) {
    const double from_rest = travelled(held(stick(FULL, 0), steps(6)));
    const int accelerated = static_cast<int>(PAD_ACCEL_MS / PAD_STEP_MS) + 1;
    PadCursor fast = fresh(LEFT_EDGE);
    pad_cursor_set_controls(fast, stick(FULL, 0), 0);
    const double t = steps(accelerated);
    for (double now = 0; now <= t; now += 1) pad_cursor_run_due(fast, now);
    // At the top speed now.
    ASSERT_NEAR(fast.push_ms, accelerated * PAD_STEP_MS, 1e-6);
    ASSERT_LT(fast.x, FIELD_WIDTH - 300) << "clear of the far edge";

    // Let go, and pushed again.
    PadCursor again = fast;
    pad_cursor_set_controls(again, {}, t);
    pad_cursor_set_controls(again, stick(FULL, 0), t + 50);
    double x0 = again.x;
    pad_cursor_run_due(again, t + 50 + steps(6));
    EXPECT_NEAR(again.x - x0, from_rest, 1e-6);

    // Turned back without letting go.
    PadCursor back = fast;
    pad_cursor_set_controls(back, stick(-FULL, 0), t);
    x0 = back.x;
    pad_cursor_run_due(back, t + 6 * PAD_STEP_MS);
    EXPECT_NEAR(x0 - back.x, from_rest, 1e-6);

    // Bending the push less than a right angle keeps the speed.
    PadCursor bent = fast;
    pad_cursor_set_controls(bent, stick(FULL, FULL), t);
    x0 = bent.x;
    const double y0 = bent.y;
    pad_cursor_run_due(bent, t + 6 * PAD_STEP_MS);
    EXPECT_NEAR(std::hypot(bent.x - x0, bent.y - y0), PAD_TOP_SPEED * 0.1, 1e-6);
}

TEST(PadCursor, ADPadPressStepsAtOnceAndGlidesOnlyWhenHeld) {
    struct Row {
        PadControls k;
        int dx, dy;
    };
    const Row rows[] = {
        {{.left = true}, -PAD_DPAD_STEP, 0},
        {{.right = true}, PAD_DPAD_STEP, 0},
        {{.up = true}, 0, -PAD_DPAD_STEP},
        {{.down = true}, 0, PAD_DPAD_STEP},
        {{.right = true, .down = true}, PAD_DPAD_STEP, PAD_DPAD_STEP},
        {{.left = true, .right = true}, 0, 0},  // opposite presses cancel
    };
    for (const Row& r : rows) {
        PadCursor c = fresh();
        EXPECT_EQ(pad_cursor_set_controls(c, r.k, 0), r.dx != 0 || r.dy != 0);
        EXPECT_EQ(pad_point_x(c) - 600, r.dx);
        EXPECT_EQ(pad_point_y(c) - 400, r.dy);
        // Held, but not for long enough: no more.
        pad_cursor_run_due(c, PAD_DPAD_GLIDE_MS - 1);
        EXPECT_EQ(pad_point_x(c) - 600, r.dx);
        EXPECT_EQ(pad_point_y(c) - 400, r.dy);
        // Held on: the glide of a full push.
        pad_cursor_run_due(c, PAD_DPAD_GLIDE_MS + 100);
        // Gliding: a tenth of a second at the start speed or faster, along
        // the pressed directions only.
        const int glide = static_cast<int>(PAD_START_SPEED * 0.1 / (r.dx && r.dy ? 1.5 : 1.0));
        EXPECT_EQ(std::abs(pad_point_x(c) - 600) >= glide, r.dx != 0);
        EXPECT_EQ(std::abs(pad_point_y(c) - 400) >= glide, r.dy != 0);
        EXPECT_EQ(pad_point_x(c) == 600, r.dx == 0);
        EXPECT_EQ(pad_point_y(c) == 400, r.dy == 0);
    }
}

TEST(PadCursor, EveryDPadPressIsAStepAndAReleaseIsNone) {
    PadCursor c = fresh();
    for (int i = 0; i < 5; ++i) {
        pad_cursor_set_controls(c, {.right = true}, i * 100.0);
        pad_cursor_set_controls(c, {}, i * 100.0 + 30);
    }
    EXPECT_EQ(pad_point_x(c), 600 + 5 * PAD_DPAD_STEP);
    EXPECT_EQ(pad_cursor_wait_ms(c, 1000), -1);
    // A second direction pressed while one is held steps too.
    pad_cursor_set_controls(c, {.right = true}, 2000);
    pad_cursor_set_controls(c, {.right = true, .up = true}, 2050);
    EXPECT_EQ(pad_point_x(c), 600 + 6 * PAD_DPAD_STEP);
    EXPECT_EQ(pad_point_y(c), 400 - PAD_DPAD_STEP);
}

TEST(PadCursor, TheCrossHairStaysOnTheFieldAndLeavesAnEdgeAtOnce) {
    struct Row {
        PadControls k;
        int x, y;  // where it ends: -1 where that coordinate stays
    };
    const Row rows[] = {
        {stick(-FULL, 0), 0, -1},
        {stick(FULL, 0), FIELD_WIDTH - 1, -1},
        {stick(0, -FULL), -1, 0},
        {stick(0, FULL), -1, FIELD_HEIGHT - 1},
        {{.left = true, .up = true}, 0, 0},
    };
    for (const Row& r : rows) {
        PadCursor c = fresh();
        pad_cursor_set_controls(c, r.k, 0);
        for (int t = 0; t <= 5000; t += 10) pad_cursor_run_due(c, t);
        EXPECT_EQ(pad_point_x(c), r.x < 0 ? 600 : r.x);
        EXPECT_EQ(pad_point_y(c), r.y < 0 ? 400 : r.y);
        // Pushed the other way, it comes off the edge with the first step.
        const PadControls back = stick(-r.k.stick_x, -r.k.stick_y);
        if (back == PadControls{}) continue;
        pad_cursor_set_controls(c, back, 5000);
        const int x0 = pad_point_x(c), y0 = pad_point_y(c);
        pad_cursor_run_due(c, 5000 + 1.5 * PAD_STEP_MS);
        EXPECT_TRUE(pad_point_x(c) != x0 || pad_point_y(c) != y0);
    }
    // Placed off the field: on its edge.
    PadCursor c;
    pad_cursor_place(c, 5000, -3);
    EXPECT_EQ(pad_point_x(c), FIELD_WIDTH - 1);
    EXPECT_EQ(pad_point_y(c), 0);
}

TEST(PadCursor, HowOftenTheBackendWakesChangesNothing) {
    const PadControls k = stick(20000, -15000);
    const PadCursor often = held(k, 700, 1000, 1);
    for (double wake : {PAD_STEP_MS, 33.0, 50.0, 99.0}) {
        const PadCursor seldom = held(k, 700, 1000, wake);
        EXPECT_DOUBLE_EQ(seldom.x, often.x) << "waking every " << wake << " ms";
        EXPECT_DOUBLE_EQ(seldom.y, often.y) << "waking every " << wake << " ms";
    }
}

TEST(PadCursor, AStallIsNotMadeUpBeyondATenthOfASecond) {
    PadCursor c = fresh();
    pad_cursor_set_controls(c, stick(FULL, 0), 0);
    pad_cursor_run_due(c, 10000);  // ten seconds late
    EXPECT_NEAR(c.x - 600.5, travelled(held(stick(FULL, 0), steps(PAD_MAX_CATCH_UP_STEPS))), 1e-6);
    // and the schedule goes on from the stall, not from before it.
    EXPECT_GT(pad_cursor_wait_ms(c, 10000), 0);
    EXPECT_LE(pad_cursor_wait_ms(c, 10000), PAD_STEP_MS);
}

TEST(PadCursor, TheWakesFollowThePush) {
    PadCursor c = fresh();
    EXPECT_EQ(pad_cursor_wait_ms(c, 0), -1);
    pad_cursor_set_controls(c, stick(FULL, 0), 100);
    EXPECT_NEAR(pad_cursor_wait_ms(c, 100), PAD_STEP_MS, 1e-9);
    EXPECT_EQ(pad_cursor_wait_ms(c, 200), 0) << "overdue";
    pad_cursor_run_due(c, 200);
    EXPECT_GT(pad_cursor_wait_ms(c, 200), 0);
    // A d-pad held is a push too, before it glides: its glide must begin.
    pad_cursor_set_controls(c, {.down = true}, 300);
    EXPECT_GE(pad_cursor_wait_ms(c, 300), 0);
    pad_cursor_set_controls(c, {}, 400);
    EXPECT_EQ(pad_cursor_wait_ms(c, 400), -1);
}

TEST(PadCursor, APlacedCrossHairStartsFromTheMousesPoint) {
    PadCursor c;
    EXPECT_EQ(pad_point_x(c), FIELD_WIDTH / 2);
    EXPECT_EQ(pad_point_y(c), FIELD_HEIGHT / 2);
    pad_cursor_place(c, 17, 700);
    EXPECT_EQ(pad_point_x(c), 17);
    EXPECT_EQ(pad_point_y(c), 700);
    // The least push either way leaves the mouse's pixel after as many steps.
    auto steps_to_leave = [&](int lean) {
        PadCursor d = c;
        pad_cursor_set_controls(d, stick(lean * (PAD_DEAD_ZONE + 1500), 0), 0);
        int n = 0;
        while (pad_point_x(d) == 17 && n < 1000) pad_cursor_run_due(d, steps(++n));
        return n;
    };
    EXPECT_GT(steps_to_leave(1), 1);
    EXPECT_EQ(steps_to_leave(-1), steps_to_leave(1));
}

}  // namespace
