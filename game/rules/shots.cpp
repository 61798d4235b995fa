#include "game/rules/shots.h"

#include "game/model/scene.h"
#include "game/rules/ambient_control.h"
#include "game/rules/scoreboard.h"
#include "game/rules/sounds.h"
#include "game/seam/platform.h"

static void rodent_hit(const TargetRow&) {
    // The hole's flag stays 1: the raised rodent can be hit again until it
    // sinks. The marker shows where the cursor last put it.
    show_element(hit_marker);
}

static void cow_hit(const TargetRow& row) {
    snd_cow();
    game.shot_hit = 1;
    game.pending_points = row.points;
    hide_element(cow);
    show_element(cow_fallen);
    game.cow_down = 1;
    game.cow_tick = 0;
    game.cow_hittable = 0;
    game.pending_hit = 1;
    game.cow_shot_now = 1;
}

static void lizard_hit(const TargetRow& row) {
    game.splat_active = 1;
    game.lizard_shot_now = 1;
    game.shot_hit = 1;
    game.pending_points = row.points;
    hide_element(row.window);
    hide_element(row.also_hide);
    move_element(splat, row.splat_x, row.splat_y, 35, 35);
    if (row.clear_a) *row.clear_a = 0;
    if (row.clear_b) *row.clear_b = 0;
    snd_lizard();
    game.lizard_busy = 0;
    game.pending_hit = 1;
    game.splat_tick = 0;
}

static void spider_hit(const TargetRow& row) {
    *row.clear_a = 0;
    game.spider_down = 1;
    game.spider_shot_now = 1;
    snd_shot();
    if (row.also_show >= 0) show_element(row.also_show);
    hide_element(row.window);
    game.pending_hit = 1;
}

static void perform_hit(const TargetRow& row) {
    game.shot_hit = 1;
    game.pending_points = row.points;
    switch (row.kind) {
        case HitKind::rodent_hit: rodent_hit(row); break;
        case HitKind::cow_hit: cow_hit(row); break;
        case HitKind::lizard_hit: lizard_hit(row); break;
        case HitKind::spider_hit: spider_hit(row); break;
    }
}

// Hits on the cow, the spider or a lizard have played their own cue.
static void hit_or_miss_cue() {
    bool only_rodents = game.cow_shot_now == 0 && game.spider_shot_now == 0 && game.lizard_shot_now == 0;
    if (only_rodents && game.shot_hit == 1) {
        game.pending_hit = 1;
        if (game.shots_fired != game.cue_shot_hit)
            snd_hit();
        else if (game.hole_hittable[9] == 1)
            snd_hit_special_9();
        else
            snd_hit_special();
    } else if (game.shot_hit == 0) {
        game.pending_miss = 1;
        if (game.shots_fired == game.cue_shot_miss_a || game.shots_fired == game.cue_shot_miss_b)
            snd_miss_taunt();
        else if (game.shots_fired == game.cue_shot_miss_c && game.cow_down == 0)
            snd_miss_alt();
        else
            snd_shot();
    }
}

static void game_over() {
    platform_timer_stop();
    show_element(game_over_banner);
    game.popup_tick = 0;
    game.stage = STAGE_IDLE;
    stop_ambient();
    hide_element(hit_marker);
}

static void enter_bonus_stage() {
    platform_timer_stop();
    game.popup_tick = 50;
    game.level += 1;
    game.stage = STAGE_BONUS;
    game.ammo_window_end = 25 * game.level;
    platform_timer_start();
    game.bonus_tick = 0;
    hide_element(hit_marker);
}

static void end_of_level() {
    if (game.shots_fired != game.shot_limit) return;
    // A score below the line always loses, alone: from level 6 on a score
    // can lie between the two thresholds, and it must not also advance.
    if (game.score < game.fail_below)
        game_over();
    else if (game.score > game.advance_above)
        enter_bonus_stage();
}

void resolve_shot(int x, int y) {
    if (game.stage != STAGE_SHOOTING || game.shots_fired > game.shot_limit) return;
    game.shots_fired += 1;

    std::array<Rect, TARGET_TABLE.size()> bounds;
    for (std::size_t i = 0; i < TARGET_TABLE.size(); ++i) bounds[i] = element_bounds(TARGET_TABLE[i].window);
    for (std::size_t i = 0; i < TARGET_TABLE.size(); ++i)
        if (point_in_rect(bounds[i], x, y) && TARGET_TABLE[i].flag == 1) perform_hit(TARGET_TABLE[i]);

    hit_or_miss_cue();
    game.cow_shot_now = 0;
    game.shot_hit = 0;
    game.lizard_shot_now = 0;
    game.spider_shot_now = 0;

    update_scoreboard();
    update_cartridges();
    refresh_labels();
    end_of_level();
}
