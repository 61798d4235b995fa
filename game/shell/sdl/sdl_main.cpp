// plinkfield: the game on SDL2. Starts up in the order the Windows build
// does (Ambient located first, then the window, the fonts and the scene),
// shows the first frame, opens the sound and the gamepads, and runs the
// loop: it sleeps in SDL_WaitEvent while no game runs, and wakes for the
// next tick while one does, and for the pads (sdl_pad.cpp). Options:
// --scale N (a whole or fractional factor; by default one chosen from the
// display's size), --record FILE (the session as a script plinkfield-sim
// replays), --replay FILE (a recording played back), --replay best:N (the
// recording of the table's game N), --scores (the table of best games,
// printed). Whether or not it writes a file, the session is recorded in
// memory, for the table's games (sdl_scores.cpp).
#include <malloc.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

#include "game/audio/sdl/sdl_audio.h"
#include "game/edge/pointer.h"
#include "game/edge/recording.h"
#include "game/edge/replay.h"
#include "game/model/scene.h"
#include "game/rules/window_events.h"
#include "game/shell/sdl/sdl_shell.h"

namespace {

// The desktop file's StartupWMClass and the AppStream id.
constexpr const char* APP_ID = "org.plinkfield.Plinkfield";

// The window manager asks before a press whether it starts a move.
SDL_HitTestResult hit_test(SDL_Window*, const SDL_Point* point, void*) {
    if (video_fullscreen()) return SDL_HITTEST_NORMAL;
    int x = 0, y = 0;
    video_window_to_game(point->x, point->y, x, y);
    return press_starts_drag(x, y) ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
}

constexpr const char* USAGE =
    "usage: plinkfield [--scale N] [--record FILE | --replay FILE | --replay best:N]\n"
    "       plinkfield --scores\n";

int usage(const std::string& why) {
    std::fprintf(stderr, "plinkfield: %s\n%s", why.c_str(), USAGE);
    return 2;
}

// The recording's file: each line written through at once, so it can be
// read while the game runs and outlives a game that is killed.
FILE* recording_file = nullptr;

void write_recording_line(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), recording_file);
    std::fflush(recording_file);
}

std::string recording_header() {
    char date[64];
    const std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S UTC", std::gmtime(&now));
    return std::string("plinkfield ") + PLINKFIELD_VERSION + " recording, for plinkfield-sim\nrecorded " + date;
}

bool open_recording(const std::string& path) {
    recording_file = std::fopen(path.c_str(), "w");
    if (!recording_file) {
        std::fprintf(stderr, "plinkfield: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    recording_start(write_recording_line, recording_header());
    return true;
}

bool load_replay(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "plinkfield: cannot read %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    if (const std::string why = replay_load(in); !why.empty()) {
        std::fprintf(stderr, "plinkfield: %s: %s\n", path.c_str(), why.c_str());
        return false;
    }
    return true;
}

bool parse_scale(const char* text, double& scale) {
    char* end = nullptr;
    scale = std::strtod(text, &end);
    return end != text && *end == '\0' && scale >= 0.25 && scale <= 8.0;
}

// The sooner of two waits, -1 standing for never.
int sooner(int a, int b) { return a < 0 ? b : b < 0 ? a : std::min(a, b); }

void run_loop() {
    while (!window_closed()) {
        SDL_Event event;
        const int wait = sooner(timer_wait_ms(), pad_wait_ms());
        const bool got = wait < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, wait);
        if (got) input_handle(event);
        pad_read_due();
        while (!window_closed() && SDL_PollEvent(&event)) input_handle(event);
        pad_run_due();
        timer_run_due();
        if (window_closed()) break;
        video_draw_if_dirty();
        dump_write_if_changed();
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Pictures are decoded into large buffers that live a moment: kept out
    // of the heap, they go back to the system when freed instead of
    // holding the heap at its largest for the rest of the game.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    double scale = 0;  // chosen from the display
    std::string record_path, replay_path;
    bool print_scores = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        // Each option as "--name VALUE" or "--name=VALUE".
        auto value_of = [&](const char* name, std::string& value) {
            const std::string with_equals = std::string(name) + "=";
            if (arg == name && i + 1 < argc) {
                value = argv[++i];
                return true;
            }
            if (arg.rfind(with_equals, 0) != 0) return false;
            value = arg.substr(with_equals.size());
            return true;
        };
        std::string value;
        if (value_of("--scale", value)) {
            if (!parse_scale(value.c_str(), scale)) return usage("--scale takes a factor from 0.25 to 8");
        } else if (value_of("--record", record_path) || value_of("--replay", replay_path)) {
            if (!record_path.empty() && !replay_path.empty()) return usage("--record and --replay exclude each other");
        } else if (arg == "--scores") {
            print_scores = true;
        } else if (arg == "--help" || arg == "-h") {
            std::printf("%s", USAGE);
            return 0;
        } else {
            return usage("unknown argument " + arg);
        }
    }
    if (print_scores) return scores_print();
    // best:N names the table's game N, whose recording is a file beside it.
    if (replay_path.rfind("best:", 0) == 0 && !scores_recording(replay_path.substr(5), replay_path)) return 1;
    if (!replay_path.empty() && !load_replay(replay_path)) return 1;
    if (!record_path.empty() && !open_recording(record_path)) return 1;
    // A replay's games are not played: nothing of them is recorded or kept.
    if (record_path.empty() && replay_path.empty()) recording_start(nullptr, recording_header());

    // A closed Ambient pipe must not kill the game when it says "mute".
    std::signal(SIGPIPE, SIG_IGN);
    setenv("SDL_VIDEO_X11_WMCLASS", APP_ID, 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", APP_ID, 0);
    // The software renderer straight into the window: about 1 % of a core
    // while playing, where an OpenGL renderer without a GPU takes ten.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");

    ambient_locate();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "plinkfield: cannot open the display: %s\n", SDL_GetError());
        return 1;
    }
    SDL_StopTextInput();  // keys only, no input method
    text_open();
    if (!video_open(scale)) {
        SDL_Quit();
        return 1;
    }
    SDL_SetWindowHitTest(video_window(), hit_test, nullptr);
    input_init_cursors();
    dump_open();

    create_scene();
    video_draw_if_dirty();
    dump_write_if_changed();
    // After the first frame: a missing sound device costs a tenth of a
    // second to find out, and listing the input devices takes its time.
    sound_open();
    pad_open();
    scores_open(replay_path.empty());

    if (!replay_path.empty()) timer_start_replay();
    run_loop();
    dump_write_if_changed();  // what the last events did before the close

    recording_stop();
    sound_close();
    pad_close();
    video_close();
    text_close();
    // The game the window's close ended is written before the program ends.
    scores_close();
    SDL_Quit();
    return 0;
}
