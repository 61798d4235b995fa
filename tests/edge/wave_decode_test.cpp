// The WAVE decoder against the painted files, read by the tests' own reader
// (every cue, the meadow loop and the one stereo file), and against damaged
// files made here.

#include "game/edge/wave_decode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game/model/cues.h"
#include "resources/embedded.h"
#include "tests/edge/byte_writer.h"
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

TEST(WaveDecode, EveryCueAtItsRateAndLength) {
    for (const CueRow& c : CUE_TABLE) {
        PcmSound s;
        ASSERT_TRUE(decode_wave(bytes(find_game_resource(ResourceKind::wave, c.wave_id)), s)) << c.wave_id;
        EXPECT_EQ(s.rate, c.sample_rate) << c.wave_id;
        EXPECT_NEAR(static_cast<double>(s.samples.size()) * 100 / s.rate, c.hundredths, 1.0) << c.wave_id;
        expect_same_samples(s, read_wave(resource_dir() + "/game/" + std::to_string(c.wave_id) + ".wav"),
                            c.name);
    }
}

TEST(WaveDecode, TheMeadowLoopIsWhole) {
    PcmSound s;
    ASSERT_TRUE(decode_wave(bytes(find_ambient_resource(ResourceKind::wave, 300)), s));
    EXPECT_EQ(s.rate, 11025);
    EXPECT_EQ(s.samples.size(), 50171u) << "one sample a byte: a loop cut short would click";
    expect_same_samples(s, read_wave(resource_dir() + "/ambient/300.wav"), "300");
}

TEST(WaveDecode, TwoChannelsAreMixedToOne) {
    PcmSound s;
    ASSERT_TRUE(decode_wave(bytes(find_ambient_resource(ResourceKind::wave, 600)), s));
    const Wave reference = read_wave(resource_dir() + "/ambient/600.wav");
    ASSERT_EQ(reference.channels, 2);
    EXPECT_EQ(s.rate, 44100);
    expect_same_samples(s, reference, "600");
}

TEST(WaveDecode, RefusesWhatItCannotPlay) {
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

struct Chunk {
    const char* tag;
    Bytes body;
    bool pad = true;  // the pad byte after an odd body
};

Bytes riff(const std::vector<Chunk>& chunks, const char* form = "WAVE") {
    Bytes f;
    put_tag(f, "RIFF");
    put32(f, 0);
    put_tag(f, form);
    for (const Chunk& c : chunks) {
        put_tag(f, c.tag);
        put32(f, static_cast<std::uint32_t>(c.body.size()));
        put_bytes(f, c.body);
        if (c.pad && c.body.size() % 2) f.push_back(0);
    }
    set32(f, 4, static_cast<std::uint32_t>(f.size() - 8));
    return f;
}

Chunk fmt(std::uint32_t format, std::uint32_t channels, std::uint32_t rate, std::uint32_t bits) {
    Bytes b;
    put16(b, format);
    put16(b, channels);
    put32(b, rate);
    put32(b, rate * channels * bits / 8);
    put16(b, channels * bits / 8);
    put16(b, bits);
    return {"fmt ", b};
}

// Two 16-bit samples, a half up and a half down.
const Chunk HALVES = {"data", {0x00, 0x40, 0x00, 0xC0}};

TEST(WaveDecode, AnOddChunkBeforeTheDataKeepsItsPadByte) {
    PcmSound s;
    ASSERT_TRUE(decode_wave(riff({fmt(1, 1, 8000, 16), {"LIST", {'a', 'b', 'c'}}, HALVES}), s));
    EXPECT_EQ(s.rate, 8000);
    EXPECT_EQ(s.samples, (std::vector<float>{0.5f, -0.5f}));
}

TEST(WaveDecode, AnOddDataChunkIsReadToItsLastByte) {
    const Chunk odd = {"data", {128, 192, 0}};  // 8-bit: silence, a half up, all the way down
    const std::vector<float> expected = {0.0f, 0.5f, -1.0f};
    PcmSound s;
    ASSERT_TRUE(decode_wave(riff({fmt(1, 1, 11025, 8), odd, {"note", {1, 2}}}), s));
    EXPECT_EQ(s.samples, expected) << "padded, a chunk after it";
    Chunk last = odd;
    last.pad = false;
    ASSERT_TRUE(decode_wave(riff({fmt(1, 1, 11025, 8), last}), s));
    EXPECT_EQ(s.samples, expected) << "last in the file, its pad byte left out";
}

TEST(WaveDecode, ChunksComeInAnyOrderAndAPartFrameIsDropped) {
    PcmSound s;
    // Stereo, 16-bit: one whole frame (a half up, a half down) and half of
    // the next.
    ASSERT_TRUE(decode_wave(riff({{"data", {0x00, 0x40, 0x00, 0xC0, 0xFF, 0x7F}}, fmt(1, 2, 22050, 16)}), s));
    EXPECT_EQ(s.rate, 22050);
    EXPECT_EQ(s.samples, (std::vector<float>{0.0f}));
}

TEST(WaveDecode, AChunkClaimingMoreThanTheFileHoldsIsRefused) {
    const Bytes whole = riff({fmt(1, 1, 8000, 16), HALVES});
    const std::size_t data_size_at = whole.size() - HALVES.body.size() - 4;
    for (std::uint32_t claim : {5u, 6u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        Bytes f = whole;
        set32(f, data_size_at, claim);
        PcmSound s;
        EXPECT_FALSE(decode_wave(f, s)) << claim;
        EXPECT_TRUE(s.samples.empty());
    }
    // After whole data, too: the file is damaged.
    Bytes f = riff({fmt(1, 1, 8000, 16), HALVES, {"note", {1, 2}}});
    set32(f, f.size() - 6, 3);
    PcmSound s;
    EXPECT_FALSE(decode_wave(f, s));
}

TEST(WaveDecode, EveryFileCutShortIsRefused) {
    const Bytes whole = riff({fmt(1, 2, 8000, 8), {"LIST", {'a'}}, {"data", {1, 2, 3, 4}}});
    PcmSound s;
    ASSERT_TRUE(decode_wave(whole, s));
    for (std::size_t n = 0; n < whole.size(); ++n) {
        EXPECT_FALSE(decode_wave(prefix(whole, n), s)) << n << " of " << whole.size() << " bytes";
        EXPECT_TRUE(s.samples.empty());
    }
}

TEST(WaveDecode, UnsupportedFormatsAreRefused) {
    const struct {
        Bytes file;
        const char* what;
    } cases[] = {
        {riff({fmt(0xFFFE, 1, 8000, 16), HALVES}), "the extensible format"},
        {riff({fmt(2, 1, 8000, 4), HALVES}), "ADPCM"},
        {riff({fmt(1, 1, 8000, 32), HALVES}), "32 bits"},
        {riff({fmt(1, 1, 8000, 0), HALVES}), "no bits"},
        {riff({fmt(1, 0, 8000, 16), HALVES}), "no channels"},
        {riff({fmt(1, 1, 0, 16), HALVES}), "no rate"},
        {riff({fmt(1, 1, 768001, 16), HALVES}), "a rate past 768 kHz"},
        {riff({fmt(1, 1, 0xFFFFFFFF, 16), HALVES}), "a rate that is no int"},
        {riff({{"fmt ", {1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0, 0, 0, 0, 0, 0}}, HALVES}), "a fmt chunk cut to 14 bytes"},
        {riff({fmt(1, 1, 8000, 16)}), "no data"},
        {riff({HALVES}), "no fmt"},
        {riff({fmt(1, 1, 8000, 16), HALVES}, "AVI "), "not a WAVE"},
    };
    for (const auto& c : cases) {
        PcmSound s;
        EXPECT_FALSE(decode_wave(c.file, s)) << c.what;
        EXPECT_EQ(s.rate, 0) << c.what;
    }
    PcmSound s;
    EXPECT_TRUE(decode_wave(riff({fmt(1, 1, 768000, 16), HALVES}), s)) << "the highest rate taken";
}

}  // namespace
