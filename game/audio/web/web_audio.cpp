// The audio seam in a page. The sounds are files in the page's folder,
// sounds/<wave id>.ogg (Ogg Vorbis) and sounds/<wave id>.mp3 for browsers
// that cannot decode Ogg; the page asks the browser which it plays before
// fetching either, and fetches that set alone. They are fetched once the
// first frame is drawn and decoded by Web Audio at their own sample rate,
// and cut to the painted samples where the decoder left an MP3 encoder's
// delay or padding around them, so the meadow loop keeps its exact length
// whatever decoded it. Cues share one channel: a new one stops the one
// playing. The meadow loop (Ambient's WAVE 300) loops gapless in an
// AudioBufferSourceNode from platform_ambient_start until
// platform_ambient_stop, exactly where the other builds start and end
// Ambient. Every request is also written to a short log that the
// end-to-end tests read through the page's probe.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <vector>

#include "game/audio/web/page_sounds.h"
#include "game/audio/web/web_audio.h"
#include "game/edge/sound_head.h"
#include "game/model/cues.h"
#include "game/model/layout.h"
#include "game/seam/audio.h"

// One sound file at a time, copied in by the page to read its head.
static std::vector<std::uint8_t> sound_file;

extern "C" EMSCRIPTEN_KEEPALIVE std::uint8_t* web_sound_file(int size) {
    sound_file.assign(static_cast<std::size_t>(size), 0);
    return sound_file.data();
}

extern "C" EMSCRIPTEN_KEEPALIVE int web_sound_rate() { return read_sound_head(sound_file).rate; }

// Where the painted samples lie among `decoded` ones: [start, length].
extern "C" EMSCRIPTEN_KEEPALIVE const int* web_sound_span(int decoded) {
    static int span[2];
    const SampleSpan s = painted_span(read_sound_head(sound_file), decoded);
    span[0] = static_cast<int>(s.start);
    span[1] = static_cast<int>(s.length);
    return span;
}

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
        sounds: {},    // what came, by WAVE id: its file, rate and the painted samples' place
        log: [],
        // The sets the browser can play, best first, asked before anything
        // is fetched: Ogg Vorbis, then MP3 (for Safari, which decodes no
        // Ogg). A file that still fails to decode is fetched in the next.
        formats: (() => {
            const probe = document.createElement("audio");
            return [["ogg", 'audio/ogg; codecs="vorbis"'], ["mp3", "audio/mpeg"]]
                .filter(([, type]) => probe.canPlayType(type) !== "").map(([format]) => format);
        })(),
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
        // The file's head, read by the game's own reader.
        head(bytes) {
            HEAPU8.set(new Uint8Array(bytes), _web_sound_file(bytes.byteLength));
        },
        // Decoded before any gesture, by an offline context at the file's
        // own rate, and cut to the painted samples: the buffer holds exactly
        // those. A sound that cannot be played in any set is one warning
        // naming its files, and is not heard.
        load(slot, id, formats = this.formats, tried = []) {
            if (!tried.length) ++this.pending;
            if (!formats.length) {
                console.warn("plinkfield: cannot play " + (tried.join(", ") || "sound " + id + ": no set this browser plays"));
                this.settled();
                return;
            }
            const url = "sounds/" + id + "." + formats[0];
            let file = null;
            fetch(url)
                .then((response) => {
                    if (!response.ok) throw new Error(response.status + " " + response.statusText);
                    return response.arrayBuffer();
                })
                .then((bytes) => {
                    file = bytes.slice(0);  // decoding takes the bytes away
                    this.head(file);
                    const rate = _web_sound_rate();
                    if (!rate) throw new Error("not a sound file");
                    if (!this.decoders[rate]) this.decoders[rate] = new OfflineAudioContext(1, 1, rate);
                    return this.decoders[rate].decodeAudioData(bytes);
                })
                .then((decoded) => {
                    this.head(file);
                    const span = _web_sound_span(decoded.length) >> 2, start = HEAP32[span], length = HEAP32[span + 1];
                    const buffer = start === 0 && length === decoded.length ? decoded : this.cut(decoded, start, length);
                    this.sounds[id] = {file: url, rate: buffer.sampleRate, length: length, start: start};
                    if (slot < 0) this.loop = buffer; else this.buffers[slot] = buffer;
                    ++this.decoded;
                    Module.page.fetched.push(url);
                    // A game started before the loop had come hears it now.
                    if (slot < 0 && this.loopWanted && !this.loops.length && this.context) this.startLoop();
                    this.settled();
                }, (error) => this.load(slot, id, formats.slice(1), tried.concat(url + " (" + error.message + ")")));
        },
        pending: 0,
        // Every sound has come or failed: the offline copy keeps what came.
        settled() {
            if (--this.pending === 0 && Module.page.keepCopy) Module.page.keepCopy();
        },
        cut(decoded, start, length) {
            const buffer = this.decoders[decoded.sampleRate].createBuffer(decoded.numberOfChannels, length, decoded.sampleRate);
            for (let c = 0; c < decoded.numberOfChannels; ++c)
                buffer.copyToChannel(decoded.getChannelData(c).subarray(start, start + length), c);
            return buffer;
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
                formats: this.formats,
                sounds: this.sounds,
                log: this.log.slice(),
            };
        },
    };
});

// slot: the cue's WAVE id, or -1 for the meadow loop.
EM_JS(void, js_audio_load, (int slot, int wave_id), { Module.audio.load(slot, wave_id); });

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
    for (int id : page_sound_waves()) js_audio_load(id == AMBIENT_LOOP_WAVE ? -1 : id, id);
}

void play_cue(Cue c) { js_play_cue(cue_row(c).wave_id, cue_row(c).name); }

// Cannot fail in a page: the loop is part of it, not a program to launch.
bool platform_ambient_start() {
    js_ambient_start();
    return true;
}

void platform_ambient_stop() { js_ambient_stop(); }

void play_beep() { js_beep(REFUSAL_BEEP_WAVE); }
