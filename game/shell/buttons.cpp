#include "game/shell/buttons.h"

#include "game/audio/ambient_control.h"
#include "game/audio/cues.h"
#include "game/rules/game_state.h"
#include "game/shell/platform.h"

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
