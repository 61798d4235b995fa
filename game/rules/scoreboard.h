// The scoreboard and the cartridge row. The shot handlers leave a click's
// result in the pending fields; these fold it into the counters, write the
// labels and take the spent cartridge out of the row.
#pragma once

#include <string>

// The scoreboard's digits: at least six for the score, four for the counts.
inline constexpr int SCORE_DIGITS = 6;
inline constexpr int COUNT_DIGITS = 4;

// Zero-padded to at least `digits` digits; longer numbers keep them all.
std::string zero_padded(int value, int digits);

// Called by both shot handlers, in this order, after deciding the shot.
void update_scoreboard();
void update_cartridges();
void refresh_labels();

// Hides the cartridges of the places already fired in the current row, so
// a row just shown in full shows exactly the cartridges left.
void hide_spent_cartridges();
