// The instruments' workings.

#include "resources/painter/synth.h"

namespace painter {

namespace {

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

}  // namespace

Biquad Biquad::make(double rate, double freq, double q, int type) {
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

Buffer blank(const CueRow& row) { return Buffer(static_cast<std::size_t>(row.sample_rate * row.hundredths / 100), 0.0); }

double seconds(const CueRow& row) { return row.hundredths / 100.0; }

void normalise(Buffer& b, double peak) {
    double m = 0;
    for (double v : b) m = std::max(m, std::abs(v));
    if (m > 0)
        for (double& v : b) v *= peak / m;
}

Buffer finished(Buffer b, int rate, double peak, double attack_s, double release_s) {
    normalise(b, peak);
    const std::size_t a = std::min(b.size(), static_cast<std::size_t>(attack_s * rate));
    const std::size_t r = std::min(b.size(), static_cast<std::size_t>(release_s * rate));
    for (std::size_t i = 0; i < a; ++i) b[i] *= static_cast<double>(i) / static_cast<double>(a);
    for (std::size_t i = 0; i < r; ++i) b[b.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(r);
    return b;
}

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

double buzz(double phase, double f0, double cutoff, double tilt) {
    double v = 0;
    const int n_max = std::max(1, static_cast<int>(cutoff / std::max(f0, 1.0)));
    for (int n = 1; n <= n_max && n <= 60; ++n) v += std::sin(phase * n) / std::pow(n, tilt);
    return v;
}

Buffer voice(const CueRow& row, const std::vector<VoicePoint>& path, double cutoff, double tilt, std::uint64_t seed,
             double q) {
    const int rate = row.sample_rate;
    Buffer b = blank(row);
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
    return finished(std::move(b), rate, 0.85, 0.003, 0.02);
}

}  // namespace painter
