// An ICO file is a directory of images; each image is a BMP without its
// file header, twice as high as the picture: the colour rows, then a
// one-bit mask where 1 is see-through, both stored bottom-up.
#include "game/edge/ico_decode.h"

#include <cstddef>

#include "game/edge/little_endian.h"

namespace {

constexpr std::size_t DIRECTORY = 6;
constexpr std::size_t ENTRY = 16;
constexpr std::size_t INFO_HEADER = 40;
constexpr int MAX_SIDE = 256;

std::size_t row_bytes(int width, std::uint32_t bits) {
    return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
}

}  // namespace

bool decode_ico(std::span<const std::uint8_t> file, IconPixels& out) {
    out = IconPixels{};
    if (!fits(file, 0, DIRECTORY + ENTRY) || le16(file, 0) != 0 || le16(file, 2) != 1 || le16(file, 4) < 1)
        return false;
    const std::size_t image_size = le32(file, DIRECTORY + 8);
    const std::size_t image_at = le32(file, DIRECTORY + 12);
    if (!fits(file, image_at, image_size)) return false;
    const std::span<const std::uint8_t> image = file.subspan(image_at, image_size);

    const std::size_t info_size = le32(image, 0);
    const auto width = static_cast<std::int32_t>(le32(image, 4));
    const auto height = static_cast<std::int32_t>(le32(image, 8)) / 2;
    const std::uint32_t bits = le16(image, 14);
    const std::uint32_t compression = le32(image, 16);
    if (info_size < INFO_HEADER || !fits(image, 0, info_size) || compression != 0) return false;
    if (width <= 0 || width > MAX_SIDE || height <= 0 || height > MAX_SIDE || (bits != 4 && bits != 32))
        return false;
    std::size_t colours = 0;
    if (bits == 4) colours = le32(image, 32) ? le32(image, 32) : 16;
    if (colours > 16) return false;

    const std::size_t pixels_at = info_size + 4 * colours;
    const std::size_t colour_row = row_bytes(width, bits);
    const std::size_t mask_row = row_bytes(width, 1);
    const auto rows = static_cast<std::size_t>(height);
    if (!fits(image, pixels_at, (colour_row + mask_row) * rows)) return false;
    const std::span<const std::uint8_t> palette = image.subspan(info_size, 4 * colours);
    const std::span<const std::uint8_t> pixels = image.subspan(pixels_at, colour_row * rows);
    const std::span<const std::uint8_t> mask = image.subspan(pixels_at + colour_row * rows, mask_row * rows);

    out.width = width;
    out.height = height;
    out.argb.resize(static_cast<std::size_t>(width) * rows);
    for (std::size_t y = 0; y < rows; ++y) {
        const std::size_t row = rows - 1 - y;
        std::uint32_t* dst = out.argb.data() + y * static_cast<std::size_t>(width);
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
            if (bits == 32) {
                dst[x] = le32(pixels, row * colour_row + 4 * x);
                continue;
            }
            const std::uint8_t byte = pixels[row * colour_row + x / 2];
            const std::size_t index = x % 2 == 0 ? byte >> 4 : byte & 0x0F;
            const bool clear = (mask[row * mask_row + x / 8] >> (7 - x % 8)) & 1;
            std::uint32_t rgb = 0;  // an index past the palette shows black
            if (index < colours) rgb = le32(palette, 4 * index) & 0xFFFFFF;
            dst[x] = (clear ? 0u : 0xFF000000u) | rgb;
        }
    }
    return true;
}
