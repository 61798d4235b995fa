// The game commands START and CANCEL, and the resets they share with the
// bonus stage.
#pragma once

// START (control 700): refused with a beep unless idle.
void start_game();
// CANCEL (control 800): refused with a beep unless a level is being played.
void cancel_game();

void reset_new_game();
void clear_hittable_flags();
void reset_attraction_flags();
void show_all_cartridges();
void hide_all_targets();
void reset_cow_and_spider();
void reset_bonus_counters();
