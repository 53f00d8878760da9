#include "tests/support/OsMesaContext.h"

#include <GL/osmesa.h>

#include <stdexcept>

// Mesa keeps its software renderer for the life of the process and never
// frees it; the leak checker is told to look past allocations inside Mesa.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libOSMesa.so\nleak:libLLVM\nleak:libgallium\n";
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
