// Recordings: a session written as a script that plinkfield-sim replays to
// the very same state and scene, and a replay that plays one back.
#include "game/edge/recording.h"

#include <sstream>

#include "game/edge/best_games.h"
#include "game/edge/game_end.h"
#include "game/edge/game_json.h"
#include "game/edge/gamepad.h"
#include "game/edge/inputs.h"
#include "game/edge/replay.h"
#include "game/rules/scoreboard.h"
#include "sim/sim.h"
#include "tests/game_fixture.h"

namespace {

std::string recorded;
void to_string(const std::string& line) { recorded += line; }

class Recording : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        recorded.clear();
        recorder.seed = 4242;
        recording_start(to_string, "plinkfield test\nsecond line");
    }
    void TearDown() override { recording_stop(); }

    // A short game as a window gives it: START, the timer, moves, shots at
    // rodents and at the meadow, a key, CANCEL.
    void play() {
        input_command(START_BUTTON_ID);
        for (int round = 0; round < 6; ++round) {
            for (int i = 0; i < 3 + round; ++i) input_tick();
            const Element target = raised(game.active_hole == 0 ? 1 : game.active_hole);
            const int x = scene[target].x + 2, y = scene[target].y + 2;
            input_move(x, y);
            input_press(x, y);
            input_press(60, 600);
        }
        input_key(ArrowKey::down);
        for (int i = 0; i < 4; ++i) input_tick();
        input_command(CANCEL_BUTTON_ID);
    }

    // START, then misses (a tick between two) until GAME OVER.
    static void play_to_game_over() {
        input_command(START_BUTTON_ID);
        while (game.stage != STAGE_IDLE) {
            input_tick();
            input_press(60, 600);
        }
    }

    // The recording fed to a fresh simulator, then "state" and "scene".
    static std::string replayed_in_the_simulator(const std::string& script) {
        start_simulation();
        std::istringstream in(script + "state\nscene\n");
        std::string line, out, last_two;
        long long n = 0;
        while (read_line(in, line)) {
            out.clear();
            run_line(line, ++n, out);
            if (line == "state" || line == "scene") last_two += out;
        }
        return last_two;
    }
};

TEST_F(Recording, TheSimulatorReplaysARecordedGameToTheSameStateAndScene) {
    play();
    const std::string live = state_json() + scene_json();
    EXPECT_GT(game.hits, 0) << "the game hit something";
    EXPECT_GT(game.misses, 0);
    recording_stop();
    EXPECT_EQ(replayed_in_the_simulator(recorded), live);

    // A test of the test: one tick more is another game.
    std::string one_more = recorded;
    one_more.replace(one_more.find("\ntick "), 6, "\ntick 1\ntick ");
    EXPECT_NE(replayed_in_the_simulator(one_more), live);
}

TEST_F(Recording, APadsInputsAreTheClicksMovesAndCommandsTheyAre) {
    gamepad_reset();
    gamepad_button(PadButton::start, true);
    gamepad_button(PadButton::start, false);
    std::vector<std::string> clicks;
    double now = 0;
    for (int round = 0; round < 4; ++round) {
        for (int i = 0; i < 3; ++i) input_tick();
        // The stick towards the burrow of the rodent up, then fire.
        const Element target = raised(game.active_hole == 0 ? 1 : game.active_hole);
        const int dx = scene[target].x + 2 - gamepad_x(), dy = scene[target].y + 2 - gamepad_y();
        gamepad_controls({.stick_x = dx > 0 ? 20000 : -20000, .stick_y = dy > 0 ? 20000 : -20000}, now);
        gamepad_run_due(now += 150);
        gamepad_controls({}, now);
        gamepad_controls({.left = true}, now += 10);
        gamepad_controls({}, now += 10);
        gamepad_button(PadButton::south, true);
        gamepad_button(PadButton::south, false);
        clicks.push_back("click " + std::to_string(gamepad_x()) + " " + std::to_string(gamepad_y()));
    }
    gamepad_button(PadButton::back, true);
    gamepad_button(PadButton::back, false);
    recording_stop();
    const std::string live = state_json() + scene_json();
    EXPECT_EQ(game.shots_fired, 4);
    EXPECT_EQ(replayed_in_the_simulator(recorded), live);

    // Word by word: the buttons, moves, clicks where the cross-hair was.
    std::istringstream lines(recorded);
    std::string line;
    std::vector<std::string> recorded_clicks;
    int moves = 0;
    while (std::getline(lines, line)) {
        const std::string word = line.substr(0, line.find(' '));
        EXPECT_TRUE(word == "#" || word == "start" || word == "seed" || word == "tick" || word == "move" ||
                    word == "click" || word == "cancel")
            << line;
        if (word == "click") recorded_clicks.push_back(line);
        moves += word == "move";
    }
    EXPECT_EQ(recorded_clicks, clicks);
    EXPECT_GE(moves, 8);
    gamepad_reset();
}

TEST_F(Recording, TheFileStartsWithItsHeaderAndTheSeedComesBeforeItsInput) {
    play();
    std::istringstream lines(recorded);
    std::string first, second, line;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(first, "# plinkfield test");
    EXPECT_EQ(second, "# second line");
    std::getline(lines, line);
    EXPECT_EQ(line, "start");
    std::getline(lines, line);
    EXPECT_EQ(line, "seed 4242") << "the first rodent read the clock in the next tick";
    std::getline(lines, line);
    EXPECT_EQ(line, "tick 3");
}

TEST_F(Recording, TicksAreWrittenByTheNextInput) {
    input_command(START_BUTTON_ID);
    input_tick();
    input_tick();
    EXPECT_EQ(recorded.find("tick"), std::string::npos) << "a run of ticks waits for its end";
    input_move(10, 400);
    EXPECT_NE(recorded.find("tick 2\nmove 10 400\n"), std::string::npos);
    input_tick();
    input_command(CANCEL_BUTTON_ID);
    EXPECT_NE(recorded.find("tick 1\ncancel\n"), std::string::npos);
    input_press(60, 600);
    EXPECT_EQ(recorded.substr(recorded.size() - 13), "click 60 600\n") << "no tick ran meanwhile";
}

// Shots straight after START, each with its tick, until one of those ticks
// raises the first rodent and reads the clock: the seed is written before
// the click that read it.
TEST_F(Recording, AClickThatReadsTheClockComesAfterItsSeed) {
    input_command(START_BUTTON_ID);
    for (int i = 0; i < 10 && game.spawn_count == 0; ++i) input_press(60, 600);
    ASSERT_GT(game.spawn_count, 0);
    EXPECT_EQ(recorded.substr(recorded.size() - 23), "seed 4242\nclick 60 600\n");
    for (int i = 0; i < 3; ++i) input_tick();
    input_press(60, 600);
    const std::string live = state_json() + scene_json();
    recording_stop();
    EXPECT_EQ(replayed_in_the_simulator(recorded), live);
}

// A wait longer than one line may run is written as several lines, each
// one the simulator takes, and the whole replays to the same state.
TEST_F(Recording, ALongWaitIsWrittenAsLinesTheSimulatorTakes) {
    input_command(START_BUTTON_ID);
    for (long long i = 0; i < 2 * MAX_TICKS_PER_LINE + 1; ++i) input_tick();
    input_command(CANCEL_BUTTON_ID);
    const std::string live = state_json() + scene_json();
    recording_stop();
    EXPECT_NE(recorded.find("\ntick 100000\ntick 100000\ntick 1\ncancel\n"), std::string::npos) << recorded;
    EXPECT_EQ(replayed_in_the_simulator(recorded), live);
}

TEST_F(Recording, AReplayPlaysTheRecordingBackToTheSameState) {
    play();
    input_command(CLOSE_BUTTON_ID);
    recording_stop();
    const GameState live = game;
    const auto live_scene = scene;
    const std::string script = recorded;
    SetUp();
    recording_stop();
    recorder.seed.reset();  // the replay must bring its own
    std::istringstream in(script);
    ASSERT_EQ(replay_load(in), "");
    int steps = 0;
    while (replay_step()) ++steps;
    EXPECT_FALSE(replay_running());
    EXPECT_EQ(steps, 3 + 4 + 5 + 6 + 7 + 8 + 4) << "one step a recorded tick";
    EXPECT_TRUE(game == live);
    EXPECT_TRUE(scene == live_scene);
    for (const std::string& e : take_events())
        EXPECT_NE(e, R"({"window":"close"})") << "the replay stops on the last picture, its window open";
}

TEST_F(Recording, AFileThatIsNoRecordingIsRefusedByLine) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"start\ntick 3\ncli", "line 3: unknown command 'cli'"},                  // cut short
        {"start\nclick 61\n", "line 2: 'click' takes 2 arguments"},               // cut mid-line
        {"# ok\n\nset score 5\n", "line 3: 'set' is not an input a recording holds"},
        {"state\n", "line 1: 'state' is not an input a recording holds"},
        {"\x89PNG\r\n\x1a\n", "line 1: not UTF-8 at byte 1"},                    // a picture
        {"start\ntick -1\n", "line 2: bad number '-1'"},
        {"start\ntick 100001\n", "line 2: 'tick' runs at most 100000 ticks a line"},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.text);
        EXPECT_EQ(replay_load(in), c.error) << c.text;
        EXPECT_FALSE(replay_running());
    }
}


// ------------------------------------------------------- the table's games

std::vector<FinishedGame> finished;
std::vector<std::string> their_recordings;
void to_finished(const FinishedGame& g) {
    finished.push_back(g);
    their_recordings.push_back(recording_so_far());
}

// Each game that ends, by GAME OVER, CANCEL or the window's close, with the
// session's recording up to its end, as the table of best games keeps it.
class GameEnds : public Recording {
protected:
    void SetUp() override {
        Recording::SetUp();
        finished.clear();
        their_recordings.clear();
        best_games_reset();
        on_game_end(to_finished);
    }
    void TearDown() override {
        on_game_end(nullptr);
        Recording::TearDown();
    }
};

// The scene carries over from one game to the next (the cow's pose, the
// rodents' random sequence), so a second game's recording starts with the
// session.
TEST_F(GameEnds, ASessionsSecondGameReplaysFromItsRecordingToItsEnd) {
    play();  // the first game, to CANCEL
    play_to_game_over();
    const std::string live = state_json() + scene_json();
    const GameState at_the_end = game;
    input_move(300, 300);  // after the game: not its recording's
    input_command(START_BUTTON_ID);
    ASSERT_EQ(finished.size(), 2u);
    EXPECT_EQ(finished[0].how, GameEnd::canceled);
    const FinishedGame& second = finished[1];
    EXPECT_EQ(second.how, GameEnd::over);
    EXPECT_EQ(std::vector<int>({second.score, second.level, second.hits, second.misses, second.shots}),
              std::vector<int>({at_the_end.score, at_the_end.level, at_the_end.hits, at_the_end.misses, 25}));
    const std::string& its_recording = their_recordings[1];
    EXPECT_EQ(recorded.rfind(its_recording, 0), 0u) << "the lines --record writes, up to the game's end";
    EXPECT_EQ(its_recording.substr(its_recording.size() - 13), "click 60 600\n");
    EXPECT_EQ(replayed_in_the_simulator(its_recording), live);
    EXPECT_NE(replayed_in_the_simulator(their_recordings[0]), live);
}

TEST_F(GameEnds, AGameTheWindowsCloseEndsIsKeptWithoutTheClose) {
    input_command(START_BUTTON_ID);
    for (int i = 0; i < 7; ++i) input_tick();
    input_press(60, 600);
    for (int i = 0; i < 3; ++i) input_tick();
    input_command(CLOSE_BUTTON_ID);
    const std::string live = state_json() + scene_json();
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].how, GameEnd::closed);
    EXPECT_EQ(recorded.substr(recorded.size() - 13), "tick 3\nclose\n");
    EXPECT_EQ(their_recordings[0], recorded.substr(0, recorded.size() - 6)) << "its ticks, not its close";
    EXPECT_EQ(replayed_in_the_simulator(their_recordings[0]), live);
}

// What the panel shows of the games: the best score, and NEW BEST at the
// end of a game that beat a best kept before it, until the next START.
TEST_F(GameEnds, TheBestGamesRankEachGameAndABeatenBestSaysSoUntilTheNextStart) {
    auto kept = [](std::int64_t when) { return rank_finished_game(finished.back(), when, finished.size()); };
    PanelPlace banner{};
    EXPECT_EQ(best_number_text(), "000000");
    input_command(START_BUTTON_ID);
    input_command(CANCEL_BUTTON_ID);
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_FALSE(kept(1000)) << "no shot fired, no game";

    play_to_game_over();
    EXPECT_TRUE(kept(2000));
    EXPECT_FALSE(new_best_banner(banner)) << "a first game beats nobody";
    EXPECT_EQ(best_number_text(), "000000");

    play();  // hits rodents
    ASSERT_GT(finished.back().score, 0);
    const std::optional<KeptGame> best = kept(3000);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->entry.score, finished.back().score);
    EXPECT_EQ(best->recording, their_recordings.back()) << "the session up to the game's end";
    EXPECT_EQ(best_number_text(), zero_padded(finished.back().score, SCORE_DIGITS));
    ASSERT_TRUE(new_best_banner(banner));
    const SceneElement& canceled = scene[canceled_banner];
    EXPECT_EQ(std::vector<int>({banner.x, banner.w, banner.h}), std::vector<int>({canceled.x, canceled.w, canceled.h}));
    EXPECT_LT(banner.y + banner.h, canceled.y) << "over the banner that says how the game ended";

    input_command(START_BUTTON_ID);
    EXPECT_FALSE(new_best_banner(banner));
    input_command(CANCEL_BUTTON_ID);  // a game, but no shot: no best beaten
    EXPECT_FALSE(kept(4000));
    EXPECT_FALSE(new_best_banner(banner));
    EXPECT_EQ(known_best_games().entries.size(), 2u);
}

}  // namespace
