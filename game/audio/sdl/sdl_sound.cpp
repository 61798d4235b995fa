// The cues over SDL_mixer. Channel 0 is the game's one sound channel:
// Mix_PlayChannel(0, ...) cuts off what plays there and starts the new cue
// from its beginning, as a new asynchronous PlaySoundA does. Channel 1
// carries the beep of a refused command.
#include <SDL.h>
#include <SDL_mixer.h>

#include <array>
#include <cstdio>

#include "game/audio/sdl/sdl_audio.h"
#include "game/model/cues.h"
#include "game/model/layout.h"
#include "game/seam/audio.h"
#include "resources/embedded.h"

namespace {

constexpr int CUE_CHANNEL = 0;
constexpr int BEEP_CHANNEL = 1;
// Every cue is 22050 Hz or less; the mixer converts.
constexpr int MIX_RATE = 22050;

bool open = false;
bool muted = false;
std::array<Mix_Chunk*, static_cast<int>(Cue::COUNT)> chunks{};
Mix_Chunk* beep = nullptr;

}  // namespace

void sound_open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 || Mix_OpenAudio(MIX_RATE, AUDIO_S16SYS, 2, 1024) != 0) {
        std::fprintf(stderr, "plinkfield: no sound device (%s), playing silently\n", SDL_GetError());
        return;
    }
    open = true;
    Mix_AllocateChannels(2);
    for (const CueRow& row : CUE_TABLE) {
        const EmbeddedResource* r = find_game_resource(ResourceKind::wave, row.wave_id);
        if (r) chunks[static_cast<int>(row.cue)] = Mix_LoadWAV_RW(SDL_RWFromConstMem(r->data, static_cast<int>(r->size)), 1);
    }
    if (const EmbeddedResource* r = find_game_resource(ResourceKind::wave, REFUSAL_BEEP_WAVE))
        beep = Mix_LoadWAV_RW(SDL_RWFromConstMem(r->data, static_cast<int>(r->size)), 1);
}

void sound_close() {
    if (!open) return;
    Mix_HaltChannel(-1);
    for (Mix_Chunk*& c : chunks)
        if (c) Mix_FreeChunk(c), c = nullptr;
    if (beep) Mix_FreeChunk(beep);
    beep = nullptr;
    Mix_CloseAudio();
    open = false;
}

bool sound_available() { return open; }

void play_cue(Cue c) {
    Mix_Chunk* chunk = chunks[static_cast<int>(c)];
    if (open && !muted && chunk) Mix_PlayChannel(CUE_CHANNEL, chunk, 0);
}

void sound_beep() {
    if (open && !muted && beep) Mix_PlayChannel(BEEP_CHANNEL, beep, 0);
}

void sound_set_muted(bool m) {
    muted = m;
    if (open && muted) Mix_HaltChannel(-1);
    ambient_tell_all(muted ? "mute" : "unmute");
}

bool sound_muted() { return muted; }
