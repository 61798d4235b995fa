// The BMP decoder against the painted files, read by the tests' own reader
// (every catalogue picture, the palette splat included), and against
// damaged files made here.

#include "game/edge/bmp_decode.h"

#include <gtest/gtest.h>

#include "game/model/bitmaps.h"
#include "resources/embedded.h"
#include "tests/edge/byte_writer.h"
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
    f[0] = 'B';
    f[1] = 'M';
    set32(f, 2, static_cast<std::uint32_t>(f.size()));
    set32(f, 10, 54);
    set32(f, 14, 40);
    set32(f, 18, 2);
    set32(f, 22, top_down ? static_cast<std::uint32_t>(-2) : 2u);
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

// A BMP file: the headers, `palette` (4 bytes a colour, `colours` of them
// by the header's count), then the rows as stored.
Bytes bmp_file(int width, int height, int bits, const Bytes& palette, std::uint32_t colours, const Bytes& rows) {
    const auto pixels_at = static_cast<std::uint32_t>(54 + palette.size());
    Bytes f;
    put_tag(f, "BM");
    put32(f, pixels_at + static_cast<std::uint32_t>(rows.size()));
    put32(f, 0);
    put32(f, pixels_at);
    put32(f, 40);
    put32(f, static_cast<std::uint32_t>(width));
    put32(f, static_cast<std::uint32_t>(height));
    put16(f, 1);
    put16(f, static_cast<std::uint32_t>(bits));
    put32(f, 0);  // uncompressed
    put32(f, static_cast<std::uint32_t>(rows.size()));
    put32(f, 2835);
    put32(f, 2835);
    put32(f, colours);
    put32(f, 0);
    put_bytes(f, palette);
    put_bytes(f, rows);
    return f;
}

// Two colours, red and green, and a 4 x 1 row that indexes past them.
Bytes short_palette_bmp() { return bmp_file(4, 1, 8, {0, 0, 255, 0, 0, 255, 0, 0}, 2, {0, 1, 2, 255}); }

TEST(BmpDecode, IndicesPastAShortPaletteShowBlack) {
    Picture p;
    ASSERT_TRUE(decode_bmp(short_palette_bmp(), p));
    const Bytes expected = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    EXPECT_EQ(p.rgba, expected);

    // A count of 0 means all 256 colours, and they must be in the file.
    Bytes all = short_palette_bmp();
    set32(all, 46, 0);
    EXPECT_FALSE(decode_bmp(all, p));
    // More than 256 is read as 256: still not in the file.
    set32(all, 46, 0xFFFFFFFF);
    EXPECT_FALSE(decode_bmp(all, p));
}

TEST(BmpDecode, EveryFileCutShortIsRefused) {
    for (const Bytes& whole : {short_palette_bmp(), tiny_bmp(false), tiny_bmp(true)}) {
        Picture p;
        ASSERT_TRUE(decode_bmp(whole, p));
        for (std::size_t n = 0; n < whole.size(); ++n) {
            EXPECT_FALSE(decode_bmp(prefix(whole, n), p)) << n << " of " << whole.size() << " bytes";
            EXPECT_TRUE(p.rgba.empty());
        }
    }
}

TEST(BmpDecode, AbsurdHeaderFieldsAreRefused) {
    const struct {
        std::size_t at;
        std::uint32_t value;
        const char* what;
    } cases[] = {
        {18, 0, "no width"},
        {18, 0xFFFFFFFF, "a width of -1"},
        {18, 16385, "wider than 16384"},
        {18, 16384, "16384 wide, but the rows are not in the file"},
        {22, 0, "no height"},
        {22, 16385, "taller than 16384"},
        {22, 0xFFFFBFFF, "taller than 16384, top-down"},
        {22, 0x80000000, "the most negative height"},
        {14, 12, "a header too short for its fields"},
        {14, 0xFFFFFFFF, "a header longer than the file"},
        {14, 0xFFFFFFF2, "a header whose end wraps around"},
        {10, 0xFFFFFFFF, "pixels past the end"},
        {10, 14, "pixels inside the headers"},
        {10, 58, "pixels inside the palette"},
    };
    for (const auto& c : cases) {
        for (Bytes f : {short_palette_bmp(), tiny_bmp(false)}) {
            set32(f, c.at, c.value);
            Picture p;
            EXPECT_FALSE(decode_bmp(f, p)) << c.what << ", " << le16(f, 28) << "-bit";
            EXPECT_EQ(p.width, 0) << c.what;
            EXPECT_TRUE(p.rgba.empty()) << c.what;
        }
    }
}

TEST(BmpDecode, TheWidestRowTaken) {
    Picture p;
    ASSERT_TRUE(decode_bmp(bmp_file(16384, 1, 24, {}, 0, Bytes(16384 * 3, 7)), p));
    EXPECT_EQ(p.rgba.size(), 16384u * 4);
}

}  // namespace
