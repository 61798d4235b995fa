// The native programs find every resource built in, byte for byte the file
// the Windows programs carry.

#include "resources/embedded.h"

#include <gtest/gtest.h>
#include <webp/decode.h>

#include "game/model/bitmaps.h"
#include "game/model/cues.h"
#include "game/model/layout.h"
#include "tests/resources/resource_reader.h"

namespace {

void expect_same(const EmbeddedResource* r, const std::string& file) {
    ASSERT_NE(r, nullptr) << file;
    const Bytes bytes = read_bytes(resource_dir() + "/" + file);
    ASSERT_EQ(r->size, bytes.size()) << file;
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), r->data)) << file;
}

TEST(Embedded, GameFindsEveryBitmapSoundAndTheCursor) {
    for (const BitmapInfo& b : BITMAP_CATALOGUE)
        expect_same(find_game_resource(ResourceKind::bitmap, b.id), "game/" + std::to_string(b.id) + ".bmp");
    for (const CueRow& c : CUE_TABLE)
        expect_same(find_game_resource(ResourceKind::wave, c.wave_id), "game/" + std::to_string(c.wave_id) + ".wav");
    expect_same(find_game_resource(ResourceKind::icon, CROSSHAIR_ICON), "game/32.ico");
    // And what a platform without the Windows resources needs beside them.
    expect_same(find_game_resource(ResourceKind::icon, WINDOW_ICON), "icons/window.ico");
    expect_same(find_game_resource(ResourceKind::wave, REFUSAL_BEEP_WAVE), "native/refusal_beep.wav");
    expect_same(find_game_resource(ResourceKind::bitmap, BEST_PLATE_PICTURE), "native/best_plate.bmp");
    expect_same(find_game_resource(ResourceKind::twin, BEST_PLATE_PICTURE), "native/best_plate@2x.webp");
    const EmbeddedResource* font = find_game_resource(ResourceKind::font, LABEL_FONT);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(Bytes(font->data, font->data + font->size), read_bytes(PLINKFIELD_LABEL_FONT));
    EXPECT_EQ(game_resources().size(), 2 * BITMAP_CATALOGUE.size() + CUE_TABLE.size() + 6);
}

// Each twin the native game carries is the painted @2x picture, pixel for
// pixel: lossless, at twice the catalogue's size.
TEST(Embedded, EveryTwinIsTheTwoTimesPictureWithoutLoss) {
    for (const BitmapInfo& b : BITMAP_CATALOGUE) {
        const EmbeddedResource* twin = find_game_resource(ResourceKind::twin, b.id);
        ASSERT_NE(twin, nullptr) << b.id;
        int w = 0, h = 0;
        uint8_t* rgb = WebPDecodeRGB(twin->data, twin->size, &w, &h);
        ASSERT_NE(rgb, nullptr) << b.id;
        const Png painted = read_png(resource_dir() + "/game/" + std::to_string(b.id) + "@2x.png");
        EXPECT_EQ(w, 2 * b.width) << b.id;
        EXPECT_EQ(h, 2 * b.height) << b.id;
        bool same = w == painted.width && h == painted.height;
        for (int y = 0; same && y < h; ++y)
            for (int x = 0; same && x < w; ++x)
                for (int c = 0; c < 3; ++c) same = same && rgb[(y * w + x) * 3 + c] == painted.at(x, y, c);
        EXPECT_TRUE(same) << b.id << "@2x differs from the painted picture";
        WebPFree(rgb);
    }
}

TEST(Embedded, AmbientFindsItsFour) {
    expect_same(find_ambient_resource(ResourceKind::bitmap, 100), "ambient/100.bmp");
    expect_same(find_ambient_resource(ResourceKind::wave, 300), "ambient/300.wav");
    expect_same(find_ambient_resource(ResourceKind::wave, 600), "ambient/600.wav");
    expect_same(find_ambient_resource(ResourceKind::icon, AMBIENT_ICON_ID), "ambient/app.ico");
    EXPECT_EQ(ambient_resources().size(), 4u);
}

TEST(Embedded, KindAndIdentifierMustBothMatch) {
    EXPECT_EQ(find_game_resource(ResourceKind::wave, bmp_scene), nullptr) << "the scene is a bitmap";
    EXPECT_EQ(find_game_resource(ResourceKind::bitmap, cue_row(Cue::snd_hit).wave_id), nullptr) << "a sound";
    EXPECT_EQ(find_game_resource(ResourceKind::bitmap, 101), nullptr);
    EXPECT_EQ(find_game_resource(ResourceKind::icon, 0), nullptr);
    EXPECT_EQ(find_ambient_resource(ResourceKind::bitmap, bmp_close), nullptr);
    EXPECT_EQ(find_ambient_resource(ResourceKind::wave, cue_row(Cue::snd_hit).wave_id), nullptr);
    // Each program has its own bitmap 100.
    EXPECT_NE(find_game_resource(ResourceKind::bitmap, bmp_scene)->size, find_ambient_resource(ResourceKind::bitmap, 100)->size);
}

}  // namespace
