// A gamepad as the backends share it: its south button is a click at the
// cross-hair, Start and CANCEL are the buttons' commands, its cross-hair
// moves the game's cursor as the mouse does, and a pad pulled out changes
// nothing.
#include "game/edge/gamepad.h"

#include "game/edge/game_json.h"
#include "game/edge/pointer.h"
#include "game/model/buttons.h"
#include "tests/game_fixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr int FULL = 32767;

class Gamepad : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        pointer_reset();
        gamepad_reset();
    }
    void TearDown() override {
        pointer_reset();
        gamepad_reset();
    }

    static std::pair<int, int> middle(Element e) {
        const Rect r = element_bounds(e);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // The mouse left the game's cursor here, and the pad takes over from it.
    static void mouse_to(int x, int y) {
        pointer_move(x, y, true);
        gamepad_mouse_moved(x, y, true);
    }
    std::vector<std::string> south(bool down) {
        gamepad_button(PadButton::south, down);
        return take_events();
    }
    std::vector<std::string> pad(PadButton b) {
        gamepad_button(b, true);
        gamepad_button(b, false);
        return take_events();
    }
    // The stick held for a fifth of a second from `at_ms`, then let go.
    static void push(int sx, int sy, double at_ms) {
        gamepad_controls({.stick_x = sx, .stick_y = sy}, at_ms);
        gamepad_run_due(at_ms + 200);
        gamepad_controls({}, at_ms + 200);
    }
    static bool shown_pressed(Element e) { return shown_button_image(e) == button_image(ELEMENT_TABLE[e].id, true); }
    // Everything the game is and shows.
    static std::string whole_game() { return state_json() + scene_json(); }
};

// A game with a rodent raised, and where it stands.
std::pair<int, int> raised_rodent() {
    const Element r = raised(game.active_hole);
    return {scene[r].x + scene[r].w / 2, scene[r].y + scene[r].h / 2};
}

TEST_F(Gamepad, TheSouthButtonIsAClickWhereTheCrossHairIs) {
    struct Row {
        const char* what;
        bool in_game;
        int x, y;  // -1: the raised rodent
    };
    const Row rows[] = {
        {"a raised rodent", true, -1, -1},
        {"the open meadow", true, 60, 600},
        {"the title strip", true, 500, 10},
        {"the cow", true, 700, 400},
        {"the meadow before START", false, 60, 600},
    };
    for (const Row& r : rows) {
        std::string by_pad, by_mouse;
        std::vector<std::string> pad_events, mouse_events;
        for (bool with_pad : {true, false}) {
            SetUp();
            if (r.in_game) {
                start();
                tick(3);
            }
            const auto [x, y] = r.x < 0 ? raised_rodent() : std::pair{r.x, r.y};
            mouse_to(x, y);
            take_events();
            if (with_pad) {
                gamepad_button(PadButton::south, true);
                gamepad_button(PadButton::south, false);
            } else {
                pointer_press(x, y, MouseButton::left);
                pointer_release(x, y, true, MouseButton::left);
            }
            (with_pad ? pad_events : mouse_events) = take_events();
            (with_pad ? by_pad : by_mouse) = whole_game();
        }
        EXPECT_EQ(pad_events, mouse_events) << r.what;
        EXPECT_EQ(by_pad, by_mouse) << r.what;
        if (r.x < 0) {
            EXPECT_EQ(game.hits, 1) << "the test aimed at a rodent";
        }
    }
}

TEST_F(Gamepad, AButtonUnderTheCrossHairIsHeldAndRunsOnReleaseOverIt) {
    auto [sx, sy] = middle(start_button);
    mouse_to(sx, sy);
    EXPECT_THAT(south(true), IsEmpty()) << "nothing runs on the press";
    EXPECT_TRUE(shown_pressed(start_button));
    EXPECT_THAT(south(false), ElementsAre(cue("snd_start"), AMBIENT_START, TIMER_ON));
    EXPECT_FALSE(shown_pressed(start_button));

    // Held on CANCEL, the stick takes the cross-hair off it: its normal
    // picture, and nothing on the release.
    auto [cx, cy] = middle(cancel_button);
    mouse_to(cx, cy);
    south(true);
    EXPECT_TRUE(shown_pressed(cancel_button));
    push(FULL, -FULL, 0);
    EXPECT_FALSE(shown_pressed(cancel_button));
    EXPECT_EQ(held_button(), cancel_button);
    EXPECT_THAT(south(false), IsEmpty());
    EXPECT_EQ(held_button(), -1);
    EXPECT_EQ(game.stage, STAGE_SHOOTING);
    EXPECT_EQ(game.shots_fired, 0);
}

TEST_F(Gamepad, StartIsStartAndTheEastButtonAndBackAreCancel) {
    struct Row {
        PadButton button;
        bool in_game;
        Events events;
    };
    const Events started{cue("snd_start"), AMBIENT_START, TIMER_ON};
    const Events canceled{TIMER_OFF, cue("snd_cancel"), AMBIENT_STOP};
    const Row rows[] = {
        {PadButton::start, false, started},
        {PadButton::back, true, canceled},
        {PadButton::east, true, canceled},
        {PadButton::back, false, {BEEP}},  // CANCEL while idle is refused, as a click is
        {PadButton::other, true, {}},
        {PadButton::other, false, {}},
    };
    for (const Row& r : rows) {
        SetUp();
        if (r.in_game) start();
        mouse_to(300, 200);
        take_events();
        EXPECT_EQ(pad(r.button), r.events) << int(r.button) << (r.in_game ? " in a game" : " before START");
        EXPECT_FALSE(gamepad_aiming()) << "the mouse keeps the pointer";
        EXPECT_EQ(game.cursor_x, 300);
    }
}

TEST_F(Gamepad, TheCrossHairMovesTheGamesCursorAsTheMouseDoes) {
    start();
    mouse_to(300, 300);
    push(FULL, 0, 0);
    EXPECT_GT(gamepad_x(), 300);
    EXPECT_EQ(gamepad_y(), 300);
    EXPECT_EQ(game.cursor_x, gamepad_x());
    EXPECT_EQ(game.cursor_y, 300);
    EXPECT_EQ(scene[hit_marker].x, gamepad_x() - 10) << "the marker follows";
    // A d-pad press is a move too.
    const int x = gamepad_x();
    gamepad_controls({.down = true}, 1000);
    gamepad_controls({}, 1050);
    EXPECT_EQ(game.cursor_y, 300 + PAD_DPAD_STEP);
    EXPECT_EQ(game.cursor_x, x);
    // Over a button the cursor stays where it was, as the mouse's does.
    auto [cx, cy] = middle(cancel_button);
    gamepad_mouse_moved(cx, cy, true);  // the mouse's last move, on CANCEL
    const int before = game.cursor_x;
    gamepad_controls({.right = true}, 2000);
    gamepad_controls({}, 2050);
    EXPECT_EQ(gamepad_x(), cx + PAD_DPAD_STEP);
    EXPECT_EQ(game.cursor_x, before);
}

TEST_F(Gamepad, ThePadAimsUntilTheMouseMoves) {
    EXPECT_FALSE(gamepad_aiming());
    gamepad_controls({.stick_x = 7000, .stick_y = -3000}, 0);  // a trembling stick at rest
    EXPECT_FALSE(gamepad_aiming());
    EXPECT_EQ(game.cursor_x, 0) << "and the game's cursor stays";
    gamepad_controls({.stick_x = 20000}, 10);
    EXPECT_TRUE(gamepad_aiming()) << "a push aims before its first step";
    EXPECT_EQ(game.cursor_x, FIELD_WIDTH / 2) << "the game's cursor is at the cross-hair at once";
    gamepad_controls({}, 20);

    mouse_to(100, 650);
    EXPECT_FALSE(gamepad_aiming());
    EXPECT_EQ(gamepad_x(), 100) << "the cross-hair starts from the mouse's point";
    EXPECT_EQ(gamepad_y(), 650);
    south(true);
    south(false);
    EXPECT_TRUE(gamepad_aiming()) << "firing aims";
    gamepad_mouse_moved(5000, 5000, false);
    EXPECT_FALSE(gamepad_aiming()) << "the mouse came back, if off the field";
    EXPECT_EQ(gamepad_x(), 100);
    gamepad_controls({.up = true}, 30);
    EXPECT_TRUE(gamepad_aiming());
    gamepad_gone();
    EXPECT_FALSE(gamepad_aiming()) << "the last pad went away";
}

TEST_F(Gamepad, APadPulledOutWithAButtonHeldRunsNothing) {
    start();
    auto [cx, cy] = middle(cancel_button);
    mouse_to(cx, cy);
    south(true);
    EXPECT_TRUE(shown_pressed(cancel_button));
    gamepad_let_go();
    EXPECT_THAT(take_events(), IsEmpty());
    EXPECT_FALSE(shown_pressed(cancel_button));
    EXPECT_EQ(held_button(), -1);
    // SDL's release of the pulled pad, or another pad's, comes after.
    EXPECT_THAT(south(false), IsEmpty());
    EXPECT_EQ(game.stage, STAGE_SHOOTING);
    // Pulled out with no button held, nothing either.
    gamepad_let_go();
    EXPECT_THAT(take_events(), IsEmpty());
}

TEST_F(Gamepad, ThePadLetsGoOnlyOfWhatItHolds) {
    auto [sx, sy] = middle(start_button);
    pointer_press(sx, sy, MouseButton::left);  // the mouse holds START
    mouse_to(sx, sy);
    EXPECT_THAT(south(true), IsEmpty());
    EXPECT_THAT(south(false), IsEmpty()) << "the pad's release is not the mouse's";
    gamepad_let_go();
    EXPECT_TRUE(shown_pressed(start_button));
    pointer_release(sx, sy, true, MouseButton::left);
    EXPECT_THAT(take_events(), ElementsAre(cue("snd_start"), AMBIENT_START, TIMER_ON));
}

}  // namespace
