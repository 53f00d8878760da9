#include <windows.h>

#include <GL/gl.h>

#include <vector>

#include "DisplayTestSupport.h"
#include "display/win32/SaverScene.h"

namespace {

using InspectedScene = displaytest::Inspected<SaverScene>;

class DisplaySaverScene : public displaytest::DisplayTest {};

TEST_F(DisplaySaverScene, DrawsWithTheGlowTextureUntilClosed) {
    InspectedScene scene;
    EXPECT_EQ(scene.windowWidth(), GetSystemMetrics(SM_CXSCREEN));
    ASSERT_EQ(scene.frameStep(), 1);

    // The texture in effect is the glow: 64x64, 253 in the middle, black corners.
    GLint bound = 0, width = 0, height = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    ASSERT_NE(bound, 0);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, 64);
    EXPECT_EQ(height, 64);
    std::vector<unsigned char> texels(64 * 64 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels[(32 * 64 + 32) * 3], 253);
    EXPECT_EQ(texels[0], 0);

    scene.resize(300, 0);  // a zero height is kept as one pixel
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport + 2, viewport + 4), (std::vector<GLint>{300, 1}));
    EXPECT_EQ(scene.windowHeight(), 1);

    // The run goes on until a close request has become the quit message.
    for (int i = 0; i < 20; ++i) ASSERT_EQ(scene.frameStep(), 1);
    settings.requestClose();
    int frames = 0;
    while (scene.frameStep() != 0 && frames < 100) ++frames;
    EXPECT_LT(frames, 100);
}

TEST_F(DisplaySaverScene, PreviewDrawsTheGlowIntoItsChildWindow) {
    ASSERT_NE(openHost(50, 50, 320, 240), nullptr);
    InspectedScene scene;
    // The emitter starts at the right edge of the view; by 2.5 seconds its
    // particles are well inside.
    for (int frames = 0; scene.timer.elapsedSeconds() < 2.5f && frames < 200000; ++frames) {
        ASSERT_EQ(scene.frameStep(), 1);
    }
    // Wine shows a child window's frame off screen, so the frame is read from
    // the buffer it was drawn into. Pixels whose blue leads with little red:
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
