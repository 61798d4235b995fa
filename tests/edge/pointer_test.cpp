// The pointer and the buttons as the drawing backends share them: what a
// press, a move and a release mean, whichever backend reported them.
#include "game/edge/pointer.h"

#include "game/edge/recording.h"
#include "game/model/buttons.h"
#include "tests/game_fixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class Pointer : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        pointer_reset();
    }
    void TearDown() override { pointer_reset(); }

    static std::pair<int, int> middle(Element e) {
        const Rect r = element_bounds(e);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    std::vector<std::string> press(Element e, MouseButton b = MouseButton::left) {
        auto [x, y] = middle(e);
        pointer_press(x, y, b);
        return take_events();
    }
    std::vector<std::string> release(int x, int y, MouseButton b = MouseButton::left) {
        pointer_release(x, y, true, b);
        return take_events();
    }
    std::vector<std::string> release_on(Element e) {
        auto [x, y] = middle(e);
        return release(x, y);
    }
    static bool shown_pressed(Element e) {
        return shown_button_image(e) == button_image(ELEMENT_TABLE[e].id, true);
    }
};

constexpr int MEADOW_X = 60, MEADOW_Y = 600;  // open grass, clear of every target

TEST_F(Pointer, AButtonRunsItsCommandOnlyWhenReleasedOverIt) {
    EXPECT_THAT(press(start_button), IsEmpty()) << "a press on a button is not a shot";
    EXPECT_TRUE(shown_pressed(start_button));
    EXPECT_EQ(game.stage, STAGE_IDLE) << "nothing runs on the press";
    EXPECT_THAT(release_on(start_button), ElementsAre(cue("snd_start"), AMBIENT_START, TIMER_ON));
    EXPECT_FALSE(shown_pressed(start_button));
    EXPECT_EQ(held_button(), -1);

    // Released off the button, or over another one: nothing at all.
    press(cancel_button);
    EXPECT_THAT(release(MEADOW_X, MEADOW_Y), IsEmpty());
    press(cancel_button);
    EXPECT_THAT(release_on(start_button), IsEmpty());
    press(cancel_button);
    pointer_release(0, 0, false, MouseButton::left);
    EXPECT_THAT(take_events(), IsEmpty()) << "released outside the field";
    EXPECT_EQ(game.stage, STAGE_SHOOTING);
    EXPECT_EQ(held_button(), -1);
}

TEST_F(Pointer, TheHeldButtonFollowsThePointerOffAndBackOn) {
    press(cancel_button);
    auto [bx, by] = middle(cancel_button);
    pointer_move(MEADOW_X, MEADOW_Y, true);
    EXPECT_FALSE(shown_pressed(cancel_button)) << "off the button it shows its normal picture";
    EXPECT_EQ(game.cursor_x, 0) << "the held button has the pointer to itself";
    pointer_move(bx, by, false);
    EXPECT_FALSE(shown_pressed(cancel_button)) << "a point off the field is over no button";
    pointer_move(bx, by, true);
    EXPECT_TRUE(shown_pressed(cancel_button));
    EXPECT_EQ(pressed_button(), cancel_button);
    EXPECT_THAT(release(bx, by), ElementsAre(BEEP)) << "CANCEL while idle is refused";
}

TEST_F(Pointer, OnlyTheLeftButtonPressesOrShoots) {
    start();
    for (MouseButton b : {MouseButton::middle, MouseButton::right, MouseButton::other}) {
        pointer_press(MEADOW_X, MEADOW_Y, b);
        EXPECT_THAT(take_events(), IsEmpty());
        EXPECT_THAT(press(cancel_button, b), IsEmpty());
        EXPECT_EQ(held_button(), -1);
    }
    EXPECT_EQ(game.shots_fired, 0);
    // Nor does another button's release let go of a left press on a button.
    press(cancel_button);
    auto [x, y] = middle(cancel_button);
    EXPECT_THAT(release(x, y, MouseButton::right), IsEmpty());
    EXPECT_TRUE(shown_pressed(cancel_button));
    EXPECT_THAT(release(x, y), ElementsAre(TIMER_OFF, cue("snd_cancel"), AMBIENT_STOP));
}

TEST_F(Pointer, APressOnAHiddenButtonIsAShot) {
    start();
    hide_element(cancel_button);
    EXPECT_EQ(button_at(middle(cancel_button).first, middle(cancel_button).second), -1);
    press(cancel_button);
    EXPECT_EQ(game.shots_fired, 1);
    EXPECT_EQ(held_button(), -1);
    EXPECT_EQ(cursor_at(middle(cancel_button).first, middle(cancel_button).second), PointerCursor::crosshair);
    EXPECT_EQ(cursor_at(middle(start_button).first, middle(start_button).second), PointerCursor::arrow);
}

TEST_F(Pointer, APressOnTheTitleStripDragsTheWindowOutsideTheBonusStage) {
    EXPECT_TRUE(press_starts_drag(500, 10));
    EXPECT_FALSE(press_starts_drag(500, 40));
    pointer_press(500, 10, MouseButton::left);
    EXPECT_THAT(take_events(), ElementsAre(R"({"window":"drag"})"));
    start();
    pointer_press(500, 10, MouseButton::left);
    EXPECT_THAT(take_events(), ElementsAre(R"({"window":"drag"})")) << "no shot, no tick";
    EXPECT_EQ(game.shots_fired, 0);
    game.stage = STAGE_BONUS;
    EXPECT_FALSE(press_starts_drag(500, 10)) << "in the bonus stage the strip is sky";
}

TEST_F(Pointer, MovesFollowTheCursorOnlyOnTheOpenField) {
    start();
    pointer_move(300, 200, true);
    EXPECT_EQ(game.cursor_x, 300);
    auto [bx, by] = middle(cancel_button);
    pointer_move(bx, by, true);
    EXPECT_EQ(game.cursor_x, 300) << "moves over a button are the button's";
    pointer_move(5000, 5000, false);
    EXPECT_EQ(game.cursor_x, 300);
}

// ------------------------------------------------------------ fingers

std::string recorded;
void to_recorded(const std::string& line) { recorded += line; }

class Fingers : public Pointer {
protected:
    void SetUp() override {
        Pointer::SetUp();
        recorded.clear();
    }
    void TearDown() override {
        recording_stop();
        Pointer::TearDown();
    }
    std::vector<std::string> down(int finger, Element e) {
        auto [x, y] = middle(e);
        finger_down(finger, x, y);
        return take_events();
    }
    std::vector<std::string> up(int finger, Element e) {
        auto [x, y] = middle(e);
        finger_up(finger, x, y, true);
        return take_events();
    }
};

TEST_F(Fingers, AFingerDownIsAShotAtOnceWhereItLands) {
    start();
    recording_start(to_recorded, "fingers");
    finger_down(7, 300, 500);
    EXPECT_EQ(game.shots_fired, 1) << "no lift needed";
    EXPECT_EQ(game.cursor_x, 300) << "the cross-hair is brought to the finger";
    EXPECT_EQ(game.cursor_y, 500);
    EXPECT_EQ(recorded, "# fingers\nmove 300 500\nclick 300 500\n") << "recorded as the mouse's move and press";
    finger_up(7, 300, 500, true);
    EXPECT_EQ(game.shots_fired, 1) << "the lift is no second shot";
}

TEST_F(Fingers, EachNewFingerIsANewShot) {
    start();
    finger_down(1, 300, 500);
    finger_down(2, 700, 520);
    EXPECT_EQ(game.shots_fired, 2);
    EXPECT_EQ(game.cursor_x, 700);
    finger_up(2, 700, 520, true);
    finger_down(2, 640, 560);
    EXPECT_EQ(game.shots_fired, 3) << "the same finger again";
}

TEST_F(Fingers, AButtonBelongsToTheFingerThatHoldsIt) {
    EXPECT_THAT(down(4, start_button), IsEmpty());
    EXPECT_TRUE(shown_pressed(start_button));
    // The other fingers neither shoot nor move the held button off.
    finger_down(9, MEADOW_X, MEADOW_Y);
    finger_move(9, MEADOW_X, MEADOW_Y, true);
    EXPECT_TRUE(shown_pressed(start_button));
    EXPECT_THAT(up(9, start_button), IsEmpty()) << "another finger's lift does not let go";
    EXPECT_EQ(held_button(), start_button);
    EXPECT_EQ(game.cursor_x, 0);
    EXPECT_THAT(up(4, start_button), ElementsAre(cue("snd_start"), AMBIENT_START, TIMER_ON));
    EXPECT_EQ(held_button(), -1);
    EXPECT_EQ(game.shots_fired, 0);
}

TEST_F(Fingers, TheHoldingFingerSlidesOffAndBackAsThePointerDoes) {
    start();
    down(4, cancel_button);
    auto [bx, by] = middle(cancel_button);
    finger_move(4, MEADOW_X, MEADOW_Y, true);
    EXPECT_FALSE(shown_pressed(cancel_button));
    finger_move(4, bx, by, true);
    EXPECT_TRUE(shown_pressed(cancel_button));
    finger_move(4, MEADOW_X, MEADOW_Y, true);
    finger_up(4, MEADOW_X, MEADOW_Y, true);
    EXPECT_THAT(take_events(), IsEmpty()) << "lifted off the button: no command";
    EXPECT_EQ(game.stage, STAGE_SHOOTING);
    EXPECT_EQ(held_button(), -1);
    EXPECT_EQ(game.shots_fired, 0);
    finger_down(4, MEADOW_X, MEADOW_Y);
    EXPECT_EQ(game.shots_fired, 1) << "free again once it let go";
}

TEST_F(Fingers, ATakenFingerLetsGoWithoutItsCommand) {
    start();
    down(3, cancel_button);
    finger_cancel(8);
    EXPECT_EQ(held_button(), cancel_button) << "not the finger that holds it";
    finger_cancel(3);
    EXPECT_THAT(take_events(), IsEmpty());
    EXPECT_EQ(held_button(), -1);
    EXPECT_EQ(game.stage, STAGE_SHOOTING);
}

TEST_F(Fingers, AButtonTheMouseHoldsIsNoFingersToLetGo) {
    down(1, start_button);
    up(1, start_button);  // that finger held a button once
    press(cancel_button);
    auto [x, y] = middle(cancel_button);
    finger_up(1, x, y, true);
    finger_cancel(1);
    finger_move(1, MEADOW_X, MEADOW_Y, true);
    EXPECT_TRUE(shown_pressed(cancel_button));
    EXPECT_THAT(release_on(cancel_button), ElementsAre(TIMER_OFF, cue("snd_cancel"), AMBIENT_STOP));
}

}  // namespace
