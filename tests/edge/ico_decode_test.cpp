// The ICO decoder against the painted icons and against icons made here,
// damaged or not.

#include "game/edge/ico_decode.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "resources/embedded.h"
#include "tests/edge/byte_writer.h"
#include "tests/resources/resource_reader.h"

namespace {

struct IconImage {
    int width, height, bits;
    Bytes palette;  // 4 bytes a colour
    std::uint32_t colours;
    Bytes colour_rows, mask_rows;  // bottom-up, as stored
};

Bytes image_bytes(const IconImage& i) {
    Bytes b;
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(i.width));
    put32(b, static_cast<std::uint32_t>(2 * i.height));
    put16(b, 1);
    put16(b, static_cast<std::uint32_t>(i.bits));
    put32(b, 0);  // uncompressed
    put32(b, static_cast<std::uint32_t>(i.colour_rows.size() + i.mask_rows.size()));
    put32(b, 0);
    put32(b, 0);
    put32(b, i.colours);
    put32(b, 0);
    put_bytes(b, i.palette);
    put_bytes(b, i.colour_rows);
    put_bytes(b, i.mask_rows);
    return b;
}

// An icon file: the directory, then the images in its order.
Bytes ico_file(const std::vector<IconImage>& images) {
    Bytes f;
    put16(f, 0);
    put16(f, 1);  // an icon, not a cursor
    put16(f, static_cast<std::uint32_t>(images.size()));
    Bytes all;
    auto at = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const IconImage& i : images) {
        const Bytes b = image_bytes(i);
        f.push_back(static_cast<std::uint8_t>(i.width));
        f.push_back(static_cast<std::uint8_t>(i.height));
        f.push_back(static_cast<std::uint8_t>(i.colours));
        f.push_back(0);
        put16(f, 1);
        put16(f, static_cast<std::uint32_t>(i.bits));
        put32(f, static_cast<std::uint32_t>(b.size()));
        put32(f, at);
        at += static_cast<std::uint32_t>(b.size());
        put_bytes(all, b);
    }
    put_bytes(f, all);
    return f;
}

// 3 x 2, 4 bits a pixel, three colours (red, green, blue). Top row: red,
// green and index 5, past the palette; bottom row: blue, red, and green
// masked out. Rows are 4 bytes, mask rows too.
const IconImage FOUR_BIT = {3, 2, 4, {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0}, 3,
                            {0x20, 0x10, 0, 0, 0x01, 0x50, 0, 0},
                            {0x20, 0, 0, 0, 0x00, 0, 0, 0}};
const std::vector<std::uint32_t> FOUR_BIT_ARGB = {0xFFFF0000, 0xFF00FF00, 0xFF000000,
                                                  0xFF0000FF, 0xFFFF0000, 0x0000FF00};

// 2 x 2, 32 bits a pixel (BGRA), straight alpha; every mask bit set, which
// the alpha overrules.
const IconImage THIRTY_TWO_BIT = {2, 2, 32, {}, 0,
                                  {0x30, 0x20, 0x10, 0xFF, 0x00, 0x00, 0x00, 0x00,    // bottom row
                                   0x03, 0x02, 0x01, 0x80, 0xFF, 0xFF, 0xFF, 0x01},  // top row
                                  {0xC0, 0, 0, 0, 0xC0, 0, 0, 0}};
const std::vector<std::uint32_t> THIRTY_TWO_BIT_ARGB = {0x80010203, 0x01FFFFFF, 0xFF102030, 0x00000000};

TEST(IcoDecode, FourBitsWithPaletteAndMask) {
    IconPixels icon;
    ASSERT_TRUE(decode_ico(ico_file({FOUR_BIT}), icon));
    EXPECT_EQ(icon.width, 3);
    EXPECT_EQ(icon.height, 2);
    EXPECT_EQ(icon.argb, FOUR_BIT_ARGB);
}

TEST(IcoDecode, ThirtyTwoBitsWhoseAlphaDecides) {
    IconPixels icon;
    ASSERT_TRUE(decode_ico(ico_file({THIRTY_TWO_BIT}), icon));
    EXPECT_EQ(icon.width, 2);
    EXPECT_EQ(icon.argb, THIRTY_TWO_BIT_ARGB);
}

TEST(IcoDecode, TheFirstImageOfTheDirectoryIsTaken) {
    IconPixels icon;
    ASSERT_TRUE(decode_ico(ico_file({FOUR_BIT, THIRTY_TWO_BIT}), icon));
    EXPECT_EQ(icon.argb, FOUR_BIT_ARGB);
    ASSERT_TRUE(decode_ico(ico_file({THIRTY_TWO_BIT, FOUR_BIT}), icon));
    EXPECT_EQ(icon.argb, THIRTY_TWO_BIT_ARGB);
}

TEST(IcoDecode, ADirectoryPointingPastTheEndIsRefused) {
    const Bytes whole = ico_file({FOUR_BIT});
    const auto size = static_cast<std::uint32_t>(whole.size());
    const std::uint32_t image = size - 22;
    const struct {
        std::uint32_t image_size, offset;
        const char* what;
    } cases[] = {
        {image, size, "the image starts at the end"},
        {image, 23, "the image runs a byte past the end"},
        {image + 1, 22, "the image's size runs a byte past the end"},
        {image, 0xFFFFFFF0, "the offset wraps around"},
        {0xFFFFFFFF, 22, "the size wraps around"},
        {0, 22, "an empty image"},
        {39, 22, "an image shorter than its header"},
    };
    for (const auto& c : cases) {
        Bytes f = whole;
        set32(f, 14, c.image_size);
        set32(f, 18, c.offset);
        IconPixels icon;
        EXPECT_FALSE(decode_ico(f, icon)) << c.what;
        EXPECT_TRUE(icon.argb.empty()) << c.what;
    }
}

TEST(IcoDecode, EveryFileCutShortIsRefused) {
    for (const IconImage& image : {FOUR_BIT, THIRTY_TWO_BIT}) {
        const Bytes whole = ico_file({image});
        IconPixels icon;
        ASSERT_TRUE(decode_ico(whole, icon));
        for (std::size_t n = 0; n < whole.size(); ++n) {
            Bytes cut = prefix(whole, n);
            EXPECT_FALSE(decode_ico(cut, icon)) << n << " of " << whole.size() << " bytes";
            // And with the directory's size made to agree with the cut.
            if (n >= 22) set32(cut, 14, static_cast<std::uint32_t>(n - 22));
            EXPECT_FALSE(decode_ico(cut, icon)) << n << " of " << whole.size() << " bytes, told so";
        }
    }
}

TEST(IcoDecode, WhatItCannotShowIsRefused) {
    // Fields of the file (the directory at 0, the image header at 22).
    const struct {
        std::size_t at;
        std::uint32_t value;
        const char* what;
    } cases[] = {
        {0, 1, "a reserved field that is not 0"},
        {2, 2, "a cursor"},
        {4, 0, "no image"},
        {22, 12, "the old short header"},
        {22, 0x474E5089, "a PNG image"},
        {22, 0xFFFFFFFF, "a header longer than the image"},
        {26, 0, "no width"},
        {26, 257, "wider than 256"},
        {26, 0xFFFFFFFF, "a width of -1"},
        {30, 0, "no height"},
        {30, 1, "half a row"},
        {30, 514, "taller than 256"},
        {30, 0xFFFFFFFC, "a negative height"},
        {36, 8, "8 bits a pixel"},
        {36, 1, "1 bit a pixel"},
        {36, 24, "24 bits a pixel"},
        {38, 1, "run-length packed"},
        {54, 17, "more than 16 colours"},
        {54, 0xFFFFFFFF, "a palette count that wraps around"},
    };
    for (const auto& c : cases) {
        Bytes f = ico_file({FOUR_BIT});
        if (c.at == 0 || c.at == 2 || c.at == 4 || c.at == 36)
            set16(f, c.at, c.value);
        else
            set32(f, c.at, c.value);
        IconPixels icon;
        EXPECT_FALSE(decode_ico(f, icon)) << c.what;
        EXPECT_EQ(icon.width, 0) << c.what;
    }
    // A 4-bit image with 17 colours, all of them in the file.
    IconImage seventeen = FOUR_BIT;
    seventeen.palette.resize(17 * 4, 0x40);
    seventeen.colours = 17;
    IconPixels icon;
    EXPECT_FALSE(decode_ico(ico_file({seventeen}), icon));
}

TEST(IcoDecode, TheCrossHairIsBlackOnClear) {
    const EmbeddedResource* r = find_game_resource(ResourceKind::icon, 32);
    IconPixels icon;
    ASSERT_TRUE(r && decode_ico({r->data, r->size}, icon));
    ASSERT_EQ(icon.argb.size(), 32u * 32);
    for (std::uint32_t p : icon.argb) ASSERT_TRUE(p == 0xFF000000 || p >> 24 == 0) << std::hex << p;
    EXPECT_EQ(icon.argb[16 * 32 + 16], 0xFF000000u) << "where the lines cross";
    EXPECT_EQ(icon.argb[2 * 32 + 2] >> 24, 0u) << "outside the ring";
}

TEST(IcoDecode, TheWindowIconIsTheDesktopIconAtSixtyFour) {
    const Bytes ico = read_bytes(resource_dir() + "/icons/window.ico");
    const Png png = read_png(resource_dir() + "/icons/hicolor/64x64/apps/plinkfield.png");
    IconPixels icon;
    ASSERT_TRUE(decode_ico(ico, icon));
    ASSERT_EQ(icon.width, png.width);
    ASSERT_EQ(icon.height, png.height);
    int wrong = 0;
    for (int y = 0; y < icon.height; ++y)
        for (int x = 0; x < icon.width; ++x) {
            const std::uint32_t p = icon.argb[static_cast<std::size_t>(y * icon.width + x)];
            const int alpha = static_cast<int>(p >> 24);
            wrong += alpha != png.at(x, y, 3);
            if (alpha == 0) continue;
            for (int c = 0; c < 3; ++c)
                wrong += std::abs(static_cast<int>((p >> (16 - 8 * c)) & 0xFF) - png.at(x, y, c)) > 1;
        }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
