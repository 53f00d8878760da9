// The GLWindow that draws the particle effect: texture, fixed GL state,
// projection and the particle system, and the body of the frame loop.
#pragma once

#include <cstdint>

#include "display/win32/GLWindow.h"

class SaverScene : public GLWindow {
public:
    SaverScene();
    ~SaverScene() override;

    virtual void resize(std::int32_t width, std::int32_t height);
    // 1 while the run goes on, 0 once the quit message has been taken.
    std::int32_t frameStep();

private:
    std::int32_t loadTextures();
};
