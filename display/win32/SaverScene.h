// The GLWindow that shows the scene on every monitor it covers: it loads the
// glow bitmaps from the module's resources and hands them to the run, whose
// frame step is the body of the program's loop.
#pragma once

#include <cstdint>

#include "display/win32/GLWindow.h"

// A bitmap resource as a DIB section, for as long as the run may build
// textures from its bits. image() is null when there is no such bitmap or it
// is not 24-bit: other layouts would be read past their end.
class BitmapResource {
public:
    explicit BitmapResource(int id);
    ~BitmapResource();
    BitmapResource(const BitmapResource&) = delete;
    BitmapResource& operator=(const BitmapResource&) = delete;

    const TextureImage* image() const { return usable ? &texture : nullptr; }

private:
    HANDLE handle;
    TextureImage texture;
    bool usable = false;
};

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
    std::int32_t frameStep() { return run.frameStep(); }

private:
    BitmapResource glow;
    BitmapResource secondGlow;
};
