#include "tests/fuzz/referee.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "game/model/bitmaps.h"
#include "game/model/scene.h"
#include "game/rules/game_state.h"
#include "game/rules/scoreboard.h"
#include "game/shell/record/record.h"
#include "sim/sim.h"
#include "tests/fuzz/json_check.h"

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

bool visible(Element e) { return scene[e].visible; }

class Referee {
public:
    explicit Referee(std::string_view script) : script_(script) {}

    void play() {
        restart();
        std::istringstream in{std::string(script_)};
        std::string line;
        while (read_line(in, line)) feed(line);
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

    [[noreturn]] void broken(const std::string& rule) const {
        std::fprintf(stderr, "\nplinkfield referee: RULE BROKEN: %s\n  at line %lld: %s\n  state: %s\n",
                     rule.c_str(), line_number_, current_.c_str(), state_json().c_str());
        std::abort();
    }
    void require(bool ok, const char* rule) const {
        if (!ok) broken(rule);
    }

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
    static bool text_is_bad(std::string_view line) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > MAX_LINE_BYTES || !is_utf8(line)) return true;
        for (char c : line) {
            auto b = static_cast<unsigned char>(c);
            if ((b < 0x20 && b != '\t') || b == 0x7F) return true;
        }
        return false;
    }

    static std::vector<std::string> words_of(std::string_view line) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::vector<std::string> words;
        std::string word;
        for (char c : line) {
            if (c == ' ' || c == '\t') {
                if (!word.empty()) words.push_back(word);
                word.clear();
            } else {
                word += c;
            }
        }
        if (!word.empty()) words.push_back(word);
        return words;
    }

    // A decimal count as `tick N` reads it: digits only, 0 to
    // MAX_TICK_COUNT (whether the line may run that many is another matter).
    static std::optional<long long> tick_count(const std::string& w) {
        if (w.empty() || w.size() > 10) return std::nullopt;
        long long n = 0;
        for (char c : w) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + (c - '0');
        }
        if (n > MAX_TICK_COUNT) return std::nullopt;
        return n;
    }
    static bool too_many_ticks(const std::vector<std::string>& words) {
        if (words.size() != 2 || words[0] != "tick") return false;
        std::optional<long long> n = tick_count(words[1]);
        return n && *n > MAX_TICKS_PER_LINE;
    }

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

        check_rodents();
        check_cartridges(row_start);
        if (game_started_) check_attractions();
        check_crow_and_banners();
        check_sprites();
    }

    // Only the rodent of the active hole is ever out; a rodent is hittable
    // exactly while it is raised, and while shooting the cycle says which.
    void check_rodents() {
        const GameState& g = game;
        int a = g.active_hole;
        require(a >= 0 && a <= 9 && (g.spawn_count == 0) == (a == 0), "the active hole is a hole once one spawned");
        for (int h = 1; h <= 9; ++h) {
            require(g.hole_hittable[h] == (visible(raised(h)) ? 1 : 0), "a rodent is hittable exactly while raised");
            if (h != a) require(!visible(peek(h)) && !visible(raised(h)), "only the active rodent is out");
        }
        if (a >= 1) require(!(visible(peek(a)) && visible(raised(a))), "a rodent peeks or is raised, not both");
        if (g.stage == STAGE_SHOOTING && a >= 1) {
            int p = g.popup_tick;
            bool raised_now = p >= 3 && p <= 10, peeking_now = p == 2 || p == 11;
            require(visible(raised(a)) == raised_now && visible(peek(a)) == peeking_now,
                    "the rodent cycle shows the rodent of its tick");
        }
        if (g.stage == STAGE_SHOOTING && a == 0) require(g.popup_tick <= 1, "the first rodent comes at tick 1");
        // The hit marker goes with the rodent: never in the bonus stage, and
        // while shooting gone by tick 10 of the cycle.
        if (visible(hit_marker)) {
            require(g.stage != STAGE_BONUS, "no hit marker in the bonus stage");
            if (g.stage == STAGE_SHOOTING) require(g.popup_tick <= 10, "the hit marker goes at tick 10");
        }
    }

    // The cartridge row shows exactly the shots left in the current row;
    // in a bonus stage before its step 3 the last level's row is empty.
    void check_cartridges(int row_start) {
        const GameState& g = game;
        if (!game_started_) return;
        int place = g.shots_fired - row_start;
        bool row_empty = g.stage == STAGE_BONUS && g.bonus_tick <= 3;
        for (int k = 1; k <= 25; ++k)
            require(visible(cartridge(k)) == (!row_empty && k > place), "the cartridges show the shots left");
    }

    void check_attractions() {
        const GameState& g = game;
        // The cow stands, hittable, until it is shot; then it lies for the
        // rest of the game and its counter stands at 0.
        require(g.cow_tick >= 0 && g.cow_tick <= 160, "cow tick 0 to 160");
        require(g.cow_hittable == 1 - g.cow_down, "the cow is hittable exactly while it stands");
        require(visible(cow) == !g.cow_down && visible(cow_fallen) == (g.cow_down == 1), "the cow shown is the cow's state");
        if (g.cow_down) require(g.cow_tick == 0, "a shot cow's counter stands at 0");

        // The spider: its frame and its flags follow its counter until it is
        // shot; a shot spider is gone for the game.
        int t = g.spider_tick;
        require(t >= 0 && t <= 400, "spider tick 0 to 400");
        int shown = -1, count = 0;
        for (int i = 0; i <= 4; ++i)
            if (visible(spider(i))) shown = i, ++count;
        if (g.spider_down) {
            require(count == 0 && g.spider_top_hittable == 0 && g.spider_bottom_hittable == 0,
                    "a shot spider stays shot");
        } else {
            int frame = t <= 29 ? 0 : t <= 32 ? t - 29 : t <= 79 ? 4 : t <= 82 ? 83 - t : 0;
            require(count == 1 && shown == frame, "the spider hangs where its counter says");
            require(g.spider_top_hittable == (frame == 0 ? 1 : 0) && g.spider_bottom_hittable == (frame == 4 ? 1 : 0),
                    "the spider is hittable at the ends of its thread");
            require(!visible(web_patch), "the empty web shows only after the spider is shot");
        }

        // The lizards and the splat: the splat keeps the lizards away and
        // the rodents running; each lizard frame is hittable for its one tick.
        int lt = g.lizard_tick;
        require(lt >= 0 && lt <= 300, "lizard tick 0 to 300");
        require(g.splat_tick >= 0 && g.splat_tick <= 399, "splat tick 0 to 399");
        if (!g.splat_active) require(g.splat_tick == 0, "the splat counter rests at 0");
        if (g.splat_active) require(g.lizard_busy == 0, "a shot lizard frees the rodents");
        if (visible(splat)) require(g.splat_active == 1, "the splat shows only while it runs");
        bool on_trunk = (lt >= 14 && lt <= 21) || (lt >= 160 && lt <= 165);
        if (!g.splat_active) require(g.lizard_busy == (on_trunk ? 1 : 0), "a lizard on the trunk holds the rodents");
        int hittable = 0;
        for (int i = 1; i <= 5; ++i)
            if (g.climber_hittable[i]) {
                ++hittable;
                require(!g.splat_active && lt == 14 + i, "a climbing frame is hittable in its own tick");
            }
        for (int i = 2; i <= 4; ++i)
            if (g.descender_hittable[i]) {
                ++hittable;
                require(!g.splat_active && lt == 160 + i, "a descending frame is hittable in its own tick");
            }
        require(hittable <= 1, "one lizard frame at a time");
        // At most the frame of the lizard's tick is on screen, none while
        // the splat runs.
        Element frame = lt >= 14 && lt <= 21 ? climber(lt - 14) : lt >= 160 && lt <= 165 ? descender(lt - 160) : -1;
        for (int i = 0; i <= 7; ++i)
            if (visible(climber(i))) require(!g.splat_active && climber(i) == frame, "only the lizard's own frame shows");
        for (int i = 0; i <= 5; ++i)
            if (visible(descender(i)))
                require(!g.splat_active && descender(i) == frame, "only the lizard's own frame shows");
    }

    void check_crow_and_banners() {
        const GameState& g = game;
        // The crow flies only in the bonus stage, each frame up and
        // hittable for two steps, bird k at steps 2k+2 and 2k+3.
        for (int k = 1; k <= 6; ++k) {
            bool up = g.stage == STAGE_BONUS && (g.bonus_tick == 2 * k + 2 || g.bonus_tick == 2 * k + 3);
            require(visible(bird(k)) == up && g.bird_hittable[k] == (up ? 1 : 0), "the crow frame of the step is up");
        }
        // The bonus reticle leaves with the bonus stage.
        if (visible(bonus_reticle)) require(g.stage == STAGE_BONUS, "the reticle only in the bonus stage");
        // The banners belong to a game that has ended, one at a time.
        require(g.canceled_shown == (visible(canceled_banner) ? 1 : 0), "canceled_shown is the banner");
        if (visible(canceled_banner) || visible(game_over_banner))
            require(g.stage == STAGE_IDLE, "banners only after a game");
        require(!(visible(canceled_banner) && visible(game_over_banner)), "one banner at a time");
    }

    // Every element keeps its place (but the three that the rules move),
    // and every sprite shows a picture the program carries, at its size.
    void check_sprites() {
        for (Element e = 0; e < ELEMENT_COUNT; ++e) {
            const ElementRow& row = ELEMENT_TABLE[e];
            const SceneElement& s = scene[e];
            if (e != hit_marker && e != bonus_reticle && e != splat)
                require(s.x == row.x && s.y == row.y, "elements stay where they were made");
            if (row.kind != ElementKind::sprite) continue;
            const BitmapInfo* b = find_bitmap(s.image);
            require(b != nullptr, "every sprite shows a picture");
            require(s.w == b->width && s.h == b->height, "a sprite has its picture's size");
        }
    }
};

}  // namespace

void referee_play(std::string_view script) {
    ++referee_counts.inputs;
    Referee(script).play();
}
