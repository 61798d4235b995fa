// The canvas fitted to the browser window, and page points mapped back to
// the field.

#include "game/edge/view_fit.h"

#include <gtest/gtest.h>

namespace {

TEST(ViewFit, AWindowOfTheFieldsSizeShowsItOneToOne) {
    const View v = fit_view(1280, 786);
    EXPECT_DOUBLE_EQ(v.left, 0);
    EXPECT_DOUBLE_EQ(v.top, 0);
    EXPECT_DOUBLE_EQ(v.width, 1280);
    EXPECT_DOUBLE_EQ(v.height, 786);
}

TEST(ViewFit, AWideWindowLimitsByHeightAndCentresAcross) {
    const View v = fit_view(2000, 393);
    EXPECT_DOUBLE_EQ(v.height, 393);
    EXPECT_DOUBLE_EQ(v.width, 640);
    EXPECT_DOUBLE_EQ(v.left, 680);
    EXPECT_DOUBLE_EQ(v.top, 0);
}

TEST(ViewFit, ATallWindowLimitsByWidthAndCentresDown) {
    const View v = fit_view(2560, 3000);
    EXPECT_DOUBLE_EQ(v.width, 2560);
    EXPECT_DOUBLE_EQ(v.height, 1572);
    EXPECT_DOUBLE_EQ(v.left, 0);
    EXPECT_DOUBLE_EQ(v.top, 714);
}

TEST(ViewFit, AWindowWithNoRoomShowsNothingAndTakesNoPoint) {
    const View v = fit_view(0, 500);
    EXPECT_DOUBLE_EQ(v.width, 0);
    int x = 7, y = 8;
    EXPECT_FALSE(view_to_game(v, 0, 250, x, y));
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 8);
}

TEST(ViewFit, EveryFieldPixelIsReachedFromItsPlaceOnThePage) {
    for (const View& v : {fit_view(1280, 786), fit_view(640, 1000), fit_view(1920, 1080), fit_view(333, 777)}) {
        const double sx = v.width / FIELD_WIDTH, sy = v.height / FIELD_HEIGHT;
        for (int gy = 0; gy < FIELD_HEIGHT; gy += 7)
            for (int gx = 0; gx < FIELD_WIDTH; gx += 11) {
                int x = -1, y = -1;
                ASSERT_TRUE(view_to_game(v, v.left + (gx + 0.5) * sx, v.top + (gy + 0.5) * sy, x, y));
                ASSERT_EQ(x, gx) << "view width " << v.width;
                ASSERT_EQ(y, gy) << "view width " << v.width;
            }
    }
}

TEST(ViewFit, TheCanvasEdgesBelongAsTheGamesRectanglesDo) {
    const View v = fit_view(1920, 1080);  // 1.374 page pixels a field pixel, centred across
    int x = -1, y = -1;
    EXPECT_TRUE(view_to_game(v, v.left, v.top, x, y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_TRUE(view_to_game(v, v.left + v.width - 0.01, v.top + v.height - 0.01, x, y));
    EXPECT_EQ(x, FIELD_WIDTH - 1);
    EXPECT_EQ(y, FIELD_HEIGHT - 1);
    EXPECT_FALSE(view_to_game(v, v.left + v.width, v.top, x, y)) << "the right edge is outside";
    EXPECT_FALSE(view_to_game(v, v.left - 0.5, v.top + 10, x, y)) << "the margin beside the canvas";
    EXPECT_FALSE(view_to_game(v, v.left + 10, v.top + v.height, x, y)) << "the bottom edge is outside";
}

}  // namespace
