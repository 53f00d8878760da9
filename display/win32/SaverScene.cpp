// Placeholder until the display host lands: the drawing modes report that
// they are unavailable through the normal error path.
#include "display/win32/SaverScene.h"

#include "shell/Exception.h"

GLWindow::GLWindow() { throw Exception("Saver mode is not built yet."); }
GLWindow::~GLWindow() = default;
std::int32_t GLWindow::pumpMessages() { return 0; }

SaverScene::SaverScene() {}
SaverScene::~SaverScene() = default;
void SaverScene::resize(std::int32_t, std::int32_t) {}
std::int32_t SaverScene::frameStep() { return 0; }
std::int32_t SaverScene::loadTextures() { return 0; }
