#include <windows.h>

#include <GL/gl.h>

#include <vector>

#include "DisplayTestSupport.h"
#include "display/win32/SaverScene.h"

namespace {

using InspectedScene = displaytest::Inspected<SaverScene>;

class DisplaySaverScene : public displaytest::DisplayTest {};

// The full-screen glow is seen end to end; Wine shows no OpenGL drawn into a
// child window, so the preview's frame is read back here, from its own context.
TEST_F(DisplaySaverScene, PreviewDrawsTheGlowIntoItsChildWindow) {
    ASSERT_NE(openHost(50, 50, 320, 240), nullptr);
    InspectedScene scene;
    // The emitter starts at the right edge of the view; by 2.5 seconds its
    // particles are well inside.
    for (int frames = 0; scene.timer.elapsedSeconds() < 2.5f && frames < 200000; ++frames) {
        ASSERT_EQ(scene.frameStep(), 1);
    }
    // Pixels whose blue leads with little red:
    std::vector<unsigned char> pixels(static_cast<std::size_t>(scene.windowWidth()) * scene.windowHeight() * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, scene.windowWidth(), scene.windowHeight(), GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int blueCyan = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        const int r = pixels[i], g = pixels[i + 1], b = pixels[i + 2];
        if (r + g + b > 60 && b >= g && b > 2 * r + 20) ++blueCyan;
    }
    EXPECT_GT(blueCyan, 20);
}

TEST_F(DisplaySaverScene, MissingBitmapsFailAndReleaseTheWindowObject) {
    // A module that carries no bitmap 104 or 114.
    moduleInstance = reinterpret_cast<NativeHandle>(GetModuleHandleA("kernel32.dll"));
    EXPECT_EQ(displaytest::failureOf([] { SaverScene scene; }), "Failed to load textures");
    EXPECT_EQ(GLWindow::instance, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    UnregisterClassA("tirrans_class", reinterpret_cast<HINSTANCE>(moduleInstance));
}

}  // namespace
