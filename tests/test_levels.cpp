// The ends of a level, the bonus stage and the cartridge row across levels.
#include "game/rules/commands.h"
#include "game/rules/scoreboard.h"
#include "tests/game_fixture.h"

using ::testing::ElementsAre;

class LevelTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        start();
    }
    // Puts the game one shot before the end of the current level.
    void before_last_shot(int score) {
        game.shots_fired = game.shot_limit - 1;
        game.score = score;
    }
    // Plays level 1 to its end with a winning score: the bonus stage runs.
    void win_level_one() {
        before_last_shot(1000);
        miss();
        ASSERT_EQ(game.stage, STAGE_BONUS);
    }
    std::vector<int> hidden_cartridges() {
        std::vector<int> out;
        for (int k = 1; k <= 25; ++k)
            if (!visible(cartridge(k))) out.push_back(k);
        return out;
    }
};

TEST_F(LevelTest, LevelOneBelowAThousandIsGameOver) {
    before_last_shot(995);
    int cow_tick = game.cow_tick;
    EXPECT_THAT(miss(), ElementsAre(cue("snd_shot"), TIMER_OFF, AMBIENT_STOP));
    EXPECT_EQ(game.stage, STAGE_IDLE);
    EXPECT_TRUE(visible(game_over_banner));
    EXPECT_FALSE(visible(hit_marker));
    EXPECT_EQ(game.popup_tick, 0);
    EXPECT_EQ(game.cow_tick, cow_tick);  // the losing shot runs no tick
    EXPECT_FALSE(visible(cartridge(25)));
    // START hides the banner again.
    start();
    EXPECT_FALSE(visible(game_over_banner));
}

TEST_F(LevelTest, LevelOneAtAThousandEntersTheBonusStage) {
    before_last_shot(1000);
    // The last shot's cue is cut off at once by the bonus pass of the same press.
    EXPECT_THAT(miss(), ElementsAre(cue("snd_shot"), TIMER_OFF, TIMER_ON, cue("snd_shot")));
    EXPECT_EQ(game.stage, STAGE_BONUS);
    EXPECT_EQ(game.level, 2);
    EXPECT_EQ(game.ammo_window_end, 50);
    EXPECT_EQ(game.popup_tick, 50);
    EXPECT_EQ(game.shots_fired, 26);
    EXPECT_EQ(game.misses, 2);
    EXPECT_EQ(game.bonus_tick, 1);
    EXPECT_EQ(label(misses_label), "0002");
    EXPECT_EQ(label(score_label), "001000");
}

TEST_F(LevelTest, LevelTwoThresholds) {
    win_level_one();
    tick(17);  // bonus step 17: level 2 begins
    ASSERT_EQ(game.stage, STAGE_SHOOTING);
    EXPECT_EQ(game.fail_below, 2400);
    EXPECT_EQ(game.advance_above, 2398);
    EXPECT_EQ(game.shot_limit, 50);
    EXPECT_EQ(game.cue_shot_hit, 48);
    EXPECT_EQ(game.cue_shot_miss_a, 30);
    EXPECT_EQ(game.cue_shot_miss_b, 36);
    EXPECT_EQ(game.cue_shot_miss_c, 8);
    GameState level_two = game;

    before_last_shot(2395);
    miss();
    EXPECT_EQ(game.stage, STAGE_IDLE);

    game = level_two;
    before_last_shot(2400);
    miss();
    EXPECT_EQ(game.stage, STAGE_BONUS);
    EXPECT_EQ(game.level, 3);
}

TEST_F(LevelTest, ScoreBetweenTheThresholdsIsGameOverAlone) {
    game.level = 6;
    game.shot_limit = 150;
    game.fail_below = 7200;
    game.advance_above = 7194;
    game.ammo_window_end = 150;
    before_last_shot(7195);
    EXPECT_THAT(miss(), ElementsAre(cue("snd_shot"), TIMER_OFF, AMBIENT_STOP));
    EXPECT_EQ(game.stage, STAGE_IDLE);
    EXPECT_EQ(game.level, 6);
    EXPECT_TRUE(visible(game_over_banner));
}

TEST_F(LevelTest, CrowCrossesTheSkyAndEachFrameScoresWhileUp) {
    win_level_one();
    EXPECT_THAT(tick(), ElementsAre());  // step 1
    tick();                              // step 2
    EXPECT_THAT(tick(), ElementsAre(cue("snd_bonus_start")));  // step 3
    EXPECT_TRUE(visible(bird(1)));
    EXPECT_EQ(game.bird_hittable[1], 1);
    // Step 4: a click on the frame that is up scores; its own tick is step 4.
    EXPECT_THAT(click_on(bird(1)), ElementsAre(cue("snd_bird_hit")));
    // Step 5: the hit test runs before the step that swaps the frame.
    EXPECT_THAT(click_on(bird(1)), ElementsAre(cue("snd_bird_hit")));
    EXPECT_FALSE(visible(bird(1)));
    EXPECT_TRUE(visible(bird(2)));
    EXPECT_EQ(game.score, 1400);
    EXPECT_EQ(game.hits, 2);
    EXPECT_EQ(label(score_label), "001400");
    EXPECT_THAT(click_on(bird(1)), ElementsAre(cue("snd_shot")));
    tick(7);  // steps 7 to 13: the last frame is up
    ASSERT_EQ(game.bird_hittable[6], 1);
    click_on(bird(6));
    EXPECT_TRUE(visible(bonus_reticle));
}

TEST_F(LevelTest, EndOfTheBonusStageStartsTheNextLevelClean) {
    win_level_one();
    show_element(raised(3));  // a rodent left up when the level ended
    tick(13);                 // steps 1 to 13
    click_on(bird(6));
    tick(3);  // steps 15 to 17
    EXPECT_EQ(game.stage, STAGE_SHOOTING);
    EXPECT_FALSE(visible(raised(3)));
    EXPECT_FALSE(visible(bonus_reticle));
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(game.bird_hittable[k], 0) << k;
    EXPECT_EQ(game.bonus_tick, 1);
    EXPECT_EQ(game.popup_tick, 0);
    // The timer runs on; the next tick is the first of level 2.
    EXPECT_TRUE(recorder.timer_running);
    tick();
    EXPECT_EQ(game.popup_tick, 1);
}

TEST_F(LevelTest, BonusStageRefusesStartAndCancel) {
    win_level_one();
    EXPECT_THAT(command(START_BUTTON_ID), ElementsAre(BEEP));
    EXPECT_THAT(command(CANCEL_BUTTON_ID), ElementsAre(BEEP));
    tick(17);
    EXPECT_EQ(game.stage, STAGE_SHOOTING);
}

TEST_F(LevelTest, DragStripIsSkyInTheBonusStage) {
    win_level_one();
    int shots = game.shots_fired;
    EXPECT_THAT(click(10, 10), ElementsAre(cue("snd_shot")));
    EXPECT_EQ(game.shots_fired, shots + 1);
}

TEST_F(LevelTest, RowShowsExactlyTheCartridgesLeftAfterTheBonusStage) {
    win_level_one();
    tick(3);  // step 3: the new row, less the entry pass at place 1
    EXPECT_THAT(hidden_cartridges(), ElementsAre(1));
    tick(14);
    miss();  // shot 27, place 2
    EXPECT_THAT(hidden_cartridges(), ElementsAre(1, 2));
    miss();
    EXPECT_THAT(hidden_cartridges(), ElementsAre(1, 2, 3));
}

TEST_F(LevelTest, ShotAtPlaceTwoAlsoTakesTheFirstCartridge) {
    game.ammo_window_end = 50;
    game.shots_fired = 27;
    update_cartridges();
    EXPECT_THAT(hidden_cartridges(), ElementsAre(1, 2));
    game.shots_fired = 26;  // place 1 of the row
    show_all_cartridges();
    update_cartridges();
    EXPECT_THAT(hidden_cartridges(), ElementsAre(1));
}

TEST_F(LevelTest, EarlyBonusClicksStayOffTheRow) {
    win_level_one();
    miss();  // places 2 and 3, both before step 3
    miss();
    EXPECT_EQ(game.bonus_tick, 3);
    tick();  // step 3
    EXPECT_THAT(hidden_cartridges(), ElementsAre(1, 2, 3));
}

TEST_F(LevelTest, BonusShotsComeOutOfTheNextLevel) {
    win_level_one();
    for (int i = 0; i < 17; ++i) miss();  // one click at every step 1 to 17
    EXPECT_EQ(game.stage, STAGE_SHOOTING);
    EXPECT_EQ(game.shots_fired, 43);
    for (int i = 0; i < 6; ++i) miss();
    EXPECT_EQ(game.stage, STAGE_SHOOTING);
    miss();  // shot 50 ends level 2 after only 7 shots of its own
    EXPECT_EQ(game.stage, STAGE_IDLE);
    EXPECT_THAT(hidden_cartridges().size(), 25u);
}

TEST_F(LevelTest, ScoreLabelAlwaysHasSixDigitsAndCountsFour) {
    EXPECT_EQ(zero_padded(0, 6), "000000");
    EXPECT_EQ(zero_padded(995, 6), "000995");
    EXPECT_EQ(zero_padded(100000, 6), "100000");
    EXPECT_EQ(zero_padded(1234567, 6), "1234567");
    EXPECT_EQ(zero_padded(7, 4), "0007");
    EXPECT_EQ(zero_padded(12345, 4), "12345");
}
