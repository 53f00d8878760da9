// The particle texture: a 64x64 grey glow, bright in the middle and black at
// the corners, written as an uncompressed 24-bit Windows bitmap file.
#pragma once

#include <cstdint>
#include <vector>

namespace glow {

constexpr int imageSize = 64;
constexpr int bytesPerPixel = 3;
constexpr int rowBytes = imageSize * bytesPerPixel;  // 192: already a multiple of 4
constexpr int fileHeaderBytes = 14;
constexpr int infoHeaderBytes = 40;

// The smooth grey level of the glow at a distance (in pixels) from its centre.
double smoothGreyAt(double distance);

// Distance of pixel (x, y) from the image centre, measured between pixel
// centres: the centre lies between the four middle pixels.
double distanceFromCentre(int x, int y);

// The whole .bmp file: file header, information header, then the rows
// bottom first, each pixel as blue, green, red (all equal).
std::vector<std::uint8_t> makeGlowBitmapFile();

}  // namespace glow
