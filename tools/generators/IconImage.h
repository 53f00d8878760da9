// The saver's icon: a glowing blue-cyan dot, as a .ico file with two 32x32
// images, a 256-colour one (8 bits per pixel) and a 16-colour one (4 bits).
#pragma once

#include <cstdint>
#include <vector>

namespace icon {

constexpr int imageSize = 32;
constexpr int directoryBytes = 6;
constexpr int entryBytes = 16;
constexpr int infoHeaderBytes = 40;

// The glow's strength at pixel (x, y), from 0 (transparent) to 1 (centre).
double intensityAt(int x, int y);

// One icon image as a .ico stores it: an information header whose height
// counts the colour image and the mask together, the palette (2^bitsPerPixel
// colours), the colour pixels and the 1-bit transparency mask, rows bottom
// first. bitsPerPixel is 8 or 4.
std::vector<std::uint8_t> makeIconImage(int bitsPerPixel);

// The whole .ico file: directory, one entry per image, then the images.
std::vector<std::uint8_t> makeIconFile();

}  // namespace icon
