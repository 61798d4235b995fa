// The cues over SDL_mixer. Channel 0 is the game's one sound channel:
// Mix_PlayChannel(0, ...) cuts off what plays there and starts the new cue
// from its beginning, as a new asynchronous PlaySoundA does. Channel 1
// carries the beep of a refused command.
#include <SDL.h>
#include <SDL_mixer.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "game/audio/sdl/sdl_audio.h"
#include "game/model/cues.h"
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

void put16(std::vector<std::uint8_t>& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// A short soft tone as a RIFF WAVE, 16-bit mono: the default beep.
Mix_Chunk* make_beep() {
    constexpr int rate = 22050, samples = rate / 8;
    std::vector<std::uint8_t> b;
    for (char c : {'R', 'I', 'F', 'F'}) b.push_back(static_cast<std::uint8_t>(c));
    put32(b, 36 + samples * 2);
    for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}) b.push_back(static_cast<std::uint8_t>(c));
    put32(b, 16);
    put16(b, 1);
    put16(b, 1);
    put32(b, rate);
    put32(b, rate * 2);
    put16(b, 2);
    put16(b, 16);
    for (char c : {'d', 'a', 't', 'a'}) b.push_back(static_cast<std::uint8_t>(c));
    put32(b, samples * 2);
    for (int i = 0; i < samples; ++i) {
        const double fade = std::min(1.0, std::min(i, samples - i) / 200.0);
        const double v = 0.3 * fade * std::sin(2 * M_PI * 880.0 * i / rate);
        put16(b, static_cast<unsigned>(static_cast<std::int16_t>(std::lround(v * 32767))) & 0xFFFF);
    }
    // Mix_LoadWAV_RW copies the samples, so the buffer may go.
    return Mix_LoadWAV_RW(SDL_RWFromConstMem(b.data(), static_cast<int>(b.size())), 1);
}

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
    beep = make_beep();
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
