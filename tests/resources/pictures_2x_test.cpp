// Every @2x picture is the same drawing painted again at twice the size:
// scaled down it is the picture the programs load, yet it holds detail that
// no enlargement of that picture has.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "game/model/bitmaps.h"
#include "tests/resources/resource_reader.h"

namespace {

std::string picture_file(int id) { return resource_dir() + "/game/" + std::to_string(id) + ".bmp"; }
std::string twin_file(int id) { return resource_dir() + "/game/" + std::to_string(id) + "@2x.png"; }

// A picture as doubles, 3 channels a pixel.
struct Image {
    int width = 0, height = 0;
    std::vector<double> v;
    double at(int x, int y, int c) const { return v[static_cast<std::size_t>((y * width + x) * 3 + c)]; }
    double& at(int x, int y, int c) { return v[static_cast<std::size_t>((y * width + x) * 3 + c)]; }
};

Image image(const Bitmap& b) { return {b.width, b.height, std::vector<double>(b.rgb.begin(), b.rgb.end())}; }

Image blank(int width, int height) { return {width, height, std::vector<double>(static_cast<std::size_t>(width * height * 3))}; }

// Each pixel the mean of the 2 x 2 it covers.
Image box_down(const Image& big) {
    Image small = blank(big.width / 2, big.height / 2);
    for (int y = 0; y < small.height; ++y)
        for (int x = 0; x < small.width; ++x)
            for (int c = 0; c < 3; ++c)
                small.at(x, y, c) = (big.at(2 * x, 2 * y, c) + big.at(2 * x + 1, 2 * y, c) + big.at(2 * x, 2 * y + 1, c) +
                                     big.at(2 * x + 1, 2 * y + 1, c)) / 4;
    return small;
}

// Catmull-Rom's cubic, the sharpest of the usual smooth ways to enlarge a
// picture (bilinear is smoother still): each pixel of twice the size the
// weighed four nearest of each row and column, pixel centres kept in place.
double cubic(double d) {
    d = std::abs(d);
    return d < 1 ? 1.5 * d * d * d - 2.5 * d * d + 1 : d < 2 ? -0.5 * d * d * d + 2.5 * d * d - 4 * d + 2 : 0;
}

Image enlarged(const Image& small) {
    Image big = blank(small.width * 2, small.height * 2);
    auto weights = [](int i, int size, std::vector<std::pair<int, double>>& w) {
        const double centre = (i + 0.5) / 2 - 0.5;
        const int first = static_cast<int>(std::floor(centre)) - 1;
        w.clear();
        for (int k = first; k < first + 4; ++k) w.push_back({std::clamp(k, 0, size - 1), cubic(centre - k)});
    };
    std::vector<std::pair<int, double>> wx, wy;
    for (int y = 0; y < big.height; ++y) {
        weights(y, small.height, wy);
        for (int x = 0; x < big.width; ++x) {
            weights(x, small.width, wx);
            for (int c = 0; c < 3; ++c) {
                double sum = 0;
                for (const auto& [sy, ky] : wy)
                    for (const auto& [sx, kx] : wx) sum += small.at(sx, sy, c) * kx * ky;
                big.at(x, y, c) = std::clamp(sum, 0.0, 255.0);
            }
        }
    }
    return big;
}

double mean_difference(const Image& a, const Image& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.v.size(); ++i) sum += std::abs(a.v[i] - b.v[i]);
    return sum / static_cast<double>(a.v.size());
}

// How sharp a picture is: the squares of the steps between neighbours. An
// edge one pixel wide gives a step of its whole contrast; a smooth
// enlargement spreads it over two or more smaller steps.
double steps(const Image& im) {
    double sum = 0;
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x)
            for (int c = 0; c < 3; ++c) {
                if (x + 1 < im.width) sum += std::pow(im.at(x + 1, y, c) - im.at(x, y, c), 2);
                if (y + 1 < im.height) sum += std::pow(im.at(x, y + 1, c) - im.at(x, y, c), 2);
            }
    return sum;
}

// What lies within the 2 x 2 squares that make one pixel at 1x: the squares
// of each pixel's difference from its square's mean. Nothing for a picture
// enlarged by repeating pixels.
double within_squares(const Image& big) {
    const Image mean = box_down(big);
    double sum = 0;
    for (int y = 0; y < mean.height * 2; ++y)
        for (int x = 0; x < mean.width * 2; ++x)
            for (int c = 0; c < 3; ++c) sum += std::pow(big.at(x, y, c) - mean.at(x / 2, y / 2, c), 2);
    return sum;
}

struct Pair {
    int id;
    Bitmap picture, twin;
};

const std::vector<Pair>& pairs() {
    static const std::vector<Pair> all = [] {
        std::vector<Pair> p;
        for (const BitmapInfo& b : BITMAP_CATALOGUE) p.push_back({b.id, read_bitmap(picture_file(b.id)), read_opaque_png(twin_file(b.id))});
        return p;
    }();
    return all;
}

TEST(Twins, EveryPictureHasAnOpaqueTwinOfTwiceItsSize) {
    for (const Pair& p : pairs()) {
        const BitmapInfo* b = find_bitmap(p.id);
        EXPECT_EQ(p.twin.width, 2 * b->width) << p.id;
        EXPECT_EQ(p.twin.height, 2 * b->height) << p.id;
    }
}

// The same drawing: each square of 2 x 2 pixels averages to the pixel it
// makes at 1x, but for edges, the splat's palette at 1x and the small
// rodents' whiskers, which show at 2x only (about 3 at most).
TEST(Twins, EachTwinScaledDownIsItsPicture) {
    for (const Pair& p : pairs())
        EXPECT_LT(mean_difference(box_down(image(p.twin)), image(p.picture)), 6.0) << p.id;
}

// Painted again rather than enlarged. Its edges are one pixel of 2x wide,
// so its steps hold twice the 1x's (more where lines thinner than a pixel
// at 1x come out whole), about 1.9 to 5 times what the sharpest smooth
// enlargement gives; and unlike a picture of repeated pixels, its 2 x 2
// squares are not flat (about 0.02 to 0.26 of its steps lie within them).
TEST(Twins, EachTwinHoldsDetailThatNoEnlargementHas) {
    for (const Pair& p : pairs()) {
        const Image one = image(p.picture), two = image(p.twin);
        EXPECT_GT(steps(two), 1.4 * steps(enlarged(one))) << p.id << " looks like an enlargement of the 1x";
        EXPECT_GT(within_squares(two), 0.005 * steps(two)) << p.id << " has flat 2 x 2 squares";
    }
}

}  // namespace
