// The cues by the names the rules call them, one per row of CUE_TABLE.
#pragma once

#include "game/model/cues.h"
#include "game/seam/audio.h"

inline void snd_start() { play_cue(Cue::snd_start); }
inline void snd_minimize() { play_cue(Cue::snd_minimize); }
inline void snd_hit() { play_cue(Cue::snd_hit); }
inline void snd_shot() { play_cue(Cue::snd_shot); }
inline void snd_popup_1() { play_cue(Cue::snd_popup_1); }
inline void snd_popup_2() { play_cue(Cue::snd_popup_2); }
inline void snd_popup_3() { play_cue(Cue::snd_popup_3); }
inline void snd_miss_taunt() { play_cue(Cue::snd_miss_taunt); }
inline void snd_miss_alt() { play_cue(Cue::snd_miss_alt); }
inline void snd_hit_special() { play_cue(Cue::snd_hit_special); }
inline void snd_hit_special_9() { play_cue(Cue::snd_hit_special_9); }
inline void snd_cow() { play_cue(Cue::snd_cow); }
inline void snd_lizard() { play_cue(Cue::snd_lizard); }
inline void snd_bird_hit() { play_cue(Cue::snd_bird_hit); }
inline void snd_bonus_start() { play_cue(Cue::snd_bonus_start); }
inline void snd_cancel() { play_cue(Cue::snd_cancel); }
