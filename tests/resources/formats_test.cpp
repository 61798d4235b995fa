// Every file has the identifier, size and format the tables give it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numeric>

#include "game/model/bitmaps.h"
#include "game/model/cues.h"
#include "tests/resources/resource_reader.h"

namespace {

std::string game_file(int id, const char* ext) { return resource_dir() + "/game/" + std::to_string(id) + ext; }

double peak(const std::vector<double>& s) {
    double m = 0;
    for (double v : s) m = std::max(m, std::abs(v));
    return m;
}

TEST(ResourceFormats, EveryBitmapHasItsCatalogueSizeAndDepth) {
    for (const BitmapInfo& info : BITMAP_CATALOGUE) {
        SCOPED_TRACE("bitmap " + std::to_string(info.id));
        const Bitmap b = read_bitmap(game_file(info.id, ".bmp"));
        EXPECT_EQ(b.width, info.width);
        EXPECT_EQ(b.height, info.height);
        EXPECT_EQ(b.bits, info.bits);
        if (info.bits == 8) {
            EXPECT_GT(b.palette_size, 16) << "a splat needs more than a few colours";
            EXPECT_LE(b.palette_size, 256);
        }
    }
}

TEST(ResourceFormats, EverySoundMatchesItsCueRow) {
    for (const CueRow& row : CUE_TABLE) {
        SCOPED_TRACE("wave " + std::to_string(row.wave_id));
        const Wave w = read_wave(game_file(row.wave_id, ".wav"));
        EXPECT_EQ(w.format, 1) << "PCM";
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.rate, row.sample_rate);
        EXPECT_EQ(w.bits, row.bits);
        const std::size_t frames = static_cast<std::size_t>(row.sample_rate) * row.hundredths / 100;
        EXPECT_EQ(w.samples.size(), frames);
        EXPECT_EQ(std::lround(100.0 * static_cast<double>(w.samples.size()) / row.sample_rate), row.hundredths);
        EXPECT_GT(peak(w.samples), 0.5) << "audible";
        EXPECT_LT(peak(w.samples), 0.999) << "not clipped";
    }
}

// 7850, 7900, 8400 and 8500 are one gunshot in four mixes: alike in their
// loudness over time, yet no two the same.
TEST(ResourceFormats, TheFourGunshotsAreMixesOfOneShot) {
    const int ids[] = {cue_row(Cue::snd_hit).wave_id, cue_row(Cue::snd_shot).wave_id, cue_row(Cue::snd_bird_hit).wave_id,
                       cue_row(Cue::gunshot_spare).wave_id};
    std::vector<std::vector<double>> envelopes;
    std::vector<std::vector<double>> samples;
    for (int id : ids) {
        const Wave w = read_wave(game_file(id, ".wav"));
        samples.push_back(w.samples);
        std::vector<double> env;
        for (std::size_t i = 0; i + 441 <= w.samples.size(); i += 441) {
            double e = 0;
            for (std::size_t k = i; k < i + 441; ++k) e += w.samples[k] * w.samples[k];
            env.push_back(std::sqrt(e / 441));
        }
        envelopes.push_back(env);
    }
    auto correlation = [](const std::vector<double>& a, const std::vector<double>& b) {
        const std::size_t n = std::min(a.size(), b.size());
        const double ma = std::accumulate(a.begin(), a.begin() + static_cast<long>(n), 0.0) / static_cast<double>(n);
        const double mb = std::accumulate(b.begin(), b.begin() + static_cast<long>(n), 0.0) / static_cast<double>(n);
        double ab = 0, aa = 0, bb = 0;
        for (std::size_t i = 0; i < n; ++i) {
            ab += (a[i] - ma) * (b[i] - mb);
            aa += (a[i] - ma) * (a[i] - ma);
            bb += (b[i] - mb) * (b[i] - mb);
        }
        return ab / std::sqrt(aa * bb);
    };
    for (std::size_t i = 0; i < 4; ++i)
        for (std::size_t j = i + 1; j < 4; ++j) {
            EXPECT_NE(samples[i], samples[j]) << ids[i] << " and " << ids[j] << " are the same mix";
            EXPECT_GT(correlation(envelopes[i], envelopes[j]), 0.9) << ids[i] << " and " << ids[j];
        }
    // A gunshot: the loudest moment within the first 20 ms, and it dies away.
    for (std::size_t i = 0; i < 4; ++i) {
        const auto loudest = std::max_element(envelopes[i].begin(), envelopes[i].end()) - envelopes[i].begin();
        EXPECT_LE(loudest, 1) << ids[i];
        EXPECT_LT(envelopes[i].back(), envelopes[i].front() * 0.1) << ids[i];
    }
}

TEST(ResourceFormats, AmbientLoopJoinsItsStart) {
    const Wave w = read_wave(resource_dir() + "/ambient/300.wav");
    EXPECT_EQ(w.format, 1);
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.rate, 11025);
    EXPECT_EQ(w.bits, 8);
    EXPECT_EQ(w.data_bytes, 50171u);
    ASSERT_EQ(w.samples.size(), 50171u);
    // The step from the last sample back to the first is no larger than
    // the ordinary steps inside the loop, and neither is the slope.
    std::vector<double> steps;
    for (std::size_t i = 1; i < w.samples.size(); ++i) steps.push_back(std::abs(w.samples[i] - w.samples[i - 1]));
    std::sort(steps.begin(), steps.end());
    const double p95 = steps[steps.size() * 95 / 100];
    EXPECT_LE(std::abs(w.samples.front() - w.samples.back()), p95);
    // The loop's two ends sound alike: the same loudness in the last and first 50 ms.
    auto rms = [&](std::size_t from, std::size_t n) {
        double e = 0;
        for (std::size_t i = from; i < from + n; ++i) e += w.samples[i] * w.samples[i];
        return std::sqrt(e / static_cast<double>(n));
    };
    const std::size_t n = 551;
    const double head = rms(0, n), tail = rms(w.samples.size() - n, n);
    EXPECT_GT(head, 0.01);
    EXPECT_NEAR(head / tail, 1.0, 0.5);
}

TEST(ResourceFormats, AmbientChimeAndPicture) {
    const Wave w = read_wave(resource_dir() + "/ambient/600.wav");
    EXPECT_EQ(w.format, 1);
    EXPECT_EQ(w.channels, 2);
    EXPECT_EQ(w.rate, 44100);
    EXPECT_EQ(w.bits, 16);
    EXPECT_EQ(w.samples.size(), 2u * 44100 * 34 / 100);

    const Bitmap b = read_bitmap(resource_dir() + "/ambient/100.bmp");
    ASSERT_EQ(b.width, 80);
    ASSERT_EQ(b.height, 80);
    EXPECT_EQ(b.bits, 24);
    // Light blue, almost even.
    for (int c = 0; c < 3; ++c) {
        int lo = 255, hi = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 80; ++x) {
                lo = std::min(lo, b.at(x, y, c));
                hi = std::max(hi, b.at(x, y, c));
            }
        EXPECT_LE(hi - lo, 16) << "channel " << c;
    }
    EXPECT_GT(b.at(40, 40, 2), b.at(40, 40, 0) + 30);
    EXPECT_GT(b.at(40, 40, 0), 140);
}

// The icon images: (opaque, colour) of each pixel, from the ICO bytes.
struct IconImage {
    int width = 0, height = 0, bits = 0, colours = 0;
    std::vector<bool> opaque;
    std::vector<std::uint32_t> colour;  // 0xRRGGBB, or the palette index
};

IconImage read_single_icon(const std::string& path) {
    const Bytes b = read_bytes(path);
    IconImage icon;
    if (b.size() < 22 + 40) {
        ADD_FAILURE() << path << ": too short";
        return icon;
    }
    EXPECT_EQ(le16(b, 0), 0u);
    EXPECT_EQ(le16(b, 2), 1u) << "an icon, not a cursor file";
    EXPECT_EQ(le16(b, 4), 1u) << "one image";
    icon.width = b[6] ? b[6] : 256;
    icon.height = b[7] ? b[7] : 256;
    icon.colours = b[8];
    const std::uint32_t size = le32(b, 14), offset = le32(b, 18);
    EXPECT_EQ(offset, 22u);
    EXPECT_EQ(b.size(), offset + size);
    EXPECT_EQ(le32(b, offset), 40u);
    EXPECT_EQ(static_cast<int>(le32(b, offset + 4)), icon.width);
    EXPECT_EQ(static_cast<int>(le32(b, offset + 8)), 2 * icon.height) << "colour and mask";
    icon.bits = static_cast<int>(le16(b, offset + 14));
    EXPECT_EQ(static_cast<int>(le16(b, offset + 14)), icon.bits);
    const std::size_t palette = icon.bits <= 8 ? (1u << icon.bits) : 0;
    const std::size_t colour_at = offset + 40 + 4 * palette;
    const std::size_t colour_stride = static_cast<std::size_t>(((icon.width * icon.bits + 31) / 32) * 4);
    const std::size_t mask_at = colour_at + colour_stride * static_cast<std::size_t>(icon.height);
    const std::size_t mask_stride = static_cast<std::size_t>(((icon.width + 31) / 32) * 4);
    EXPECT_EQ(b.size(), mask_at + mask_stride * static_cast<std::size_t>(icon.height));
    if (b.size() < mask_at + mask_stride * static_cast<std::size_t>(icon.height)) return icon;
    for (int y = 0; y < icon.height; ++y)
        for (int x = 0; x < icon.width; ++x) {
            const std::size_t row = static_cast<std::size_t>(icon.height - 1 - y);
            const bool masked = (b[mask_at + row * mask_stride + static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1;
            std::uint32_t c;
            bool opaque = !masked;
            if (icon.bits == 4) {
                const std::uint8_t byte = b[colour_at + row * colour_stride + static_cast<std::size_t>(x / 2)];
                c = x % 2 ? byte & 0xF : byte >> 4;
            } else {
                const std::size_t p = colour_at + row * colour_stride + static_cast<std::size_t>(4 * x);
                c = (static_cast<std::uint32_t>(b[p + 2]) << 16) | (b[p + 1] << 8) | b[p];
                opaque = opaque && b[p + 3] > 0;
            }
            icon.opaque.push_back(opaque);
            icon.colour.push_back(c);
        }
    return icon;
}

TEST(ResourceFormats, CursorIsABlackRingWithCrossHairs) {
    const IconImage icon = read_single_icon(resource_dir() + "/game/32.ico");
    ASSERT_EQ(icon.width, 32);
    ASSERT_EQ(icon.height, 32);
    EXPECT_EQ(icon.bits, 4);
    EXPECT_EQ(icon.colours, 16);
    ASSERT_EQ(icon.opaque.size(), 32u * 32u);
    auto solid = [&](int x, int y) { return static_cast<bool>(icon.opaque[static_cast<std::size_t>(y * 32 + x)]); };
    for (std::size_t i = 0; i < icon.opaque.size(); ++i)
        if (icon.opaque[i]) {
            EXPECT_EQ(icon.colour[i], 0u) << "every drawn pixel is black";
        }
    // The ring touches all four edges and is about two pixels wide.
    for (int m : {15, 16}) {
        EXPECT_TRUE(solid(0, m) && solid(31, m) && solid(m, 0) && solid(m, 31));
    }
    EXPECT_TRUE(solid(0, 12) && solid(1, 12));
    EXPECT_FALSE(solid(3, 12));
    // Corners outside the ring and the quarters inside it stay clear.
    EXPECT_FALSE(solid(0, 0) || solid(31, 31) || solid(0, 31) || solid(31, 0));
    EXPECT_FALSE(solid(8, 8) || solid(23, 8) || solid(8, 23) || solid(23, 23));
    // Two lines, two pixels wide, through the centre.
    for (int k = 3; k < 29; ++k) {
        EXPECT_TRUE(solid(k, 15) && solid(k, 16)) << "horizontal line at x " << k;
        EXPECT_TRUE(solid(15, k) && solid(16, k)) << "vertical line at y " << k;
    }
    EXPECT_FALSE(solid(8, 14) || solid(8, 17) || solid(14, 8) || solid(17, 8));
}

// Its @2x twin for screens of twice the density: the same drawing at 64 x 64,
// black with alpha. Each 2 x 2 square is mostly black where the cursor's
// pixel is drawn and mostly clear where it is not; the bars are whole
// pixels, the ring's edge is smooth.
TEST(ResourceFormats, CursorTwinIsTheCursorAtTwiceTheSize) {
    const IconImage icon = read_single_icon(resource_dir() + "/game/32.ico");
    const Png twin = read_png(resource_dir() + "/game/32@2x.png");
    ASSERT_EQ(icon.opaque.size(), 32u * 32u);
    ASSERT_EQ(twin.width, 64);
    ASSERT_EQ(twin.height, 64);
    EXPECT_TRUE(twin.alpha);
    int partial = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const int a = twin.at(x, y, 3);
            partial += a > 0 && a < 255;
            if (a > 0) {
                EXPECT_EQ(twin.at(x, y, 0) + twin.at(x, y, 1) + twin.at(x, y, 2), 0) << "black at " << x << "," << y;
            }
        }
    EXPECT_GT(partial, 100) << "a smooth ring";
    int disagree = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int cover = twin.at(2 * x, 2 * y, 3) + twin.at(2 * x + 1, 2 * y, 3) + twin.at(2 * x, 2 * y + 1, 3) +
                              twin.at(2 * x + 1, 2 * y + 1, 3);
            disagree += (cover > 2 * 255) != static_cast<bool>(icon.opaque[static_cast<std::size_t>(y * 32 + x)]);
        }
    EXPECT_EQ(disagree, 0);
    for (int k = 6; k < 58; ++k)
        for (int m = 30; m < 34; ++m) {
            EXPECT_EQ(twin.at(k, m, 3), 255) << "horizontal bar at " << k << "," << m;
            EXPECT_EQ(twin.at(m, k, 3), 255) << "vertical bar at " << m << "," << k;
        }
    EXPECT_EQ(twin.at(29, 16, 3) + twin.at(34, 16, 3) + twin.at(16, 29, 3) + twin.at(16, 34, 3), 0) << "beside the bars";
}

TEST(ResourceFormats, AmbientIconIs16By16With32Bits) {
    const IconImage icon = read_single_icon(resource_dir() + "/ambient/app.ico");
    EXPECT_EQ(icon.width, 16);
    EXPECT_EQ(icon.height, 16);
    EXPECT_EQ(icon.bits, 32);
    const auto drawn = std::count(icon.opaque.begin(), icon.opaque.end(), true);
    EXPECT_GT(drawn, 100);
    EXPECT_LT(drawn, 256) << "round, with transparent corners";
}

TEST(ResourceScripts, GameScriptNamesEveryResourceAndTheVersion) {
    const std::string rc = read_text(resource_dir() + "/game.rc");
    for (const BitmapInfo& b : BITMAP_CATALOGUE) {
        const std::string file = "game/" + std::to_string(b.id) + ".bmp";
        EXPECT_NE(rc.find(std::to_string(b.id) + " BITMAP \"" + file + "\"\n"), std::string::npos) << file;
        EXPECT_TRUE(std::filesystem::exists(resource_dir() + "/" + file));
    }
    for (const CueRow& c : CUE_TABLE) {
        const std::string file = "game/" + std::to_string(c.wave_id) + ".wav";
        EXPECT_NE(rc.find(std::to_string(c.wave_id) + " WAVE \"" + file + "\"\n"), std::string::npos) << file;
    }
    EXPECT_NE(rc.find("32 ICON \"game/32.ico\"\n"), std::string::npos);
    EXPECT_NE(rc.find("FILEVERSION 1,0,3,0\n"), std::string::npos);
    EXPECT_NE(rc.find("PRODUCTVERSION 1,0,3,0\n"), std::string::npos);
    EXPECT_NE(rc.find("VALUE \"FileDescription\", \"Plinkfield\""), std::string::npos);
    EXPECT_NE(rc.find("VALUE \"ProductName\", \"Plinkfield\""), std::string::npos);
    EXPECT_NE(rc.find("VALUE \"FileVersion\", \"1.0.3.0\""), std::string::npos);
    EXPECT_EQ(std::string(PLINKFIELD_VERSION), "1.0.3.0");
}

TEST(ResourceScripts, AmbientScriptNamesItsFourResources) {
    const std::string rc = read_text(resource_dir() + "/ambient.rc");
    for (const char* line : {"100 BITMAP \"ambient/100.bmp\"\n", "300 WAVE \"ambient/300.wav\"\n",
                             "600 WAVE \"ambient/600.wav\"\n", "A ICON \"ambient/app.ico\"\n"})
        EXPECT_NE(rc.find(line), std::string::npos) << line;
    EXPECT_EQ(rc.find("VERSIONINFO"), std::string::npos);
}

}  // namespace
