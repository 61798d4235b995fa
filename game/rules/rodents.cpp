#include "rodents.h"

#include "../audio/cues.h"
#include "../shell/platform.h"
#include "../shell/scene.h"
#include "game_state.h"
#include "random.h"
#include "timeline.h"

static bool is_hole(int h) { return h >= 1 && h <= 9; }

void spawn_rodent() {
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

void raise_rodent() {
    int h = game.active_hole;
    if (!is_hole(h)) return;
    hide_element(HOLE_TABLE[h].peeking);
    show_element(HOLE_TABLE[h].raised);
    game.hole_hittable[h] = 1;
}

void lower_rodent() {
    int h = game.active_hole;
    if (!is_hole(h)) return;
    hide_element(HOLE_TABLE[h].raised);
    show_element(HOLE_TABLE[h].peeking);
    game.hole_hittable[h] = 0;
}

void hide_rodent() {
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
