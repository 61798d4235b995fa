#include "game/edge/bmp_decode.h"

#include <cstddef>

#include "game/edge/little_endian.h"

namespace {

constexpr std::size_t FILE_HEADER = 14;
constexpr std::size_t INFO_HEADER = 40;
constexpr std::int32_t MAX_SIDE = 16384;

}  // namespace

bool decode_bmp(std::span<const std::uint8_t> file, Picture& out) {
    out = Picture{};
    if (!fits(file, 0, FILE_HEADER + INFO_HEADER) || file[0] != 'B' || file[1] != 'M') return false;
    const std::size_t pixels_at = le32(file, 10);
    const std::size_t info_size = le32(file, 14);
    const auto width = static_cast<std::int32_t>(le32(file, 18));
    const auto height = static_cast<std::int32_t>(le32(file, 22));
    const std::uint32_t bits = le16(file, 28);
    const std::uint32_t compression = le32(file, 30);
    std::size_t colours = le32(file, 46);
    if (info_size < INFO_HEADER || !fits(file, FILE_HEADER, info_size)) return false;
    if (compression != 0 || (bits != 24 && bits != 8)) return false;
    if (width <= 0 || width > MAX_SIDE || height == 0 || height > MAX_SIDE || height < -MAX_SIDE) return false;

    const bool top_down = height < 0;
    const int rows = top_down ? -height : height;
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    if (bits == 8 && (colours == 0 || colours > 256)) colours = 256;
    if (bits == 24) colours = 0;
    const std::size_t palette_at = FILE_HEADER + info_size;
    if (pixels_at < palette_at + colours * 4 || !fits(file, pixels_at, stride * static_cast<std::size_t>(rows)))
        return false;
    const std::span<const std::uint8_t> palette = file.subspan(palette_at, colours * 4);

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
