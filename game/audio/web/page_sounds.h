// The sounds the page plays, by WAVE id: every cue of CUE_TABLE (the spare
// gunshot too, as every build carries it), the refusal beep and Ambient's
// meadow loop. The page fetches these and the build encodes these
// (page_sounds_tool.cpp writes the list for it), so the two cannot part.
#pragma once

#include <set>

#include "game/model/cues.h"
#include "game/model/layout.h"

inline std::set<int> page_sound_waves() {
    std::set<int> waves = {REFUSAL_BEEP_WAVE, AMBIENT_LOOP_WAVE};
    for (const CueRow& c : CUE_TABLE) waves.insert(c.wave_id);
    return waves;
}
