// The generated glow: grey, a 253 peak, black corners and the radial profile.
// Its header is checked where Windows loads it as bitmap 104.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "tools/generators/GlowBitmap.h"

namespace {

class GlowBitmap : public ::testing::Test {
protected:
    const std::vector<std::uint8_t> file = glow::makeGlowBitmapFile();

    // Pixel (x, row), row 0 being the first stored row; all three bytes.
    const std::uint8_t* pixel(int x, int row) const { return &file.at(54 + row * 192 + x * 3); }
};

TEST_F(GlowBitmap, IsGreyWithA253PeakAndBlackCorners) {
    ASSERT_EQ(file.size(), 54u + 64 * 64 * 3);
    int brightest = 0;
    for (int row = 0; row < 64; ++row) {
        for (int x = 0; x < 64; ++x) {
            const std::uint8_t* p = pixel(x, row);
            ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << "," << row;
            brightest = std::max(brightest, static_cast<int>(p[0]));
        }
    }
    EXPECT_EQ(brightest, 253);
    for (int c : {0, 63}) for (int r : {0, 63}) EXPECT_EQ(pixel(c, r)[0], 0) << c << "," << r;
}

TEST_F(GlowBitmap, RadialAveragesFollowTheProfile) {
    // Average grey of the pixels whose centre lies at each rounded distance
    // from the image centre (between the four middle pixels).
    std::map<int, std::pair<double, int>> rings;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            auto& ring = rings[static_cast<int>(std::lround(std::hypot(x + 0.5 - 32.0, y + 0.5 - 32.0)))];
            ring.first += pixel(x, y)[0];
            ring.second += 1;
        }
    }
    const std::map<int, int> expected = {
        {1, 253}, {2, 253}, {3, 253}, {5, 239},  {6, 217},  {7, 188},  {8, 164},
        {10, 134}, {12, 101}, {14, 80}, {16, 62}, {20, 37}, {24, 25}, {28, 16}, {32, 9},
        {36, 4},  {40, 2},   {42, 0},  {43, 0},  {44, 0},  {45, 0},
    };
    for (const auto& [distance, grey] : expected) {
        const auto& ring = rings.at(distance);
        EXPECT_NEAR(ring.first / ring.second, grey, 3.0) << "distance " << distance;
    }
}

}  // namespace
