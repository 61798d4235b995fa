// GameState: the one record of the game, read and written directly by every
// rule. The member initialisers are the values at program start.
// Flags are ints holding 0 or 1; a hittable flag counts only when exactly 1.
// Indexed flags are indexed as their elements are named (hole_hittable[1] is
// the rodent of hole 1); index 0 of those arrays is unused unless named.
#pragma once

#include <array>
#include <string>

enum Stage : int { STAGE_IDLE = 0, STAGE_SHOOTING = 1, STAGE_BONUS = 2 };

struct DragStrip {
    int left = 0, top = 0, right = 1000, bottom = 30;
    bool operator==(const DragStrip&) const = default;
};

struct GameState {
    // Level parameters.
    int level = 1;
    int ammo_window_end = 25;  // shot number that empties the current row
    int hole_count = 9;        // modulus of the random hole choice
    int fail_below = 1000;     // last shot ends the game below this
    int advance_above = 999;   // last shot leads to the bonus stage above this
    int shot_limit = 25;       // shots_fired at which the level ends
    int cue_shot_hit = 23;
    int cue_shot_miss_a = 5;
    int cue_shot_miss_b = 11;
    int cue_shot_miss_c = 8;
    DragStrip drag_strip;

    // Stage and counters.
    int stage = STAGE_IDLE;
    int shots_fired = 0;  // over all levels of a game, bonus clicks included
    int spawn_count = 0;  // since program start; the first spawn seeds
    int popup_tick = 0;   // 50 parks the rodent cycle during the bonus stage
    int cow_tick = 0;
    int spider_tick = 0;
    int lizard_tick = 0;
    int splat_tick = 0;
    int bonus_tick = 0;

    // Score.
    int score = 0;
    int hits = 0;
    int misses = 0;
    int pending_points = 0;  // -200 for the cow
    int pending_hit = 0;
    int pending_miss = 0;
    std::string score_text, hits_text, misses_text;  // empty between clicks

    // Rodents.
    int active_hole = 0;  // 0 before the first spawn of the process
    int popup_cue = 0;
    std::array<int, 10> hole_hittable{};  // 1..9

    // Side attractions, bonus and per-click flags.
    int cow_hittable = 0;
    int cow_down = 0;
    int spider_top_hittable = 0;
    int spider_bottom_hittable = 0;
    int spider_down = 0;
    std::array<int, 6> climber_hittable{};    // 1..5
    std::array<int, 5> descender_hittable{};  // 2..4
    int splat_active = 0;
    int lizard_busy = 0;
    std::array<int, 7> bird_hittable{};  // 1..6
    int shot_hit = 0;
    int cow_shot_now = 0;
    int lizard_shot_now = 0;
    int spider_shot_now = 0;
    int canceled_shown = 0;

    // Cursor, in client coordinates.
    int cursor_x = 0;
    int cursor_y = 0;

    bool operator==(const GameState&) const = default;
};

extern GameState game;
