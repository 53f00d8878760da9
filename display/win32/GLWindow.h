// The window, device context, OpenGL rendering context and message pump of
// one drawing run. Only one may exist per process.
#pragma once

#include <cstdint>

class GLWindow {
public:
    GLWindow();
    virtual ~GLWindow();

    GLWindow(const GLWindow&) = delete;
    GLWindow& operator=(const GLWindow&) = delete;

    // 1 to go on, 0 once the quit message has been taken from the queue.
    std::int32_t pumpMessages();
};
