// A software OpenGL context for native tests: Mesa's off-screen renderer
// drawing into a plain RGBA byte buffer, with no X server. Also captures
// what a drawing call sends down the pipeline through GL feedback mode,
// which reports the exact window coordinates of every vertex.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class OsMesaContext {
public:
    // Creates an RGBA context with a 16-bit depth buffer and makes it
    // current on this thread. isCurrent() tells whether that worked.
    OsMesaContext(int width, int height);
    ~OsMesaContext();

    OsMesaContext(const OsMesaContext&) = delete;
    OsMesaContext& operator=(const OsMesaContext&) = delete;

    bool isCurrent() const { return current; }
    int width() const { return pixelWidth; }
    int height() const { return pixelHeight; }

    // The colour buffer, 4 bytes a pixel (R, G, B, A), row 0 at the bottom.
    const std::uint8_t* pixels() const { return buffer.data(); }
    const std::uint8_t* pixel(int x, int y) const {
        return buffer.data() + (static_cast<std::size_t>(y) * pixelWidth + x) * 4;
    }

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

// One reported item: a polygon (after clipping), line, point or pass-through
// marker, in the order GL produced them.
struct FeedbackItem {
    GLenum token;
    std::vector<FeedbackVertex> vertices;
    float passThroughValue = 0.0f;
};

struct FeedbackCapture {
    bool overflowed = false;
    std::vector<FeedbackItem> items;

    std::size_t polygonCount() const;
    // Every vertex of every polygon, in order.
    std::vector<FeedbackVertex> polygonVertices() const;
};

// Runs draw in feedback mode on the current context and decodes the result.
// Nothing reaches the colour buffer while draw runs.
FeedbackCapture captureFeedback(const std::function<void()>& draw, std::size_t capacity = 1 << 16);

// Sets the viewport to the whole context and an orthographic projection in
// which scene coordinates map to window coordinates simply:
// window x = x + width/2, window y = y + height/2, window z = (1 - z/depth)/2,
// for scene z in [-depth, depth]. The model-view matrix is set to identity.
void useCentredOrthographicView(const OsMesaContext& context, double depth);
// The scene point that useCentredOrthographicView maps to a window vertex.
FeedbackVertex sceneFromWindow(const OsMesaContext& context, double depth, const FeedbackVertex& v);
