#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tools/generators/IconImage.h"

namespace {

std::uint32_t read16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes.at(at) | bytes.at(at + 1) << 8);
}

std::uint32_t read32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return read16(bytes, at) | read16(bytes, at + 2) << 16;
}

}  // namespace

TEST(IconImage, FileHasTwo32PixelImagesOf256And16Colours) {
    const std::vector<std::uint8_t> file = icon::makeIconFile();
    ASSERT_GE(file.size(), 6u + 2u * 16u);
    EXPECT_EQ(read16(file, 0), 0u);
    EXPECT_EQ(read16(file, 2), 1u);  // icon
    ASSERT_EQ(read16(file, 4), 2u);

    const std::uint32_t bits[] = {8, 4};
    const std::uint32_t colourCount[] = {0, 16};  // 0 stands for 256
    std::size_t expectedOffset = 6 + 2 * 16;
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const std::size_t entry = 6 + 16 * i;
        EXPECT_EQ(file[entry], 32);
        EXPECT_EQ(file[entry + 1], 32);
        EXPECT_EQ(file[entry + 2], colourCount[i]);
        EXPECT_EQ(read16(file, entry + 4), 1u);  // planes
        EXPECT_EQ(read16(file, entry + 6), bits[i]);
        const std::uint32_t size = read32(file, entry + 8);
        const std::uint32_t offset = read32(file, entry + 12);
        // The images follow the directory back to back and fill the file.
        EXPECT_EQ(offset, expectedOffset);
        expectedOffset += size;

        // Header, palette, colour rows (padded to 4 bytes), 1-bit mask rows.
        const std::uint32_t palette = (1u << bits[i]) * 4;
        const std::uint32_t colourRows = 32 * ((32 * bits[i] + 31) / 32 * 4);
        const std::uint32_t maskRows = 32 * 4;
        EXPECT_EQ(size, 40 + palette + colourRows + maskRows);
        ASSERT_LE(offset + size, file.size());
        EXPECT_EQ(read32(file, offset), 40u);
        EXPECT_EQ(read32(file, offset + 4), 32u);
        EXPECT_EQ(read32(file, offset + 8), 64u);  // colour image and mask
        EXPECT_EQ(read16(file, offset + 14), bits[i]);
        EXPECT_EQ(read32(file, offset + 16), 0u);  // uncompressed
        EXPECT_EQ(read32(file, offset + 20), colourRows + maskRows);
    }
    EXPECT_EQ(expectedOffset, file.size());
}

TEST(IconImage, GlowIsOpaqueInTheMiddleAndTransparentAtTheCorners) {
    for (const int bits : {8, 4}) {
        SCOPED_TRACE(bits);
        const std::vector<std::uint8_t> image = icon::makeIconImage(bits);
        const std::size_t colourStart = 40 + (std::size_t{1} << bits) * 4;
        const std::size_t colourRow = static_cast<std::size_t>(32 * bits / 8);
        const std::size_t maskStart = colourStart + 32 * colourRow;
        ASSERT_EQ(image.size(), maskStart + 32 * 4);
        auto masked = [&](int x, int row) {
            return (image[maskStart + static_cast<std::size_t>(row) * 4 + static_cast<std::size_t>(x / 8)] &
                    (0x80 >> (x % 8))) != 0;
        };
        auto colourIndex = [&](int x, int row) {
            const std::uint8_t byte =
                image[colourStart + static_cast<std::size_t>(row) * colourRow +
                      static_cast<std::size_t>(x * bits / 8)];
            return bits == 8 ? byte : (x % 2 == 0 ? byte >> 4 : byte & 0x0F);
        };
        EXPECT_TRUE(masked(0, 0));
        EXPECT_TRUE(masked(31, 31));
        EXPECT_EQ(colourIndex(0, 0), 0);
        EXPECT_FALSE(masked(16, 16));
        // The centre is the brightest part, brighter than halfway out.
        EXPECT_GT(colourIndex(16, 16), colourIndex(16, 24));
        EXPECT_GT(colourIndex(16, 24), 0);
    }
}

TEST(IconImage, PaletteIsBlueAndCyanTowardsTheBrightEnd) {
    const std::vector<std::uint8_t> image = icon::makeIconImage(8);
    // Palette entries are blue, green, red, reserved.
    const std::uint8_t* darkest = &image[40];
    const std::uint8_t* middle = &image[40 + 4 * 128];
    EXPECT_EQ(darkest[0] + darkest[1] + darkest[2], 0);
    EXPECT_EQ(middle[0], 255);           // full blue
    EXPECT_GT(middle[1], middle[2]);     // more green than red: cyan side
}
