// Every sprite carries the scenery of its place: its border matches the
// scene under it, and inside it shows something the scene does not. Each
// holds at 1x, for the files the programs load, and at 2x, for their @2x
// twins against the scene's twin: the places are in units, two pixels to
// the unit at 2x.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "game/model/bitmaps.h"
#include "game/model/buttons.h"
#include "game/model/elements.h"
#include "game/model/layout.h"
#include "tests/resources/resource_reader.h"

namespace {

struct Shown {
    int image;
    int x, y;
    std::string where;
};

// Where each picture is shown: the initial image of every sprite with a
// fixed place, both images of every button, the cow's swapped heads, and
// the two lizard frames no element loads, in the lizards' top place.
std::vector<Shown> fixed_places() {
    std::vector<Shown> places;
    for (int e = 0; e < ELEMENT_COUNT; ++e) {
        const ElementRow& row = ELEMENT_TABLE[e];
        if (row.kind == ElementKind::sprite && e != splat && e != hit_marker && e != bonus_reticle)
            places.push_back({row.image, row.x, row.y, row.name});
    }
    for (const ButtonImages& b : BUTTON_IMAGES) {
        const ElementRow& row = ELEMENT_TABLE[element_by_id(b.control_id)];
        places.push_back({b.normal, row.x, row.y, row.name});
        places.push_back({b.pressed, row.x, row.y, std::string(row.name) + " pressed"});
    }
    for (int id : {bmp_cow_turning, bmp_cow_turned, bmp_cow_facing, bmp_cow_mouth_closed, bmp_cow_mouth_open})
        places.push_back({id, ELEMENT_TABLE[cow].x, ELEMENT_TABLE[cow].y, "cow"});
    for (int id : {bmp_lizard_down_body, bmp_lizard_down_tail})
        places.push_back({id, ELEMENT_TABLE[climber(5)].x, ELEMENT_TABLE[climber(5)].y, "climber[5]"});
    return places;
}

Bitmap crop(const Bitmap& from, int x0, int y0, int w, int h) {
    Bitmap b;
    b.width = w;
    b.height = h;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            for (int c = 0; c < 3; ++c) b.rgb.push_back(static_cast<std::uint8_t>(from.at(x, y, c)));
    return b;
}

// The pictures at one scale: the files the programs load at 1, their @2x
// twins at 2. Read once a scale, for every test.
struct Scaled {
    Bitmap scene;
    std::map<int, Bitmap> sprites;
};

const Scaled& pictures_at(int scale) {
    static std::map<int, Scaled> read;
    auto file = [scale](int id) {
        return resource_dir() + "/game/" + std::to_string(id) + (scale == 1 ? ".bmp" : "@2x.png");
    };
    auto picture = [&](int id) { return scale == 1 ? read_bitmap(file(id)) : read_opaque_png(file(id)); };
    if (!read.count(scale)) {
        Scaled& s = read[scale];
        s.scene = picture(bmp_scene);
        for (const BitmapInfo& b : BITMAP_CATALOGUE)
            if (b.id != bmp_scene) s.sprites[b.id] = picture(b.id);
    }
    return read.at(scale);
}

class Pictures : public ::testing::TestWithParam<int> {
protected:
    static int scale() { return GetParam(); }
    static const Bitmap& scene() { return pictures_at(scale()).scene; }
    static const Bitmap& sprite(int id) { return pictures_at(scale()).sprites.at(id); }
    // Mean difference on the border of a sprite shown at (x, y), in units.
    static double seam(int id, int x, int y) { return border_difference(sprite(id), scene(), x * scale(), y * scale()); }

    // Share of the sprite's pixels that differ clearly from the scene.
    static double changed_share(int id, int x0, int y0) {
        const Bitmap& s = sprite(id);
        long changed = 0;
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                int d = 0;
                for (int c = 0; c < 3; ++c) d += std::abs(s.at(x, y, c) - scene().at(x0 * scale() + x, y0 * scale() + y, c));
                if (d > 60) ++changed;
            }
        return static_cast<double>(changed) / (s.width * s.height);
    }
};

std::string scale_name(const ::testing::TestParamInfo<int>& scale) { return "at" + std::to_string(scale.param) + "x"; }

INSTANTIATE_TEST_SUITE_P(Scales, Pictures, ::testing::Values(1, 2), scale_name);

TEST_P(Pictures, EverySpriteMatchesTheSceneOnItsBorder) {
    ASSERT_EQ(scene().width, 1280 * scale());
    ASSERT_EQ(scene().height, 786 * scale());
    for (const Shown& p : fixed_places()) {
        const Bitmap& s = sprite(p.image);
        ASSERT_LE(p.x * scale() + s.width, scene().width) << p.where;
        ASSERT_LE(p.y * scale() + s.height, scene().height) << p.where;
        EXPECT_LT(seam(p.image, p.x, p.y), 6.0) << "bitmap " << p.image << " at " << p.where;
    }
}

// A picture cut from the wrong place would not match: the test above can
// fail. Each creature shifted by a few pixels shows a seam.
TEST_P(Pictures, AMisplacedSpriteShowsASeam) {
    for (int id : {bmp_raised_1, bmp_raised_9, bmp_raised_6, bmp_crow_1, bmp_spider_resting, bmp_spider_1}) {
        for (int e = 0; e < ELEMENT_COUNT; ++e)
            if (ELEMENT_TABLE[e].image == id) {
                const ElementRow& row = ELEMENT_TABLE[e];
                EXPECT_GT(seam(id, row.x + 9, row.y + 7), 6.0) << id;
            }
    }
}

// Finer than a seam: at the place it is painted for (the first where it is
// shown), every sprite's border matches the scene better than one pixel to
// any side, so a picture painted a pixel off shows, even at 2x. A shift is
// not telling where the scenery under it is the same, as up and down the
// trunk's bark or along the sky.
TEST_P(Pictures, EverySpriteFitsBestAtItsOwnPixel) {
    std::set<int> seen;
    for (const Shown& p : fixed_places()) {
        if (!seen.insert(p.image).second) continue;
        const Bitmap& s = sprite(p.image);
        const int x = p.x * scale(), y = p.y * scale();
        const Bitmap under = crop(scene(), x, y, s.width, s.height);
        const double here = border_difference(s, scene(), x, y);
        for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
            if (x + dx < 0 || y + dy < 0 || x + dx + s.width > scene().width || y + dy + s.height > scene().height)
                continue;
            if (border_difference(under, scene(), x + dx, y + dy) == 0.0) continue;
            EXPECT_LT(here, border_difference(s, scene(), x + dx, y + dy))
                << "bitmap " << p.image << " at " << p.where << " fits better " << dx << "," << dy << " pixels off";
        }
    }
}

TEST_P(Pictures, EveryCreatureIsPaintedOnItsScenery) {
    for (const Shown& p : fixed_places()) {
        const bool button = p.where.find("button") != std::string::npos;
        if (button) continue;  // the scene shows the normal buttons themselves
        EXPECT_GT(changed_share(p.image, p.x, p.y), p.image == bmp_lizard_leaving_tail || p.image == bmp_lizard_leaving_tip || p.image == bmp_lizard_tail_tip ? 0.005 : 0.04)
            << "bitmap " << p.image << " at " << p.where;
    }
}

TEST_P(Pictures, TheSceneShowsTheNormalButtonsAndEachHasAPressedTwin) {
    for (const ButtonImages& b : BUTTON_IMAGES) {
        const ElementRow& row = ELEMENT_TABLE[element_by_id(b.control_id)];
        EXPECT_LT(changed_share(b.normal, row.x, row.y), 0.001) << b.normal;
        EXPECT_GT(changed_share(b.pressed, row.x, row.y), 0.05) << b.pressed;
    }
}

TEST_P(Pictures, TheCowChangesItsHeadButNotItsBody) {
    const Bitmap& base = sprite(bmp_cow_profile);
    const int area = scale() * scale();  // pixels to the square unit
    for (int id : {bmp_cow_turning, bmp_cow_turned, bmp_cow_facing, bmp_cow_mouth_closed, bmp_cow_mouth_open}) {
        const Bitmap& s = sprite(id);
        long head = 0, body = 0;
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                int d = 0;
                for (int c = 0; c < 3; ++c) d += std::abs(s.at(x, y, c) - base.at(x, y, c));
                if (d > 60) ++(x < 32 * scale() ? head : body);
            }
        EXPECT_GT(head, 20 * area) << id;
        EXPECT_LT(body, 40 * area) << id;
    }
    EXPECT_NE(sprite(bmp_cow_mouth_closed).rgb, sprite(bmp_cow_mouth_open).rgb) << "mouth closed and open";
}

TEST_P(Pictures, LizardStridesAlternate) {
    const ElementRow& first_step = ELEMENT_TABLE[climber(1)];
    EXPECT_GT(changed_share(bmp_lizard_up_a, first_step.x, first_step.y), 0.04);
    const int area = scale() * scale();
    long differing = 0;
    const Bitmap &a = sprite(bmp_lizard_up_a), &b = sprite(bmp_lizard_up_b);
    for (std::size_t i = 0; i < a.rgb.size(); ++i) differing += std::abs(a.rgb[i] - b.rgb[i]) > 40;
    EXPECT_GT(differing, 100 * area);
    const Bitmap &c = sprite(bmp_lizard_down_a), &d = sprite(bmp_lizard_down_b);
    differing = 0;
    for (std::size_t i = 0; i < c.rgb.size(); ++i) differing += std::abs(c.rgb[i] - d.rgb[i]) > 40;
    EXPECT_GT(differing, 100 * area);
}

// The splat is seen on the trunk at every place a lizard can be shot; it
// fades step by step to almost black.
TEST_P(Pictures, TheSplatFitsTheTrunkAndFadesToAlmostBlack) {
    const int places[][2] = {{1230, 600}, {1230, 550}, {1230, 486}, {1230, 422},
                             {1230, 382}, {1230, 469}, {1225, 539}, {1224, 605}};
    const int steps[] = {bmp_splat, bmp_splat_fade_1, bmp_splat_fade_2, bmp_splat_fade_3, bmp_splat_fade_4};
    for (int id : steps)
        for (const auto& p : places)
            EXPECT_LT(seam(id, p[0], p[1]), 10.0) << id << " at " << p[0] << "," << p[1];
    const int k = scale();
    double last_red = 1e9;
    for (int id : steps) {
        const Bitmap& s = sprite(id);
        double red = 0;
        for (int y = 14 * k; y < 21 * k; ++y)
            for (int x = 14 * k; x < 21 * k; ++x) red += s.at(x, y, 0);
        red /= 49 * k * k;
        EXPECT_LT(red, last_red) << id;
        last_red = red;
        if (id == bmp_splat) {
            EXPECT_GT(red, 120);
        }
        if (id == bmp_splat_fade_4) {
            EXPECT_LT(red, 40);
        }
    }
}

TEST_P(Pictures, TheScoreboardIsLightEnoughForBlackText) {
    const int labels[][4] = {{506, 728, 80, 36}, {564, 722, 110, 36}, {688, 728, 80, 36}};
    const int k = scale();
    for (const auto& l : labels)
        for (int y = l[1] * k; y < (l[1] + 30) * k; y += 3)
            for (int x = l[0] * k; x < (l[0] + l[2]) * k && x < 770 * k; x += 3)
                for (int c = 0; c < 3; ++c) EXPECT_GT(scene().at(x, y, c), 150) << x << "," << y;
}

// The best score's plate is the panel where it lies, with a box as grey as
// the labels' own and the caption "BEST" over it, and nothing else: drawn
// over the scene, it shows no seam.
TEST_P(Pictures, TheBestPlateIsThePanelWithABoxAndItsCaption) {
    const int k = scale();
    const std::string file = resource_dir() + "/native/best_plate" + (k == 1 ? ".bmp" : "@2x.png");
    const Bitmap plate = k == 1 ? read_bitmap(file) : read_opaque_png(file);
    ASSERT_EQ(plate.width, BEST_PLATE.w * k);
    ASSERT_EQ(plate.height, BEST_PLATE.h * k);
    long caption_ink = 0, elsewhere = 0;
    for (int y = 0; y < plate.height; ++y)
        for (int x = 0; x < plate.width; ++x) {
            const int ux = BEST_PLATE.x + x / k, uy = BEST_PLATE.y + y / k;
            const bool in_box = ux > BEST_BOX.x && ux < BEST_BOX.x + BEST_BOX.w - 1 && uy > BEST_BOX.y &&
                                uy < BEST_BOX.y + BEST_BOX.h - 1;
            const bool on_box_edge = !in_box && ux >= BEST_BOX.x && ux < BEST_BOX.x + BEST_BOX.w &&
                                     uy >= BEST_BOX.y && uy < BEST_BOX.y + BEST_BOX.h;
            int d = 0;
            for (int c = 0; c < 3; ++c) d += std::abs(plate.at(x, y, c) - scene().at(ux * k + x % k, uy * k + y % k, c));
            if (in_box)
                for (int c = 0; c < 3; ++c) ASSERT_EQ(plate.at(x, y, c), 192) << x << "," << y;
            else if (uy < BEST_BOX.y - 1)
                caption_ink += d > 60;
            else if (!on_box_edge)
                elsewhere += d > 0;
        }
    EXPECT_GT(caption_ink, 20 * k * k) << "the caption";
    EXPECT_EQ(elsewhere, 0) << "the panel around the box, as the scene has it";
}

TEST_P(Pictures, TheReticleIsOnWhite) {
    const Bitmap& r = sprite(bmp_bonus_reticle);
    const int k = scale(), last = 32 * k - 1;
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(r.at(0, 0, c), 255);
        EXPECT_EQ(r.at(last, last, c), 255);
    }
    EXPECT_LT(r.at(16 * k, 16 * k, 1), 60) << "the blood spot";
    EXPECT_GT(r.at(16 * k, 16 * k, 0), r.at(16 * k, 16 * k, 1) + 40);
}

}  // namespace
