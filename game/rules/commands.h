// The game commands START and CANCEL, and the resets they share with the
// bonus stage.
#pragma once

// START: refused with a beep unless idle.
void start_game();
// CANCEL: refused with a beep unless a level is being played.
void cancel_game();

// What the end of the bonus stage shares with START.
void clear_hittable_flags();
void show_all_cartridges();
void hide_all_targets();
void reset_bonus_counters();
