#include "game/rules/tick.h"

#include "game/rules/attractions.h"
#include "game/rules/bonus.h"
#include "game/rules/game_state.h"
#include "game/rules/rodents.h"

static void shooting_stage_tick() {
    if (game.lizard_busy == 0) rodent_steps();
    advance_attractions();
    if (game.popup_tick > 48) game.popup_tick = 1;
    wrap_cow_counter();
}

void game_tick() {
    // The guards are read when the tick starts; the shooting block never
    // changes the stage, so at most one block runs.
    if (game.popup_tick <= 49 && game.shots_fired < game.shot_limit && game.stage == STAGE_SHOOTING)
        shooting_stage_tick();
    if (game.bonus_tick <= 29 && game.stage == STAGE_BONUS) advance_bonus_timeline();
}
