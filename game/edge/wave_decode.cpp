#include "game/edge/wave_decode.h"

#include <cstddef>
#include <cstring>

#include "game/edge/little_endian.h"

namespace {

// Callers make sure the four bytes are there.
bool tag_is(std::span<const std::uint8_t> b, std::size_t at, const char* tag) {
    return std::memcmp(b.data() + at, tag, 4) == 0;
}

constexpr std::uint32_t FORMAT_PCM = 1;
// No sound of ours comes near it; a larger rate is a damaged header, and
// would not even fit the int a backend is handed.
constexpr std::uint32_t MAX_RATE = 768000;

}  // namespace

bool decode_wave(std::span<const std::uint8_t> file, PcmSound& out) {
    out = PcmSound{};
    if (!fits(file, 0, 12) || !tag_is(file, 0, "RIFF") || !tag_is(file, 8, "WAVE")) return false;

    std::uint32_t format = 0, channels = 0, rate = 0, bits = 0;
    std::span<const std::uint8_t> data;
    bool have_format = false, have_data = false;
    // Chunks are padded to an even length; the last one's pad may be missing.
    for (std::size_t at = 12; fits(file, at, 8);) {
        const std::size_t size = le32(file, at + 4);
        const std::size_t body = at + 8;
        if (!fits(file, body, size)) return false;
        if (tag_is(file, at, "fmt ") && size >= 16) {
            format = le16(file, body);
            channels = le16(file, body + 2);
            rate = le32(file, body + 4);
            bits = le16(file, body + 14);
            have_format = true;
        } else if (tag_is(file, at, "data")) {
            data = file.subspan(body, size);
            have_data = true;
        }
        at = body + size + (size & 1);
    }
    if (!have_format || !have_data || format != FORMAT_PCM || channels == 0) return false;
    if (rate == 0 || rate > MAX_RATE || (bits != 8 && bits != 16)) return false;

    const std::size_t frame = channels * bits / 8;
    const std::size_t frames = data.size() / frame;
    out.rate = static_cast<int>(rate);
    out.samples.resize(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        float sum = 0;
        for (std::size_t c = 0; c < channels; ++c) {
            const std::size_t at = i * frame + c * bits / 8;
            if (bits == 8)
                sum += (static_cast<float>(data[at]) - 128.0f) / 128.0f;
            else
                sum += static_cast<float>(static_cast<std::int16_t>(le16(data, at))) / 32768.0f;
        }
        out.samples[i] = sum / static_cast<float>(channels);
    }
    return true;
}
