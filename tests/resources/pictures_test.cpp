// Every sprite carries the scenery of its place: its border matches the
// scene under it, and inside it shows something the scene does not.

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "game/shell/bitmaps.h"
#include "game/shell/buttons.h"
#include "game/shell/elements.h"
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

class Pictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scene_ = new Bitmap(read_bitmap(resource_dir() + "/game/" + std::to_string(bmp_scene) + ".bmp"));
        sprites_ = new std::map<int, Bitmap>;
        for (const BitmapInfo& b : BITMAP_CATALOGUE)
            if (b.id != bmp_scene) (*sprites_)[b.id] = read_bitmap(resource_dir() + "/game/" + std::to_string(b.id) + ".bmp");
    }
    static void TearDownTestSuite() {
        delete scene_;
        delete sprites_;
    }
    static const Bitmap& scene() { return *scene_; }
    static const Bitmap& sprite(int id) { return sprites_->at(id); }

    // Share of the sprite's pixels that differ clearly from the scene.
    static double changed_share(int id, int x0, int y0) {
        const Bitmap& s = sprite(id);
        long changed = 0;
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                int d = 0;
                for (int c = 0; c < 3; ++c) d += std::abs(s.at(x, y, c) - scene().at(x0 + x, y0 + y, c));
                if (d > 60) ++changed;
            }
        return static_cast<double>(changed) / (s.width * s.height);
    }

private:
    static inline Bitmap* scene_ = nullptr;
    static inline std::map<int, Bitmap>* sprites_ = nullptr;
};

TEST_F(Pictures, EverySpriteMatchesTheSceneOnItsBorder) {
    ASSERT_EQ(scene().width, 1280);
    for (const Shown& p : fixed_places()) {
        const Bitmap& s = sprite(p.image);
        ASSERT_LE(p.x + s.width, 1280) << p.where;
        ASSERT_LE(p.y + s.height, 786) << p.where;
        EXPECT_LT(border_difference(s, scene(), p.x, p.y), 6.0) << "bitmap " << p.image << " at " << p.where;
    }
}

// A picture cut from the wrong place would not match: the test above can
// fail. Each creature shifted by a few pixels shows a seam.
TEST_F(Pictures, AMisplacedSpriteShowsASeam) {
    for (int id : {bmp_raised_1, bmp_raised_9, bmp_raised_6, bmp_crow_1, bmp_spider_resting, bmp_spider_1}) {
        for (int e = 0; e < ELEMENT_COUNT; ++e)
            if (ELEMENT_TABLE[e].image == id) {
                const ElementRow& row = ELEMENT_TABLE[e];
                EXPECT_GT(border_difference(sprite(id), scene(), row.x + 9, row.y + 7), 6.0) << id;
            }
    }
}

TEST_F(Pictures, EveryCreatureIsPaintedOnItsScenery) {
    for (const Shown& p : fixed_places()) {
        const bool button = p.where.find("button") != std::string::npos;
        if (button) continue;  // the scene shows the normal buttons themselves
        EXPECT_GT(changed_share(p.image, p.x, p.y), p.image == bmp_lizard_leaving_tail || p.image == bmp_lizard_leaving_tip || p.image == bmp_lizard_tail_tip ? 0.005 : 0.04)
            << "bitmap " << p.image << " at " << p.where;
    }
}

TEST_F(Pictures, TheSceneShowsTheNormalButtonsAndEachHasAPressedTwin) {
    for (const ButtonImages& b : BUTTON_IMAGES) {
        const ElementRow& row = ELEMENT_TABLE[element_by_id(b.control_id)];
        EXPECT_LT(changed_share(b.normal, row.x, row.y), 0.001) << b.normal;
        EXPECT_GT(changed_share(b.pressed, row.x, row.y), 0.05) << b.pressed;
    }
}

TEST_F(Pictures, TheCowChangesItsHeadButNotItsBody) {
    const Bitmap& base = sprite(bmp_cow_profile);
    for (int id : {bmp_cow_turning, bmp_cow_turned, bmp_cow_facing, bmp_cow_mouth_closed, bmp_cow_mouth_open}) {
        const Bitmap& s = sprite(id);
        long head = 0, body = 0;
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                int d = 0;
                for (int c = 0; c < 3; ++c) d += std::abs(s.at(x, y, c) - base.at(x, y, c));
                if (d > 60) ++(x < 32 ? head : body);
            }
        EXPECT_GT(head, 20) << id;
        EXPECT_LT(body, 40) << id;
    }
    EXPECT_NE(sprite(bmp_cow_mouth_closed).rgb, sprite(bmp_cow_mouth_open).rgb) << "mouth closed and open";
}

TEST_F(Pictures, LizardStridesAlternate) {
    const ElementRow& first_step = ELEMENT_TABLE[climber(1)];
    EXPECT_GT(changed_share(bmp_lizard_up_a, first_step.x, first_step.y), 0.04);
    long differing = 0;
    const Bitmap &a = sprite(bmp_lizard_up_a), &b = sprite(bmp_lizard_up_b);
    for (std::size_t i = 0; i < a.rgb.size(); ++i) differing += std::abs(a.rgb[i] - b.rgb[i]) > 40;
    EXPECT_GT(differing, 100);
    const Bitmap &c = sprite(bmp_lizard_down_a), &d = sprite(bmp_lizard_down_b);
    differing = 0;
    for (std::size_t i = 0; i < c.rgb.size(); ++i) differing += std::abs(c.rgb[i] - d.rgb[i]) > 40;
    EXPECT_GT(differing, 100);
}

// The splat is seen on the trunk at every place a lizard can be shot; it
// fades step by step to almost black.
TEST_F(Pictures, TheSplatFitsTheTrunkAndFadesToAlmostBlack) {
    const int places[][2] = {{1230, 600}, {1230, 550}, {1230, 486}, {1230, 422},
                             {1230, 382}, {1230, 469}, {1225, 539}, {1224, 605}};
    const int steps[] = {bmp_splat, bmp_splat_fade_1, bmp_splat_fade_2, bmp_splat_fade_3, bmp_splat_fade_4};
    for (int id : steps)
        for (const auto& p : places)
            EXPECT_LT(border_difference(sprite(id), scene(), p[0], p[1]), 10.0) << id << " at " << p[0] << "," << p[1];
    double last_red = 1e9;
    for (int id : steps) {
        const Bitmap& s = sprite(id);
        double red = 0;
        for (int y = 14; y < 21; ++y)
            for (int x = 14; x < 21; ++x) red += s.at(x, y, 0);
        red /= 49;
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

TEST_F(Pictures, TheScoreboardIsLightEnoughForBlackText) {
    const int labels[][4] = {{506, 728, 80, 36}, {564, 722, 110, 36}, {688, 728, 80, 36}};
    for (const auto& l : labels)
        for (int y = l[1]; y < l[1] + 30; y += 3)
            for (int x = l[0]; x < l[0] + l[2] && x < 770; x += 3)
                for (int c = 0; c < 3; ++c) EXPECT_GT(scene().at(x, y, c), 150) << x << "," << y;
}

TEST_F(Pictures, TheReticleIsOnWhite) {
    const Bitmap& r = sprite(bmp_bonus_reticle);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(r.at(0, 0, c), 255);
        EXPECT_EQ(r.at(31, 31, c), 255);
    }
    EXPECT_LT(r.at(16, 16, 1), 60) << "the blood spot";
    EXPECT_GT(r.at(16, 16, 0), r.at(16, 16, 1) + 40);
}

}  // namespace
