// A software OpenGL context for native tests (Mesa's off-screen renderer into
// an RGBA byte buffer, no X server), and what a drawing call sends down the
// pipeline, caught in GL feedback mode in exact window coordinates.
#pragma once

#include <cstdint>
#include <functional>
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

// One polygon vertex as GL_3D_COLOR_TEXTURE feedback reports it.
struct FeedbackVertex {
    float x, y, z, r, g, b, a, s, t, r3, q;
};

// Runs draw in feedback mode on the current context (nothing reaches the
// colour buffer) and returns the vertices of its polygons in order; an
// overflow fails the test.
std::vector<FeedbackVertex> captureFeedback(const std::function<void()>& draw);
