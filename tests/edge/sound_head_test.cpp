// The sound head reader against heads made here as LAME and oggenc write
// them (the page suite decodes the real files in the browser), and the
// painted samples' place in every length a decoder is known to give back.

#include "game/edge/sound_head.h"

#include <gtest/gtest.h>

#include "tests/edge/byte_writer.h"

namespace {

void put_be32(Bytes& b, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(v >> shift));
}

struct Mp3 {
    int version = 2;     // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int rate_index = 0;  // the rate's column in its version's row
    bool mono = true;
    bool crc = false;
    std::uint32_t flags = 0xF;  // frames, bytes, table of contents, quality
    const char* encoder = "LAME3.100";
    long frames = 90;
    int delay = 576;
    int padding = 1093;
};

// The first frame of a file: its header, the side information, and the
// tag where the audio would be.
Bytes mp3_file(const Mp3& m) {
    Bytes b;
    put_be32(b, 0x7FFu << 21 | static_cast<std::uint32_t>(m.version) << 19 | 1u << 17 | (m.crc ? 0u : 1u) << 16 |
                    5u << 12 | static_cast<std::uint32_t>(m.rate_index) << 10 | (m.mono ? 3u : 0u) << 6);
    if (m.crc) put16(b, 0xBEEF);
    const int side = m.version == 3 ? (m.mono ? 17 : 32) : (m.mono ? 9 : 17);
    b.insert(b.end(), static_cast<std::size_t>(side), 0);
    put_tag(b, "Info");
    put_be32(b, m.flags);
    if (m.flags & 1) put_be32(b, static_cast<std::uint32_t>(m.frames));
    if (m.flags & 2) put_be32(b, 12345);
    if (m.flags & 4) b.insert(b.end(), 100, 7);
    if (m.flags & 8) put_be32(b, 57);
    put_tag(b, m.encoder);
    b.insert(b.end(), 21 - 9, 0);  // revision, lowpass, peak, gains, flags, bitrate
    const std::uint32_t delays = static_cast<std::uint32_t>(m.delay) << 12 | static_cast<std::uint32_t>(m.padding);
    b.push_back(static_cast<std::uint8_t>(delays >> 16));
    b.push_back(static_cast<std::uint8_t>(delays >> 8));
    b.push_back(static_cast<std::uint8_t>(delays));
    b.insert(b.end(), 40, 0);
    return b;
}

// An Ogg page holding a Vorbis identification packet.
Bytes ogg_file(std::uint32_t rate) {
    Bytes b;
    put_tag(b, "OggS");
    b.push_back(0);  // version
    b.push_back(2);  // first page
    b.insert(b.end(), 8 + 4 + 4 + 4, 0);  // granule, serial, sequence, checksum
    b.push_back(1);   // one segment
    b.push_back(30);  // of 30 bytes
    put_tag(b, "\x01vorbis");
    put32(b, 0);  // version
    b.push_back(1);
    put32(b, rate);
    b.insert(b.end(), 30 - 16, 0);
    return b;
}

TEST(SoundHead, ReadsTheRateAndTheLameTagOfEveryMpegVersion) {
    struct Case {
        int version, rate_index;
        bool mono;
        int rate, frame_samples;
    };
    for (const Case& c : {Case{3, 0, false, 44100, 1152}, Case{3, 1, true, 48000, 1152}, Case{2, 0, true, 22050, 576},
                          Case{2, 2, false, 16000, 576}, Case{0, 0, true, 11025, 576}, Case{0, 2, true, 8000, 576}}) {
        Mp3 m;
        m.version = c.version;
        m.rate_index = c.rate_index;
        m.mono = c.mono;
        const SoundHead h = read_sound_head(mp3_file(m));
        EXPECT_EQ(h.format, SoundFormat::mp3) << c.rate;
        EXPECT_EQ(h.rate, c.rate);
        EXPECT_EQ(h.frame_samples, c.frame_samples) << c.rate;
        EXPECT_EQ(h.frames, 90) << c.rate;
        EXPECT_EQ(h.delay, 576) << c.rate;
        EXPECT_EQ(h.padding, 1093) << c.rate;
        EXPECT_EQ(h.painted(), 90L * c.frame_samples - 576 - 1093) << c.rate;
    }
}

TEST(SoundHead, FindsTheTagPastAnId3TagACrcAndWhateverFieldsItsFlagsName) {
    Mp3 m;
    m.crc = true;
    m.flags = 1;  // the frame count alone
    m.encoder = "Lavc60.31";
    Bytes file = {'I', 'D', '3', 4, 0, 0, 0, 0, 1, 2};  // 130 bytes of tag follow
    file.insert(file.end(), 130, 0);
    put_bytes(file, mp3_file(m));
    const SoundHead h = read_sound_head(file);
    EXPECT_EQ(h.rate, 22050);
    EXPECT_EQ(h.painted(), 90L * 576 - 576 - 1093);
}

TEST(SoundHead, WithoutATagThatCountsFramesAndNamesItsDelaysTheLengthIsUnknown) {
    Mp3 no_count;
    no_count.flags = 0xE;
    Mp3 no_lame;
    no_lame.encoder = "GOGO-3.13";
    for (const Mp3& m : {no_count, no_lame}) {
        const SoundHead h = read_sound_head(mp3_file(m));
        EXPECT_EQ(h.rate, 22050);
        EXPECT_EQ(h.painted(), -1);
    }
    Bytes plain = mp3_file(Mp3{});
    plain[4 + 9] = 'X';  // no "Info" where the audio starts: a frame of sound
    EXPECT_EQ(read_sound_head(plain).painted(), -1);
}

TEST(SoundHead, OggVorbisNamesItsRateAndEverythingElseIsUnknown) {
    const SoundHead ogg = read_sound_head(ogg_file(11025));
    EXPECT_EQ(ogg.format, SoundFormat::ogg_vorbis);
    EXPECT_EQ(ogg.rate, 11025);
    EXPECT_EQ(ogg.painted(), -1);

    Bytes wave;
    put_tag(wave, "RIFF....WAVEfmt ");
    Mp3 layer2;
    Bytes mp2 = mp3_file(layer2);
    mp2[1] = static_cast<std::uint8_t>(mp2[1] ^ 0x06);  // Layer II
    Mp3 reserved;
    reserved.rate_index = 3;
    for (const Bytes& b : {wave, mp2, mp3_file(reserved), Bytes{}}) {
        EXPECT_EQ(read_sound_head(b).format, SoundFormat::unknown);
        EXPECT_EQ(read_sound_head(b).rate, 0);
    }
}

TEST(SoundHead, AHeadCutShortNeverReadsPastItsEndNorClaimsALength) {
    // Under AddressSanitizer a read past the end fails here.
    const Bytes mp3 = mp3_file(Mp3{}), ogg = ogg_file(22050);
    for (std::size_t n = 0; n < mp3.size() - 40; ++n)
        EXPECT_EQ(read_sound_head(prefix(mp3, n)).painted(), -1) << n << " bytes";
    EXPECT_GT(read_sound_head(mp3).painted(), 0);
    for (std::size_t n = 0; n + 14 < ogg.size(); ++n) EXPECT_EQ(read_sound_head(prefix(ogg, n)).rate, 0) << n;
}

TEST(PaintedSpan, EveryLengthADecoderIsKnownToGiveBack) {
    // The meadow loop as LAME encodes it: 90 frames of 576 samples at
    // 11025 Hz, 576 of delay and 1093 of padding around 50171 painted.
    Mp3 meadow;
    meadow.version = 0;
    const SoundHead loop = read_sound_head(mp3_file(meadow));
    ASSERT_EQ(loop.painted(), 50171);
    struct Case {
        long decoded, start, length;
        const char* decoder;
    };
    for (const Case& c : {
             Case{50171, 0, 50171, "delay and padding taken off"},
             Case{90 * 576, 529 + 576, 50171, "every frame, the tag's left out"},
             Case{91 * 576, 576 + 529 + 576, 50171, "every frame, the tag's decoded as silence"},
             Case{50176, 0, 50171, "delay taken off, the end padded to a block"},
             Case{49607, 0, 49607, "the end cut short"},
             Case{0, 0, 0, "nothing"},
         }) {
        const SampleSpan s = painted_span(loop, c.decoded);
        EXPECT_EQ(s.start, c.start) << c.decoder;
        EXPECT_EQ(s.length, c.length) << c.decoder;
    }

    // No length in the head: the buffer as it is.
    const SampleSpan ogg = painted_span(read_sound_head(ogg_file(11025)), 50171);
    EXPECT_EQ(ogg.start, 0);
    EXPECT_EQ(ogg.length, 50171);
    // An encoder that padded less than the decoder's delay: what there is.
    Mp3 other;
    other.frames = 10;
    other.padding = 100;
    const SoundHead short_pad = read_sound_head(mp3_file(other));
    const SampleSpan cut = painted_span(short_pad, 10 * 576);
    EXPECT_EQ(cut.start, 529 + 576);
    EXPECT_EQ(cut.length, 10 * 576 - 529 - 576);
}

}  // namespace
