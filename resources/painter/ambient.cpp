// Ambient's picture, icon and sounds: the meadow's background loop and the
// chime.

#include <cmath>

#include "resources/painter/synth.h"

namespace painter {

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

Surface paint_ambient_picture() {
    Surface s = make_surface(80, 80);
    Pen cr(s.get());
    set_linear(cr, 0, 0, 80, 80, {{0, rgb8(176, 214, 236)}, {1, rgb8(168, 208, 232)}});
    cairo_paint(cr);
    return s;
}

Surface paint_ambient_icon() {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 16, 16));
    Pen cr(s.get());
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    // A round meadow under a sky, with a breath of wind.
    cairo_arc(cr, 8, 8, 7.5, 0, 2 * M_PI);
    cairo_clip(cr);
    set_colour(cr, rgb8(120, 180, 230));
    cairo_paint(cr);
    cairo_move_to(cr, 0, 11);
    cairo_curve_to(cr, 5, 8, 10, 9, 16, 10);
    cairo_line_to(cr, 16, 16);
    cairo_line_to(cr, 0, 16);
    cairo_close_path(cr);
    set_colour(cr, rgb8(70, 150, 50));
    cairo_fill(cr);
    cairo_move_to(cr, 2.5, 5);
    cairo_curve_to(cr, 6, 3.5, 9, 6.5, 13, 4.5);
    set_colour(cr, rgb8(255, 255, 255), 0.9);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
    return s;
}

}  // namespace painter
