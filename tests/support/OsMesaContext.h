// A software OpenGL context for native tests (Mesa's off-screen renderer into
// an RGBA byte buffer, no X server).
#pragma once

#include <cstdint>
#include <vector>

struct OsMesaContext {
    // RGBA with a 16-bit depth buffer, made current on this thread; throws when Mesa cannot.
    OsMesaContext(int width, int height);
    ~OsMesaContext();
    // R, G, B, A of a pixel, row 0 at the bottom.
    const std::uint8_t* pixel(int x, int y) const { return &buffer[(static_cast<std::size_t>(y) * width + x) * 4]; }

    const int width, height;
    std::vector<std::uint8_t> buffer;
    void* context;  // an OSMesaContext
};
