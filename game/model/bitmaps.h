// The bitmap catalogue: every picture the game program carries, by resource
// identifier. The painter makes each one at exactly this size and depth; the
// scene model sizes a sprite to its image from here.
#pragma once

#include <array>
#include <cstddef>

// One row a bitmap: its name, resource identifier, width, height, bits per
// pixel (24, except the one palette splat) and what the painter draws. The
// names (bmp_scene, bmp_raised_4 …) and the catalogue both come from here,
// so neither can lose a row the other has.
#define PLINKFIELD_BITMAPS(X) \
    X(scene,               100,   1280, 786, 24, "the whole scene") \
    X(close,               200,   23, 19, 24, "close mark") \
    X(close_pressed,       250,   23, 19, 24, "close mark, pressed") \
    X(minimize,            300,   23, 19, 24, "minimize mark") \
    X(minimize_pressed,    350,   23, 19, 24, "minimize mark, pressed") \
    X(start,               500,   120, 58, 24, "START plate") \
    X(start_pressed,       550,   120, 58, 24, "START plate, pressed") \
    X(cancel,              600,   120, 58, 24, "CANCEL plate") \
    X(cancel_pressed,      650,   120, 58, 24, "CANCEL plate, pressed") \
    X(cartridge,           850,   14, 54, 24, "rifle cartridge") \
    X(peek_9,              2600,  58, 63, 24, "near rodent peeking") \
    X(raised_9,            2750,  64, 63, 24, "near rodent raised") \
    X(peek_1,              3000,  25, 25, 24, "hole 1 rodent peeking") \
    X(raised_1,            3200,  45, 37, 24, "hole 1 rodent raised") \
    X(peek_2,              3400,  28, 25, 24, "hole 2 rodent peeking") \
    X(raised_2,            3600,  35, 34, 24, "hole 2 rodent raised") \
    X(peek_3,              3800,  24, 28, 24, "hole 3 rodent peeking") \
    X(raised_3,            4000,  36, 26, 24, "hole 3 rodent raised") \
    X(peek_4,              4200,  27, 16, 24, "hole 4 rodent peeking") \
    X(raised_4,            4400,  24, 27, 24, "hole 4 rodent raised") \
    X(peek_5,              4600,  16, 17, 24, "hole 5 rodent peeking") \
    X(raised_5,            4800,  22, 27, 24, "hole 5 rodent raised") \
    X(peek_6,              5000,  18, 22, 24, "hole 6 rodent peeking") \
    X(raised_6,            5200,  24, 24, 24, "hole 6 rodent raised") \
    X(peek_7,              5400,  16, 19, 24, "hole 7 rodent peeking") \
    X(raised_7,            5600,  20, 27, 24, "hole 7 rodent raised") \
    X(peek_8,              5750,  17, 21, 24, "hole 8 rodent peeking") \
    X(raised_8,            5850,  17, 26, 24, "hole 8 rodent raised") \
    X(web,                 2850,  73, 43, 24, "spider web without the spider") \
    X(crow_1,              6200,  50, 49, 24, "crow, place 1") \
    X(crow_2,              6400,  40, 35, 24, "crow, place 2") \
    X(crow_3,              6600,  47, 36, 24, "crow, place 3") \
    X(crow_4,              6800,  43, 33, 24, "crow, place 4") \
    X(crow_5,              7000,  45, 33, 24, "crow, place 5") \
    X(crow_6,              7200,  37, 41, 24, "crow, place 6") \
    X(cow_profile,         7350,  101, 66, 24, "cow, head in profile") \
    X(cow_turning,         7450,  101, 66, 24, "cow, head turning") \
    X(cow_turned,          7600,  101, 66, 24, "cow, head turned further") \
    X(cow_facing,          7650,  101, 66, 24, "cow looking at the viewer") \
    X(cow_mouth_closed,    6000,  101, 66, 24, "cow, head forward, mouth closed") \
    X(cow_mouth_open,      9500,  101, 66, 24, "cow, head forward, mouth open") \
    X(cow_fallen,          7550,  105, 50, 24, "cow lying on its side") \
    X(hit_marker,          9000,  20, 20, 24, "hit marker: spatter behind cross-hair lines") \
    X(bonus_reticle,       9200,  32, 32, 24, "bonus reticle: cross-hair with blood spot, on white") \
    X(lizard_head_bottom,  9400,  35, 64, 24, "lizard head appearing at the bottom") \
    X(lizard_up_a,         10050, 35, 64, 24, "lizard climbing up, legs A") \
    X(lizard_up_b,         10150, 35, 64, 24, "lizard climbing up, legs B") \
    X(lizard_leaving_body, 10250, 34, 53, 24, "lizard leaving at the top: rear body") \
    X(lizard_leaving_tail, 10350, 34, 53, 24, "lizard leaving at the top: tail") \
    X(lizard_leaving_tip,  10400, 34, 53, 24, "lizard leaving at the top: tail tip") \
    X(lizard_head_top,     10750, 34, 25, 24, "lizard head appearing at the top") \
    X(lizard_down_a,       10800, 35, 64, 24, "lizard climbing down, legs A") \
    X(lizard_down_b,       10850, 35, 64, 24, "lizard climbing down, legs B") \
    X(lizard_tail_tip,     11000, 34, 26, 24, "lizard tail tip") \
    X(lizard_down_body,    10900, 34, 53, 24, "lizard climbing down: rear body (never loaded)") \
    X(lizard_down_tail,    10950, 34, 53, 24, "lizard climbing down: tail (never loaded)") \
    X(spider_resting,      9550,  26, 35, 24, "spider resting in its web") \
    X(spider_1,            9650,  27, 40, 24, "spider on its thread, depth 1") \
    X(spider_2,            9750,  29, 39, 24, "spider on its thread, depth 2") \
    X(spider_3,            9850,  29, 43, 24, "spider on its thread, depth 3") \
    X(spider_4,            9950,  30, 41, 24, "spider on its thread, depth 4") \
    X(splat,               10650, 35, 35, 8, "red blood splat") \
    X(splat_fade_1,        11450, 35, 35, 24, "splat fading, step 1") \
    X(splat_fade_2,        11500, 35, 35, 24, "splat fading, step 2") \
    X(splat_fade_3,        11550, 35, 35, 24, "splat fading, step 3") \
    X(splat_fade_4,        11600, 35, 35, 24, "splat fading, step 4: almost black")

enum BitmapId : int {
#define PLINKFIELD_BITMAP_NAME(name, id, w, h, bits, picture) bmp_##name = id,
    PLINKFIELD_BITMAPS(PLINKFIELD_BITMAP_NAME)
#undef PLINKFIELD_BITMAP_NAME
};

struct BitmapInfo {
    int id;
    int width;
    int height;
    int bits;
    const char* picture;  // what the painter draws
};

inline constexpr std::array BITMAP_CATALOGUE = {
#define PLINKFIELD_BITMAP_ROW(name, id, w, h, bits, picture) BitmapInfo{bmp_##name, w, h, bits, picture},
    PLINKFIELD_BITMAPS(PLINKFIELD_BITMAP_ROW)
#undef PLINKFIELD_BITMAP_ROW
};
static_assert(BITMAP_CATALOGUE.size() == 66);

// The catalogue row of a bitmap, or nullptr for an identifier the program
// does not carry.
constexpr const BitmapInfo* find_bitmap(int id) {
    for (const BitmapInfo& b : BITMAP_CATALOGUE)
        if (b.id == id) return &b;
    return nullptr;
}

// Whether the program carries a bitmap; usable in static_asserts (a pointer
// compared in a constant expression is not constant under the sanitizers).
constexpr bool carries_bitmap(int id) {
    for (const BitmapInfo& b : BITMAP_CATALOGUE)
        if (b.id == id) return true;
    return false;
}

namespace bitmaps_detail {
constexpr bool identifiers_unique() {
    for (std::size_t i = 0; i < BITMAP_CATALOGUE.size(); ++i)
        for (std::size_t j = i + 1; j < BITMAP_CATALOGUE.size(); ++j)
            if (BITMAP_CATALOGUE[i].id == BITMAP_CATALOGUE[j].id) return false;
    return true;
}
}  // namespace bitmaps_detail
static_assert(bitmaps_detail::identifiers_unique());
