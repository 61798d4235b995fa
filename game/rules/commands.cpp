#include "game/rules/commands.h"

#include "game/model/scene.h"
#include "game/rules/ambient_control.h"
#include "game/rules/game_state.h"
#include "game/rules/sounds.h"
#include "game/seam/platform.h"

static void reset_new_game() {
    game.fail_below = 1000;
    game.advance_above = 999;
    game.shot_limit = 25;
    game.stage = STAGE_SHOOTING;
    game.level = 1;
    game.ammo_window_end = 25;
    game.popup_tick = 0;
    game.cow_tick = 0;
    game.spider_tick = 0;
    game.lizard_tick = 0;
    game.bonus_tick = 0;
    game.shots_fired = 0;
    game.cow_down = 0;
    game.cue_shot_hit = 23;
    game.cue_shot_miss_a = 5;
    game.cue_shot_miss_b = 11;
    game.cue_shot_miss_c = 8;
    game.cow_shot_now = 0;
    game.lizard_shot_now = 0;
    game.spider_down = 0;
    game.spider_shot_now = 0;
    game.splat_active = 0;
    game.lizard_busy = 0;
    game.splat_tick = 0;
}

void clear_hittable_flags() {
    for (int h = 1; h <= 9; ++h) game.hole_hittable[h] = 0;
    for (int k = 1; k <= 6; ++k) game.bird_hittable[k] = 0;
}

static void reset_attraction_flags() {
    game.cow_hittable = 1;
    game.spider_top_hittable = 1;
    game.spider_bottom_hittable = 0;
    for (int i = 1; i <= 5; ++i) game.climber_hittable[i] = 0;
    for (int i = 2; i <= 4; ++i) game.descender_hittable[i] = 0;
}

void show_all_cartridges() {
    for (int k = 1; k <= 25; ++k) show_element(cartridge(k));
}

void hide_all_targets() {
    for (int h = 1; h <= 9; ++h) {
        hide_element(peek(h));
        hide_element(raised(h));
    }
    for (int i = 0; i <= 7; ++i) hide_element(climber(i));
    for (int i = 0; i <= 5; ++i) hide_element(descender(i));
    hide_element(splat);
}

static void reset_cow_and_spider() {
    hide_element(cow_fallen);
    show_element(cow);
    show_element(spider(0));
    for (int i = 1; i <= 4; ++i) hide_element(spider(i));
    hide_element(web_patch);
}

void reset_bonus_counters() {
    game.bonus_tick = 0;
    game.popup_tick = 0;
}

void start_game() {
    if (game.stage != STAGE_IDLE) {
        platform_beep();
        return;
    }
    snd_start();
    hide_all_targets();
    reset_cow_and_spider();
    reset_attraction_flags();
    set_label_text(SCORE_LABEL_ID, "000000");
    set_label_text(HITS_LABEL_ID, "0000");
    set_label_text(MISSES_LABEL_ID, "0000");
    game.score = 0;
    game.misses = 0;
    game.hits = 0;
    hide_element(game_over_banner);
    reset_new_game();
    clear_hittable_flags();
    // A failure box shown here leaves the game playable behind it, already
    // shooting but with the timer not yet running.
    start_ambient();
    if (game.canceled_shown == 1) {
        hide_element(canceled_banner);
        game.canceled_shown = 0;
    }
    show_all_cartridges();
    platform_timer_start();
}

void cancel_game() {
    if (game.stage != STAGE_SHOOTING) {
        platform_beep();
        return;
    }
    platform_timer_stop();
    game.popup_tick = 0;
    game.bonus_tick = 0;
    game.stage = STAGE_IDLE;
    snd_cancel();
    show_element(canceled_banner);
    game.canceled_shown = 1;
    stop_ambient();
}
