#include "game/rules/bonus.h"

#include "game/model/scene.h"
#include "game/rules/commands.h"
#include "game/rules/game_state.h"
#include "game/rules/scoreboard.h"
#include "game/rules/sounds.h"
#include "game/rules/timeline.h"

static constexpr int CROW_POINTS = 200;

void resolve_bonus_shot(int x, int y) {
    game.shots_fired += 1;  // no limit here: bonus shots come out of the next level's
    for (int k = 1; k <= 6; ++k) {
        if (point_in_rect(element_bounds(bird(k)), x, y) && game.bird_hittable[k] == 1) {
            game.shot_hit = 1;
            game.pending_points = CROW_POINTS;
            if (k == 6) show_element(bonus_reticle);
        }
    }
    if (game.shot_hit == 1) {
        snd_bird_hit();
        game.pending_hit = 1;
    } else {
        snd_shot();
        game.pending_miss = 1;
    }
    game.shot_hit = 0;
    update_scoreboard();
    update_cartridges();
    refresh_labels();
}

// The full row comes back, less what the entry pass and any early bonus
// clicks have already fired from it.
static void refill_cartridges() {
    show_all_cartridges();
    hide_spent_cartridges();
}

static void end_bonus_stage() {
    hide_all_targets();
    hide_element(bonus_reticle);  // else it would stay frozen on the field
    game.popup_tick = 0;
    int level = game.level;
    game.fail_below = level * 1200;
    game.advance_above = level * 1199;
    game.shot_limit = level * 25;
    game.cue_shot_hit = game.shot_limit - 2;
    game.cue_shot_miss_a = game.shot_limit - 20;
    game.cue_shot_miss_b = game.shot_limit - 14;
    game.stage = STAGE_SHOOTING;
    clear_hittable_flags();
    reset_bonus_counters();
}

static constexpr TimelineRow BONUS_TIMELINE[] = {
    {3,
     {act_call(refill_cartridges), act_show(bird(1)), act_set(game.bird_hittable[1], 1),
      act_cue(Cue::snd_bonus_start)}},
    {5,
     {act_hide(bird(1)), act_set(game.bird_hittable[1], 0), act_show(bird(2)), act_set(game.bird_hittable[2], 1)}},
    {7,
     {act_hide(bird(2)), act_set(game.bird_hittable[2], 0), act_show(bird(3)), act_set(game.bird_hittable[3], 1)}},
    {9,
     {act_hide(bird(3)), act_set(game.bird_hittable[3], 0), act_show(bird(4)), act_set(game.bird_hittable[4], 1)}},
    {11,
     {act_hide(bird(4)), act_set(game.bird_hittable[4], 0), act_show(bird(5)), act_set(game.bird_hittable[5], 1)}},
    {13,
     {act_hide(bird(5)), act_set(game.bird_hittable[5], 0), act_show(bird(6)), act_set(game.bird_hittable[6], 1)}},
    {15, {act_hide(bird(6)), act_set(game.bird_hittable[6], 0)}},
    {17, {act_call(end_bonus_stage)}},
};

static_assert(timeline_well_formed(BONUS_TIMELINE));

void advance_bonus_timeline() {
    run_timeline(BONUS_TIMELINE, game.bonus_tick);
    game.bonus_tick += 1;
}
