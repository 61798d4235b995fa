// One shot of the shooting stage: counted, tested against TARGET_TABLE,
// answered with a cue, folded into the scoreboard, and on the level's last
// shot the end of the level.
#pragma once

#include <array>

#include "game/model/elements.h"
#include "game/rules/game_state.h"

enum class HitKind { rodent_hit, cow_hit, lizard_hit, spider_hit };

struct TargetRow {
    Element window;
    const int& flag;  // the hit counts only while this is exactly 1; never missing
    int points;
    HitKind kind;
    // Lizard rows: the frame hidden after the hit one, where the splat goes,
    // and the flags cleared. Spider rows: the first flag cleared and the
    // element shown in the spider's place (-1 for none).
    Element also_hide = -1;
    int splat_x = 0, splat_y = 0;
    int* clear_a = nullptr;
    int* clear_b = nullptr;
    Element also_show = -1;
};

// Tested in this order; one press may hit several overlapping targets, and
// pending_points keeps the points of the later row.
inline constexpr std::array TARGET_TABLE = {
    TargetRow{raised(1), game.hole_hittable[1], 25, HitKind::rodent_hit},
    TargetRow{raised(2), game.hole_hittable[2], 50, HitKind::rodent_hit},
    TargetRow{raised(3), game.hole_hittable[3], 50, HitKind::rodent_hit},
    TargetRow{raised(4), game.hole_hittable[4], 75, HitKind::rodent_hit},
    TargetRow{raised(5), game.hole_hittable[5], 75, HitKind::rodent_hit},
    TargetRow{raised(6), game.hole_hittable[6], 75, HitKind::rodent_hit},
    TargetRow{raised(7), game.hole_hittable[7], 100, HitKind::rodent_hit},
    TargetRow{raised(8), game.hole_hittable[8], 200, HitKind::rodent_hit},
    TargetRow{raised(9), game.hole_hittable[9], 50, HitKind::rodent_hit},
    TargetRow{cow, game.cow_hittable, -200, HitKind::cow_hit},
    // The first climbing frame's hit clears the frame after it, as every
    // other climbing row does; the spider in the crown is not touched.
    TargetRow{climber(1), game.climber_hittable[1], 500, HitKind::lizard_hit, climber(2), 1230, 600,
     &game.climber_hittable[1], &game.climber_hittable[2]},
    TargetRow{climber(2), game.climber_hittable[2], 200, HitKind::lizard_hit, climber(3), 1230, 550,
     &game.climber_hittable[2], &game.climber_hittable[3]},
    TargetRow{climber(3), game.climber_hittable[3], 200, HitKind::lizard_hit, climber(4), 1230, 486,
     &game.climber_hittable[3], &game.climber_hittable[4]},
    TargetRow{climber(4), game.climber_hittable[4], 200, HitKind::lizard_hit, climber(5), 1230, 422,
     &game.climber_hittable[4], &game.climber_hittable[5]},
    TargetRow{climber(5), game.climber_hittable[5], 200, HitKind::lizard_hit, climber(6), 1230, 382,
     &game.climber_hittable[5]},
    TargetRow{descender(2), game.descender_hittable[2], 300, HitKind::lizard_hit, descender(3), 1230, 469,
     &game.descender_hittable[2]},
    TargetRow{descender(3), game.descender_hittable[3], 300, HitKind::lizard_hit, descender(4), 1225, 539,
     &game.descender_hittable[3]},
    TargetRow{descender(4), game.descender_hittable[4], 300, HitKind::lizard_hit, descender(5), 1224, 605,
     &game.descender_hittable[4]},
    TargetRow{spider(0), game.spider_top_hittable, 10, HitKind::spider_hit, -1, 0, 0, &game.spider_top_hittable, nullptr,
     web_patch},
    TargetRow{spider(4), game.spider_bottom_hittable, 10, HitKind::spider_hit, -1, 0, 0, &game.spider_bottom_hittable,
     nullptr},
};

namespace shots_detail {
// A row left out would shift every later one; each row names a target.
constexpr bool rows_complete() {
    for (const TargetRow& row : TARGET_TABLE)
        if (row.window < 0 || row.window >= ELEMENT_COUNT) return false;
    return true;
}
}  // namespace shots_detail
static_assert(TARGET_TABLE.size() == 20 && shots_detail::rows_complete());

// A press at client point (x, y); acts only in the shooting stage while
// shots remain.
void resolve_shot(int x, int y);
