#include "game/rules/attractions.h"

#include "game/rules/game_state.h"
#include "game/rules/timeline.h"

// The splash is seen at full strength for ticks 1 to 19, fades over 20 to
// 23 and is gone at 400; its end lets the lizards come again.
static constexpr TimelineRow SPLAT_TIMELINE[] = {
    {1, {act_show(splat)}},
    {3, {act_image(splat, bmp_splat), act_show(splat)}},
    {20, {act_image(splat, bmp_splat_fade_1)}},
    {21, {act_image(splat, bmp_splat_fade_2)}},
    {22, {act_image(splat, bmp_splat_fade_3)}},
    {23, {act_image(splat, bmp_splat_fade_4)}},
    {400,
     {act_set(game.splat_active, 0), act_set(game.lizard_tick, 0), act_set(game.splat_tick, 0),
      act_hide(splat), act_image(splat, bmp_splat)}},
};

// A climb from tick 14, a descent from tick 160; each frame that can be hit
// is hittable for exactly one tick.
static constexpr TimelineRow LIZARD_TIMELINE[] = {
    {14, {act_show(climber(0)), act_set(game.lizard_busy, 1)}},
    {15, {act_hide(climber(0)), act_show(climber(1)), act_set(game.climber_hittable[1], 1)}},
    {16,
     {act_hide(climber(1)), act_show(climber(2)), act_set(game.climber_hittable[1], 0),
      act_set(game.climber_hittable[2], 1)}},
    {17,
     {act_hide(climber(2)), act_show(climber(3)), act_set(game.climber_hittable[2], 0),
      act_set(game.climber_hittable[3], 1)}},
    {18,
     {act_hide(climber(3)), act_show(climber(4)), act_set(game.climber_hittable[3], 0),
      act_set(game.climber_hittable[4], 1)}},
    {19,
     {act_hide(climber(4)), act_show(climber(5)), act_set(game.climber_hittable[4], 0),
      act_set(game.climber_hittable[5], 1)}},
    {20, {act_hide(climber(5)), act_show(climber(6)), act_set(game.climber_hittable[5], 0)}},
    {21, {act_hide(climber(6)), act_show(climber(7))}},
    {22, {act_hide(climber(7)), act_set(game.lizard_busy, 0)}},
    {160, {act_show(descender(0)), act_set(game.lizard_busy, 1)}},
    {161, {act_hide(descender(0)), act_show(descender(1))}},
    {162, {act_hide(descender(1)), act_show(descender(2)), act_set(game.descender_hittable[2], 1)}},
    {163,
     {act_hide(descender(2)), act_show(descender(3)), act_set(game.descender_hittable[2], 0),
      act_set(game.descender_hittable[3], 1)}},
    {164,
     {act_hide(descender(3)), act_show(descender(4)), act_set(game.descender_hittable[3], 0),
      act_set(game.descender_hittable[4], 1)}},
    {165, {act_hide(descender(4)), act_show(descender(5)), act_set(game.descender_hittable[4], 0)}},
    {166, {act_hide(descender(5)), act_set(game.lizard_busy, 0)}},
};

// Down in four ticks from 30, up again in four from 80.
static constexpr TimelineRow SPIDER_TIMELINE[] = {
    {30, {act_hide(spider(0)), act_show(spider(1)), act_set(game.spider_top_hittable, 0)}},
    {31, {act_hide(spider(1)), act_show(spider(2))}},
    {32, {act_hide(spider(2)), act_show(spider(3))}},
    {33, {act_hide(spider(3)), act_show(spider(4)), act_set(game.spider_bottom_hittable, 1)}},
    {80, {act_hide(spider(4)), act_show(spider(3)), act_set(game.spider_bottom_hittable, 0)}},
    {81, {act_hide(spider(3)), act_show(spider(2))}},
    {82, {act_hide(spider(2)), act_show(spider(1))}},
    {83, {act_hide(spider(1)), act_show(spider(0)), act_set(game.spider_top_hittable, 1)}},
};

// The cow turns its head to the viewer, back again, then chews.
static constexpr TimelineRow COW_TIMELINE[] = {
    {14, {act_image(cow, bmp_cow_turning)}},
    {16, {act_image(cow, bmp_cow_turned)}},
    {18, {act_image(cow, bmp_cow_facing)}},
    {100, {act_image(cow, bmp_cow_turned)}},
    {102, {act_image(cow, bmp_cow_turning)}},
    {104, {act_image(cow, bmp_cow_mouth_closed)}},
    {107, {act_image(cow, bmp_cow_mouth_open)}},
    {110, {act_image(cow, bmp_cow_mouth_closed)}},
    {113, {act_image(cow, bmp_cow_mouth_open)}},
    {116, {act_image(cow, bmp_cow_mouth_closed)}},
    {119, {act_image(cow, bmp_cow_mouth_open)}},
    {122, {act_image(cow, bmp_cow_mouth_closed)}},
};

static_assert(timeline_well_formed(SPLAT_TIMELINE) && timeline_well_formed(LIZARD_TIMELINE) &&
              timeline_well_formed(SPIDER_TIMELINE) && timeline_well_formed(COW_TIMELINE));

static void advance_counters() {
    if (game.cow_down == 0) game.cow_tick += 1;
    if (game.spider_down == 0) game.spider_tick += 1;
    if (game.splat_active == 0) game.lizard_tick += 1;
    if (game.splat_active == 1) game.splat_tick += 1;
}

void advance_attractions() {
    advance_counters();
    run_timeline(SPLAT_TIMELINE, game.splat_tick);
    if (game.splat_active == 0) run_timeline(LIZARD_TIMELINE, game.lizard_tick);
    if (game.lizard_tick > 300) game.lizard_tick = 0;
    // A shot spider stays shot: its counter stands still, and a counter
    // standing on an end of the thread must not bring the spider back.
    if (game.spider_down == 0) run_timeline(SPIDER_TIMELINE, game.spider_tick);
    if (game.spider_tick > 400) game.spider_tick = 0;
    run_timeline(COW_TIMELINE, game.cow_tick);
}

void wrap_cow_counter() {
    if (game.cow_tick > 160) game.cow_tick = 0;
}
