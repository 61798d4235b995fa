// The instruments the sounds are made with: filters, envelopes, a
// band-limited buzz, a voice through formants, and notes on a filtered buzz.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "game/model/cues.h"
#include "resources/painter/paint.h"

namespace painter {

inline constexpr double TAU = 2.0 * M_PI;

using Buffer = std::vector<double>;

// Silence as long as the cue's row says, at its rate.
Buffer blank(const CueRow& row);
double seconds(const CueRow& row);

void normalise(Buffer& b, double peak);
// Brought to the peak, with a short fade at both ends so that no cue starts
// or stops with a click.
Buffer finished(Buffer b, int rate, double peak, double attack_s = 0.0015, double release_s = 0.008);
// Attack-decay-sustain-release envelope over a note of length len seconds.
double adsr(double t, double len, double a, double d, double s, double r);
// A band-limited buzz: harmonics of f0 up to the cutoff, falling as 1/n^tilt.
double buzz(double phase, double f0, double cutoff, double tilt);

// RBJ biquad.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    static Biquad make(double rate, double freq, double q, int type);
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

// A voice gliding along (time, pitch, vowel) points: the moo, the laugh,
// the taunt, the caw.
struct VoicePoint {
    double t, f0, f1, f2, f3, amp, breath;
};
Buffer voice(const CueRow& row, const std::vector<VoicePoint>& path, double cutoff, double tilt, std::uint64_t seed,
             double q = 5.0);

struct Note {
    double start, len, f, amp;
};
// How a note sounds t seconds after it starts: its loudness, its pitch as
// a multiple of the note's, and its filter.
struct Voicing {
    double env, pitch, cutoff, q;
};
// Adds the notes to b, each a buzz up to buzz_cutoff through a low-pass
// filter; shape(note, t) gives the Voicing, and the filter follows it every
// retune samples.
template <class Shape>
void play_notes(Buffer& b, int rate, const std::vector<Note>& notes, std::size_t retune, double buzz_cutoff,
                Shape shape) {
    for (const Note& n : notes) {
        Biquad lp;
        double phase = 0;
        const std::size_t i0 = static_cast<std::size_t>(n.start * rate);
        const std::size_t i1 = std::min(b.size(), static_cast<std::size_t>((n.start + n.len) * rate));
        for (std::size_t i = i0; i < i1; ++i) {
            const double t = static_cast<double>(i - i0) / rate;
            const Voicing v = shape(n, t);
            if ((i - i0) % retune == 0) lp.retune(Biquad::lowpass(rate, v.cutoff, v.q));
            phase += TAU * n.f * v.pitch / rate;
            b[i] += n.amp * v.env * lp(buzz(phase, n.f, buzz_cutoff, 1.0));
        }
    }
}

}  // namespace painter
