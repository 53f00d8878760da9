#include "tests/support/OsMesaContext.h"

#include <GL/osmesa.h>
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

// Mesa keeps its software renderer for the life of the process and never
// frees it; the leak checker is told to look past allocations inside Mesa.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libOSMesa.so\n"
           "leak:libLLVM\n"
           "leak:libgallium\n";
}

OsMesaContext::OsMesaContext(int width, int height)
    : width(width), height(height), buffer(static_cast<std::size_t>(width) * height * 4),
      context(OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr)) {
    if (context == nullptr ||
        !OSMesaMakeCurrent(static_cast<OSMesaContext>(context), buffer.data(), GL_UNSIGNED_BYTE, width, height)) {
        throw std::runtime_error("no OSMesa context");
    }
}

OsMesaContext::~OsMesaContext() {
    OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0);
    OSMesaDestroyContext(static_cast<OSMesaContext>(context));
}

std::vector<FeedbackVertex> captureFeedback(const std::function<void()>& draw) {
    static_assert(sizeof(FeedbackVertex) == 11 * sizeof(GLfloat), "one vertex of GL_3D_COLOR_TEXTURE");
    std::vector<GLfloat> values(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(values.size()), GL_3D_COLOR_TEXTURE, values.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "the feedback buffer overflowed";
    // Each polygon is its token, its vertex count and the vertices. Decoding
    // stops at anything else; the tests draw only polygons, and count them.
    std::vector<FeedbackVertex> vertices;
    for (GLint at = 0; at < used && values[at] == GL_POLYGON_TOKEN; at += 2 + 11 * static_cast<GLint>(values[at + 1])) {
        const std::size_t count = static_cast<std::size_t>(values[at + 1]);
        vertices.resize(vertices.size() + count);
        std::memcpy(&vertices[vertices.size() - count], &values[at + 2], count * sizeof(FeedbackVertex));
    }
    return vertices;
}
