// The rodent pop-up cycle: one rodent at a time comes up at a random
// burrow, peeks for one tick, is raised and hittable for eight, peeks
// again for one and is gone; the next one comes 48 ticks after it.
#pragma once

// Called by game_tick in the shooting stage while no lizard is out: the
// rodent cycle's step for popup_tick, then popup_tick += 1.
void rodent_steps();
