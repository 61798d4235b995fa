// The audio seam in a page. The sounds are Ogg Vorbis files in the page's
// folder (sounds/<wave id>.ogg), fetched once the first frame is drawn and
// decoded by Web Audio at their own sample rate, so the meadow loop keeps
// its exact length. Cues share one channel: a new one stops the one
// playing. The meadow loop (Ambient's WAVE 300) loops gapless in an
// AudioBufferSourceNode from platform_ambient_start until
// platform_ambient_stop, exactly where the other builds start and end
// Ambient. Every request is also written to a short log that the
// end-to-end tests read through the page's probe.
#include <emscripten/emscripten.h>

#include <set>

#include "game/audio/web/web_audio.h"
#include "game/model/cues.h"
#include "game/model/layout.h"
#include "game/seam/audio.h"

EM_JS(void, js_audio_open, (), {
    Module.audio = {
        context: null,
        buffers: {},   // cue buffers by WAVE id
        loop: null,    // the meadow loop's buffer
        cue: null,     // the source on the cue channel
        loops: [],     // meadow loops playing
        loopWanted: false,  // between platform_ambient_start and _stop
        decoders: {},  // offline contexts by sample rate
        decoded: 0,
        log: [],
        // An AudioContext made before the page's first gesture would only
        // warn and stay suspended: none is made until then. A finger's
        // first touch is a gesture once it lifts, a click as it comes down.
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
        // Decoded before any gesture, by an offline context at the file's
        // own rate (the identification header's, after the first page's
        // segment table): the buffer holds exactly the painted samples.
        load(slot, url) {
            fetch(url)
                .then((response) => {
                    if (!response.ok) throw new Error(response.status + " " + response.statusText);
                    return response.arrayBuffer();
                })
                .then((bytes) => {
                    const head = new DataView(bytes);
                    const rate = head.getUint32(27 + head.getUint8(26) + 12, true);
                    if (!this.decoders[rate]) this.decoders[rate] = new OfflineAudioContext(1, 1, rate);
                    return this.decoders[rate].decodeAudioData(bytes);
                })
                .then((buffer) => {
                    if (slot < 0) this.loop = buffer; else this.buffers[slot] = buffer;
                    ++this.decoded;
                    // A game started before the loop had come hears it now.
                    if (slot < 0 && this.loopWanted && !this.loops.length && this.context) this.startLoop();
                }, (error) => console.warn("plinkfield: " + url + " cannot be played: " + error.message));
        },
        startLoop() {
            const source = this.context.createBufferSource();
            source.buffer = this.loop;
            source.loop = true;
            source.connect(this.context.destination);
            source.start();
            this.loops.push(source);
        },
        note(entry) {
            entry.state = this.context ? this.context.state : "none";
            this.log.push(entry);
            if (this.log.length > 200) this.log.shift();
        },
        report() {
            return {
                state: this.context ? this.context.state : "none",
                decoded: this.decoded,
                loops: this.loops.length,
                looping: this.loops.every((source) => source.loop && source.buffer === this.loop),
                loop: this.loop ? {rate: this.loop.sampleRate, length: this.loop.length} : null,
                log: this.log.slice(),
            };
        },
    };
});

// slot: the cue's WAVE id, or -1 for the meadow loop.
EM_JS(void, js_audio_load, (int slot, int wave_id), { Module.audio.load(slot, "sounds/" + wave_id + ".ogg"); });

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
    audio.loopWanted = true;
    if (heard) audio.startLoop();
    audio.note({what: "ambient-start", heard: heard});
});

EM_JS(void, js_ambient_stop, (), {
    const audio = Module.audio;
    const stopped = audio.loops.length;
    audio.loopWanted = false;
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

void open_audio() { js_audio_open(); }

void prepare_sounds() {
    std::set<int> waves = {REFUSAL_BEEP_WAVE};
    for (const CueRow& c : CUE_TABLE) waves.insert(c.wave_id);
    for (int id : waves) js_audio_load(id, id);
    js_audio_load(-1, AMBIENT_LOOP_WAVE);
}

void play_cue(Cue c) { js_play_cue(cue_row(c).wave_id, cue_row(c).name); }

// Cannot fail in a page: the loop is part of it, not a program to launch.
bool platform_ambient_start() {
    js_ambient_start();
    return true;
}

void platform_ambient_stop() { js_ambient_stop(); }

void play_beep() { js_beep(REFUSAL_BEEP_WAVE); }
