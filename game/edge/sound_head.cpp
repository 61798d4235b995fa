#include "game/edge/sound_head.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#include "game/edge/little_endian.h"

namespace {

// Every MP3 decoder's synthesis filter delays its output by this much,
// on top of the encoder's delay that the LAME tag records.
constexpr long DECODER_DELAY = 529;

std::uint32_t be32(std::span<const std::uint8_t> b, std::size_t at) {
    if (!fits(b, at, 4)) return 0;
    return static_cast<std::uint32_t>(b[at]) << 24 | static_cast<std::uint32_t>(b[at + 1]) << 16 |
           static_cast<std::uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

bool tag_at(std::span<const std::uint8_t> b, std::size_t at, const char* tag) {
    const std::size_t n = std::strlen(tag);
    return fits(b, at, n) && std::memcmp(b.data() + at, tag, n) == 0;
}

SoundHead ogg_head(std::span<const std::uint8_t> file) {
    // The first page's header, its segment table, then the identification
    // packet: type 1, "vorbis", version, channels, rate.
    SoundHead head;
    const std::size_t packet = fits(file, 26, 1) ? 27u + file[26] : 0;
    if (!packet || !tag_at(file, packet, "\x01vorbis") || !fits(file, packet + 16, 1)) return head;
    head.format = SoundFormat::ogg_vorbis;
    head.rate = static_cast<int>(le32(file, packet + 12));
    return head;
}

// An ID3v2 tag's length, header and footer included (its size is written
// seven bits a byte).
std::size_t id3_length(std::span<const std::uint8_t> file) {
    if (!tag_at(file, 0, "ID3") || !fits(file, 0, 10)) return 0;
    std::size_t size = 0;
    for (std::size_t i = 6; i < 10; ++i) size = size << 7 | (file[i] & 0x7Fu);
    return 10 + size + ((file[5] & 0x10) ? 10 : 0);
}

SoundHead mp3_head(std::span<const std::uint8_t> file, std::size_t at) {
    SoundHead head;
    const std::uint32_t h = be32(file, at);
    const std::uint32_t version = h >> 19 & 3;  // 0 MPEG-2.5, 2 MPEG-2, 3 MPEG-1
    const std::uint32_t layer = h >> 17 & 3;    // 1 Layer III
    const std::uint32_t rate_index = h >> 10 & 3;
    if ((h >> 21) != 0x7FF || version == 1 || layer != 1 || rate_index == 3) return head;
    static constexpr std::array<std::array<int, 3>, 4> RATES = {{
        {11025, 12000, 8000},   // MPEG-2.5
        {0, 0, 0},              // reserved
        {22050, 24000, 16000},  // MPEG-2
        {44100, 48000, 32000},  // MPEG-1
    }};
    head.format = SoundFormat::mp3;
    head.rate = RATES[version][rate_index];

    // The tag stands where the first frame's audio would, after the
    // header, its CRC if it has one, and the side information.
    const bool mpeg1 = version == 3, mono = (h >> 6 & 3) == 3;
    const std::size_t side = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    std::size_t tag = at + 4 + ((h >> 16 & 1) ? 0 : 2) + side;
    if (!tag_at(file, tag, "Xing") && !tag_at(file, tag, "Info")) return head;
    const std::uint32_t flags = be32(file, tag + 4);
    if (!(flags & 1)) return head;  // no frame count
    const long frames = static_cast<long>(be32(file, tag + 8));
    std::size_t lame = tag + 12 + ((flags & 2) ? 4 : 0) + ((flags & 4) ? 100 : 0) + ((flags & 8) ? 4 : 0);
    // LAME's extension, which FFmpeg's encoders write too.
    if (!tag_at(file, lame, "LAME") && !tag_at(file, lame, "Lav")) return head;
    if (!fits(file, lame + 21, 3)) return head;
    const std::uint32_t delays = be32(file, lame + 20) & 0xFFFFFF;  // 12 bits each
    head.frames = frames;
    head.frame_samples = mpeg1 ? 1152 : 576;
    head.delay = static_cast<int>(delays >> 12);
    head.padding = static_cast<int>(delays & 0xFFF);
    return head;
}

}  // namespace

long SoundHead::painted() const {
    if (format != SoundFormat::mp3 || frame_samples == 0) return -1;
    const long n = frames * frame_samples - delay - padding;
    return n > 0 ? n : -1;
}

SoundHead read_sound_head(std::span<const std::uint8_t> file) {
    if (tag_at(file, 0, "OggS")) return ogg_head(file);
    const std::size_t at = id3_length(file);
    return fits(file, at, 4) ? mp3_head(file, at) : SoundHead{};
}

SampleSpan painted_span(const SoundHead& head, long decoded) {
    const long painted = head.painted();
    if (painted < 0 || decoded <= painted) return {0, std::max(decoded, 0L)};
    // Every frame as it decodes, the tag's own frame left out or decoded as
    // silence ahead of the others. LAME pads by at least the decoder's
    // delay, so the painted samples all come before the end; another
    // encoder's may be cut short there.
    long skip = DECODER_DELAY + head.delay;
    const long every_frame = head.frames * head.frame_samples;
    if (decoded == every_frame + head.frame_samples) skip += head.frame_samples;
    if (decoded == every_frame || decoded == every_frame + head.frame_samples)
        return {skip, std::max(0L, std::min(painted, decoded - skip))};
    // The delay taken off and the end padded, as most decoders pad.
    return {0, painted};
}
