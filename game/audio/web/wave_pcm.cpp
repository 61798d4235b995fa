#include "game/audio/web/wave_pcm.h"

#include <cstddef>
#include <cstring>

namespace {

std::uint32_t le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}

bool tag_is(std::span<const std::uint8_t> b, std::size_t at, const char* tag) {
    return std::memcmp(b.data() + at, tag, 4) == 0;
}

constexpr std::uint32_t FORMAT_PCM = 1;

}  // namespace

bool decode_wave(std::span<const std::uint8_t> file, PcmSound& out) {
    out = PcmSound{};
    if (file.size() < 12 || !tag_is(file, 0, "RIFF") || !tag_is(file, 8, "WAVE")) return false;

    std::uint32_t format = 0, channels = 0, rate = 0, bits = 0;
    std::span<const std::uint8_t> data;
    bool have_format = false, have_data = false;
    // Chunks are padded to an even length.
    for (std::size_t at = 12; at + 8 <= file.size();) {
        const std::size_t size = le32(file, at + 4);
        const std::size_t body = at + 8;
        if (size > file.size() - body) return false;
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
    if (!have_format || !have_data || format != FORMAT_PCM || channels == 0 || rate == 0) return false;
    if (bits != 8 && bits != 16) return false;

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
