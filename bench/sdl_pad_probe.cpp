// Benchmark probe, outside the game: what SDL 2 itself costs with the
// game-controller subsystem, so that bench/native-pads can show why the
// game opens it after its first frame and reads its pads on its own
// schedule. Built by bench/native-pads with the system's compiler.
//
//   sdl_pad_probe init              ms for SDL_Init(VIDEO), then for
//                                   SDL_InitSubSystem(GAMECONTROLLER)
//   sdl_pad_probe wait MODE SECONDS % of a core spent in an idle
//                                   SDL_WaitEvent loop, one small window:
//     video        the video subsystem alone
//     controllers  with the game-controller subsystem, no pad
//     pad          a virtual pad attached, SDL reading it by itself
//     pad-N        a virtual pad attached, SDL told not to read it, and the
//                  loop reading it every N ms
#include <SDL.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

double now_ms() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double cpu_ms() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

int usage() {
    std::fprintf(stderr, "usage: sdl_pad_probe init | wait video|controllers|pad|pad-N SECONDS\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string what = argv[1];
    if (what == "init") {
        const double t0 = now_ms();
        SDL_Init(SDL_INIT_VIDEO);
        const double t1 = now_ms();
        SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
        const double t2 = now_ms();
        std::printf("%.2f %.2f\n", t1 - t0, t2 - t1);
        SDL_Quit();
        return 0;
    }
    if (what != "wait" || argc < 4) return usage();
    const std::string mode = argv[2];
    const double seconds = std::atof(argv[3]);
    const bool pad = mode.rfind("pad", 0) == 0;
    const int read_every = mode.rfind("pad-", 0) == 0 ? std::atoi(mode.c_str() + 4) : 0;
    if (read_every > 0) SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    SDL_Init(SDL_INIT_VIDEO);
    SDL_Window* window = SDL_CreateWindow("probe", 0, 0, 200, 200, 0);
    if (mode != "video") SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    if (pad) {
        SDL_VirtualJoystickDesc d{};
        d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        d.naxes = SDL_CONTROLLER_AXIS_MAX;
        d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        SDL_GameControllerOpen(SDL_JoystickAttachVirtualEx(&d));
    }
    SDL_Event e;
    // A second to settle: the window mapped, the pad's first events read.
    for (const double t0 = now_ms(); now_ms() - t0 < 1000;) SDL_WaitEventTimeout(&e, 100);
    const double c0 = cpu_ms(), t0 = now_ms();
    while (now_ms() - t0 < seconds * 1000) {
        if (read_every > 0) {
            SDL_WaitEventTimeout(&e, read_every);
            SDL_GameControllerUpdate();
            while (SDL_PollEvent(&e)) {
            }
        } else {
            SDL_WaitEventTimeout(&e, 1000);
        }
    }
    std::printf("%.2f\n", 100 * (cpu_ms() - c0) / (now_ms() - t0));
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
