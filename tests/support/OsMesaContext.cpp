#include "tests/support/OsMesaContext.h"

#include <GL/osmesa.h>

// Mesa keeps its software renderer for the life of the process and never
// frees it; the leak checker is told to look past allocations inside Mesa.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libOSMesa.so\n"
           "leak:libLLVM\n"
           "leak:libgallium\n";
}

OsMesaContext::OsMesaContext(int width, int height)
    : width(width), height(height), buffer(static_cast<std::size_t>(width) * height * 4, 0) {
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

std::vector<FeedbackVertex> FeedbackCapture::polygonVertices() const {
    std::vector<FeedbackVertex> all;
    for (const auto& polygon : polygons) all.insert(all.end(), polygon.begin(), polygon.end());
    return all;
}

FeedbackCapture captureFeedback(const std::function<void()>& draw) {
    constexpr std::size_t capacity = 1 << 16;
    constexpr std::size_t valuesPerVertex = 11;  // GL_3D_COLOR_TEXTURE in RGBA mode
    std::vector<GLfloat> values(capacity);
    glFeedbackBuffer(static_cast<GLsizei>(capacity), GL_3D_COLOR_TEXTURE, values.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);

    FeedbackCapture capture;
    capture.overflowed = used < 0;
    const std::size_t end = used < 0 ? 0 : static_cast<std::size_t>(used);
    for (std::size_t at = 0; at < end;) {
        if (static_cast<GLenum>(values[at++]) != GL_POLYGON_TOKEN) {
            ++capture.otherItems;
            break;
        }
        const std::size_t vertexCount = static_cast<std::size_t>(values[at++]);
        std::vector<FeedbackVertex> vertices;
        for (std::size_t i = 0; i < vertexCount && at + valuesPerVertex <= end; ++i, at += valuesPerVertex) {
            const GLfloat* v = &values[at];
            vertices.push_back(FeedbackVertex{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]});
        }
        capture.polygons.push_back(std::move(vertices));
    }
    return capture;
}

void useCentredOrthographicView(const OsMesaContext& context, double depth) {
    glViewport(0, 0, context.width, context.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-context.width / 2.0, context.width / 2.0, -context.height / 2.0, context.height / 2.0, -depth, depth);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

FeedbackVertex sceneFromWindow(const OsMesaContext& context, double depth, const FeedbackVertex& v) {
    FeedbackVertex scene = v;
    scene.x = static_cast<float>(v.x - context.width / 2.0);
    scene.y = static_cast<float>(v.y - context.height / 2.0);
    // glOrtho puts eye z = +depth (nearest) at window depth 0.
    scene.z = static_cast<float>((1.0 - 2.0 * v.z) * depth);
    return scene;
}
