// The glow's radial profile and its .bmp encoding. The profile is a smooth
// fall-off through measured points: flat at 253 in the core, half bright at
// about 11 pixels, black beyond 42.
#include "resources/GlowBitmap.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace glow {
namespace {

struct ProfilePoint {
    double distance;
    double grey;
};

const ProfilePoint profile[] = {
    {0, 253}, {3, 253}, {5, 239}, {6, 217}, {7, 188}, {8, 164}, {10, 134}, {12, 101},
    {14, 80}, {16, 62}, {20, 37}, {24, 25}, {28, 16}, {32, 9},  {36, 4},   {40, 2},
    {42, 0},
};

void putLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

}  // namespace

double smoothGreyAt(double distance) {
    const std::size_t count = sizeof profile / sizeof profile[0];
    if (!(distance > profile[0].distance)) {
        return profile[0].grey;
    }
    for (std::size_t i = 1; i < count; ++i) {
        if (distance <= profile[i].distance) {
            const ProfilePoint& a = profile[i - 1];
            const ProfilePoint& b = profile[i];
            const double t = (distance - a.distance) / (b.distance - a.distance);
            return a.grey + (b.grey - a.grey) * t;
        }
    }
    return 0.0;
}

double distanceFromCentre(int x, int y) {
    const double centre = imageSize / 2.0;
    return std::hypot(x + 0.5 - centre, y + 0.5 - centre);
}

std::vector<std::uint8_t> makeGlowBitmapFile() {
    const std::uint32_t pixelBytes = rowBytes * imageSize;
    const std::uint32_t offset = fileHeaderBytes + infoHeaderBytes;
    std::vector<std::uint8_t> file;
    file.reserve(offset + pixelBytes);

    // BITMAPFILEHEADER
    file.push_back('B');
    file.push_back('M');
    putLittleEndian(file, offset + pixelBytes, 4);
    putLittleEndian(file, 0, 4);  // two reserved words
    putLittleEndian(file, offset, 4);

    // BITMAPINFOHEADER: positive height, so rows run bottom first.
    putLittleEndian(file, infoHeaderBytes, 4);
    putLittleEndian(file, imageSize, 4);
    putLittleEndian(file, imageSize, 4);
    putLittleEndian(file, 1, 2);   // planes
    putLittleEndian(file, 24, 2);  // bits per pixel
    putLittleEndian(file, 0, 4);   // BI_RGB: uncompressed
    putLittleEndian(file, pixelBytes, 4);
    putLittleEndian(file, 2835, 4);  // 72 dots per inch, both axes
    putLittleEndian(file, 2835, 4);
    putLittleEndian(file, 0, 4);  // no palette
    putLittleEndian(file, 0, 4);

    // The smooth fall-off, evaluated at each pixel, is shifted ring by ring
    // (pixels at the same rounded distance) so that every ring's average is
    // the profile's value at that distance: pixel centres do not sit evenly
    // inside a ring, and the curve bends most where it is steepest.
    const int ringCount = imageSize;
    double ringSum[ringCount] = {};
    int ringPixels[ringCount] = {};
    for (int y = 0; y < imageSize; ++y) {
        for (int x = 0; x < imageSize; ++x) {
            const double d = distanceFromCentre(x, y);
            const int ring = static_cast<int>(std::lround(d));
            ringSum[ring] += smoothGreyAt(d);
            ringPixels[ring] += 1;
        }
    }
    double ringShift[ringCount] = {};
    for (int ring = 0; ring < ringCount; ++ring) {
        if (ringPixels[ring] > 0) {
            ringShift[ring] = smoothGreyAt(ring) - ringSum[ring] / ringPixels[ring];
        }
    }
    const double peak = profile[0].grey;
    // The glow is symmetric, so the bottom-up order does not change it.
    for (int row = 0; row < imageSize; ++row) {
        for (int x = 0; x < imageSize; ++x) {
            const double d = distanceFromCentre(x, row);
            const double shifted = smoothGreyAt(d) + ringShift[std::lround(d)];
            const std::uint8_t grey =
                static_cast<std::uint8_t>(std::lround(std::clamp(shifted, 0.0, peak)));
            file.insert(file.end(), {grey, grey, grey});
        }
    }
    return file;
}

}  // namespace glow
