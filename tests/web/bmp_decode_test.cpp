// The page's BMP decoder against the painted files, read by the tests' own
// reader: every catalogue picture, the palette splat included.

#include "game/shell/web/bmp_decode.h"

#include <gtest/gtest.h>

#include "game/model/bitmaps.h"
#include "resources/embedded.h"
#include "tests/resources/resource_reader.h"

namespace {

std::span<const std::uint8_t> file_of(int id) {
    const EmbeddedResource* r = find_game_resource(ResourceKind::bitmap, id);
    return r ? std::span<const std::uint8_t>(r->data, r->size) : std::span<const std::uint8_t>();
}

TEST(BmpDecode, EveryCataloguePictureComesOutAsTheFileHoldsIt) {
    for (const BitmapInfo& b : BITMAP_CATALOGUE) {
        Picture p;
        ASSERT_TRUE(decode_bmp(file_of(b.id), p)) << b.id;
        ASSERT_EQ(p.width, b.width) << b.id;
        ASSERT_EQ(p.height, b.height) << b.id;
        const Bitmap reference = read_bitmap(resource_dir() + "/game/" + std::to_string(b.id) + ".bmp");
        int wrong = 0;
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x) {
                const std::uint8_t* px = &p.rgba[static_cast<std::size_t>((y * b.width + x) * 4)];
                for (int c = 0; c < 3; ++c) wrong += px[c] != reference.at(x, y, c);
                wrong += px[3] != 255;
            }
        EXPECT_EQ(wrong, 0) << b.id << " (" << b.bits << "-bit)";
    }
}

// A 2 x 2 picture, 24-bit: red, green on the top row; blue, white below.
std::vector<std::uint8_t> tiny_bmp(bool top_down) {
    std::vector<std::uint8_t> f(54 + 16, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, static_cast<std::uint32_t>(f.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, 2);
    put32(22, top_down ? static_cast<std::uint32_t>(-2) : 2u);
    f[26] = 1;
    f[28] = 24;
    const std::uint8_t top[8] = {0, 0, 255, 0, 255, 0, 0, 0};         // BGR red, green, pad
    const std::uint8_t bottom[8] = {255, 0, 0, 255, 255, 255, 0, 0};  // blue, white, pad
    std::copy(top, top + 8, f.begin() + (top_down ? 54 : 62));
    std::copy(bottom, bottom + 8, f.begin() + (top_down ? 62 : 54));
    return f;
}

TEST(BmpDecode, RowsComeOutTopFirstWhicheverWayTheyAreStored) {
    for (bool top_down : {false, true}) {
        Picture p;
        ASSERT_TRUE(decode_bmp(tiny_bmp(top_down), p));
        const std::vector<std::uint8_t> expected = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
        EXPECT_EQ(p.rgba, expected) << (top_down ? "top-down" : "bottom-up");
    }
}

TEST(BmpDecode, RefusesWhatItCannotShow) {
    const std::span<const std::uint8_t> scene = file_of(100);
    std::vector<std::uint8_t> f(scene.begin(), scene.end());
    Picture p;

    std::vector<std::uint8_t> cut(f.begin(), f.end() - 1);
    EXPECT_FALSE(decode_bmp(cut, p)) << "pixels cut short";
    EXPECT_TRUE(p.rgba.empty());

    std::vector<std::uint8_t> packed = f;
    packed[30] = 1;  // run-length packed
    EXPECT_FALSE(decode_bmp(packed, p));

    std::vector<std::uint8_t> deep = f;
    deep[28] = 32;
    EXPECT_FALSE(decode_bmp(deep, p));

    std::vector<std::uint8_t> other = f;
    other[0] = 'P';
    EXPECT_FALSE(decode_bmp(other, p));

    EXPECT_FALSE(decode_bmp({}, p));
}

}  // namespace
