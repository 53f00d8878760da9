// A software OpenGL context for native tests (Mesa's off-screen renderer into
// an RGBA byte buffer, no X server), and capture of what a drawing call sends
// down the pipeline through GL feedback mode, in exact window coordinates.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <functional>
#include <vector>

class OsMesaContext {
public:
    // RGBA with a 16-bit depth buffer, current on this thread.
    OsMesaContext(int width, int height);
    ~OsMesaContext();
    OsMesaContext(const OsMesaContext&) = delete;
    OsMesaContext& operator=(const OsMesaContext&) = delete;

    bool isCurrent() const { return current; }
    // R, G, B, A of a pixel, row 0 at the bottom.
    const std::uint8_t* pixel(int x, int y) const { return &buffer[(static_cast<std::size_t>(y) * width + x) * 4]; }

    const int width;
    const int height;

private:
    void* context = nullptr;  // an OSMesaContext
    bool current = false;
    std::vector<std::uint8_t> buffer;
};

// One vertex as GL_3D_COLOR_TEXTURE feedback reports it.
struct FeedbackVertex {
    float x, y, z;
    float r, g, b, a;
    float s, t, r3, q;
};

struct FeedbackCapture {
    bool overflowed = false;
    std::vector<std::vector<FeedbackVertex>> polygons;  // after clipping, in order
    std::size_t otherItems = 0;                         // decoding stops at the first non-polygon

    std::vector<FeedbackVertex> polygonVertices() const;
};

// Runs draw in feedback mode on the current context (nothing reaches the
// colour buffer) and decodes the result.
FeedbackCapture captureFeedback(const std::function<void()>& draw);

// Viewport over the whole context and an orthographic projection centred on
// it, scene z in [-depth, depth], identity model-view; sceneFromWindow maps back.
void useCentredOrthographicView(const OsMesaContext& context, double depth);
FeedbackVertex sceneFromWindow(const OsMesaContext& context, double depth, const FeedbackVertex& v);
