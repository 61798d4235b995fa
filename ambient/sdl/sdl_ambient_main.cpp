// plinkfield-ambient: loops the meadow's background sound (WAVE 300) with
// no gap, shows nothing, and ends when its standard input ends. The game
// holds the other end of that pipe, so the loop stops whenever the game
// stops it or goes away, killed or not. Lines on standard input: "mute"
// and "unmute".
#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "game/model/layout.h"
#include "resources/embedded.h"

namespace {


void obey(const std::string& line) {
    if (line == "mute") Mix_Volume(-1, 0);
    if (line == "unmute") Mix_Volume(-1, MIX_MAX_VOLUME);
}

}  // namespace

int main() {
    // SIGTERM ends the process at once, as the game expects.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    bool playing = false;
    Mix_Chunk* loop = nullptr;
    if (SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 2048) == 0) {
        if (const EmbeddedResource* r = find_ambient_resource(ResourceKind::wave, AMBIENT_LOOP_WAVE))
            loop = Mix_LoadWAV_RW(SDL_RWFromConstMem(r->data, static_cast<int>(r->size)), 1);
        Mix_AllocateChannels(1);
        // Loops -1: the mixer starts the chunk again inside the same buffer.
        playing = loop && Mix_PlayChannel(0, loop, -1) == 0;
    }
    if (!playing) std::fprintf(stderr, "plinkfield-ambient: no sound device (%s), staying silent\n", SDL_GetError());

    std::string pending;
    char buffer[256];
    for (;;) {
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // the game has closed its end, or gone
        pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t eol; (eol = pending.find('\n')) != std::string::npos; pending.erase(0, eol + 1))
            if (playing) obey(pending.substr(0, eol));
    }

    if (playing) Mix_HaltChannel(-1);
    if (loop) Mix_FreeChunk(loop);
    Mix_CloseAudio();
    SDL_Quit();
    return 0;
}
