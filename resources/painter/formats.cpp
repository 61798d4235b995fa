#include "resources/painter/formats.h"

#include <webp/encode.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace painter {

namespace {

void put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void put_tag(Bytes& b, const char* tag) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(tag[i]));
}

// BITMAPINFOHEADER; height positive, so the rows run bottom-up.
void info_header(Bytes& b, int w, int h, int bits, std::uint32_t image_size, std::uint32_t colours) {
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(w));
    put32(b, static_cast<std::uint32_t>(h));
    put16(b, 1);
    put16(b, static_cast<std::uint32_t>(bits));
    put32(b, 0);  // BI_RGB
    put32(b, image_size);
    put32(b, 2835);  // 72 dots per inch
    put32(b, 2835);
    put32(b, colours);
    put32(b, 0);
}

void file_header(Bytes& b, std::uint32_t total, std::uint32_t offset) {
    b.push_back('B');
    b.push_back('M');
    put32(b, total);
    put32(b, 0);
    put32(b, offset);
}

std::uint32_t row_bytes(int w, int bits) { return static_cast<std::uint32_t>(((w * bits + 31) / 32) * 4); }

}  // namespace

Bytes bmp_24(cairo_surface_t* s) {
    const int w = width_of(s), h = height_of(s);
    const std::uint32_t stride = row_bytes(w, 24), size = stride * static_cast<std::uint32_t>(h);
    Bytes b;
    b.reserve(54 + size);
    file_header(b, 54 + size, 54);
    info_header(b, w, h, 24, size, 0);
    for (int y = h - 1; y >= 0; --y) {
        std::uint32_t n = 0;
        for (int x = 0; x < w; ++x, n += 3) {
            const std::uint32_t p = pixel(s, x, y);
            b.push_back(static_cast<std::uint8_t>(p & 0xFF));
            b.push_back(static_cast<std::uint8_t>((p >> 8) & 0xFF));
            b.push_back(static_cast<std::uint8_t>((p >> 16) & 0xFF));
        }
        for (; n < stride; ++n) b.push_back(0);
    }
    return b;
}

namespace {

using Colour = std::array<int, 3>;

// Median cut: split the box with the widest channel at its median until
// there are enough boxes; each box gives its mean colour.
std::vector<Colour> median_cut(std::vector<Colour> pixels, std::size_t count) {
    std::vector<Colour> unique = pixels;
    std::sort(unique.begin(), unique.end());
    unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
    if (unique.size() <= count) return unique;

    struct Box {
        std::size_t begin, end;
    };
    std::vector<Box> boxes = {{0, pixels.size()}};
    auto widest = [&](const Box& bx, int& channel) {
        int best = -1;
        for (int c = 0; c < 3; ++c) {
            int lo = 255, hi = 0;
            for (std::size_t i = bx.begin; i < bx.end; ++i) {
                lo = std::min(lo, pixels[i][c]);
                hi = std::max(hi, pixels[i][c]);
            }
            if (hi - lo > best) {
                best = hi - lo;
                channel = c;
            }
        }
        return best;
    };
    while (boxes.size() < count) {
        std::size_t pick = 0;
        int pick_channel = 0, pick_range = -1;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            int channel = 0;
            const int range = widest(boxes[i], channel);
            if (range > pick_range && boxes[i].end - boxes[i].begin > 1) {
                pick = i;
                pick_range = range;
                pick_channel = channel;
            }
        }
        if (pick_range <= 0) break;
        Box bx = boxes[pick];
        std::sort(pixels.begin() + static_cast<long>(bx.begin), pixels.begin() + static_cast<long>(bx.end),
                  [&](const Colour& a, const Colour& c) {
                      if (a[pick_channel] != c[pick_channel]) return a[pick_channel] < c[pick_channel];
                      return a < c;
                  });
        const std::size_t mid = (bx.begin + bx.end) / 2;
        boxes[pick] = {bx.begin, mid};
        boxes.push_back({mid, bx.end});
    }
    std::vector<Colour> palette;
    for (const Box& bx : boxes) {
        long sum[3] = {0, 0, 0};
        for (std::size_t i = bx.begin; i < bx.end; ++i)
            for (int c = 0; c < 3; ++c) sum[c] += pixels[i][c];
        const long n = static_cast<long>(bx.end - bx.begin);
        palette.push_back({static_cast<int>((sum[0] + n / 2) / n), static_cast<int>((sum[1] + n / 2) / n),
                           static_cast<int>((sum[2] + n / 2) / n)});
    }
    return palette;
}

}  // namespace

Bytes bmp_8(cairo_surface_t* s) {
    const int w = width_of(s), h = height_of(s);
    std::vector<Colour> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = pixel(s, x, y);
            pixels.push_back({static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                              static_cast<int>(p & 0xFF)});
        }
    const std::vector<Colour> palette = median_cut(pixels, 256);
    const std::uint32_t stride = row_bytes(w, 8), size = stride * static_cast<std::uint32_t>(h);
    const std::uint32_t offset = 54 + 4 * static_cast<std::uint32_t>(palette.size());
    Bytes b;
    file_header(b, offset + size, offset);
    info_header(b, w, h, 8, size, static_cast<std::uint32_t>(palette.size()));
    for (const Colour& c : palette) {
        b.push_back(static_cast<std::uint8_t>(c[2]));
        b.push_back(static_cast<std::uint8_t>(c[1]));
        b.push_back(static_cast<std::uint8_t>(c[0]));
        b.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        std::uint32_t n = 0;
        for (int x = 0; x < w; ++x, ++n) {
            const Colour& p = pixels[static_cast<std::size_t>(y * w + x)];
            std::size_t best = 0;
            int best_d = 1 << 30;
            for (std::size_t i = 0; i < palette.size(); ++i) {
                const int dr = p[0] - palette[i][0], dg = p[1] - palette[i][1], db = p[2] - palette[i][2];
                const int d = dr * dr + dg * dg + db * db;
                if (d < best_d) {
                    best_d = d;
                    best = i;
                }
            }
            b.push_back(static_cast<std::uint8_t>(best));
        }
        for (; n < stride; ++n) b.push_back(0);
    }
    return b;
}

Bytes wave(const Sound& sound) {
    const std::uint32_t bytes_per_sample = static_cast<std::uint32_t>(sound.bits / 8);
    const std::uint32_t data_size = static_cast<std::uint32_t>(sound.samples.size()) * bytes_per_sample;
    const std::uint32_t pad = data_size & 1;  // chunks are word aligned
    Bytes b;
    put_tag(b, "RIFF");
    put32(b, 4 + 8 + 16 + 8 + data_size + pad);
    put_tag(b, "WAVE");
    put_tag(b, "fmt ");
    put32(b, 16);
    put16(b, 1);  // PCM
    put16(b, static_cast<std::uint32_t>(sound.channels));
    put32(b, static_cast<std::uint32_t>(sound.rate));
    put32(b, static_cast<std::uint32_t>(sound.rate * sound.channels) * bytes_per_sample);
    put16(b, static_cast<std::uint32_t>(sound.channels) * bytes_per_sample);
    put16(b, static_cast<std::uint32_t>(sound.bits));
    put_tag(b, "data");
    put32(b, data_size);
    for (double v : sound.samples) {
        v = std::clamp(v, -1.0, 1.0);
        if (sound.bits == 8) {
            b.push_back(static_cast<std::uint8_t>(std::lround(128.0 + v * 127.0)));
        } else {
            const long q = std::lround(v * 32767.0);
            put16(b, static_cast<std::uint32_t>(q) & 0xFFFF);
        }
    }
    if (pad) b.push_back(0);
    return b;
}

namespace {

void icon_dir(Bytes& b, int w, int h, int colours, int bits, std::uint32_t image_size) {
    put16(b, 0);
    put16(b, 1);  // icon
    put16(b, 1);  // one image
    b.push_back(static_cast<std::uint8_t>(w));
    b.push_back(static_cast<std::uint8_t>(h));
    b.push_back(static_cast<std::uint8_t>(colours));
    b.push_back(0);
    put16(b, 1);
    put16(b, static_cast<std::uint32_t>(bits));
    put32(b, image_size);
    put32(b, 22);
}

}  // namespace

Bytes crosshair_icon() {
    constexpr int N = 32;
    // The drawing at each pixel's centre (crosshair.cpp).
    auto black = [](int x, int y) { return crosshair_black(x + 0.5, y + 0.5); };
    const std::uint32_t xor_row = 16, and_row = 4;
    const std::uint32_t image_size = 40 + 16 * 4 + N * xor_row + N * and_row;
    Bytes b;
    icon_dir(b, N, N, 16, 4, image_size);
    Bytes img;
    info_header(img, N, 2 * N, 4, N * (xor_row + and_row), 16);
    // The sixteen colours of the standard palette; only black is drawn.
    static const int vga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                   {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                   {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                   {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    for (const auto& c : vga) {
        img.push_back(static_cast<std::uint8_t>(c[2]));
        img.push_back(static_cast<std::uint8_t>(c[1]));
        img.push_back(static_cast<std::uint8_t>(c[0]));
        img.push_back(0);
    }
    // Colour plane: index 0 everywhere; the mask decides what shows.
    for (int y = N - 1; y >= 0; --y)
        for (std::uint32_t i = 0; i < xor_row; ++i) img.push_back(0);
    for (int y = N - 1; y >= 0; --y) {
        for (int byte = 0; byte < 4; ++byte) {
            std::uint8_t m = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (!black(byte * 8 + bit, y)) m = static_cast<std::uint8_t>(m | (0x80 >> bit));
            img.push_back(m);
        }
    }
    b.insert(b.end(), img.begin(), img.end());
    return b;
}

Bytes icon_32bit(cairo_surface_t* argb) {
    const int w = width_of(argb), h = height_of(argb);
    const std::uint32_t and_row = row_bytes(w, 1);
    const std::uint32_t pixels = static_cast<std::uint32_t>(w * h) * 4;
    const std::uint32_t image_size = 40 + pixels + and_row * static_cast<std::uint32_t>(h);
    Bytes b;
    icon_dir(b, w, h, 0, 32, image_size);
    info_header(b, w, 2 * h, 32, pixels + and_row * static_cast<std::uint32_t>(h), 0);
    cairo_surface_flush(argb);
    const unsigned char* data = cairo_image_surface_get_data(argb);
    const int stride = cairo_image_surface_get_stride(argb);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t p;
            std::memcpy(&p, data + y * stride + 4 * x, 4);
            // cairo keeps premultiplied alpha; icons want it straight.
            const std::uint32_t a = p >> 24;
            auto straight = [a](std::uint32_t c) { return a == 0 ? 0u : std::min(255u, (c * 255 + a / 2) / a); };
            b.push_back(static_cast<std::uint8_t>(straight(p & 0xFF)));
            b.push_back(static_cast<std::uint8_t>(straight((p >> 8) & 0xFF)));
            b.push_back(static_cast<std::uint8_t>(straight((p >> 16) & 0xFF)));
            b.push_back(static_cast<std::uint8_t>(a));
        }
    for (int y = 0; y < h; ++y)
        for (std::uint32_t i = 0; i < and_row; ++i) b.push_back(0);  // alpha decides
    return b;
}

void write_file(const std::string& path, const Bytes& data) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!f) {
        std::fprintf(stderr, "plinkfield-painter: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

void write_text(const std::string& path, const std::string& text) {
    write_file(path, Bytes(text.begin(), text.end()));
}

Bytes webp_lossless(cairo_surface_t* s) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t c;
            std::memcpy(&c, data + y * stride + 4 * x, 4);
            std::uint8_t* out = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
            out[0] = static_cast<std::uint8_t>(c >> 16);
            out[1] = static_cast<std::uint8_t>(c >> 8);
            out[2] = static_cast<std::uint8_t>(c);
        }
    std::uint8_t* encoded = nullptr;
    const std::size_t size = WebPEncodeLosslessRGB(rgb.data(), w, h, w * 3, &encoded);
    if (size == 0) {
        std::fprintf(stderr, "plinkfield-painter: WebP encoding failed\n");
        std::exit(1);
    }
    Bytes out(encoded, encoded + size);
    WebPFree(encoded);
    return out;
}

void write_png(const std::string& path, cairo_surface_t* s) {
    if (cairo_surface_write_to_png(s, path.c_str()) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "plinkfield-painter: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

}  // namespace painter
