// The window-level routines: cursor markers, nudging, the two window
// commands, the destruction of the window and where Ambient lies.
#include "game/audio/win32/ambient_location.h"
#include "tests/game_fixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(GameTest, CursorMovesOnlyTheMarkerOfTheStage) {
    follow_cursor(300, 200);
    EXPECT_EQ(game.cursor_x, 300);
    EXPECT_EQ(game.cursor_y, 200);
    EXPECT_EQ(scene[hit_marker].x, 100);  // idle: only stored
    start();
    follow_cursor(300, 200);
    EXPECT_EQ(scene[hit_marker].x, 290);
    EXPECT_EQ(scene[hit_marker].y, 189);
    EXPECT_FALSE(visible(hit_marker));  // moved, not shown
    game.stage = STAGE_BONUS;
    follow_cursor(300, 200);
    EXPECT_EQ(scene[bonus_reticle].x, 284);
    EXPECT_EQ(scene[bonus_reticle].y, 184);
    EXPECT_EQ(scene[bonus_reticle].w, 32);
    EXPECT_EQ(scene[hit_marker].x, 290);
}

TEST_F(GameTest, RodentHitShowsTheMarkerWhereTheCursorPutIt) {
    start();
    tick(3);
    auto [x, y] = inside(raised(6));
    follow_cursor(x, y);
    click(x, y);
    EXPECT_TRUE(visible(hit_marker));
    EXPECT_EQ(scene[hit_marker].x, x - 10);
}

TEST_F(GameTest, ArrowKeysNudgeTheWindowByTwoPixelsInEveryStage) {
    nudge_window(ArrowKey::left);
    nudge_window(ArrowKey::up);
    EXPECT_THAT(take_events(), ElementsAre(R"({"window":"move","x":-2,"y":0})", R"({"window":"move","x":-2,"y":-2})"));
    start();
    game.stage = STAGE_BONUS;
    nudge_window(ArrowKey::right);
    nudge_window(ArrowKey::down);
    EXPECT_THAT(take_events(), ElementsAre(R"({"window":"move","x":0,"y":-2})", R"({"window":"move","x":0,"y":0})"));
}

TEST_F(GameTest, MinimizePlaysItsCueAfterTheWindowIsDown) {
    start();
    EXPECT_THAT(command(MINIMIZE_BUTTON_ID), ElementsAre(R"({"window":"minimize"})", cue("snd_minimize")));
    EXPECT_EQ(game.stage, STAGE_SHOOTING);
}

TEST_F(GameTest, CloseWhileIdleStopsNoTimerButClosesAmbient) {
    EXPECT_THAT(command(CLOSE_BUTTON_ID), ElementsAre(AMBIENT_STOP, R"({"window":"close"})", AMBIENT_STOP));
}

TEST_F(GameTest, CloseDuringAGameOrTheBonusStageStopsTheTimerFirst) {
    start();
    EXPECT_THAT(command(CLOSE_BUTTON_ID), ElementsAre(TIMER_OFF, AMBIENT_STOP, R"({"window":"close"})", AMBIENT_STOP));
    SetUp();
    start();
    game.stage = STAGE_BONUS;
    EXPECT_EQ(command(CLOSE_BUTTON_ID).front(), TIMER_OFF);
}

TEST_F(GameTest, DestroyingTheWindowAnyOtherWayClosesAmbientToo) {
    start();
    handle_destroy();  // Alt+F4 or the system menu: no close button involved
    EXPECT_THAT(take_events(), ElementsAre(AMBIENT_STOP));
}

TEST_F(GameTest, UnknownCommandsDoNothing) {
    EXPECT_THAT(command(SCORE_LABEL_ID), IsEmpty());
    EXPECT_THAT(command(0), IsEmpty());
}

TEST(AmbientLocation, BesideTheProgramOrBareWithoutAFolder) {
    locate_ambient("C:\\Games\\Plinkfield\\Plinkfield.exe");
    EXPECT_EQ(module_dir, "C:\\Games\\Plinkfield\\");
    EXPECT_EQ(ambient_path, "C:\\Games\\Plinkfield\\Audio_Bkgrnd\\Ambient.exe");
    locate_ambient("Plinkfield.exe");
    EXPECT_EQ(module_dir, "");
    EXPECT_EQ(ambient_path, "Audio_Bkgrnd\\Ambient.exe");
}

TEST_F(GameTest, TheDragStripDragsOutsideTheBonusStageOnly) {
    EXPECT_TRUE(press_drags_window(0, 0));
    EXPECT_TRUE(press_drags_window(999, 29));
    EXPECT_FALSE(press_drags_window(1000, 10));
    EXPECT_FALSE(press_drags_window(10, 30));
    start();
    EXPECT_TRUE(press_drags_window(500, 10));
    game.stage = STAGE_BONUS;
    EXPECT_FALSE(press_drags_window(500, 10));
}
