// The timer's fixed schedule, and the timer the rules start and stop,
// driven with made-up clocks.

#include "game/edge/tick_schedule.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(TickSchedule, TheFirstTickFallsDueOneIntervalAfterTheStart) {
    TickSchedule s{1000, 0};
    EXPECT_EQ(take_due_ticks(s, 1000), 0);
    EXPECT_EQ(take_due_ticks(s, 1099.9), 0);
    EXPECT_NEAR(ms_until_next_tick(s, 1099.9), 0.1, 1e-9);
    EXPECT_EQ(take_due_ticks(s, 1100), 1);
    EXPECT_EQ(take_due_ticks(s, 1100), 0) << "a tick runs once";
    EXPECT_DOUBLE_EQ(ms_until_next_tick(s, 1100), 100);
}

TEST(TickSchedule, ALateWakeRunsEveryOwedTickWithoutDrift) {
    TickSchedule s{0, 0};
    EXPECT_EQ(take_due_ticks(s, 1040), 10);
    // The next tick keeps the original phase: due at 1100, not 1140.
    EXPECT_DOUBLE_EQ(ms_until_next_tick(s, 1040), 60);
    EXPECT_EQ(take_due_ticks(s, 1100), 1);
}

TEST(TickSchedule, AnEarlyWakeRunsNothingAndWaitsTheRest) {
    TickSchedule s{0, 0};
    EXPECT_EQ(take_due_ticks(s, 99), 0);
    EXPECT_DOUBLE_EQ(ms_until_next_tick(s, 99), 1);
    EXPECT_DOUBLE_EQ(ms_until_next_tick(s, 150), 0) << "overdue: wake at once";
}

TEST(TickSchedule, AfterALongSleepAMinuteOfTicksRunsAndTheRestIsDropped) {
    TickSchedule s{0, 0};
    const double ten_minutes = 10 * 60 * 1000 + 30;
    EXPECT_EQ(take_due_ticks(s, ten_minutes), MAX_CATCH_UP_TICKS);
    EXPECT_EQ(take_due_ticks(s, ten_minutes), 0) << "the dropped ticks are not run later";
    EXPECT_DOUBLE_EQ(ms_until_next_tick(s, ten_minutes), 70) << "the phase is kept";
}

TEST(TickSchedule, ThrottledWakesKeepGameTimeToTheClock) {
    // Wakes as a hidden tab gets them: late by anything up to a second.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> lateness(0, 1000);
    TickSchedule s{500, 0};
    long long ran = 0;
    double now = 500;
    for (int i = 0; i < 2000; ++i) {
        now += ms_until_next_tick(s, now) + lateness(random);
        ran += take_due_ticks(s, now);
        ASSERT_EQ(ran, static_cast<long long>((now - 500) / 100)) << "at wake " << i;
    }
}

// ------------------------------------------------------------ the timer

TickTimer timer;
double clock_now = 0;
int ticks = 0;
enum class OnFirstTick { nothing, stop, restart } on_first_tick = OnFirstTick::nothing;

void count_tick() {
    if (++ticks == 1 && on_first_tick == OnFirstTick::stop) tick_timer_stop(timer);
    if (ticks == 1 && on_first_tick == OnFirstTick::restart) {
        // As the bonus stage does: stopped and started again within a tick.
        tick_timer_stop(timer);
        tick_timer_start(timer, clock_now);
    }
}

int run_at(double now) {
    clock_now = now;
    const int before = ticks;
    tick_timer_run_due(timer, now, count_tick);
    return ticks - before;
}

void start_at(double now, OnFirstTick then = OnFirstTick::nothing) {
    timer = TickTimer{};
    ticks = 0;
    on_first_tick = then;
    tick_timer_start(timer, now);
}

TEST(TickTimer, AStartCountsFromItsOwnMomentAndAStoppedTimerRunsNothing) {
    start_at(0);
    EXPECT_EQ(run_at(1000), 10);
    tick_timer_stop(timer);
    EXPECT_EQ(run_at(3000), 0);
    EXPECT_EQ(tick_timer_wait_ms(timer, 3000), -1);
    tick_timer_start(timer, 5000);
    EXPECT_EQ(run_at(5099), 0) << "nothing owed from before the stop";
    EXPECT_EQ(run_at(5100), 1);
    // Started again while running: afresh, from now.
    tick_timer_start(timer, 5150);
    EXPECT_EQ(run_at(5200), 0);
    EXPECT_EQ(run_at(5250), 1);
    EXPECT_EQ(timer.ticks_run, 12);
}

TEST(TickTimer, ATickThatStopsOrRestartsTheTimerEndsTheTicksOwedToTheOldRun) {
    start_at(0, OnFirstTick::stop);
    EXPECT_EQ(run_at(550), 1);
    EXPECT_FALSE(timer.running);

    start_at(0, OnFirstTick::restart);
    EXPECT_EQ(run_at(550), 1) << "four more were owed to the old run";
    EXPECT_EQ(run_at(649), 0);
    EXPECT_EQ(run_at(650), 1) << "the new run counts from the restart";
}

}  // namespace
