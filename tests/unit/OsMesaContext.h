// A software OpenGL context for native tests: Mesa's off-screen renderer
// drawing into a plain RGBA byte buffer, with no X server. Also captures
// what a drawing call sends down the pipeline through GL feedback mode,
// which reports the exact window coordinates of every vertex.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <functional>
#include <vector>

class OsMesaContext {
public:
    // An RGBA context with a 16-bit depth buffer, current on this thread.
    OsMesaContext(int width, int height);
    ~OsMesaContext();
    OsMesaContext(const OsMesaContext&) = delete;
    OsMesaContext& operator=(const OsMesaContext&) = delete;

    bool isCurrent() const { return current; }
    int width() const { return pixelWidth; }
    int height() const { return pixelHeight; }
    // R, G, B, A of a pixel, row 0 at the bottom.
    const std::uint8_t* pixel(int x, int y) const { return &buffer[(static_cast<std::size_t>(y) * pixelWidth + x) * 4]; }

private:
    void* context = nullptr;  // OSMesaContext, kept opaque to users
    bool current = false;
    int pixelWidth;
    int pixelHeight;
    std::vector<std::uint8_t> buffer;
};

// One vertex as feedback mode reports it (GL_3D_COLOR_TEXTURE): window
// coordinates, the colour in effect, and the texture coordinate.
struct FeedbackVertex {
    float x, y, z;
    float r, g, b, a;
    float s, t, r3, q;
};

struct FeedbackCapture {
    bool overflowed = false;
    std::vector<std::vector<FeedbackVertex>> polygons;  // after clipping, in order
    std::size_t otherItems = 0;                         // points, lines, pixels, markers

    std::size_t polygonCount() const { return polygons.size(); }
    std::vector<FeedbackVertex> polygonVertices() const;
};

// Runs draw in feedback mode on the current context and decodes the result.
// Nothing reaches the colour buffer while draw runs.
FeedbackCapture captureFeedback(const std::function<void()>& draw, std::size_t capacity = 1 << 16);

// Viewport over the whole context and an orthographic projection centred on
// it: window x = x + width/2, y = y + height/2, z = (1 - z/depth)/2, for scene
// z in [-depth, depth]; identity model-view. sceneFromWindow maps back.
void useCentredOrthographicView(const OsMesaContext& context, double depth);
FeedbackVertex sceneFromWindow(const OsMesaContext& context, double depth, const FeedbackVertex& v);
