#include "buttons.h"

#include "../audio/ambient_control.h"
#include "../audio/cues.h"
#include "../rules/game_state.h"
#include "platform.h"

void minimize_window() {
    platform_window_minimize();
    snd_minimize();
}

void close_game_window() {
    if (game.stage == STAGE_SHOOTING) platform_timer_stop();
    if (game.stage == STAGE_BONUS) platform_timer_stop();
    stop_ambient();
    platform_window_close();
}
