// The road of one press in the shooting stage: drag strip, targets, cues,
// scoreboard, and the click's own tick.
#include "tests/game_fixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// After START and three ticks the rodent of hole 6 (seed 1) is raised.
class ShotTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        start();
        tick(3);
        ASSERT_EQ(game.hole_hittable[6], 1);
    }
};

TEST_F(ShotTest, PressInTheDragStripDragsAndNothingElse) {
    GameState before = game;
    EXPECT_THAT(click(999, 29), ElementsAre(R"({"window":"drag"})"));
    EXPECT_EQ(game.shots_fired, 0);
    EXPECT_EQ(game.cow_tick, before.cow_tick);  // no tick either
    EXPECT_TRUE(visible(cartridge(1)));
}

TEST_F(ShotTest, PressJustOutsideTheDragStripIsAShot) {
    click(1000, 5);
    EXPECT_EQ(game.shots_fired, 1);
    click(5, 30);
    EXPECT_EQ(game.shots_fired, 2);
    EXPECT_EQ(game.misses, 2);
}

TEST_F(ShotTest, RaisedRodentScoresOnEveryPressUntilItSinks) {
    EXPECT_THAT(click_on(raised(6)), ElementsAre(cue("snd_hit")));
    EXPECT_THAT(click_on(raised(6)), ElementsAre(cue("snd_hit")));
    EXPECT_EQ(game.score, 150);
    EXPECT_EQ(game.hits, 2);
    EXPECT_EQ(game.misses, 0);
    EXPECT_TRUE(visible(hit_marker));
    EXPECT_EQ(label(score_label), "000150");
    EXPECT_EQ(label(hits_label), "0002");
    EXPECT_EQ(game.hole_hittable[6], 1);
    // Six more presses bring the cycle to its tick 10: the rodent sinks
    // and the marker goes with it.
    for (int i = 0; i < 6; ++i) click_on(raised(6));
    EXPECT_EQ(game.hits, 8);
    EXPECT_EQ(game.hole_hittable[6], 0);
    EXPECT_FALSE(visible(hit_marker));
    EXPECT_FALSE(visible(raised(6)));
}

TEST_F(ShotTest, PeekingRodentIsAMiss) {
    tick(8);  // tick 11: sunk back to peeking
    ASSERT_TRUE(visible(peek(6)));
    EXPECT_THAT(click_on(peek(6)), ElementsAre(cue("snd_shot")));
    EXPECT_EQ(game.hits, 0);
    EXPECT_EQ(game.misses, 1);
    EXPECT_EQ(label(misses_label), "0001");
    EXPECT_EQ(label(score_label), "000000");
}

TEST_F(ShotTest, TopAndLeftEdgesHitRightAndBottomEdgesMiss) {
    Rect r = element_bounds(raised(6));
    click(r.left, r.top);
    EXPECT_EQ(game.hits, 1);
    click(r.right, r.top);
    click(r.left, r.bottom);
    EXPECT_EQ(game.hits, 1);
    EXPECT_EQ(game.misses, 2);
    click(r.right - 1, r.bottom - 1);
    EXPECT_EQ(game.hits, 2);
}

TEST_F(ShotTest, SpecialHitCueOnItsShotFollowsTheNearRodentsFlag) {
    game.shots_fired = 22;
    EXPECT_THAT(click_on(raised(6)), ElementsAre(cue("snd_hit_special")));
    game.shots_fired = 22;
    game.hole_hittable[9] = 1;  // the near rodent is up: its own fanfare
    EXPECT_THAT(click_on(raised(6)), ElementsAre(cue("snd_hit_special_9")));
}

TEST_F(ShotTest, MissCuesOnTheirShotNumbers) {
    std::vector<std::string> cues;
    for (int shot = 1; shot <= 11; ++shot) cues.push_back(miss().at(0));
    EXPECT_EQ(cues[4], cue("snd_miss_taunt"));
    EXPECT_EQ(cues[7], cue("snd_miss_alt"));
    EXPECT_EQ(cues[10], cue("snd_miss_taunt"));
    EXPECT_EQ(cues[0], cue("snd_shot"));
    EXPECT_EQ(cues[8], cue("snd_shot"));
}

TEST_F(ShotTest, AlternateMissCueOnlyWhileTheCowStands) {
    click_on(cow);
    game.shots_fired = 7;
    EXPECT_THAT(miss(), ElementsAre(cue("snd_shot")));
}

TEST_F(ShotTest, CowBelowTwoHundredCostsNothingButCountsAHit) {
    click_on(raised(6));
    EXPECT_THAT(click_on(cow), ElementsAre(cue("snd_cow")));
    EXPECT_EQ(game.score, 75);
    EXPECT_EQ(game.hits, 2);
    EXPECT_FALSE(visible(cow));
    EXPECT_TRUE(visible(cow_fallen));
    EXPECT_EQ(game.cow_hittable, 0);
    EXPECT_EQ(game.cow_tick, 0);
    tick(30);
    EXPECT_EQ(game.cow_tick, 0);  // stands still for the rest of the game
    EXPECT_THAT(click_on(cow_fallen), ElementsAre(cue("snd_shot")));
}

TEST_F(ShotTest, CowTakingExactlyTwoHundredShowsZeroes) {
    game.score = 200;
    click_on(cow);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(label(score_label), "000000");
}

TEST_F(ShotTest, ClimberOneScoresFiveHundredAndLeavesTheSpiderAlone) {
    tick(12);  // tick 15: climber[1] is up
    ASSERT_EQ(game.climber_hittable[1], 1);
    EXPECT_THAT(click_on(climber(1)), ElementsAre(cue("snd_lizard")));
    EXPECT_EQ(game.score, 500);
    EXPECT_EQ(game.climber_hittable[1], 0);
    EXPECT_EQ(game.climber_hittable[2], 0);
    EXPECT_EQ(game.spider_top_hittable, 1);
    EXPECT_FALSE(visible(climber(1)));
    EXPECT_FALSE(visible(climber(2)));
    // The click's own tick already shows the splat, and the rodents run on.
    EXPECT_TRUE(visible(splat));
    EXPECT_EQ(scene[splat].x, 1230);
    EXPECT_EQ(scene[splat].y, 600);
    EXPECT_EQ(game.splat_tick, 1);
    EXPECT_EQ(game.lizard_busy, 0);
    int lizard_tick = game.lizard_tick;
    tick(22);  // splat tick 23: the last, almost black frame
    EXPECT_EQ(game.lizard_tick, lizard_tick);  // held while the splat lasts
    EXPECT_EQ(scene[splat].image, bmp_splat_fade_4);
    EXPECT_FALSE(visible(climber(3)));
}

TEST_F(ShotTest, OverlappingTargetsAreAllHitAndTheLaterRowsPointsCount) {
    game.climber_hittable[3] = 1;    // 1230..1265 x 486..550
    game.descender_hittable[2] = 1;  // 1224..1259 x 469..533
    EXPECT_THAT(click(1240, 500), ElementsAre(cue("snd_lizard"), cue("snd_lizard")));
    EXPECT_EQ(game.score, 300);
    EXPECT_EQ(game.hits, 1);
    EXPECT_EQ(game.climber_hittable[3], 0);
    EXPECT_EQ(game.descender_hittable[2], 0);
    EXPECT_EQ(scene[splat].x, 1230);
    EXPECT_EQ(scene[splat].y, 469);
}

TEST_F(ShotTest, SpiderAtTheTopLeavesItsWebAndStops) {
    EXPECT_THAT(click_on(spider(0)), ElementsAre(cue("snd_shot")));
    EXPECT_EQ(game.score, 10);
    EXPECT_EQ(game.hits, 1);
    EXPECT_EQ(game.misses, 0);
    EXPECT_TRUE(visible(web_patch));
    EXPECT_FALSE(visible(spider(0)));
    int spider_tick = game.spider_tick;
    tick(100);
    EXPECT_EQ(game.spider_tick, spider_tick);
    for (int i = 0; i <= 4; ++i) EXPECT_FALSE(visible(spider(i))) << i;
}

TEST_F(ShotTest, SpiderShotAsItReachesTheBottomStaysShot) {
    game.spider_tick = 32;
    tick();  // 33: just arrived at the bottom
    ASSERT_EQ(game.spider_bottom_hittable, 1);
    click_on(spider(4));
    EXPECT_EQ(game.score, 10);
    EXPECT_FALSE(visible(spider(4)));
    EXPECT_EQ(game.spider_bottom_hittable, 0);
    tick(10);
    EXPECT_FALSE(visible(spider(4)));
    EXPECT_THAT(click_on(spider(4)), ElementsAre(cue("snd_shot")));
    EXPECT_EQ(game.score, 10);
    EXPECT_EQ(game.misses, 1);
}

TEST_F(ShotTest, SpiderShotAsItReachesTheTopStaysShot) {
    game.spider_tick = 82;
    tick();  // 83: back in the crown
    ASSERT_EQ(game.spider_top_hittable, 1);
    click_on(spider(0));
    tick(10);
    EXPECT_FALSE(visible(spider(0)));
    EXPECT_TRUE(visible(web_patch));
    EXPECT_EQ(game.spider_top_hittable, 0);
}

TEST_F(GameTest, PressesWhileIdleOutsideTheStripDoNothing) {
    EXPECT_THAT(click(600, 400), IsEmpty());
    EXPECT_EQ(game.shots_fired, 0);
    EXPECT_THAT(click(10, 10), ElementsAre(R"({"window":"drag"})"));
}
