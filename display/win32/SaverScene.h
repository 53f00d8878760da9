// The GLWindow that shows the scene on every monitor it covers: it loads the
// glow bitmaps from the module's resources, hands them to the portable
// scenes, and runs the body of the frame loop.
#pragma once

#include <cstdint>
#include <memory>

#include "display/MonitorScenes.h"
#include "display/win32/GLWindow.h"

class SaverScene : public GLWindow {
public:
    // Throws Exception: the window's failures, "Failed to load textures", and
    // the particle system's (anything unexpected reads "Unknown error").
    SaverScene();
    ~SaverScene() override;

    // Viewport and projection of the primary monitor's picture (the whole
    // preview's) for that size; a height of 0 is taken as 1.
    virtual void resize(std::int32_t width, std::int32_t height);
    // 1 while the run goes on, 0 once the quit message has been taken.
    std::int32_t frameStep();

protected:
    // The phases of one frame after the pump, in frameStep's order. They are
    // separate so that a frame benchmark can time each one.
    void updateParticles();
    void drawParticles();
    void presentFrame();
    MonitorScenes& monitorScenes() { return *scenes; }

private:
    void followDeskWithScenes();

    std::unique_ptr<MonitorScenes> scenes;
};
