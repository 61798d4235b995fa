// The rodent pop-up cycle: one rodent at a time comes up at a random
// burrow, peeks for one tick, is raised and hittable for eight, peeks
// again for one and is gone; the next one comes 48 ticks after it.
#pragma once

#include <array>

#include "../shell/elements.h"

struct HoleRow {
    Element peeking;
    Element raised;
    int popup_cue;  // 1, 2 or 3: snd_popup_1, snd_popup_2, snd_popup_3
};

// Indexed by hole, 1..9; row 0 is no hole.
inline constexpr std::array HOLE_TABLE = {
    HoleRow{-1, -1, 0},
    HoleRow{peek(1), raised(1), 3},
    HoleRow{peek(2), raised(2), 3},
    HoleRow{peek(3), raised(3), 3},
    HoleRow{peek(4), raised(4), 1},
    HoleRow{peek(5), raised(5), 1},
    HoleRow{peek(6), raised(6), 3},
    HoleRow{peek(7), raised(7), 3},
    HoleRow{peek(8), raised(8), 1},
    HoleRow{peek(9), raised(9), 2},  // the large near rodent
};

namespace rodents_detail {
// Row h holds hole h's own two sprites and one of the three pop-up cues.
constexpr bool holes_in_order() {
    for (int h = 1; h <= 9; ++h) {
        const HoleRow& row = HOLE_TABLE[h];
        if (row.peeking != peek(h) || row.raised != raised(h) || row.popup_cue < 1 || row.popup_cue > 3) return false;
    }
    return true;
}
}  // namespace rodents_detail
static_assert(HOLE_TABLE.size() == 10 && rodents_detail::holes_in_order());

// Called by game_tick at the cycle's ticks 1, 2, 10 and 11.
void spawn_rodent();
void raise_rodent();
void lower_rodent();
void hide_rodent();

// The rodent steps of one shooting-stage tick, popup_tick += 1 included.
void rodent_steps();
