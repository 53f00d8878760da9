// Mesa off-screen context and feedback-mode decoding for native GL tests.
#include "OsMesaContext.h"

#include <GL/osmesa.h>

// Mesa keeps its software renderer (screen, shader caches) for the life of
// the process and never frees it; that is not ours to fix, so the leak
// checker is told to look past allocations made inside Mesa and LLVM.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libOSMesa.so\n"
           "leak:libLLVM\n"
           "leak:libgallium\n";
}

OsMesaContext::OsMesaContext(int width, int height)
    : pixelWidth(width),
      pixelHeight(height),
      buffer(static_cast<std::size_t>(width) * height * 4, 0) {
    OSMesaContext created = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    if (created == nullptr) return;
    context = created;
    current = OSMesaMakeCurrent(created, buffer.data(), GL_UNSIGNED_BYTE, width, height) == GL_TRUE;
}

OsMesaContext::~OsMesaContext() {
    if (context == nullptr) return;
    if (OSMesaGetCurrentContext() == context) OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0);
    OSMesaDestroyContext(static_cast<OSMesaContext>(context));
}

std::size_t FeedbackCapture::polygonCount() const {
    std::size_t count = 0;
    for (const FeedbackItem& item : items) {
        if (item.token == GL_POLYGON_TOKEN) ++count;
    }
    return count;
}

std::vector<FeedbackVertex> FeedbackCapture::polygonVertices() const {
    std::vector<FeedbackVertex> all;
    for (const FeedbackItem& item : items) {
        if (item.token == GL_POLYGON_TOKEN) all.insert(all.end(), item.vertices.begin(), item.vertices.end());
    }
    return all;
}

namespace {
constexpr std::size_t ValuesPerVertex = 11;  // GL_3D_COLOR_TEXTURE in RGBA mode

FeedbackVertex readVertex(const std::vector<GLfloat>& values, std::size_t at) {
    const GLfloat* v = values.data() + at;
    return FeedbackVertex{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]};
}
}  // namespace

FeedbackCapture captureFeedback(const std::function<void()>& draw, std::size_t capacity) {
    std::vector<GLfloat> values(capacity);
    glFeedbackBuffer(static_cast<GLsizei>(capacity), GL_3D_COLOR_TEXTURE, values.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);

    FeedbackCapture capture;
    if (used < 0) {
        capture.overflowed = true;
        return capture;
    }
    const std::size_t end = static_cast<std::size_t>(used);
    std::size_t at = 0;
    while (at < end) {
        FeedbackItem item;
        item.token = static_cast<GLenum>(values[at++]);
        std::size_t vertexCount = 0;
        switch (item.token) {
        case GL_POLYGON_TOKEN:
            vertexCount = static_cast<std::size_t>(values[at++]);
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            vertexCount = 2;
            break;
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            vertexCount = 1;
            break;
        case GL_PASS_THROUGH_TOKEN:
            item.passThroughValue = values[at++];
            break;
        default:
            // Not a token: the buffer cannot be decoded further.
            capture.overflowed = true;
            return capture;
        }
        for (std::size_t i = 0; i < vertexCount && at + ValuesPerVertex <= end; ++i) {
            item.vertices.push_back(readVertex(values, at));
            at += ValuesPerVertex;
        }
        capture.items.push_back(std::move(item));
    }
    return capture;
}

void useCentredOrthographicView(const OsMesaContext& context, double depth) {
    const double halfWidth = context.width() / 2.0;
    const double halfHeight = context.height() / 2.0;
    glViewport(0, 0, context.width(), context.height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-halfWidth, halfWidth, -halfHeight, halfHeight, -depth, depth);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

FeedbackVertex sceneFromWindow(const OsMesaContext& context, double depth, const FeedbackVertex& v) {
    FeedbackVertex scene = v;
    scene.x = static_cast<float>(v.x - context.width() / 2.0);
    scene.y = static_cast<float>(v.y - context.height() / 2.0);
    // glOrtho maps eye z = -depth..depth to window depth 0..1 (near is +depth in front).
    scene.z = static_cast<float>((1.0 - 2.0 * v.z) * depth);
    return scene;
}
