// The audio seam in a page. Cues share one channel: a new one stops the one
// playing. The meadow loop (Ambient's WAVE 300) loops gapless in an
// AudioBufferSourceNode from platform_ambient_start until
// platform_ambient_stop, exactly where the other builds start and end
// Ambient. Every request is also written to a short log that the
// end-to-end tests read through the page's probe.
#include <emscripten/emscripten.h>

#include <cstdio>

#include "game/audio/web/web_audio.h"
#include "game/edge/wave_decode.h"
#include "game/model/cues.h"
#include "game/model/layout.h"
#include "game/seam/audio.h"
#include "resources/embedded.h"

EM_JS(void, js_audio_open, (), {
    Module.audio = {
        context: null,
        buffers: {},   // cue buffers by WAVE id
        loop: null,    // the meadow loop's buffer
        cue: null,     // the source on the cue channel
        loops: [],     // meadow loops playing
        log: [],
        // An AudioContext made before the page's first gesture would only
        // warn and stay suspended: none is made until then.
        ready() {
            if (this.context) {
                if (this.context.state === "suspended") this.context.resume();
                return true;
            }
            if (navigator.userActivation && !navigator.userActivation.hasBeenActive) return false;
            try {
                this.context = new AudioContext();
            } catch (e) {
                return false;
            }
            return true;
        },
        note(entry) {
            entry.state = this.context ? this.context.state : "none";
            this.log.push(entry);
            if (this.log.length > 200) this.log.shift();
        },
        report() {
            return {
                state: this.context ? this.context.state : "none",
                loops: this.loops.length,
                looping: this.loops.every((source) => source.loop && source.buffer === this.loop),
                log: this.log.slice(),
            };
        },
    };
});

EM_JS(void, js_audio_add, (int id, int rate, const float* samples, int count), {
    const buffer = new AudioBuffer({numberOfChannels: 1, length: Math.max(1, count), sampleRate: rate});
    buffer.copyToChannel(HEAPF32.subarray(samples >> 2, (samples >> 2) + count), 0);
    if (id < 0) Module.audio.loop = buffer; else Module.audio.buffers[id] = buffer;
});

EM_JS(void, js_play_cue, (int id, const char* name), {
    const audio = Module.audio;
    const cue = UTF8ToString(name);
    const heard = audio.ready() && !!audio.buffers[id];
    let cut = null;  // the cue this one cuts off, if one was still sounding
    if (heard) {
        if (audio.cue) {
            cut = audio.cue.cueName;
            audio.cue.stop();
        }
        const source = audio.context.createBufferSource();
        source.buffer = audio.buffers[id];
        source.connect(audio.context.destination);
        source.cueName = cue;
        source.onended = () => {
            if (audio.cue === source) audio.cue = null;
        };
        source.start();
        audio.cue = source;
    }
    audio.note({what: "cue", name: cue, wave: id, heard: heard, cut: cut});
});

EM_JS(void, js_ambient_start, (), {
    const audio = Module.audio;
    const heard = audio.ready() && !!audio.loop;
    if (heard) {
        const source = audio.context.createBufferSource();
        source.buffer = audio.loop;
        source.loop = true;
        source.connect(audio.context.destination);
        source.start();
        audio.loops.push(source);
    }
    audio.note({what: "ambient-start", heard: heard});
});

EM_JS(void, js_ambient_stop, (), {
    const audio = Module.audio;
    const stopped = audio.loops.length;
    for (const source of audio.loops) source.stop();
    audio.loops = [];
    audio.note({what: "ambient-stop", stopped: stopped});
});

// The painted beep, beside the cue channel: it cuts nothing off, as a
// system beep would not.
EM_JS(void, js_beep, (int id), {
    const audio = Module.audio;
    const heard = audio.ready() && !!audio.buffers[id];
    if (heard) {
        const source = audio.context.createBufferSource();
        source.buffer = audio.buffers[id];
        source.connect(audio.context.destination);
        source.start();
    }
    audio.note({what: "beep", heard: heard});
});

// slot: the cue's WAVE id, or -1 for the meadow loop.
static void add_sound(const EmbeddedResource* file, int wave_id, int slot) {
    PcmSound sound;
    if (!file || !decode_wave({file->data, file->size}, sound)) {
        // Left out: that sound is silent, the game goes on.
        std::fprintf(stderr, "plinkfield: sound %d cannot be decoded\n", wave_id);
        return;
    }
    js_audio_add(slot, sound.rate, sound.samples.data(), static_cast<int>(sound.samples.size()));
}

void prepare_sounds() {
    js_audio_open();
    for (const CueRow& c : CUE_TABLE)
        add_sound(find_game_resource(ResourceKind::wave, c.wave_id), c.wave_id, c.wave_id);
    add_sound(find_game_resource(ResourceKind::wave, REFUSAL_BEEP_WAVE), REFUSAL_BEEP_WAVE, REFUSAL_BEEP_WAVE);
    add_sound(find_ambient_resource(ResourceKind::wave, AMBIENT_LOOP_WAVE), AMBIENT_LOOP_WAVE, -1);
}

void play_cue(Cue c) { js_play_cue(cue_row(c).wave_id, cue_row(c).name); }

// Cannot fail in a page: the loop is part of it, not a program to launch.
bool platform_ambient_start() {
    js_ambient_start();
    return true;
}

void platform_ambient_stop() { js_ambient_stop(); }

void play_beep() { js_beep(REFUSAL_BEEP_WAVE); }
