// The bitmap catalogue: every picture the game program carries, by resource
// identifier. The painter makes each one at exactly this size and depth; the
// scene model sizes a sprite to its image from here.
#pragma once

#include <array>
#include <cstddef>

struct BitmapInfo {
    int id;
    int width;
    int height;
    int bits;             // 24, except the one palette splat
    const char* picture;  // what the painter draws
};

inline constexpr std::array<BitmapInfo, 66> BITMAP_CATALOGUE = {{
    {100, 1280, 786, 24, "the whole scene"},
    {200, 23, 19, 24, "close mark"},
    {250, 23, 19, 24, "close mark, pressed"},
    {300, 23, 19, 24, "minimize mark"},
    {350, 23, 19, 24, "minimize mark, pressed"},
    {500, 120, 58, 24, "START plate"},
    {550, 120, 58, 24, "START plate, pressed"},
    {600, 120, 58, 24, "CANCEL plate"},
    {650, 120, 58, 24, "CANCEL plate, pressed"},
    {850, 14, 54, 24, "rifle cartridge"},
    {2600, 58, 63, 24, "near rodent peeking"},
    {2750, 64, 63, 24, "near rodent raised"},
    {3000, 25, 25, 24, "hole 1 rodent peeking"},
    {3200, 45, 37, 24, "hole 1 rodent raised"},
    {3400, 28, 25, 24, "hole 2 rodent peeking"},
    {3600, 35, 34, 24, "hole 2 rodent raised"},
    {3800, 24, 28, 24, "hole 3 rodent peeking"},
    {4000, 36, 26, 24, "hole 3 rodent raised"},
    {4200, 27, 16, 24, "hole 4 rodent peeking"},
    {4400, 24, 27, 24, "hole 4 rodent raised"},
    {4600, 16, 17, 24, "hole 5 rodent peeking"},
    {4800, 22, 27, 24, "hole 5 rodent raised"},
    {5000, 18, 22, 24, "hole 6 rodent peeking"},
    {5200, 24, 24, 24, "hole 6 rodent raised"},
    {5400, 16, 19, 24, "hole 7 rodent peeking"},
    {5600, 20, 27, 24, "hole 7 rodent raised"},
    {5750, 17, 21, 24, "hole 8 rodent peeking"},
    {5850, 17, 26, 24, "hole 8 rodent raised"},
    {2850, 73, 43, 24, "spider web without the spider"},
    {6200, 50, 49, 24, "crow, place 1"},
    {6400, 40, 35, 24, "crow, place 2"},
    {6600, 47, 36, 24, "crow, place 3"},
    {6800, 43, 33, 24, "crow, place 4"},
    {7000, 45, 33, 24, "crow, place 5"},
    {7200, 37, 41, 24, "crow, place 6"},
    {7350, 101, 66, 24, "cow, head in profile"},
    {7450, 101, 66, 24, "cow, head turning"},
    {7600, 101, 66, 24, "cow, head turned further"},
    {7650, 101, 66, 24, "cow looking at the viewer"},
    {6000, 101, 66, 24, "cow, head forward, mouth closed"},
    {9500, 101, 66, 24, "cow, head forward, mouth open"},
    {7550, 105, 50, 24, "cow lying on its side"},
    {9000, 20, 20, 24, "hit marker: spatter behind cross-hair lines"},
    {9200, 32, 32, 24, "bonus reticle: cross-hair with blood spot, on white"},
    {9400, 35, 64, 24, "lizard head appearing at the bottom"},
    {10050, 35, 64, 24, "lizard climbing up, legs A"},
    {10150, 35, 64, 24, "lizard climbing up, legs B"},
    {10250, 34, 53, 24, "lizard leaving at the top: rear body"},
    {10350, 34, 53, 24, "lizard leaving at the top: tail"},
    {10400, 34, 53, 24, "lizard leaving at the top: tail tip"},
    {10750, 34, 25, 24, "lizard head appearing at the top"},
    {10800, 35, 64, 24, "lizard climbing down, legs A"},
    {10850, 35, 64, 24, "lizard climbing down, legs B"},
    {11000, 34, 26, 24, "lizard tail tip"},
    {10900, 34, 53, 24, "lizard climbing down: rear body (never loaded)"},
    {10950, 34, 53, 24, "lizard climbing down: tail (never loaded)"},
    {9550, 26, 35, 24, "spider resting in its web"},
    {9650, 27, 40, 24, "spider on its thread, depth 1"},
    {9750, 29, 39, 24, "spider on its thread, depth 2"},
    {9850, 29, 43, 24, "spider on its thread, depth 3"},
    {9950, 30, 41, 24, "spider on its thread, depth 4"},
    {10650, 35, 35, 8, "red blood splat"},
    {11450, 35, 35, 24, "splat fading, step 1"},
    {11500, 35, 35, 24, "splat fading, step 2"},
    {11550, 35, 35, 24, "splat fading, step 3"},
    {11600, 35, 35, 24, "splat fading, step 4: almost black"},
}};

// The catalogue row of a bitmap, or nullptr for an identifier the program
// does not carry.
constexpr const BitmapInfo* find_bitmap(int id) {
    for (const BitmapInfo& b : BITMAP_CATALOGUE)
        if (b.id == id) return &b;
    return nullptr;
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
