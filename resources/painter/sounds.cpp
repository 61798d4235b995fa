// Every sound effect of the game, synthesised: noise, oscillators, a few
// filters and envelopes (synth.h). Each cue has the rate, depth and length
// of its CUE_TABLE row.

#include <algorithm>
#include <cmath>
#include <utility>

#include "game/model/cues.h"
#include "resources/painter/synth.h"

namespace painter {

namespace {

// ---------------------------------------------------------------- gunshot

struct GunMix {
    std::uint64_t seed;
    double crack_cut;   // high-pass of the crack
    double body_cut;    // low-pass of the body
    double echo_delay;  // seconds
    double echo_gain;
    double thump_hz;
};

Buffer gunshot(const CueRow& row, const GunMix& m) {
    const int rate = row.sample_rate;
    Buffer b = blank(row);
    Rng rng(m.seed);
    Biquad crack_hp = Biquad::highpass(rate, m.crack_cut);
    Biquad body_lp = Biquad::lowpass(rate, m.body_cut);
    Biquad tail_lp = Biquad::lowpass(rate, 700);
    double thump_phase = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double n = rng.uniform() * 2 - 1;
        const double crack = crack_hp(n) * std::exp(-t / 0.0035) * 1.4;
        const double body = body_lp(n) * std::exp(-t / 0.045) * 2.2;
        const double tail = tail_lp(n) * std::exp(-t / 0.22) * 0.9;
        thump_phase += TAU * m.thump_hz * (1.0 + 1.5 * std::exp(-t / 0.01)) / rate;
        const double thump = std::sin(thump_phase) * std::exp(-t / 0.07) * 0.8;
        b[i] = crack + body + tail + thump;
    }
    // The echo off the far hills: two softened repeats.
    Buffer out = b;
    for (int k = 1; k <= 2; ++k) {
        const std::size_t d = static_cast<std::size_t>(m.echo_delay * k * rate);
        Biquad lp = Biquad::lowpass(rate, 1800.0 / k);
        const double g = std::pow(m.echo_gain, k);
        for (std::size_t i = d; i < out.size(); ++i) out[i] += g * lp(b[i - d]);
    }
    return finished(std::move(out), rate, 0.92, 0.0002, 0.02);
}

// ---------------------------------------------------------------- squeaks

// Rising chirps: each squeak is a glide from lo to hi Hz.
Buffer squeaks(const CueRow& row, const std::vector<double>& starts, double len, double lo, double hi, double roughness,
               std::uint64_t seed) {
    const int rate = row.sample_rate;
    Buffer b = blank(row);
    Rng rng(seed);
    double phase = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double f = 0, env = 0;
        for (std::size_t k = 0; k < starts.size(); ++k) {
            const double u = (t - starts[k]) / len;
            if (u >= 0 && u <= 1) {
                const double rise = lo * (k % 2 ? 1.1 : 1.0);
                f = rise + (hi - rise) * std::sin(u * M_PI * 0.6) + 60 * std::sin(TAU * 38 * t);
                env = std::sin(u * M_PI) * std::pow(1 - u, 0.3);
            }
        }
        if (env > 0) {
            phase += TAU * f / rate;
            const double tone = std::sin(phase) + 0.35 * std::sin(2 * phase) + 0.12 * std::sin(3 * phase);
            b[i] = env * (tone + roughness * (rng.uniform() * 2 - 1));
        }
    }
    return finished(std::move(b), rate, 0.8);
}

// ---------------------------------------------------------------- voices

Buffer moo(const CueRow& row) {
    // "Mmm-ooo-uh": closed and nasal, opening, then sinking.
    return voice(row,
                 {{0.00, 92, 250, 900, 2300, 0.0, 0.00},
                  {0.12, 98, 280, 850, 2300, 0.6, 0.02},
                  {0.35, 118, 520, 1000, 2400, 1.0, 0.03},
                  {0.70, 128, 650, 1050, 2450, 1.0, 0.04},
                  {1.05, 104, 560, 950, 2400, 0.8, 0.05},
                  {1.30, 86, 420, 900, 2300, 0.2, 0.05},
                  {seconds(row), 84, 400, 900, 2300, 0.0, 0.0}},
                 3000, 1.1, 61);
}

Buffer laugh(const CueRow& row) {
    // Ha-ha-ha-ha-haaa, falling.
    std::vector<VoicePoint> p;
    const double f0s[] = {290, 275, 262, 250, 238, 224};
    double t = 0.0;
    for (int k = 0; k < 6; ++k) {
        const double len = k == 5 ? 0.42 : 0.17;
        p.push_back({t, f0s[k], 700, 1250, 2600, 0.0, 0.30});
        p.push_back({t + 0.025, f0s[k] * 1.04, 760, 1250, 2600, 0.5, 0.25});
        p.push_back({t + 0.05, f0s[k], 780, 1220, 2600, 1.0, 0.05});
        p.push_back({t + len - 0.04, f0s[k] * (k == 5 ? 0.8 : 0.95), 720, 1200, 2550, 0.8, 0.05});
        p.push_back({t + len, f0s[k] * 0.9, 600, 1150, 2500, 0.0, 0.0});
        t += len + 0.07;
    }
    p.push_back({seconds(row), 150, 500, 1100, 2500, 0.0, 0.0});
    return voice(row, p, 5000, 1.0, 82);
}

Buffer nyah_tune(const CueRow& row) {
    // The taunting "nyah-nyah" tune, sung through the nose.
    const Note notes[] = {{0.05, 0.34, 392.0, 1}, {0.43, 0.30, 329.6, 1}, {0.77, 0.26, 440.0, 1},
                          {1.07, 0.30, 392.0, 1}, {1.41, 0.95, 329.6, 1}};
    std::vector<VoicePoint> p;
    for (const Note& n : notes) {
        p.push_back({n.start, n.f * 0.92, 300, 1900, 2700, 0.0, 0.0});
        p.push_back({n.start + 0.04, n.f * 0.97, 380, 2100, 2800, 0.7, 0.0});  // the "ny"
        p.push_back({n.start + 0.10, n.f, 720, 1600, 2700, 1.0, 0.01});         // "ah"
        p.push_back({n.start + n.len - 0.05, n.f * (n.len > 0.5 ? 0.96 : 1.0), 700, 1550, 2650, 0.9, 0.01});
        p.push_back({n.start + n.len, n.f * 0.95, 650, 1500, 2600, 0.0, 0.0});
    }
    p.push_back({seconds(row), 300, 600, 1500, 2600, 0.0, 0.0});
    return voice(row, p, 6000, 0.8, 77, 7.0);
}

Buffer caw(const CueRow& row) {
    std::vector<VoicePoint> p;
    for (double s : {0.02, 0.45}) {
        p.push_back({s, 560, 900, 1700, 2900, 0.0, 0.4});
        p.push_back({s + 0.03, 600, 1100, 1800, 3000, 1.0, 0.35});
        p.push_back({s + 0.22, 520, 1000, 1650, 2900, 0.8, 0.35});
        p.push_back({s + 0.34, 430, 850, 1500, 2800, 0.0, 0.2});
    }
    p.push_back({seconds(row), 400, 800, 1500, 2800, 0.0, 0.0});
    Buffer b = voice(row, p, 7000, 0.7, 86, 3.0);
    // A crow's rasp: a fast flutter over the voice.
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] *= 0.65 + 0.35 * std::sin(TAU * 72.0 * static_cast<double>(i) / row.sample_rate);
    normalise(b, 0.85);
    return b;
}

// ---------------------------------------------------------------- tunes

// Brass: bright buzz whose filter opens at each attack.
Buffer brass(const CueRow& row, const std::vector<Note>& notes, double vibrato, double brightness) {
    const int rate = row.sample_rate;
    Buffer b = blank(row);
    play_notes(b, rate, notes, 16, rate * 0.42, [&](const Note& n, double t) {
        const double env = adsr(t, n.len, 0.03, 0.08, 0.75, std::min(0.12, n.len * 0.4));
        const double vib = 1 + vibrato * std::min(1.0, t / 0.3) * std::sin(TAU * 5.2 * t);
        return Voicing{env, vib, n.f * (1.5 + brightness * env), 0.9};
    });
    return finished(std::move(b), rate, 0.85);
}

// Up the major chord, then the whole chord held.
Buffer fanfare(const CueRow& row) {
    const double C5 = 523.25, E5 = 659.25, G5 = 783.99, C6 = 1046.5, G4 = 392.0, E4 = 329.63;
    return brass(row,
                 {{0.00, 0.16, G4, 0.7}, {0.18, 0.16, C5, 0.8}, {0.36, 0.16, E5, 0.8}, {0.54, 0.30, G5, 0.9},
                  {0.86, 0.14, E5, 0.8}, {1.02, 1.02, C6, 1.0}, {1.02, 1.02, G5, 0.6}, {1.02, 1.02, E5, 0.5},
                  {1.02, 1.02, E4, 0.4}},
                 0.006, 5.0);
}

// The bigger one, for the near burrow: three calls, a climb, the chord.
Buffer fanfare_big(const CueRow& row) {
    const double G4 = 392.0, C5 = 523.25, D5 = 587.33, E5 = 659.25, G5 = 783.99, C4 = 261.63;
    return brass(row,
                 {{0.00, 0.11, G4, 0.8}, {0.12, 0.11, G4, 0.8}, {0.24, 0.11, G4, 0.8}, {0.36, 0.40, C5, 0.9},
                  {0.80, 0.11, D5, 0.8}, {0.92, 0.11, E5, 0.8}, {1.04, 1.08, G5, 1.0}, {1.04, 1.08, E5, 0.6},
                  {1.04, 1.08, C5, 0.5}, {1.04, 1.08, C4, 0.45}},
                 0.008, 6.0);
}

// Wah, wah, wah, waaah: a muted horn sinking by semitones.
Buffer sad_tune(const CueRow& row) {
    const int rate = row.sample_rate;
    Buffer b = blank(row);
    const std::vector<Note> notes = {{0.02, 0.36, 233.08, 1}, {0.42, 0.36, 220.0, 1}, {0.82, 0.36, 207.65, 1},
                                     {1.22, 0.86, 196.0, 1}};
    play_notes(b, rate, notes, 8, 4500, [](const Note& n, double t) {
        const double env = adsr(t, n.len, 0.04, 0.1, 0.8, 0.1);
        const bool last = n.len > 0.5;
        const double vib = last ? 1 + 0.03 * std::min(1.0, t / 0.25) * std::sin(TAU * 6.0 * t) : 1.0;
        // The mute opens and closes on each note: the "wah".
        const double wah = last ? 0.5 + 0.5 * std::sin(std::min(1.0, t / 0.25) * M_PI / 2) *
                                            (0.7 + 0.3 * std::sin(TAU * 6.0 * t))
                                : std::sin(std::min(1.0, t / n.len) * M_PI);
        return Voicing{env, last ? vib * (1 - 0.03 * t / n.len) : 1.0, 300 + 1500 * wah, 2.0};
    });
    return finished(std::move(b), rate, 0.85);
}

// ---------------------------------------------------------------- effects

Buffer click(const CueRow& row) {
    const int rate = row.sample_rate;
    Buffer b = blank(row);
    Rng rng(7750);
    Biquad hp = Biquad::highpass(rate, 1500);
    for (std::size_t i = 0; i < b.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double first = std::exp(-t / 0.0012) * (hp(rng.uniform() * 2 - 1) + std::sin(TAU * 2600 * t));
        const double t2 = t - 0.012;
        const double second = t2 > 0 ? 0.5 * std::exp(-t2 / 0.0015) * std::sin(TAU * 1900 * t2) : 0;
        b[i] = first + second;
    }
    return finished(std::move(b), rate, 0.8, 0.0001, 0.003);
}

Buffer whoosh(const CueRow& row) {
    const int rate = row.sample_rate;
    Buffer b = blank(row);
    Rng rng(7800);
    Biquad bp;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const double u = static_cast<double>(i) / static_cast<double>(b.size());
        if (i % 8 == 0) bp.retune(Biquad::bandpass(rate, 2400 - 2000 * u, 2.0));
        b[i] = std::sin(u * M_PI) * std::pow(1 - u, 0.5) * bp(rng.uniform() * 2 - 1);
    }
    return finished(std::move(b), rate, 0.8);
}

Buffer lizard_hit(const CueRow& row) {
    const int rate = row.sample_rate;
    Buffer b = blank(row);
    Rng rng(2550);
    Biquad splat_lp = Biquad::lowpass(rate, 900, 1.2);
    double phase = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        // The wet smack, then a thin falling squeal.
        const double smack = splat_lp(rng.uniform() * 2 - 1) * std::exp(-t / 0.06) * 2.5;
        const double u = (t - 0.08) / 0.6;
        double squeal = 0;
        if (u > 0 && u < 1) {
            const double f = 2300 - 1500 * u + 90 * std::sin(TAU * 11 * t);
            phase += TAU * f / rate;
            squeal = 0.45 * std::sin(u * M_PI) * std::pow(1 - u, 0.8) * (std::sin(phase) + 0.3 * std::sin(2 * phase));
        }
        b[i] = smack + squeal;
    }
    return finished(std::move(b), rate, 0.88, 0.0003, 0.02);
}

// Each cue's sound, at the rate and length of its row.
Buffer synthesise(const CueRow& row) {
    switch (row.cue) {
        // One gunshot, four mixes: the same seed for the crack, slightly
        // different filters and echoes.
        case Cue::snd_hit: return gunshot(row, {0x5107, 2500, 1700, 0.115, 0.32, 80});
        case Cue::snd_shot: return gunshot(row, {0x5107, 2800, 1500, 0.125, 0.30, 76});
        case Cue::snd_bird_hit: return gunshot(row, {0x5107, 2300, 1900, 0.105, 0.36, 84});
        case Cue::gunshot_spare: return gunshot(row, {0x5107, 3000, 1400, 0.135, 0.27, 72});
        case Cue::snd_start: return click(row);
        case Cue::snd_minimize: return whoosh(row);
        case Cue::snd_popup_1: return squeaks(row, {0.02}, 0.26, 1100, 2100, 0.05, 8000);
        case Cue::snd_popup_2: return squeaks(row, {0.02, 0.26, 0.46}, 0.20, 600, 1250, 0.15, 8100);
        case Cue::snd_popup_3: return squeaks(row, {0.02, 0.28}, 0.24, 900, 1800, 0.06, 8900);
        case Cue::snd_miss_taunt: return laugh(row);
        case Cue::snd_miss_alt: return nyah_tune(row);
        case Cue::snd_hit_special: return fanfare(row);
        case Cue::snd_hit_special_9: return fanfare_big(row);
        case Cue::snd_cow: return moo(row);
        case Cue::snd_lizard: return lizard_hit(row);
        case Cue::snd_bonus_start: return caw(row);
        case Cue::snd_cancel: return sad_tune(row);
        case Cue::COUNT: break;
    }
    return {};
}

}  // namespace

void make_game_sounds(Sounds& out) {
    for (const CueRow& row : CUE_TABLE) out[row.wave_id] = Sound{row.sample_rate, row.bits, 1, synthesise(row)};
}

Sound make_refusal_beep() {
    // A short soft tone at 880 Hz, its ends faded so that it does not click.
    constexpr int rate = 22050, length = rate / 8, fade = 200;
    std::vector<double> samples(length);
    for (int i = 0; i < length; ++i)
        samples[i] = 0.3 * std::min(1.0, std::min(i, length - i) / double(fade)) * std::sin(TAU * 880.0 * i / rate);
    return Sound{rate, 16, 1, std::move(samples)};
}

}  // namespace painter
