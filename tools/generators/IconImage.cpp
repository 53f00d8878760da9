// Icon images are written byte by byte, little-endian, so the generator gives
// the same file on any build machine.
#include "tools/generators/IconImage.h"

#include <algorithm>
#include <cmath>

namespace icon {

namespace {

constexpr double glowRadius = 15.0;

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFFu);
    put16(out, value >> 16);
}

// Rows of a bitmap are padded to whole 32-bit words.
int rowBytes(int bitsPerPixel) { return (imageSize * bitsPerPixel + 31) / 32 * 4; }

// The palette runs from black through deep blue and cyan to white, so that
// a higher index is a brighter part of the glow.
void putPalette(std::vector<std::uint8_t>& out, int colours) {
    for (int i = 0; i < colours; ++i) {
        const double t = colours > 1 ? static_cast<double>(i) / (colours - 1) : 0.0;
        const double blue = std::min(1.0, t * 2.0);
        const double green = std::clamp((t - 0.25) * 1.6, 0.0, 1.0);
        const double red = std::clamp((t - 0.75) * 4.0, 0.0, 1.0);
        out.push_back(static_cast<std::uint8_t>(std::lround(blue * 255.0)));
        out.push_back(static_cast<std::uint8_t>(std::lround(green * 255.0)));
        out.push_back(static_cast<std::uint8_t>(std::lround(red * 255.0)));
        out.push_back(0);
    }
}

}  // namespace

double intensityAt(int x, int y) {
    const double dx = x + 0.5 - imageSize / 2.0;
    const double dy = y + 0.5 - imageSize / 2.0;
    const double falloff = 1.0 - std::sqrt(dx * dx + dy * dy) / glowRadius;
    return falloff > 0.0 ? falloff * falloff : 0.0;
}

std::vector<std::uint8_t> makeIconImage(int bitsPerPixel) {
    const int colours = 1 << bitsPerPixel;
    const int colourRow = rowBytes(bitsPerPixel);
    const int maskRow = rowBytes(1);
    std::vector<std::uint8_t> out;

    put32(out, infoHeaderBytes);
    put32(out, imageSize);
    put32(out, imageSize * 2);  // colour image and mask, stacked
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    put32(out, 0);  // uncompressed
    put32(out, static_cast<std::uint32_t>((colourRow + maskRow) * imageSize));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    putPalette(out, colours);

    std::vector<std::uint8_t> mask;
    for (int row = imageSize - 1; row >= 0; --row) {
        std::vector<std::uint8_t> colourBits(static_cast<std::size_t>(colourRow), 0);
        std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(maskRow), 0);
        for (int x = 0; x < imageSize; ++x) {
            const double strength = intensityAt(x, row);
            const int index = static_cast<int>(std::lround(strength * (colours - 1)));
            if (index == 0) {
                // Transparent: mask bit set, colour black, so the screen shows through.
                maskBits[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
                continue;
            }
            if (bitsPerPixel == 8) {
                colourBits[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(index);
            } else {
                const int shift = x % 2 == 0 ? 4 : 0;
                colourBits[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(index << shift);
            }
        }
        out.insert(out.end(), colourBits.begin(), colourBits.end());
        mask.insert(mask.end(), maskBits.begin(), maskBits.end());
    }
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

std::vector<std::uint8_t> makeIconFile() {
    const int depths[] = {8, 4};
    const std::vector<std::uint8_t> images[] = {makeIconImage(depths[0]), makeIconImage(depths[1])};
    constexpr int count = 2;

    std::vector<std::uint8_t> out;
    put16(out, 0);
    put16(out, 1);  // icon, not cursor
    put16(out, count);
    std::uint32_t offset = directoryBytes + entryBytes * count;
    for (int i = 0; i < count; ++i) {
        out.push_back(imageSize);
        out.push_back(imageSize);
        // Colour count; 0 stands for 256 or more.
        out.push_back(static_cast<std::uint8_t>(depths[i] >= 8 ? 0 : 1 << depths[i]));
        out.push_back(0);
        put16(out, 1);
        put16(out, static_cast<std::uint32_t>(depths[i]));
        put32(out, static_cast<std::uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const std::vector<std::uint8_t>& image : images) {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}

}  // namespace icon
