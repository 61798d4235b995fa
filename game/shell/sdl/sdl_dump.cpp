// The test-only dump. With PLINKFIELD_SCENE_DUMP=FILE in the environment the
// game writes, after every change, one JSON object to FILE:
//   {"state":{...GameState...},"scene":[...83 elements...],"native":{...}}
// "state" and "scene" are exactly what plinkfield-sim prints for its state
// and scene commands; "native" holds the window (x, y, w, h, scale,
// fullscreen, minimized), sound (audio, muted), the Ambient processes
// (ambient: their pids), the ticks run and the wall-clock time of the
// latest (tick_ns), the frames drawn, the button held
// (pressed), the first frame's wall-clock time (first_frame_ns), the
// game's pid, and the gamepads (pad: how many are attached, the pad's
// cross-hair, whether it is shown and whether the controls push it, and
// the milliseconds it took to open SDL's game-controller subsystem), and the
// table of best games (best: sdl_shell.h's scores_json). The file is replaced whole (written
// aside, then renamed), so a reader never sees half of one.
//
// With PLINKFIELD_TEST_PAD=FIFO as well, the lines written to the named
// pipe FIFO drive a virtual gamepad (SDL_JoystickAttachVirtualEx), which the
// game sees as it sees a real one:
//   attach                  plugs the pad in
//   detach                  pulls it out
//   axis leftx|lefty N      moves the left stick, N from -32768 to 32767
//   stick X Y               moves it on both axes at once
//   button NAME down|up     a button by SDL's name: a, b, back, start,
//                           dpup, dpdown, dpleft, dpright...
// A thread reads the pipe and hands each line to the loop as an event, so
// the loop never waits for the pipe. The lines wait in turn, and each is
// done just before the loop next reads the pads, one a read: a button's
// down and up written together are two changes, as a real pad's are, and
// the pad is seen through the loop's own reads.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <sstream>
#include <string>

#include "game/audio/sdl/sdl_audio.h"
#include "game/edge/game_json.h"
#include "game/edge/gamepad.h"
#include "game/shell/sdl/sdl_shell.h"

namespace {

const char* path = nullptr;
std::string last;

std::string pad_json() {
    char open_ms[32];
    std::snprintf(open_ms, sizeof open_ms, "%.2f", pad_open_ms());
    return "{\"pads\":" + std::to_string(pad_count()) + ",\"x\":" + std::to_string(gamepad_x()) +
           ",\"y\":" + std::to_string(gamepad_y()) + ",\"aiming\":" + (pad_aiming() ? "true" : "false") +
           ",\"moving\":" + (gamepad_wait_ms(timer_now_ms()) >= 0 ? "true" : "false") +
           ",\"open_ms\":" + open_ms + "}";
}

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
           ",\"first_frame_ns\":" + std::to_string(video_first_frame_ns()) + ",\"pad\":" + pad_json() + ",\"best\":" + scores_json() + "}";
}

// ------------------------------------------------------- the test's pad

Uint32 test_pad_event = 0;
SDL_Joystick* test_pad = nullptr;
std::deque<std::string> test_pad_lines;

int read_test_pad(void* fifo) {
    std::string line;
    for (;;) {
        // Opening waits for a writer; when the last writer closes, wait for
        // the next one.
        const int fd = open(static_cast<const char*>(fifo), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return 1;
        char buffer[256];
        for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
            for (ssize_t i = 0; i < n; ++i) {
                if (buffer[i] != '\n') {
                    line += buffer[i];
                    continue;
                }
                SDL_Event e{};
                e.type = test_pad_event;
                e.user.data1 = strdup(line.c_str());
                SDL_PushEvent(&e);
                line.clear();
            }
        }
        close(fd);
    }
}

void test_pad_attach() {
    if (test_pad) return;
    SDL_VirtualJoystickDesc d{};
    d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    d.naxes = SDL_CONTROLLER_AXIS_MAX;
    d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    d.name = "Plinkfield test pad";
    const int index = SDL_JoystickAttachVirtualEx(&d);
    if (index >= 0) test_pad = SDL_JoystickOpen(index);
    if (!test_pad) std::fprintf(stderr, "plinkfield: test pad: %s\n", SDL_GetError());
}

void test_pad_detach() {
    if (!test_pad) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(test_pad);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    SDL_JoystickClose(test_pad);
    test_pad = nullptr;
}

// One line of the pipe; false for one it does not know.
bool run_test_pad_line(const std::string& line) {
    std::istringstream words(line);
    std::string verb, name, value;
    words >> verb >> name >> value;
    if (verb == "attach") {
        test_pad_attach();
        return true;
    }
    if (verb == "detach") {
        test_pad_detach();
        return true;
    }
    if (!test_pad) return false;
    if (verb == "stick") {
        char* end_x = nullptr;
        char* end_y = nullptr;
        const long x = std::strtol(name.c_str(), &end_x, 10), y = std::strtol(value.c_str(), &end_y, 10);
        if (name.empty() || value.empty() || *end_x || *end_y || x < -32768 || x > 32767 || y < -32768 || y > 32767)
            return false;
        SDL_JoystickSetVirtualAxis(test_pad, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(test_pad, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
    } else if (verb == "axis") {
        const SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(name.c_str());
        char* end = nullptr;
        const long v = std::strtol(value.c_str(), &end, 10);
        if (axis == SDL_CONTROLLER_AXIS_INVALID || value.empty() || *end || v < -32768 || v > 32767) return false;
        SDL_JoystickSetVirtualAxis(test_pad, axis, static_cast<Sint16>(v));
    } else if (verb == "button") {
        const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
        if (button == SDL_CONTROLLER_BUTTON_INVALID || (value != "down" && value != "up")) return false;
        SDL_JoystickSetVirtualButton(test_pad, button, value == "down" ? SDL_PRESSED : SDL_RELEASED);
    } else {
        return false;
    }
    return true;
}

}  // namespace

void dump_open() {
    path = std::getenv("PLINKFIELD_SCENE_DUMP");
    if (path && !path[0]) path = nullptr;
    const char* fifo = std::getenv("PLINKFIELD_TEST_PAD");
    if (!fifo || !fifo[0]) return;
    // A named pipe only: a plain file would be read again and again.
    struct stat st {};
    if (stat(fifo, &st) != 0 || !S_ISFIFO(st.st_mode)) {
        std::fprintf(stderr, "plinkfield: PLINKFIELD_TEST_PAD: %s is no named pipe\n", fifo);
        return;
    }
    test_pad_event = SDL_RegisterEvents(1);
    if (test_pad_event == Uint32(-1)) return;
    SDL_DetachThread(SDL_CreateThread(read_test_pad, "test pad", const_cast<char*>(fifo)));
}

void dump_handle(const SDL_Event& event) {
    if (!test_pad_event || event.type != test_pad_event) return;
    char* line = static_cast<char*>(event.user.data1);
    test_pad_lines.emplace_back(line);
    std::free(line);
}

void dump_before_pad_read() {
    if (test_pad_lines.empty()) return;
    const std::string line = test_pad_lines.front();
    test_pad_lines.pop_front();
    if (!run_test_pad_line(line)) std::fprintf(stderr, "plinkfield: test pad: not understood: %s\n", line.c_str());
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
