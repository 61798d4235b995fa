// The recording side of the audio seam: cues and Ambient calls become
// events in the recorder's log.
#include "game/model/cues.h"
#include "game/seam/audio.h"
#include "game/shell/record/record.h"

void play_cue(Cue c) { recorder.events.push_back(std::string("{\"cue\":\"") + cue_row(c).name + "\"}"); }

bool platform_ambient_start() {
    recorder.events.push_back(R"({"ambient":"start"})");
    return !recorder.ambient_missing;
}

void platform_ambient_stop() { recorder.events.push_back(R"({"ambient":"stop"})"); }
