// Every sound, synthesised: noise, oscillators, a few filters and
// envelopes. Each cue has the rate, depth and length of its CUE_TABLE row.

#include <algorithm>
#include <cmath>
#include <utility>

#include "game/audio/cues.h"
#include "paint.h"

namespace painter {

namespace {

constexpr double TAU = 2.0 * M_PI;

// ---------------------------------------------------------------- filters

// RBJ biquad.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    static Biquad make(double rate, double freq, double q, int type) {
        const double w = TAU * std::min(freq, rate * 0.45) / rate;
        const double cw = std::cos(w), alpha = std::sin(w) / (2 * q);
        Biquad f;
        double a0 = 1 + alpha;
        if (type == 0) {  // low-pass
            f.b0 = (1 - cw) / 2;
            f.b1 = 1 - cw;
            f.b2 = (1 - cw) / 2;
        } else if (type == 1) {  // high-pass
            f.b0 = (1 + cw) / 2;
            f.b1 = -(1 + cw);
            f.b2 = (1 + cw) / 2;
        } else {  // band-pass, 0 dB peak
            f.b0 = alpha;
            f.b1 = 0;
            f.b2 = -alpha;
        }
        f.a1 = -2 * cw;
        f.a2 = 1 - alpha;
        f.b0 /= a0;
        f.b1 /= a0;
        f.b2 /= a0;
        f.a1 /= a0;
        f.a2 /= a0;
        return f;
    }
    static Biquad lowpass(double rate, double f, double q = 0.707) { return make(rate, f, q, 0); }
    static Biquad highpass(double rate, double f, double q = 0.707) { return make(rate, f, q, 1); }
    static Biquad bandpass(double rate, double f, double q) { return make(rate, f, q, 2); }

    // Keeps the state, so the coefficients may change from sample to sample.
    void retune(const Biquad& other) {
        b0 = other.b0;
        b1 = other.b1;
        b2 = other.b2;
        a1 = other.a1;
        a2 = other.a2;
    }
    double operator()(double x) {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

using Buffer = std::vector<double>;

Buffer blank(int rate, int hundredths) { return Buffer(static_cast<std::size_t>(rate * hundredths / 100), 0.0); }

void normalise(Buffer& b, double peak) {
    double m = 0;
    for (double v : b) m = std::max(m, std::abs(v));
    if (m > 0)
        for (double& v : b) v *= peak / m;
}

// A short fade at both ends, so no cue starts or stops with a click.
void soften_ends(Buffer& b, int rate, double attack_s = 0.0015, double release_s = 0.008) {
    const std::size_t a = std::min(b.size(), static_cast<std::size_t>(attack_s * rate));
    const std::size_t r = std::min(b.size(), static_cast<std::size_t>(release_s * rate));
    for (std::size_t i = 0; i < a; ++i) b[i] *= static_cast<double>(i) / static_cast<double>(a);
    for (std::size_t i = 0; i < r; ++i) b[b.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(r);
}

// Attack-decay-sustain-release envelope over a note of length len seconds.
double adsr(double t, double len, double a, double d, double s, double r) {
    if (t < 0 || t > len) return 0;
    double v;
    if (t < a)
        v = t / a;
    else if (t < a + d)
        v = 1 - (1 - s) * (t - a) / d;
    else
        v = s;
    if (t > len - r) v *= std::max(0.0, (len - t) / r);
    return v;
}

// A band-limited buzz: harmonics of f0 up to the cutoff, falling as 1/n^tilt.
double buzz(double phase, double f0, double cutoff, double tilt) {
    double v = 0;
    const int n_max = std::max(1, static_cast<int>(cutoff / std::max(f0, 1.0)));
    for (int n = 1; n <= n_max && n <= 60; ++n) v += std::sin(phase * n) / std::pow(n, tilt);
    return v;
}

// A voice through three formant resonators.
struct Formants {
    Biquad f[3];
    double gain[3];
    void set(double rate, double f1, double f2, double f3, double q = 6.0) {
        const double fs[3] = {f1, f2, f3};
        for (int i = 0; i < 3; ++i) f[i].retune(Biquad::bandpass(rate, fs[i], q));
    }
    double operator()(double x) { return gain[0] * f[0](x) + gain[1] * f[1](x) + gain[2] * f[2](x); }
};

// ---------------------------------------------------------------- gunshot

struct GunMix {
    std::uint64_t seed;
    double crack_cut;   // high-pass of the crack
    double body_cut;    // low-pass of the body
    double echo_delay;  // seconds
    double echo_gain;
    double thump_hz;
};

Buffer gunshot(const GunMix& m) {
    const int rate = 22050;
    Buffer b = blank(rate, 66);
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
    normalise(out, 0.92);
    soften_ends(out, rate, 0.0002, 0.02);
    return out;
}

// ---------------------------------------------------------------- squeaks

// Rising chirps: each squeak is a glide from lo to hi Hz.
Buffer squeaks(int rate, int hundredths, const std::vector<double>& starts, double len, double lo, double hi,
               double roughness, std::uint64_t seed) {
    Buffer b = blank(rate, hundredths);
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
    normalise(b, 0.8);
    soften_ends(b, rate);
    return b;
}

// ---------------------------------------------------------------- voices

// A voice gliding along (time, pitch, vowel) points; used for the moo, the
// laugh and the taunt.
struct VoicePoint {
    double t, f0, f1, f2, f3, amp, breath;
};

Buffer voice(int rate, int hundredths, const std::vector<VoicePoint>& path, double cutoff, double tilt,
             std::uint64_t seed, double q = 5.0) {
    Buffer b = blank(rate, hundredths);
    Rng rng(seed);
    Formants fm;
    fm.gain[0] = 1.0;
    fm.gain[1] = 0.6;
    fm.gain[2] = 0.25;
    double phase = 0;
    std::size_t seg = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        while (seg + 2 < path.size() && t > path[seg + 1].t) ++seg;
        const VoicePoint& p = path[seg];
        const VoicePoint& q2 = path[std::min(seg + 1, path.size() - 1)];
        const double u = q2.t > p.t ? std::clamp((t - p.t) / (q2.t - p.t), 0.0, 1.0) : 0.0;
        auto lerp = [u](double a, double c) { return a + (c - a) * u; };
        const double f0 = lerp(p.f0, q2.f0) * (1 + 0.012 * std::sin(TAU * 5.5 * t));
        if (i % 32 == 0) fm.set(rate, lerp(p.f1, q2.f1), lerp(p.f2, q2.f2), lerp(p.f3, q2.f3), q);
        phase += TAU * f0 / rate;
        const double src = buzz(phase, f0, cutoff, tilt) + lerp(p.breath, q2.breath) * (rng.uniform() * 2 - 1) * 3;
        b[i] = lerp(p.amp, q2.amp) * fm(src);
    }
    normalise(b, 0.85);
    soften_ends(b, rate, 0.003, 0.02);
    return b;
}

Buffer moo() {
    // "Mmm-ooo-uh": closed and nasal, opening, then sinking.
    return voice(22050, 138,
                 {{0.00, 92, 250, 900, 2300, 0.0, 0.00},
                  {0.12, 98, 280, 850, 2300, 0.6, 0.02},
                  {0.35, 118, 520, 1000, 2400, 1.0, 0.03},
                  {0.70, 128, 650, 1050, 2450, 1.0, 0.04},
                  {1.05, 104, 560, 950, 2400, 0.8, 0.05},
                  {1.30, 86, 420, 900, 2300, 0.2, 0.05},
                  {1.38, 84, 400, 900, 2300, 0.0, 0.0}},
                 3000, 1.1, 61);
}

Buffer laugh() {
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
    p.push_back({1.78, 150, 500, 1100, 2500, 0.0, 0.0});
    return voice(22050, 178, p, 5000, 1.0, 82);
}

Buffer nyah_tune() {
    // The taunting "nyah-nyah" tune, sung through the nose.
    struct Note {
        double start, len, f;
    };
    const Note notes[] = {{0.05, 0.34, 392.0}, {0.43, 0.30, 329.6}, {0.77, 0.26, 440.0},
                          {1.07, 0.30, 392.0}, {1.41, 0.95, 329.6}};
    std::vector<VoicePoint> p;
    for (const Note& n : notes) {
        p.push_back({n.start, n.f * 0.92, 300, 1900, 2700, 0.0, 0.0});
        p.push_back({n.start + 0.04, n.f * 0.97, 380, 2100, 2800, 0.7, 0.0});  // the "ny"
        p.push_back({n.start + 0.10, n.f, 720, 1600, 2700, 1.0, 0.01});         // "ah"
        p.push_back({n.start + n.len - 0.05, n.f * (n.len > 0.5 ? 0.96 : 1.0), 700, 1550, 2650, 0.9, 0.01});
        p.push_back({n.start + n.len, n.f * 0.95, 650, 1500, 2600, 0.0, 0.0});
    }
    p.push_back({2.55, 300, 600, 1500, 2600, 0.0, 0.0});
    return voice(22050, 255, p, 6000, 0.8, 77, 7.0);
}

Buffer caw() {
    std::vector<VoicePoint> p;
    for (double s : {0.02, 0.45}) {
        p.push_back({s, 560, 900, 1700, 2900, 0.0, 0.4});
        p.push_back({s + 0.03, 600, 1100, 1800, 3000, 1.0, 0.35});
        p.push_back({s + 0.22, 520, 1000, 1650, 2900, 0.8, 0.35});
        p.push_back({s + 0.34, 430, 850, 1500, 2800, 0.0, 0.2});
    }
    p.push_back({0.93, 400, 800, 1500, 2800, 0.0, 0.0});
    Buffer b = voice(22050, 93, p, 7000, 0.7, 86, 3.0);
    // A crow's rasp: a fast flutter over the voice.
    for (std::size_t i = 0; i < b.size(); ++i) b[i] *= 0.65 + 0.35 * std::sin(TAU * 72.0 * static_cast<double>(i) / 22050);
    normalise(b, 0.85);
    return b;
}

// ---------------------------------------------------------------- tunes

struct Note {
    double start, len, f, amp;
};

// Brass: bright buzz whose filter opens at each attack.
Buffer brass(int rate, int hundredths, const std::vector<Note>& notes, double vibrato, double brightness) {
    Buffer b = blank(rate, hundredths);
    for (const Note& n : notes) {
        Biquad lp;
        double phase = 0;
        const std::size_t i0 = static_cast<std::size_t>(n.start * rate);
        const std::size_t i1 = std::min(b.size(), static_cast<std::size_t>((n.start + n.len) * rate));
        for (std::size_t i = i0; i < i1; ++i) {
            const double t = static_cast<double>(i - i0) / rate;
            const double env = adsr(t, n.len, 0.03, 0.08, 0.75, std::min(0.12, n.len * 0.4));
            const double vib = 1 + vibrato * std::min(1.0, t / 0.3) * std::sin(TAU * 5.2 * t);
            if ((i - i0) % 16 == 0)
                lp.retune(Biquad::lowpass(rate, n.f * (1.5 + brightness * env), 0.9));
            phase += TAU * n.f * vib / rate;
            b[i] += n.amp * env * lp(buzz(phase, n.f, rate * 0.42, 1.0));
        }
    }
    normalise(b, 0.85);
    soften_ends(b, rate);
    return b;
}

Buffer fanfare() {
    const double C5 = 523.25, E5 = 659.25, G5 = 783.99, C6 = 1046.5, G4 = 392.0, E4 = 329.63;
    return brass(22050, 209,
                 {{0.00, 0.16, G4, 0.7},
                  {0.18, 0.16, C5, 0.8},
                  {0.36, 0.16, E5, 0.8},
                  {0.54, 0.30, G5, 0.9},
                  {0.86, 0.14, E5, 0.8},
                  {1.02, 1.02, C6, 1.0},
                  {1.02, 1.02, G5, 0.6},
                  {1.02, 1.02, E5, 0.5},
                  {1.02, 1.02, E4, 0.4}},
                 0.006, 5.0);
}

Buffer fanfare_big() {
    const double G4 = 392.0, C5 = 523.25, D5 = 587.33, E5 = 659.25, G5 = 783.99, C4 = 261.63;
    return brass(22050, 217,
                 {{0.00, 0.11, G4, 0.8},
                  {0.12, 0.11, G4, 0.8},
                  {0.24, 0.11, G4, 0.8},
                  {0.36, 0.40, C5, 0.9},
                  {0.80, 0.11, D5, 0.8},
                  {0.92, 0.11, E5, 0.8},
                  {1.04, 1.08, G5, 1.0},
                  {1.04, 1.08, E5, 0.6},
                  {1.04, 1.08, C5, 0.5},
                  {1.04, 1.08, C4, 0.45}},
                 0.008, 6.0);
}

// Wah, wah, wah, waaah: a muted horn sinking by semitones.
Buffer sad_tune() {
    const int rate = 11025;
    Buffer b = blank(rate, 210);
    const Note notes[] = {{0.02, 0.36, 233.08, 1}, {0.42, 0.36, 220.0, 1}, {0.82, 0.36, 207.65, 1},
                          {1.22, 0.86, 196.0, 1}};
    for (const Note& n : notes) {
        Biquad lp;
        double phase = 0;
        const std::size_t i0 = static_cast<std::size_t>(n.start * rate);
        const std::size_t i1 = std::min(b.size(), static_cast<std::size_t>((n.start + n.len) * rate));
        for (std::size_t i = i0; i < i1; ++i) {
            const double t = static_cast<double>(i - i0) / rate;
            const double env = adsr(t, n.len, 0.04, 0.1, 0.8, 0.1);
            const bool last = n.len > 0.5;
            const double vib = last ? 1 + 0.03 * std::min(1.0, t / 0.25) * std::sin(TAU * 6.0 * t) : 1.0;
            // The mute opens and closes on each note: the "wah".
            const double wah = last ? 0.5 + 0.5 * std::sin(std::min(1.0, t / 0.25) * M_PI / 2) *
                                                (0.7 + 0.3 * std::sin(TAU * 6.0 * t))
                                    : std::sin(std::min(1.0, t / n.len) * M_PI);
            if ((i - i0) % 8 == 0) lp.retune(Biquad::lowpass(rate, 300 + 1500 * wah, 2.0));
            phase += TAU * n.f * (last ? vib * (1 - 0.03 * t / n.len) : 1.0) / rate;
            b[i] += env * lp(buzz(phase, n.f, 4500, 1.0));
        }
    }
    normalise(b, 0.85);
    soften_ends(b, rate);
    return b;
}

// ---------------------------------------------------------------- effects

Buffer click() {
    const int rate = 22050;
    Buffer b = blank(rate, 3);
    Rng rng(7750);
    Biquad hp = Biquad::highpass(rate, 1500);
    for (std::size_t i = 0; i < b.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double first = std::exp(-t / 0.0012) * (hp(rng.uniform() * 2 - 1) + std::sin(TAU * 2600 * t));
        const double t2 = t - 0.012;
        const double second = t2 > 0 ? 0.5 * std::exp(-t2 / 0.0015) * std::sin(TAU * 1900 * t2) : 0;
        b[i] = first + second;
    }
    normalise(b, 0.8);
    soften_ends(b, rate, 0.0001, 0.003);
    return b;
}

Buffer whoosh() {
    const int rate = 8000;
    Buffer b = blank(rate, 28);
    Rng rng(7800);
    Biquad bp;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const double u = static_cast<double>(i) / static_cast<double>(b.size());
        if (i % 8 == 0) bp.retune(Biquad::bandpass(rate, 2400 - 2000 * u, 2.0));
        b[i] = std::sin(u * M_PI) * std::pow(1 - u, 0.5) * bp(rng.uniform() * 2 - 1);
    }
    normalise(b, 0.8);
    soften_ends(b, rate);
    return b;
}

Buffer lizard_hit() {
    const int rate = 22050;
    Buffer b = blank(rate, 100);
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
    normalise(b, 0.88);
    soften_ends(b, rate, 0.0003, 0.02);
    return b;
}

}  // namespace

void make_game_sounds(Sounds& out) {
    auto put = [&](Cue c, Buffer b) {
        const CueRow& row = cue_row(c);
        out[row.wave_id] = Sound{row.sample_rate, row.bits, 1, std::move(b)};
    };
    // One gunshot, four mixes: the same seed for the crack, slightly
    // different filters and echoes.
    put(Cue::snd_hit, gunshot({0x5107, 2500, 1700, 0.115, 0.32, 80}));
    put(Cue::snd_shot, gunshot({0x5107, 2800, 1500, 0.125, 0.30, 76}));
    put(Cue::snd_bird_hit, gunshot({0x5107, 2300, 1900, 0.105, 0.36, 84}));
    put(Cue::gunshot_spare, gunshot({0x5107, 3000, 1400, 0.135, 0.27, 72}));
    put(Cue::snd_start, click());
    put(Cue::snd_minimize, whoosh());
    put(Cue::snd_popup_1, squeaks(11025, 34, {0.02}, 0.26, 1100, 2100, 0.05, 8000));
    put(Cue::snd_popup_2, squeaks(22050, 75, {0.02, 0.26, 0.46}, 0.20, 600, 1250, 0.15, 8100));
    put(Cue::snd_popup_3, squeaks(22050, 60, {0.02, 0.28}, 0.24, 900, 1800, 0.06, 8900));
    put(Cue::snd_miss_taunt, laugh());
    put(Cue::snd_miss_alt, nyah_tune());
    put(Cue::snd_hit_special, fanfare());
    put(Cue::snd_hit_special_9, fanfare_big());
    put(Cue::snd_cow, moo());
    put(Cue::snd_lizard, lizard_hit());
    put(Cue::snd_bonus_start, caw());
    put(Cue::snd_cancel, sad_tune());
}

// ---------------------------------------------------------------- Ambient

Sound make_ambient_loop() {
    // 50171 samples at 11025 Hz. Everything in it is periodic in the loop's
    // length: the wind is filtered around the circle, and every bird and
    // cricket wraps past the end to the start.
    const int rate = 11025;
    const std::size_t n = 50171;
    Buffer b(n, 0.0);
    Rng rng(300);

    Buffer noise(n);
    for (double& v : noise) v = rng.uniform() * 2 - 1;
    auto circular = [&](Biquad f) {
        Buffer y(n);
        for (int pass = 0; pass < 2; ++pass)
            for (std::size_t i = 0; i < n; ++i) y[i] = f(noise[i]);
        return y;
    };
    const Buffer low = circular(Biquad::lowpass(rate, 260, 0.8));
    const Buffer high = circular(Biquad::bandpass(rate, 900, 0.7));
    const double N = static_cast<double>(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double u = static_cast<double>(i) / N;
        // Gusts: a few whole cycles per loop.
        const double gust = 0.55 + 0.25 * std::sin(TAU * u + 0.4) + 0.15 * std::sin(TAU * 3 * u + 1.3) +
                            0.05 * std::sin(TAU * 7 * u);
        b[i] = 1.6 * gust * low[i] + 0.18 * gust * gust * high[i];
    }

    auto add_wrapped = [&](std::size_t at, const Buffer& ev) {
        for (std::size_t k = 0; k < ev.size(); ++k) b[(at + k) % n] += ev[k];
    };
    // Crickets: trills of a few pulses, far away.
    for (int c = 0; c < 2; ++c) {
        const double f = c == 0 ? 4100 : 3700;
        const std::size_t period = c == 0 ? 5017 : 7167;  // 10 and 7 trills per loop
        for (std::size_t start = static_cast<std::size_t>(c * 1800); start < n; start += period) {
            Buffer ev(static_cast<std::size_t>(0.16 * rate));
            for (std::size_t k = 0; k < ev.size(); ++k) {
                const double t = static_cast<double>(k) / rate;
                const double pulse = std::pow(std::max(0.0, std::sin(TAU * 25 * t)), 2);
                ev[k] = 0.05 * pulse * std::sin(TAU * f * t) * std::sin(M_PI * t / 0.16);
            }
            add_wrapped(start, ev);
        }
    }
    // Distant birds: short whistled phrases.
    const struct {
        double at, f, span, len;
        int notes;
    } birds[] = {{0.30, 2600, 500, 0.09, 3}, {1.70, 3100, -700, 0.12, 2}, {2.60, 2300, 400, 0.07, 4},
                 {3.65, 2900, 600, 0.10, 2}, {4.35, 2500, -300, 0.08, 3}};
    for (const auto& bird : birds) {
        Buffer ev(static_cast<std::size_t>((bird.len + 0.05) * bird.notes * rate));
        double phase = 0;
        for (std::size_t k = 0; k < ev.size(); ++k) {
            const double t = static_cast<double>(k) / rate;
            const double step = bird.len + 0.05;
            const double local = std::fmod(t, step);
            if (local < bird.len) {
                const double u = local / bird.len;
                phase += TAU * (bird.f + bird.span * u) / rate;
                ev[k] = 0.09 * std::sin(M_PI * u) * std::sin(phase);
            }
        }
        add_wrapped(static_cast<std::size_t>(bird.at * rate), ev);
    }
    normalise(b, 0.55);
    return Sound{rate, 8, 1, b};
}

Sound make_ambient_chime() {
    const int rate = 44100;
    const std::size_t frames = static_cast<std::size_t>(rate * 34 / 100);
    std::vector<double> s(frames * 2, 0.0);
    // Two small bells, one to each side.
    const double partials[] = {1.0, 2.76, 5.40};
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        double left = 0, right = 0;
        for (int p = 0; p < 3; ++p) {
            const double decay = std::exp(-t * (6.0 + 5.0 * p));
            left += decay * std::sin(TAU * 880.0 * partials[p] * t) / (p + 1);
            const double t2 = t - 0.06;
            if (t2 > 0) right += std::exp(-t2 * (6.0 + 5.0 * p)) * std::sin(TAU * 1318.5 * partials[p] * t2) / (p + 1);
        }
        s[2 * i] = 0.5 * left + 0.15 * right;
        s[2 * i + 1] = 0.15 * left + 0.5 * right;
    }
    double m = 0;
    for (double v : s) m = std::max(m, std::abs(v));
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double fade = std::min(1.0, static_cast<double>(frames - 1 - i / 2) / (0.01 * rate));
        s[i] *= 0.8 / m * fade;
    }
    return Sound{rate, 16, 2, s};
}

}  // namespace painter
