#include "game/rules/rodents.h"

#include <array>

#include "game/model/scene.h"
#include "game/rules/game_state.h"
#include "game/rules/random.h"
#include "game/rules/sounds.h"
#include "game/rules/timeline.h"
#include "game/seam/platform.h"

struct HoleRow {
    Element peeking;
    Element raised;
    int popup_cue;  // 1, 2 or 3: snd_popup_1, snd_popup_2, snd_popup_3
};

// Indexed by hole, 1..9; row 0 is no hole.
static constexpr std::array HOLE_TABLE = {
    HoleRow{-1, -1, 0},
    HoleRow{peek(1), raised(1), 3},
    HoleRow{peek(2), raised(2), 3},
    HoleRow{peek(3), raised(3), 3},
    HoleRow{peek(4), raised(4), 1},
    HoleRow{peek(5), raised(5), 1},
    HoleRow{peek(6), raised(6), 3},
    HoleRow{peek(7), raised(7), 3},
    HoleRow{peek(8), raised(8), 1},
    HoleRow{peek(9), raised(9), 2},  // the large near rodent
};

namespace rodents_detail {
// Row h holds hole h's own two sprites and one of the three pop-up cues.
constexpr bool holes_in_order() {
    for (int h = 1; h <= 9; ++h) {
        const HoleRow& row = HOLE_TABLE[h];
        if (row.peeking != peek(h) || row.raised != raised(h) || row.popup_cue < 1 || row.popup_cue > 3) return false;
    }
    return true;
}
}  // namespace rodents_detail
static_assert(HOLE_TABLE.size() == 10 && rodents_detail::holes_in_order());

static bool is_hole(int h) { return h >= 1 && h <= 9; }

static void spawn_rodent() {
    game.popup_cue = 0;
    if (game.spawn_count == 0) seed_random(platform_clock_seconds());
    game.spawn_count += 1;
    int r = draw_random();
    // hole_count is never changed by the game; a zero written from outside
    // chooses no hole rather than dividing by zero.
    int h = game.hole_count != 0 ? r % game.hole_count + 1 : 0;
    game.active_hole = h;
    if (!is_hole(h)) return;
    show_element(HOLE_TABLE[h].peeking);
    game.popup_cue = HOLE_TABLE[h].popup_cue;
}

static void raise_rodent() {
    int h = game.active_hole;
    if (!is_hole(h)) return;
    hide_element(HOLE_TABLE[h].peeking);
    show_element(HOLE_TABLE[h].raised);
    game.hole_hittable[h] = 1;
}

static void lower_rodent() {
    int h = game.active_hole;
    if (!is_hole(h)) return;
    hide_element(HOLE_TABLE[h].raised);
    show_element(HOLE_TABLE[h].peeking);
    game.hole_hittable[h] = 0;
}

static void hide_rodent() {
    int h = game.active_hole;
    if (!is_hole(h)) return;
    hide_element(HOLE_TABLE[h].peeking);
    game.hole_hittable[h] = 0;
}

static void spawn_with_cue() {
    spawn_rodent();
    switch (game.popup_cue) {
        case 1: snd_popup_1(); break;
        case 2: snd_popup_2(); break;
        case 3: snd_popup_3(); break;
        default: break;  // no hole chosen: silence
    }
}

static constexpr TimelineRow RODENT_TIMELINE[] = {
    {1, {act_call(spawn_with_cue)}},
    {2, {act_call(raise_rodent)}},
    {10, {act_call(lower_rodent), act_hide(hit_marker)}},  // the marker goes even after a miss
    {11, {act_call(hide_rodent)}},
};

static_assert(timeline_well_formed(RODENT_TIMELINE));

void rodent_steps() {
    run_timeline(RODENT_TIMELINE, game.popup_tick);
    game.popup_tick += 1;
}
