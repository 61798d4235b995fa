// game_tick: the game's single periodic step. Runs on every message of
// timer 1 and once more at the end of every press that is not a drag, so
// fast clicking speeds the whole field up.
#pragma once

void game_tick();
