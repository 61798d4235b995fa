// The one little-endian reader: fields at the very end of the bytes, and
// fields that do not lie inside them, which read as 0.

#include "game/edge/little_endian.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

const std::vector<std::uint8_t> BYTES = {0x01, 0x02, 0x03, 0x04, 0xFE, 0xFF};

TEST(LittleEndian, FieldsUpToTheLastByte) {
    EXPECT_EQ(le16(BYTES, 0), 0x0201u);
    EXPECT_EQ(le32(BYTES, 0), 0x04030201u);
    EXPECT_EQ(le16(BYTES, 4), 0xFFFEu) << "the last two bytes";
    EXPECT_EQ(le32(BYTES, 2), 0xFFFE0403u) << "the last four bytes";
}

TEST(LittleEndian, FieldsNotInsideTheBytesReadAsZero) {
    constexpr std::size_t FAR = std::numeric_limits<std::size_t>::max();
    const struct {
        std::size_t at;
        const char* what;
    } cases[] = {{5, "one byte in"}, {6, "at the end"}, {7, "past the end"}, {FAR - 1, "where at + 2 wraps"},
                 {FAR, "at the largest place"}};
    for (const auto& c : cases) {
        EXPECT_EQ(le16(BYTES, c.at), 0u) << c.what;
        EXPECT_EQ(le32(BYTES, c.at), 0u) << c.what;
    }
    EXPECT_EQ(le32(BYTES, 3), 0u) << "three bytes in";
    EXPECT_EQ(le16({}, 0), 0u);
    EXPECT_TRUE(fits(BYTES, 6, 0));
    EXPECT_TRUE(fits(BYTES, 2, 4));
    EXPECT_FALSE(fits(BYTES, 2, FAR)) << "a count that wraps";
    EXPECT_FALSE(fits(BYTES, FAR, 2)) << "a place that wraps";
}

}  // namespace
