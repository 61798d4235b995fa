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

// The native window on the displays people have: (usable width, height).
TEST(WindowScale, TheWindowOpensAtAScaleThatFitsTheDisplay) {
    struct Case {
        int w, h;
        double scale;
    } cases[] = {
        {1366, 736, 0.9},    // the common laptop, a 32-pixel panel
        {1280, 720, 0.9},    // the title strip must not go off the top
        {1280, 800, 1.0},
        {1920, 1040, 1.0},   // four fifths of it is not yet a quarter more
        {2560, 1400, 1.25},
        {3840, 2160, 2.0},
        {800, 600, 0.6},
        {200, 100, MIN_SCALE},
    };
    for (const Case& c : cases) {
        const double s = automatic_scale(c.w, c.h);
        EXPECT_DOUBLE_EQ(s, c.scale) << c.w << " x " << c.h;
        if (c.scale > MIN_SCALE) {
            EXPECT_LE(FIELD_WIDTH * s, c.w) << "fits across";
            EXPECT_LE(FIELD_HEIGHT * s, c.h) << "fits down";
        }
    }
    EXPECT_DOUBLE_EQ(largest_fitting_scale(1366, 736), 0.93);
    EXPECT_DOUBLE_EQ(largest_fitting_scale(3840, 2160), 2.74);
}

TEST(WindowScale, ZoomKeysStepByQuartersWithinWhatFits) {
    struct Case {
        double scale;
        int direction;
        double largest, next;
    } cases[] = {
        {0.9, 1, 1.5, 1.0},    // onto the quarter grid
        {0.9, -1, 1.5, 0.75},
        {1.0, 1, 1.37, 1.25},
        {1.25, 1, 1.37, 1.37},  // 1.5 would not fit: as far as fits
        {1.37, 1, 1.37, 1.37},
        {0.75, 1, 0.93, 0.93},
        {1.37, -1, 1.37, 1.25},
        {0.5, -1, 2, 0.25},
        {0.25, -1, 2, 0.25},   // the smallest
        {2.0, -1, 2.74, 1.75},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(zoom_step(c.scale, c.direction, c.largest), c.next)
            << c.scale << (c.direction > 0 ? " up" : " down") << " within " << c.largest;
}

}  // namespace
