#include "tests/fuzz/referee.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "game/model/scene.h"
#include "game/rules/game_state.h"
#include "game/rules/scoreboard.h"
#include "game/shell/record/record.h"
#include "sim/sim.h"
#include "tests/fuzz/field_rules.h"
#include "tests/fuzz/json_check.h"
#include "tests/fuzz/line_reading.h"

RefereeCounts referee_counts;

namespace {

// One script may run this many ticks in all: enough for every timeline of
// the game (the splat's 400 ticks, the spider's 401) several times over.
constexpr long long TICK_BUDGET = 20000;

// The clock the fuzzed program reads when no `seed` line came first: fixed,
// so that every input plays the same way each time it is run.
std::uint32_t fixed_clock() { return 20240601u; }

const std::string TIMER_ON = R"({"timer":"on"})";
const std::string TIMER_OFF = R"({"timer":"off"})";
const std::string AMBIENT_START = R"({"ambient":"start"})";
const std::string AMBIENT_STOP = R"({"ambient":"stop"})";
const std::string BEEP = R"({"beep":0})";
const std::string DRAG = R"({"window":"drag"})";

std::vector<std::string> output_lines(const std::string& out) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        lines.push_back(out.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The game record and the scene. Equal snapshots: the command changed
// nothing of the game.
struct Snapshot {
    GameState state;
    std::array<SceneElement, ELEMENT_COUNT> elements;
    bool operator==(const Snapshot&) const = default;
};
Snapshot snapshot() { return {game, scene}; }

class Referee;
// The referee playing now: a rule of the field it checks reports through it.
const Referee* playing = nullptr;

class Referee {
public:
    explicit Referee(std::string_view script) : script_(script) {}

    void play() {
        playing = this;
        restart();
        std::istringstream in{std::string(script_)};
        std::string line;
        while (read_line(in, line)) feed(line);
        playing = nullptr;
    }

    [[noreturn]] void broken(const std::string& rule) const {
        std::fprintf(stderr, "\nplinkfield referee: RULE BROKEN: %s\n  at line %lld: %s\n  state: %s\n",
                     rule.c_str(), line_number_, current_.c_str(), state_json().c_str());
        std::abort();
    }

private:
    std::string_view script_;
    long long line_number_ = 0;
    long long ticks_left_ = TICK_BUDGET;
    std::string current_;  // the command being checked, for the report

    // What the referee remembers between commands.
    bool game_started_ = false;  // a START was accepted since program start
    bool timer_on_ = false;      // from the timer events
    bool ambient_on_ = false;    // from the Ambient events
    int last_hits_ = 0, last_misses_ = 0, last_shots_ = 0, last_level_ = 1;

    // Program start, as the simulator makes it.
    void restart() {
        start_simulation();
        recorder.clock = fixed_clock;
        line_number_ = 0;
        game_started_ = timer_on_ = ambient_on_ = false;
        last_hits_ = last_misses_ = last_shots_ = 0;
        last_level_ = 1;
        check_rules();
    }

    // ---- Reading a line as the README describes the language ----

    // A line the simulator must refuse whatever its words: too long, not
    // UTF-8, or holding a control character other than tab once a CR
    // before the "\n" is taken as part of the line ending.
    void feed(const std::string& line) {
        ++line_number_;
        ++referee_counts.lines;
        bool bad_text = text_is_bad(line);
        std::vector<std::string> words = bad_text ? std::vector<std::string>{} : words_of(line);
        current_ = bad_text ? "(bytes that are not a line of text)" : line.substr(0, 200);
        if (!bad_text && !words.empty() && words[0] == "set") return;  // left out: it writes any field

        // `tick N` is played one tick at a time, each one checked; a count
        // past the limit goes to the interpreter whole, which must refuse it.
        if (!bad_text && too_many_ticks(words)) return command(line, words, false);
        if (!bad_text && words.size() == 2 && words[0] == "tick") {
            if (std::optional<long long> n = tick_count(words[1]); n && *n > 1) {
                long long run = std::min(*n, ticks_left_);
                for (long long i = 0; i < run; ++i) command("tick", words_of("tick"), false);
                return;
            }
        }
        if (!bad_text && !words.empty() && words[0] == "tick") {
            if (ticks_left_ <= 0) return;
        }
        command(line, words, bad_text);
    }

    void command(const std::string& line, const std::vector<std::string>& words, bool bad_text) {
        ++referee_counts.commands;
        if (!words.empty() && words[0] == "tick") --ticks_left_;
        const Snapshot before = snapshot();
        const GameState& was = before.state;
        const int window_x = recorder.window_x, window_y = recorder.window_y;
        std::string out;
        LineResult result = run_line(line, line_number_, out);
        std::vector<std::string> lines = output_lines(out);

        // Everything printed is one JSON object a line, whatever came in.
        require(out.empty() || out.back() == '\n', "output ends with a newline");
        for (const std::string& l : lines)
            if (std::string why = json_object_fault(l); !why.empty()) broken("output is JSON: " + why + ": " + l);

        // A line that is not text is refused, and so is a line of too many ticks.
        if (bad_text) require(result == LineResult::error, "a line that is not text is refused");
        if (!bad_text && too_many_ticks(words)) require(result == LineResult::error, "too many ticks are refused");
        // A refused line prints one error naming its line, and changes nothing.
        if (result == LineResult::error) {
            std::string head = "{\"error\":\"line " + std::to_string(line_number_) + ": ";
            require(lines.size() == 1 && lines[0].rfind(head, 0) == 0, "an error is one line naming its line");
            require(snapshot() == before, "an error changes nothing");
            require(recorder.window_x == window_x && recorder.window_y == window_y, "an error moves nothing");
            return check_rules();
        }
        // Blank lines and comments are skipped without a word.
        bool skip = words.empty() || words[0][0] == '#';
        require((result == LineResult::ignored) == skip, "only blank lines and comments are skipped");
        if (skip) {
            require(out.empty() && snapshot() == before, "a skipped line does nothing");
            return check_rules();
        }

        follow_events(lines);
        const std::string& cmd = words[0];
        check_command(cmd, words, was, before, lines, window_x, window_y);

        if (result == LineResult::close) {
            // The close button ends the program: the timer and Ambient go
            // with it. The next line is a new program.
            require(!recorder.window_open && !recorder.timer_running, "close stops the timer");
            require(!ambient_on_, "no Ambient outlives the game");
            return restart();
        }
        require(recorder.window_open, "only close closes the window");
        check_rules();
    }

    // The timer and Ambient events, in the order they came.
    void follow_events(const std::vector<std::string>& lines) {
        for (const std::string& l : lines) {
            if (l == TIMER_ON) {
                require(!timer_on_, "the timer is never started twice");
                timer_on_ = true;
            } else if (l == TIMER_OFF) {
                require(timer_on_, "the timer is stopped only while it runs");
                timer_on_ = false;
            } else if (l == AMBIENT_START) {
                // At most one Ambient plays: START comes only from idle,
                // and idle has none.
                require(!ambient_on_, "at most one Ambient plays");
                ambient_on_ = !recorder.ambient_missing;
            } else if (l == AMBIENT_STOP) {
                ambient_on_ = false;  // every Ambient is closed
            }
        }
    }

    // What each command may and must do, beyond the rules that hold always.
    void check_command(const std::string& cmd, const std::vector<std::string>& words, const GameState& was,
                       const Snapshot& before, const std::vector<std::string>& lines, int window_x, int window_y) {
        bool moved_window = recorder.window_x != window_x || recorder.window_y != window_y;
        if (cmd != "key") require(!moved_window, "only the arrow keys move the window");

        if (cmd == "state" || cmd == "scene" || cmd == "seed" || cmd == "ambient" || cmd == "key" ||
            cmd == "minimize") {
            // Asking, configuring, nudging or minimizing leaves the game as
            // it was; the game goes on behind a minimized window.
            require(snapshot() == before, "this command leaves the game alone");
        }
        if (cmd == "key") {
            int dx = recorder.window_x - window_x, dy = recorder.window_y - window_y;
            const std::string& k = words[1];
            bool ok = (k == "left" && dx == -2 && dy == 0) || (k == "right" && dx == 2 && dy == 0) ||
                      (k == "up" && dx == 0 && dy == -2) || (k == "down" && dx == 0 && dy == 2);
            require(ok, "an arrow key moves the window 2 pixels its way");
        }
        if (cmd == "start") {
            if (was.stage != STAGE_IDLE) {
                // START outside idle only beeps.
                require(lines.size() == 1 && lines[0] == BEEP && snapshot() == before, "START in a game only beeps");
            } else {
                require(game.stage == STAGE_SHOOTING && game.level == 1 && game.shots_fired == 0 && game.score == 0 &&
                            game.hits == 0 && game.misses == 0,
                        "START begins level 1 from nothing");
                require(!visible(canceled_banner) && !visible(game_over_banner), "START takes the banners away");
                for (int k = 1; k <= 25; ++k) require(visible(cartridge(k)), "START shows all 25 cartridges");
                game_started_ = true;
                last_hits_ = last_misses_ = last_shots_ = 0;
                last_level_ = 1;
            }
        }
        if (cmd == "cancel") {
            if (was.stage != STAGE_SHOOTING) {
                require(lines.size() == 1 && lines[0] == BEEP && snapshot() == before,
                        "CANCEL outside a level only beeps");
            } else {
                require(game.stage == STAGE_IDLE && visible(canceled_banner) && game.canceled_shown == 1,
                        "CANCEL ends the game under its banner");
                require(game.score == was.score && game.hits == was.hits && game.misses == was.misses,
                        "CANCEL keeps the counters");
            }
        }
        if (cmd == "tick" && was.stage == STAGE_IDLE) require(snapshot() == before && lines.empty(), "idle ticks do nothing");
        if (cmd == "move") {
            require(game.cursor_x == std::stoi(words[1]) && game.cursor_y == std::stoi(words[2]),
                    "a move records the cursor");
            require(lines.empty(), "a move makes no sound");
        }
        if (cmd == "click") {
            int x = std::stoi(words[1]), y = std::stoi(words[2]);
            const DragStrip& s = was.drag_strip;
            bool in_strip = x >= s.left && x < s.right && y >= s.top && y < s.bottom;
            bool drags = in_strip && was.stage != STAGE_BONUS;
            if (drags) {
                // The strip drags the window: no shot, no tick.
                require(lines.size() == 1 && lines[0] == DRAG && snapshot() == before, "a press on the strip only drags");
            } else {
                require(std::find(lines.begin(), lines.end(), DRAG) == lines.end(), "only the strip drags");
            }
            if (!drags && was.stage == STAGE_IDLE) require(snapshot() == before && lines.empty(), "idle presses do nothing");
            // Every press that shoots uses one shot, two on the press that
            // enters the bonus stage.
            if (!drags && was.stage != STAGE_IDLE) {
                int used = game.shots_fired - was.shots_fired;
                bool entered_bonus = was.stage == STAGE_SHOOTING && game.stage == STAGE_BONUS;
                require(used == (entered_bonus ? 2 : 1), "a press fires one shot");
            }
        }
        if (cmd != "start" && cmd != "click" && cmd != "tick")
            require(game.shots_fired == was.shots_fired, "only presses fire shots");
    }

    // ---- The rules that hold after every command ----

    void check_rules() {
        const GameState& g = game;

        // The stage is one of the three.
        require(g.stage == STAGE_IDLE || g.stage == STAGE_SHOOTING || g.stage == STAGE_BONUS, "stage is one of three");

        // The 100 ms timer runs exactly while a game is in progress: in the
        // shooting stage or in the bonus stage.
        require(recorder.timer_running == (g.stage != STAGE_IDLE), "the timer runs exactly while a game runs");
        require(timer_on_ == recorder.timer_running, "the timer events match the timer");
        // No Ambient plays while no game runs.
        if (g.stage == STAGE_IDLE) require(!ambient_on_, "no Ambient plays while no game runs");

        // Nothing moves until the first START: the record is as at program
        // start but for the cursor.
        if (!game_started_) {
            GameState fresh;
            fresh.cursor_x = g.cursor_x;
            fresh.cursor_y = g.cursor_y;
            require(g == fresh, "nothing moves until START");
            for (int k = 1; k <= 25; ++k) require(!visible(cartridge(k)), "no cartridge before the first START");
        }

        // Flags hold 0 or 1; indices a family does not name stay 0.
        auto flag = [&](int v, const char* rule) { require(v == 0 || v == 1, rule); };
        for (int h = 1; h <= 9; ++h) flag(g.hole_hittable[h], "hole flags are 0 or 1");
        require(g.hole_hittable[0] == 0, "hole 0 is no hole");
        for (int i = 1; i <= 5; ++i) flag(g.climber_hittable[i], "climber flags are 0 or 1");
        require(g.climber_hittable[0] == 0, "climber flag 0 is unused");
        for (int i = 2; i <= 4; ++i) flag(g.descender_hittable[i], "descender flags are 0 or 1");
        require(g.descender_hittable[0] == 0 && g.descender_hittable[1] == 0, "descender flags 0 and 1 are unused");
        for (int k = 1; k <= 6; ++k) flag(g.bird_hittable[k], "crow flags are 0 or 1");
        require(g.bird_hittable[0] == 0, "crow flag 0 is unused");
        for (int v : {g.cow_hittable, g.cow_down, g.spider_top_hittable, g.spider_bottom_hittable, g.spider_down,
                      g.splat_active, g.lizard_busy, g.canceled_shown})
            flag(v, "every flag is 0 or 1");

        // Between commands no click is half done: the per-click flags, the
        // pending fields and the scoreboard texts are clear.
        require(g.shot_hit == 0 && g.cow_shot_now == 0 && g.lizard_shot_now == 0 && g.spider_shot_now == 0,
                "per-click flags are 0 between clicks");
        require(g.pending_points == 0 && g.pending_hit == 0 && g.pending_miss == 0, "nothing pending between clicks");
        require(g.score_text.empty() && g.hits_text.empty() && g.misses_text.empty(), "texts empty between clicks");

        // The score is never negative, and a multiple of 5 since every
        // point value is.
        require(g.score >= 0, "score never negative");
        require(g.score % 5 == 0, "score is a multiple of 5");
        // Every shot is one hit or one miss.
        require(g.hits >= 0 && g.misses >= 0 && g.hits + g.misses == g.shots_fired, "every shot is a hit or a miss");
        // Within a game the counters and the level never go backwards.
        require(g.hits >= last_hits_ && g.misses >= last_misses_, "hits and misses never go backwards in a game");
        require(g.shots_fired >= last_shots_, "shots never go backwards in a game");
        require(g.level >= last_level_ && g.level - last_level_ <= 1, "the level goes up one at a time");
        last_hits_ = g.hits, last_misses_ = g.misses, last_shots_ = g.shots_fired, last_level_ = g.level;

        // The scoreboard shows the counters: six-digit score, four-digit
        // counts (more digits when they are bigger).
        require(scene[score_label].text == zero_padded(g.score, 6), "the score label shows the score");
        require(scene[hits_label].text == zero_padded(g.hits, 4), "the hits label shows the hits");
        require(scene[misses_label].text == zero_padded(g.misses, 4), "the misses label shows the misses");

        // The level's numbers follow from the level: those of this level
        // while shooting or after the game, those of the level just won
        // during its bonus stage.
        require(g.level >= 1, "level counts from 1");
        require(g.ammo_window_end == 25 * g.level, "the cartridge row ends at 25 x level");
        int L = g.stage == STAGE_BONUS ? g.level - 1 : g.level;
        require(L >= 1, "a bonus stage follows a level");
        require(g.shot_limit == 25 * L, "the level allows 25 x level shots in all");
        require(g.fail_below == (L == 1 ? 1000 : 1200 * L) && g.advance_above == (L == 1 ? 999 : 1199 * L),
                "the thresholds are the level's");
        require(g.cue_shot_hit == g.shot_limit - 2 && g.cue_shot_miss_a == g.shot_limit - 20 &&
                    g.cue_shot_miss_b == g.shot_limit - 14 && g.cue_shot_miss_c == 8,
                "the cue shot numbers are the level's");
        require(g.hole_count == 9, "nine holes");
        require(g.drag_strip.left == 0 && g.drag_strip.top == 0 && g.drag_strip.right == 1000 &&
                    g.drag_strip.bottom == 30,
                "the drag strip never changes");

        // Shots: a level ends on the shot that reaches its limit, so while
        // shooting some are always left; a bonus stage takes 1 to 18.
        int row_start = g.ammo_window_end - 25;  // shots before this row
        if (g.stage == STAGE_SHOOTING)
            require(g.shots_fired < g.shot_limit && g.shots_fired >= 25 * (L - 1) + (L > 1 ? 1 : 0),
                    "shots left while shooting");
        if (g.stage == STAGE_IDLE) require(g.shots_fired <= g.shot_limit, "no shot past the limit");
        if (g.stage == STAGE_BONUS)
            require(g.shots_fired - row_start >= 1 && g.shots_fired - row_start <= 18, "1 to 18 bonus shots");

        // The rodent cycle: parked at 50 in the bonus stage, 0 after a game,
        // 0 to 48 between ticks while shooting (49 wraps to 1 at once).
        if (g.stage == STAGE_BONUS) require(g.popup_tick == 50, "the bonus stage parks the rodents");
        if (g.stage == STAGE_SHOOTING) require(g.popup_tick >= 0 && g.popup_tick <= 48, "rodent tick 0 to 48");
        if (g.stage == STAGE_IDLE) require(g.popup_tick == 0, "no rodent cycle after a game");
        // The bonus stage runs from step 1 to 17; outside it the counter
        // is 0, or 1 after the step that ended a stage.
        if (g.stage == STAGE_BONUS)
            require(g.bonus_tick >= 1 && g.bonus_tick <= 17, "bonus step 1 to 17");
        else
            require(g.bonus_tick == 0 || g.bonus_tick == 1, "no bonus step outside the stage");

        check_field(game_started_, row_start);
    }
};

}  // namespace

void rule_broken(const char* rule) { playing->broken(rule); }

void referee_play(std::string_view script) {
    ++referee_counts.inputs;
    Referee(script).play();
}
