#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "tools/generators/GlowBitmap.h"

namespace {

std::uint32_t readLittleEndian(const std::vector<std::uint8_t>& file, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | file.at(at + i);
    }
    return value;
}

class GlowBitmap : public ::testing::Test {
protected:
    const std::vector<std::uint8_t> file = glow::makeGlowBitmapFile();
    static constexpr std::size_t pixelOffset = 54;

    // Pixel (x, row) where row 0 is the first stored row; all three bytes.
    const std::uint8_t* pixel(int x, int row) const {
        return &file.at(pixelOffset + static_cast<std::size_t>(row) * 192 + x * 3);
    }
};

TEST_F(GlowBitmap, IsAnUncompressed24BitBitmapOf64By64) {
    ASSERT_EQ(file.size(), 54u + 12288u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(readLittleEndian(file, 2, 4), file.size());
    EXPECT_EQ(readLittleEndian(file, 10, 4), pixelOffset);
    EXPECT_EQ(readLittleEndian(file, 14, 4), 40u);  // information header size
    EXPECT_EQ(static_cast<std::int32_t>(readLittleEndian(file, 18, 4)), 64);
    // A positive height: rows run bottom first.
    EXPECT_EQ(static_cast<std::int32_t>(readLittleEndian(file, 22, 4)), 64);
    EXPECT_EQ(readLittleEndian(file, 26, 2), 1u);
    EXPECT_EQ(readLittleEndian(file, 28, 2), 24u);
    EXPECT_EQ(readLittleEndian(file, 30, 4), 0u);  // BI_RGB
    EXPECT_EQ(readLittleEndian(file, 46, 4), 0u);  // no palette
}

TEST_F(GlowBitmap, IsGreyWithA253PeakAndBlackCorners) {
    int brightest = 0;
    for (int row = 0; row < 64; ++row) {
        for (int x = 0; x < 64; ++x) {
            const std::uint8_t* p = pixel(x, row);
            ASSERT_EQ(p[0], p[1]) << x << "," << row;
            ASSERT_EQ(p[1], p[2]) << x << "," << row;
            brightest = std::max(brightest, static_cast<int>(p[0]));
        }
    }
    EXPECT_EQ(brightest, 253);
    EXPECT_EQ(pixel(31, 31)[0], 253);
    EXPECT_EQ(pixel(32, 32)[0], 253);
    for (int c : {0, 63}) {
        for (int r : {0, 63}) {
            EXPECT_EQ(pixel(c, r)[0], 0) << c << "," << r;
        }
    }
}

TEST_F(GlowBitmap, RadialAveragesFollowTheProfile) {
    // Average grey of the pixels whose centre lies at each rounded distance
    // from the image centre (between the four middle pixels).
    std::map<int, std::pair<double, int>> rings;
    for (int row = 0; row < 64; ++row) {
        for (int y = row, x = 0; x < 64; ++x) {
            const double d = std::hypot(x + 0.5 - 32.0, y + 0.5 - 32.0);
            auto& ring = rings[static_cast<int>(std::lround(d))];
            ring.first += pixel(x, row)[0];
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

TEST_F(GlowBitmap, FallsOffSteadilyFromTheCentre) {
    for (double d = 0.0; d < 46.0; d += 0.25) {
        EXPECT_GE(glow::smoothGreyAt(d), glow::smoothGreyAt(d + 0.25)) << d;
    }
}

}  // namespace
