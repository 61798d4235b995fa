// The side attractions of the shooting stage: the cow's head, the spider on
// its thread, the lizards on the trunk and the splat of a shot lizard. Each
// runs on a counter of its own; all of them are steps of game_tick.
#pragma once

// Called by game_tick in the shooting stage, right after the rodent steps:
// advances the four counters, then runs the splat, lizard (wrapping after
// 300), spider (wrapping after 400) and cow timelines.
void advance_attractions();

// Called by game_tick after the rodent counter has wrapped: the cow's
// counter wraps after 160, last of the shooting-stage steps.
void wrap_cow_counter();
