// The side attractions of the shooting stage: the cow's head, the spider on
// its thread, the lizards on the trunk and the splat of a shot lizard. Each
// runs on a counter of its own; all of them are steps of game_tick.
#pragma once

// Steps 1.2 to 1.8 of the shooting-stage tick: advance the four counters,
// then the splat, lizard, spider and cow timelines with their wraps.
void advance_attractions();

// Step 1.10, after the rodent wrap.
void wrap_cow_counter();
