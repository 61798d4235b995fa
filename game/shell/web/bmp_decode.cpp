#include "game/shell/web/bmp_decode.h"

#include <cstddef>

namespace {

std::uint32_t le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}

constexpr std::size_t FILE_HEADER = 14;
constexpr std::size_t INFO_HEADER = 40;

}  // namespace

bool decode_bmp(std::span<const std::uint8_t> file, Picture& out) {
    out = Picture{};
    if (file.size() < FILE_HEADER + INFO_HEADER || file[0] != 'B' || file[1] != 'M') return false;
    const std::size_t pixels_at = le32(file, 10);
    const std::size_t info_size = le32(file, 14);
    const auto width = static_cast<std::int32_t>(le32(file, 18));
    const auto height = static_cast<std::int32_t>(le32(file, 22));
    const std::uint32_t bits = le16(file, 28);
    const std::uint32_t compression = le32(file, 30);
    std::size_t colours = le32(file, 46);
    if (info_size < INFO_HEADER || compression != 0 || (bits != 24 && bits != 8)) return false;
    if (width <= 0 || height == 0 || width > 16384 || height > 16384 || height < -16384) return false;

    const bool top_down = height < 0;
    const int rows = top_down ? -height : height;
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    if (pixels_at > file.size() || file.size() - pixels_at < stride * static_cast<std::size_t>(rows)) return false;

    std::span<const std::uint8_t> palette;
    if (bits == 8) {
        if (colours == 0 || colours > 256) colours = 256;
        const std::size_t palette_at = FILE_HEADER + info_size;
        if (palette_at + colours * 4 > pixels_at) return false;
        palette = file.subspan(palette_at, colours * 4);
    }

    out.width = width;
    out.height = rows;
    out.rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows) * 4);
    for (int y = 0; y < rows; ++y) {
        const int source_row = top_down ? y : rows - 1 - y;
        const std::uint8_t* src = file.data() + pixels_at + stride * static_cast<std::size_t>(source_row);
        std::uint8_t* dst = out.rgba.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4;
        for (int x = 0; x < width; ++x, dst += 4) {
            const std::uint8_t* bgr = nullptr;
            if (bits == 24) {
                bgr = src + 3 * x;
            } else if (const std::size_t index = src[x]; index < colours) {
                bgr = palette.data() + index * 4;
            }  // an index past the palette shows black; the painter writes none
            dst[0] = bgr ? bgr[2] : 0;
            dst[1] = bgr ? bgr[1] : 0;
            dst[2] = bgr ? bgr[0] : 0;
            dst[3] = 255;
        }
    }
    return true;
}
