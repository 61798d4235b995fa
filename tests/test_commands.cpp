// START and CANCEL: what they refuse, reset and leave alone.
#include "game/rules/commands.h"
#include "tests/game_fixture.h"

using ::testing::ElementsAre;

TEST_F(GameTest, StartupShowsOnlyButtonsLabelsAndTheStandingCow) {
    std::vector<std::string> shown;
    for (Element e = 0; e < ELEMENT_COUNT; ++e)
        if (visible(e)) shown.push_back(ELEMENT_TABLE[e].name);
    EXPECT_THAT(shown, ElementsAre("minimize_button", "close_button", "start_button", "cancel_button", "score_label",
                                   "hits_label", "misses_label", "cow"));
    EXPECT_EQ(label(score_label), "000000");
    EXPECT_EQ(label(hits_label), "0000");
    EXPECT_EQ(label(misses_label), "0000");
}

TEST_F(GameTest, StartPlaysItsCueStartsAmbientThenTheTimer) {
    EXPECT_THAT(start(), ElementsAre(cue("snd_start"), AMBIENT_START, TIMER_ON));
    EXPECT_EQ(game.stage, STAGE_SHOOTING);
    for (int k = 1; k <= 25; ++k) EXPECT_TRUE(visible(cartridge(k))) << k;
    EXPECT_TRUE(visible(spider(0)));
    EXPECT_EQ(game.cow_hittable, 1);
    EXPECT_EQ(game.spider_top_hittable, 1);
}

TEST_F(GameTest, CommandsInTheWrongStageOnlyBeep) {
    EXPECT_THAT(command(CANCEL_BUTTON_ID), ElementsAre(BEEP));  // CANCEL while idle
    start();
    miss();
    GameState before = game;
    EXPECT_THAT(start(), ElementsAre(BEEP));
    EXPECT_EQ(game.shots_fired, before.shots_fired);
    EXPECT_EQ(game.misses, before.misses);

    game.stage = STAGE_BONUS;
    EXPECT_THAT(start(), ElementsAre(BEEP));
    EXPECT_THAT(command(CANCEL_BUTTON_ID), ElementsAre(BEEP));
    EXPECT_EQ(game.stage, STAGE_BONUS);
}

TEST_F(GameTest, CancelStopsTheTimerShowsTheBannerAndClosesAmbient) {
    start();
    tick(5);
    EXPECT_THAT(command(CANCEL_BUTTON_ID), ElementsAre(TIMER_OFF, cue("snd_cancel"), AMBIENT_STOP));
    EXPECT_EQ(game.stage, STAGE_IDLE);
    EXPECT_EQ(game.popup_tick, 0);
    EXPECT_TRUE(visible(canceled_banner));
    EXPECT_EQ(game.canceled_shown, 1);
    // A press on the field now changes nothing, not even the tick.
    GameState before = game;
    EXPECT_TRUE(miss().empty());
    EXPECT_EQ(game.cow_tick, before.cow_tick);
}

TEST_F(GameTest, StartAfterCancelResetsBannersLabelsCowAndSpider) {
    start();
    tick(40);  // the spider has dropped to the bottom
    click_on(cow);
    click_on(spider(4));
    ASSERT_EQ(game.cow_down, 1);
    ASSERT_EQ(game.spider_down, 1);
    command(CANCEL_BUTTON_ID);
    start();
    EXPECT_FALSE(visible(canceled_banner));
    EXPECT_EQ(game.canceled_shown, 0);
    EXPECT_TRUE(visible(cow));
    EXPECT_FALSE(visible(cow_fallen));
    EXPECT_TRUE(visible(spider(0)));
    EXPECT_FALSE(visible(spider(4)));
    EXPECT_EQ(game.cow_hittable, 1);
    EXPECT_EQ(game.spider_top_hittable, 1);
    EXPECT_EQ(game.spider_down, 0);
    EXPECT_EQ(label(hits_label), "0000");
    EXPECT_EQ(label(misses_label), "0000");
    EXPECT_EQ(game.shots_fired, 0);
}

TEST_F(GameTest, StartKeepsTheCowsLastImageAndTheGeneratorSequence) {
    start();
    tick(20);  // the cow has turned its head to the viewer
    EXPECT_EQ(scene[cow].image, bmp_cow_facing);
    int first_game_spawns = game.spawn_count;
    command(CANCEL_BUTTON_ID);
    start();
    EXPECT_EQ(scene[cow].image, bmp_cow_facing);
    EXPECT_EQ(game.spawn_count, first_game_spawns);  // no reset, no reseed
}

TEST_F(GameTest, FailingAmbientShowsTheBoxAndTheGameStillStarts) {
    recorder.ambient_missing = true;
    EXPECT_THAT(start(), ElementsAre(cue("snd_start"), AMBIENT_START,
                                     R"({"message_box":"Bkgnd Ambient failed.","caption":"Plinkfield - Error"})",
                                     TIMER_ON));
    EXPECT_EQ(game.stage, STAGE_SHOOTING);
}
