// The test-only dump. With PLINKFIELD_SCENE_DUMP=FILE in the environment the
// game writes, after every change, one JSON object to FILE:
//   {"state":{...GameState...},"scene":[...83 elements...],"native":{...}}
// "state" and "scene" are exactly what plinkfield-sim prints for its state
// and scene commands; "native" holds the window (x, y, w, h, scale,
// fullscreen, minimized), sound (audio, muted), the Ambient processes
// (ambient: their pids), the ticks run and the wall-clock time of the
// latest (tick_ns), the frames drawn, the button held
// (pressed), the first frame's wall-clock time (first_frame_ns) and the
// game's pid. The file is replaced whole (written aside, then renamed), so
// a reader never sees half of one.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/audio/sdl/sdl_audio.h"
#include "game/edge/game_json.h"
#include "game/shell/sdl/sdl_shell.h"

namespace {

const char* path = nullptr;
std::string last;

std::string native_json() {
    int x = 0, y = 0, w = 0, h = 0;
    SDL_Window* window = video_window();
    Uint32 flags = 0;
    if (window) {
        SDL_GetWindowPosition(window, &x, &y);
        SDL_GetWindowSize(window, &w, &h);
        flags = SDL_GetWindowFlags(window);
    }
    std::string pids;
    for (int pid : ambient_pids()) {
        if (!pids.empty()) pids += ',';
        pids += std::to_string(pid);
    }
    char scale[32];
    std::snprintf(scale, sizeof scale, "%g", video_scale());
    return "{\"pid\":" + std::to_string(getpid()) + ",\"x\":" + std::to_string(x) + ",\"y\":" + std::to_string(y) +
           ",\"w\":" + std::to_string(w) + ",\"h\":" + std::to_string(h) + ",\"scale\":" + scale +
           ",\"fullscreen\":" + (video_fullscreen() ? "true" : "false") +
           ",\"minimized\":" + ((flags & SDL_WINDOW_MINIMIZED) ? "true" : "false") +
           ",\"audio\":" + (sound_available() ? "true" : "false") + ",\"muted\":" + (sound_muted() ? "true" : "false") +
           ",\"ambient\":[" + pids + "],\"ticks\":" + std::to_string(timer_ticks()) +
           ",\"tick_ns\":" + std::to_string(timer_last_tick_ns()) +
           ",\"frames\":" + std::to_string(video_frames()) + ",\"pressed\":" + std::to_string(input_pressed_button()) +
           ",\"first_frame_ns\":" + std::to_string(video_first_frame_ns()) + "}";
}

}  // namespace

void dump_open() {
    path = std::getenv("PLINKFIELD_SCENE_DUMP");
    if (path && !path[0]) path = nullptr;
}

void dump_write_if_changed() {
    if (!path) return;
    std::string now = "{\"state\":" + state_object() + ",\"scene\":" + scene_array() + ",\"native\":" + native_json() + "}\n";
    if (now == last) return;
    const std::string aside = std::string(path) + ".new";
    if (FILE* f = std::fopen(aside.c_str(), "w")) {
        const bool ok = std::fwrite(now.data(), 1, now.size(), f) == now.size();
        if (std::fclose(f) == 0 && ok && std::rename(aside.c_str(), path) == 0) last.swap(now);
    }
}
