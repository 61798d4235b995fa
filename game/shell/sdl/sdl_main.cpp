// plinkfield: the game on SDL2. Starts up in the order the Windows build
// does (Ambient located first, then the window, the fonts and the scene),
// shows the first frame, opens the sound, and runs the loop: it sleeps in
// SDL_WaitEvent while no game runs, and wakes for the next tick while one
// does. Options: --scale N (a whole or fractional factor; by default one
// chosen from the display's size).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/audio/sdl/sdl_audio.h"
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
    for (Element e = 0; e < ELEMENT_COUNT; ++e)
        if (ELEMENT_TABLE[e].kind == ElementKind::button && point_in_rect(element_bounds(e), x, y))
            return SDL_HITTEST_NORMAL;
    return press_drags_window(x, y) ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
}

int usage(const char* why) {
    std::fprintf(stderr, "plinkfield: %s\nusage: plinkfield [--scale N]\n", why);
    return 2;
}

bool parse_scale(const char* text, double& scale) {
    char* end = nullptr;
    scale = std::strtod(text, &end);
    return end != text && *end == '\0' && scale >= 0.25 && scale <= 8.0;
}

void run_loop() {
    while (!window_closed()) {
        SDL_Event event;
        const int wait = timer_wait_ms();
        const bool got = wait < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, wait);
        if (got) {
            input_handle(event);
            while (!window_closed() && SDL_PollEvent(&event)) input_handle(event);
        }
        timer_run_due();
        if (window_closed()) break;
        video_draw_if_dirty();
        dump_write_if_changed();
    }
}

}  // namespace

int main(int argc, char** argv) {
    double scale = 0;  // chosen from the display
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--scale" && i + 1 < argc) {
            if (!parse_scale(argv[++i], scale)) return usage("--scale takes a factor from 0.25 to 8");
        } else if (arg.rfind("--scale=", 0) == 0) {
            if (!parse_scale(arg.c_str() + 8, scale)) return usage("--scale takes a factor from 0.25 to 8");
        } else if (arg == "--help" || arg == "-h") {
            std::printf("usage: plinkfield [--scale N]\n");
            return 0;
        } else {
            return usage(("unknown argument " + arg).c_str());
        }
    }

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
    // second to find out.
    sound_open();

    run_loop();

    handle_destroy();
    sound_close();
    video_close();
    text_close();
    SDL_Quit();
    return 0;
}
