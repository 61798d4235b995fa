// The scene model: table, catalogue sizes, the edge rule, label texts.
#include "game/model/bitmaps.h"
#include "tests/game_fixture.h"

TEST_F(GameTest, EverySpriteTakesItsImagesSizeKeepingItsCorner) {
    for (Element e = 0; e < ELEMENT_COUNT; ++e) {
        const ElementRow& row = ELEMENT_TABLE[e];
        if (row.kind != ElementKind::sprite) continue;
        const BitmapInfo* b = find_bitmap(row.image);
        ASSERT_NE(b, nullptr) << row.name;
        EXPECT_EQ(scene[e].image, row.image) << row.name;
        EXPECT_EQ(scene[e].x, row.x) << row.name;
        EXPECT_EQ(scene[e].y, row.y) << row.name;
        EXPECT_EQ(scene[e].w, b->width) << row.name;
        EXPECT_EQ(scene[e].h, b->height) << row.name;
    }
    // The rows whose creation size is not their image's.
    EXPECT_EQ(scene[bonus_reticle].w, 32);
    EXPECT_EQ(scene[bonus_reticle].h, 32);
    EXPECT_EQ(scene[descender(0)].w, 34);
    EXPECT_EQ(scene[descender(0)].h, 25);
    EXPECT_EQ(scene[descender(1)].w, 35);
    EXPECT_EQ(scene[descender(3)].w, 35);
}

TEST_F(GameTest, ImageSwapResizesButKeepsVisibilityAndCorner) {
    set_element_image(cow, bmp_cow_fallen);  // a larger picture on the standing cow
    EXPECT_EQ(scene[cow].w, 105);
    EXPECT_EQ(scene[cow].h, 50);
    EXPECT_EQ(scene[cow].x, 680);
    EXPECT_TRUE(scene[cow].visible);
    set_element_image(cow, 12345);  // not carried: no picture, size unchanged
    EXPECT_EQ(scene[cow].image, 0);
    EXPECT_EQ(scene[cow].w, 105);
}

TEST(PointInRect, LeftAndTopEdgesInsideRightAndBottomOutside) {
    Rect r{10, 20, 30, 40};
    EXPECT_TRUE(point_in_rect(r, 10, 20));
    EXPECT_TRUE(point_in_rect(r, 29, 39));
    EXPECT_FALSE(point_in_rect(r, 30, 25));
    EXPECT_FALSE(point_in_rect(r, 15, 40));
    EXPECT_FALSE(point_in_rect(r, 9, 25));
    EXPECT_FALSE(point_in_rect(r, 15, 19));
}
