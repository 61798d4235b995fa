// game_tick: its guards, its step order and the timelines it drives.
#include "game/rules/random.h"
#include "tests/game_fixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(Random, MatchesTheMsvcSequenceForASeed) {
    seed_random(1);
    std::vector<int> draws;
    for (int i = 0; i < 5; ++i) draws.push_back(draw_random());
    EXPECT_THAT(draws, ElementsAre(41, 18467, 6334, 26500, 19169));
    seed_random(0xFFFFFFFFu);  // wraps in 32 bits
    int d = draw_random();
    EXPECT_GE(d, 0);
    EXPECT_LE(d, 32767);
}

namespace {
std::uint32_t clock_now = 0;
int clock_reads = 0;
std::uint32_t test_clock() {
    ++clock_reads;
    return clock_now;
}
int first_hole_for_seed(std::uint32_t seed) {
    seed_random(seed);
    return draw_random() % 9 + 1;
}
}  // namespace

// The clock is read when the first rodent of the process seeds the
// generator, as the game reads it, not when the program starts; and only
// then.
TEST_F(GameTest, ClockIsReadOnceAtTheFirstSpawn) {
    const int hole_at_start_up = first_hole_for_seed(100), hole_at_spawn = first_hole_for_seed(200);
    ASSERT_NE(hole_at_start_up, hole_at_spawn);
    recorder.seed.reset();
    recorder.clock = test_clock;
    clock_reads = 0;
    clock_now = 100;
    start();
    tick();
    EXPECT_EQ(clock_reads, 0);
    clock_now = 200;
    tick();  // the first spawn
    EXPECT_EQ(clock_reads, 1);
    EXPECT_EQ(game.active_hole, hole_at_spawn);
    clock_now = 300;
    command(800);
    start();
    tick(60);
    EXPECT_EQ(clock_reads, 1);
}

TEST_F(GameTest, FirstRodentComesUpOnTheSecondTickWithItsCue) {
    start();
    EXPECT_THAT(tick(), IsEmpty());
    EXPECT_EQ(game.spawn_count, 0);
    // Seed 1 draws 41: hole 41 % 9 + 1 = 6, whose cue is the third pop-up.
    EXPECT_THAT(tick(), ElementsAre(cue("snd_popup_3")));
    EXPECT_EQ(game.active_hole, 6);
    EXPECT_TRUE(visible(peek(6)));
    EXPECT_EQ(game.hole_hittable[6], 0);
}

TEST_F(GameTest, RodentPeeksOneTickIsRaisedEightAndSinksForOne) {
    start();
    tick(2);  // spawned
    tick();   // raised
    EXPECT_TRUE(visible(raised(6)));
    EXPECT_FALSE(visible(peek(6)));
    EXPECT_EQ(game.hole_hittable[6], 1);
    tick(7);
    EXPECT_EQ(game.hole_hittable[6], 1);
    tick();  // tick 11: back to peeking
    EXPECT_FALSE(visible(raised(6)));
    EXPECT_TRUE(visible(peek(6)));
    EXPECT_EQ(game.hole_hittable[6], 0);
    tick();
    EXPECT_FALSE(visible(peek(6)));
}

TEST_F(GameTest, CycleIsFortyEightTicksAndALizardPausesIt) {
    start();
    tick(2);
    // The climbing lizard is out from tick 14 to 22: it holds the cycle for
    // the eight ticks 15 to 22, so the next spawn is tick 2 + 48 + 8.
    tick(55);
    EXPECT_EQ(game.spawn_count, 1);
    EXPECT_THAT(tick(), ElementsAre(cue("snd_popup_2")));  // 18467 % 9 + 1 = 9
    EXPECT_EQ(game.spawn_count, 2);
    EXPECT_EQ(game.active_hole, 9);
}

TEST_F(GameTest, LizardBusyTakesEffectFromTheNextTick) {
    start();
    tick(13);
    int popup = game.popup_tick;
    tick();  // tick 14: the climb starts; this tick's rodent step has run
    EXPECT_EQ(game.lizard_busy, 1);
    EXPECT_EQ(game.popup_tick, popup + 1);
    tick();
    EXPECT_EQ(game.popup_tick, popup + 1);
}

TEST_F(GameTest, ClimbingLizardFramesEachHittableForOneTick) {
    start();
    tick(14);
    EXPECT_TRUE(visible(climber(0)));
    for (int i = 1; i <= 5; ++i) {
        tick();
        EXPECT_TRUE(visible(climber(i))) << i;
        EXPECT_FALSE(visible(climber(i - 1))) << i;
        for (int j = 1; j <= 5; ++j) EXPECT_EQ(game.climber_hittable[j], j == i ? 1 : 0) << i << ' ' << j;
    }
    tick(3);  // 20, 21, 22: the tail leaves at the top
    for (int i = 0; i <= 7; ++i) EXPECT_FALSE(visible(climber(i))) << i;
    EXPECT_EQ(game.lizard_busy, 0);
}

TEST_F(GameTest, DescendingLizardAtOneSixtyAndTheCounterWrapsAfterThreeHundred) {
    start();
    game.lizard_tick = 159;
    tick();
    EXPECT_TRUE(visible(descender(0)));
    tick(2);
    EXPECT_EQ(game.descender_hittable[2], 1);
    tick(4);
    EXPECT_EQ(game.lizard_busy, 0);
    for (int i = 0; i <= 5; ++i) EXPECT_FALSE(visible(descender(i))) << i;
    game.lizard_tick = 299;
    tick();
    EXPECT_EQ(game.lizard_tick, 300);
    tick();
    EXPECT_EQ(game.lizard_tick, 0);
}

TEST_F(GameTest, SpiderDropsAtThirtyAndClimbsBackAtEighty) {
    start();
    tick(29);
    EXPECT_EQ(game.spider_top_hittable, 1);
    tick();
    EXPECT_TRUE(visible(spider(1)));
    EXPECT_EQ(game.spider_top_hittable, 0);
    tick(3);
    EXPECT_TRUE(visible(spider(4)));
    EXPECT_EQ(game.spider_bottom_hittable, 1);
    game.spider_tick = 79;
    tick();
    EXPECT_EQ(game.spider_bottom_hittable, 0);
    tick(3);
    EXPECT_TRUE(visible(spider(0)));
    EXPECT_EQ(game.spider_top_hittable, 1);
    game.spider_tick = 400;
    tick();
    EXPECT_EQ(game.spider_tick, 0);
}

TEST_F(GameTest, CowTurnsItsHeadThenChewsAndItsCounterWraps) {
    start();
    std::vector<int> images;
    for (int t = 1; t <= 161; ++t) {
        tick();
        if (images.empty() || images.back() != scene[cow].image) images.push_back(scene[cow].image);
    }
    EXPECT_THAT(images, ElementsAre(bmp_cow_profile, bmp_cow_turning, bmp_cow_turned, bmp_cow_facing, bmp_cow_turned,
                                    bmp_cow_turning, bmp_cow_mouth_closed, bmp_cow_mouth_open, bmp_cow_mouth_closed,
                                    bmp_cow_mouth_open, bmp_cow_mouth_closed, bmp_cow_mouth_open, bmp_cow_mouth_closed));
    EXPECT_EQ(game.cow_tick, 0);  // 161 wraps in the same tick
}

TEST_F(GameTest, SplatEndLetsTheLizardTimelineRunInTheSameTick) {
    start();
    game.splat_active = 1;
    game.splat_tick = 399;
    game.lizard_tick = 14;  // would show a climber if the timeline ran on it
    show_element(splat);
    tick();
    EXPECT_EQ(game.splat_active, 0);
    EXPECT_EQ(game.splat_tick, 0);
    EXPECT_EQ(game.lizard_tick, 0);
    EXPECT_FALSE(visible(splat));
    EXPECT_EQ(scene[splat].image, bmp_splat);
    EXPECT_FALSE(visible(climber(0)));
    tick(14);
    EXPECT_TRUE(visible(climber(0)));
}

TEST_F(GameTest, ShootingBlockGuards) {
    tick(5);  // idle: nothing moves
    EXPECT_EQ(game.cow_tick, 0);
    start();
    game.popup_tick = 50;  // parked, as during a bonus stage
    tick();
    EXPECT_EQ(game.cow_tick, 0);
    game.popup_tick = 49;
    tick();
    EXPECT_EQ(game.cow_tick, 1);
    EXPECT_EQ(game.popup_tick, 1);  // 49 + 1 wraps to 1
    game.shots_fired = game.shot_limit;
    tick();
    EXPECT_EQ(game.cow_tick, 1);
}
