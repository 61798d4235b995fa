// The page's WAVE decoder against the painted files, read by the tests' own
// reader: every cue, the meadow loop and the one stereo file.

#include "game/audio/web/wave_pcm.h"

#include <gtest/gtest.h>

#include <cmath>

#include "game/model/cues.h"
#include "resources/embedded.h"
#include "tests/resources/resource_reader.h"

namespace {

std::span<const std::uint8_t> bytes(const EmbeddedResource* r) {
    return r ? std::span<const std::uint8_t>(r->data, r->size) : std::span<const std::uint8_t>();
}

void expect_same_samples(const PcmSound& s, const Wave& reference, const char* what) {
    ASSERT_EQ(s.samples.size() * static_cast<std::size_t>(reference.channels), reference.samples.size()) << what;
    int wrong = 0;
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        double mixed = 0;
        for (int c = 0; c < reference.channels; ++c)
            mixed += reference.samples[i * static_cast<std::size_t>(reference.channels) + static_cast<std::size_t>(c)];
        wrong += std::fabs(s.samples[i] - mixed / reference.channels) > 1e-6;
    }
    EXPECT_EQ(wrong, 0) << what;
}

TEST(WavePcm, EveryCueAtItsRateAndLength) {
    for (const CueRow& c : CUE_TABLE) {
        PcmSound s;
        ASSERT_TRUE(decode_wave(bytes(find_game_resource(ResourceKind::wave, c.wave_id)), s)) << c.wave_id;
        EXPECT_EQ(s.rate, c.sample_rate) << c.wave_id;
        EXPECT_NEAR(static_cast<double>(s.samples.size()) * 100 / s.rate, c.hundredths, 1.0) << c.wave_id;
        expect_same_samples(s, read_wave(resource_dir() + "/game/" + std::to_string(c.wave_id) + ".wav"),
                            c.name);
    }
}

TEST(WavePcm, TheMeadowLoopIsWhole) {
    PcmSound s;
    ASSERT_TRUE(decode_wave(bytes(find_ambient_resource(ResourceKind::wave, 300)), s));
    EXPECT_EQ(s.rate, 11025);
    EXPECT_EQ(s.samples.size(), 50171u) << "one sample a byte: a loop cut short would click";
    expect_same_samples(s, read_wave(resource_dir() + "/ambient/300.wav"), "300");
}

TEST(WavePcm, TwoChannelsAreMixedToOne) {
    PcmSound s;
    ASSERT_TRUE(decode_wave(bytes(find_ambient_resource(ResourceKind::wave, 600)), s));
    const Wave reference = read_wave(resource_dir() + "/ambient/600.wav");
    ASSERT_EQ(reference.channels, 2);
    EXPECT_EQ(s.rate, 44100);
    expect_same_samples(s, reference, "600");
}

TEST(WavePcm, RefusesWhatItCannotPlay) {
    const std::span<const std::uint8_t> cue = bytes(find_game_resource(ResourceKind::wave, 7850));
    std::vector<std::uint8_t> f(cue.begin(), cue.end());
    PcmSound s;

    std::vector<std::uint8_t> floats = f;
    floats[20] = 3;  // IEEE float samples
    EXPECT_FALSE(decode_wave(floats, s));
    EXPECT_TRUE(s.samples.empty());

    std::vector<std::uint8_t> cut(f.begin(), f.end() - 8);
    EXPECT_FALSE(decode_wave(cut, s)) << "data chunk longer than the file";

    std::vector<std::uint8_t> wide = f;
    wide[34] = 24;
    EXPECT_FALSE(decode_wave(wide, s));

    std::vector<std::uint8_t> headless(f.begin(), f.begin() + 12);
    EXPECT_FALSE(decode_wave(headless, s)) << "no fmt and no data";
}

}  // namespace
