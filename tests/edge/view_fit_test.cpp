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

// The page's pixels: the backing store and the pictures, on the screens
// and windows people have.
TEST(PagePixels, TheCanvasHasAPixelForEveryDevicePixel) {
    struct Case {
        double window_w, window_h, ratio;
        int w, h;
    } cases[] = {
        {1280, 786, 1, 1280, 786},
        {1280, 786, 2, 2560, 1572},
        {800, 600, 1, 800, 491},     // 491.25 rounds down
        {1920, 1080, 1, 1759, 1080}, // and 1758.78 up
        {844, 390, 3, 1905, 1170},   // a phone held sideways: 635.1 x 390 page pixels
        {390, 844, 3, 1170, 718},    // and upright: 239.48 page pixels high
        {1366, 768, 1.25, 1563, 960},
    };
    for (const Case& c : cases) {
        const Backing b = backing_store(fit_view(c.window_w, c.window_h), c.ratio);
        EXPECT_EQ(b.width, c.w) << c.window_w << " x " << c.window_h << " at " << c.ratio;
        EXPECT_EQ(b.height, c.h) << c.window_w << " x " << c.window_h << " at " << c.ratio;
    }
    const Backing none = backing_store(fit_view(0, 500), 2);
    EXPECT_EQ(none.width, 1) << "never a canvas of no pixels";
    EXPECT_EQ(none.height, 1);
    const Backing unknown = backing_store(fit_view(1280, 786), 0);
    EXPECT_EQ(unknown.width, 1280) << "no ratio reported: one to one";
}

TEST(PagePixels, TheTwinsAreDrawnWhereAFieldPixelCoversMoreThanOneDevicePixel) {
    struct Case {
        double window_w, window_h, ratio;
        int scale;
    } cases[] = {
        {1280, 786, 1, 1},      // one to one
        {1279, 786, 1, 1},
        {1600, 900, 1, 2},      // a large window enlarges the field
        {1280, 786, 2, 2},
        {640, 393, 2, 1},       // half the size at twice the density: one to one again
        {641, 394, 2, 2},
        {844, 390, 3, 2},       // a phone held sideways
        {390, 844, 3, 1},       // upright: 0.91 device pixels a field pixel
        {1024, 700, 1.25, 1},   // exactly one, at 125 %
        {1000, 524, 1.5, 1},    // and at 150 %, held by the height
        {0, 500, 3, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(picture_scale(fit_view(c.window_w, c.window_h), c.ratio), c.scale)
            << c.window_w << " x " << c.window_h << " at " << c.ratio;
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

// The Windows window at every scale it can open at: a device pixel is inside
// an element's drawn rectangle exactly when the field pixel it stands for is
// inside the element, so a press lands on what it was aimed at; a picture
// made device_length big covers its element wherever the element lies; one
// to one nothing moves and at twice the size every field pixel is a square
// of four.
TEST(WindowPixels, APressLandsOnTheElementDrawnUnderIt) {
    for (int twentieths = 5; twentieths <= 60; ++twentieths) {
        const double s = twentieths / 20.0;
        for (int v = 0; v <= FIELD_WIDTH; ++v) {
            const int edge = device_edge(v, s);
            ASSERT_GE(field_pixel(edge, s), v) << "the first pixel drawn at " << v << ", scale " << s;
            ASSERT_LT(field_pixel(edge - 1, s), v) << "the pixel before it, scale " << s;
            for (int length : {1, 14, 35, 101})
                ASSERT_GE(device_length(length, s), device_edge(v + length, s) - edge)
                    << length << " from " << v << ", scale " << s;
        }
        for (int p = 1; p < device_edge(FIELD_WIDTH, s); ++p)
            ASSERT_LE(field_pixel(p - 1, s), field_pixel(p, s)) << "in order, scale " << s;
    }
    for (int v : {0, 1, 14, 786, 1280}) {
        EXPECT_EQ(device_edge(v, 1), v);
        EXPECT_EQ(field_pixel(v, 1), v);
        EXPECT_EQ(device_length(v, 1), v);
        EXPECT_EQ(device_edge(v, 2), 2 * v);
        EXPECT_EQ(field_pixel(2 * v + 1, 2), v);
    }
    EXPECT_EQ(device_edge(FIELD_HEIGHT, 0.9), 707) << "786 x 0.9 = 707.4";
    EXPECT_EQ(device_length(FIELD_HEIGHT, 0.9), 708);
}

}  // namespace
