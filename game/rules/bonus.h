// The bonus stage between two levels: a crow crosses the sky in six frames,
// 200 points a hit, then the next level starts with scaled thresholds.
#pragma once

// A press during the bonus stage, at client point (x, y).
void resolve_bonus_shot(int x, int y);

// The bonus block of game_tick: one step of the crow's timeline.
void advance_bonus_timeline();
