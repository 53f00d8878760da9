// The saver window's scenes: bitmaps 104 and 114 from the module, a scene
// per monitor built on them, and one frame after another until the quit
// message.
#include "display/win32/SaverScene.h"

#include "resources/ResourceIds.h"
#include "shell/RunMode.h"

namespace {

// A bitmap resource as a DIB section, for as long as the texture upload
// needs its bits. image() is null when there is no such bitmap or it is not
// 24-bit: other layouts would be read past their end.
class BitmapResource {
public:
    explicit BitmapResource(int id)
        : handle(LoadImageA(reinterpret_cast<HINSTANCE>(moduleInstance), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0,
                            0, LR_CREATEDIBSECTION)) {
        BITMAP bitmap{};
        if (handle != nullptr && GetObjectA(handle, sizeof bitmap, &bitmap) != 0 && bitmap.bmBits != nullptr &&
            bitmap.bmBitsPixel == 24 && bitmap.bmWidth > 0 && bitmap.bmHeight > 0) {
            texture = {bitmap.bmWidth, bitmap.bmHeight, bitmap.bmBits};
            usable = true;
        }
    }
    ~BitmapResource() {
        if (handle != nullptr) DeleteObject(handle);
    }
    BitmapResource(const BitmapResource&) = delete;
    BitmapResource& operator=(const BitmapResource&) = delete;

    const TextureImage* image() const { return usable ? &texture : nullptr; }

private:
    HANDLE handle;
    TextureImage texture;
    bool usable = false;
};

}  // namespace

SaverScene::SaverScene() {
    const BitmapResource glow(IDB_GLOW);
    const BitmapResource secondGlow(IDB_SECOND_GLOW);
    scenes = std::make_unique<MonitorScenes>(glow.image(), secondGlow.image(), GetTickCount(), layout);
    SaverScene::resize(width, height);
}

SaverScene::~SaverScene() = default;

void SaverScene::resize(std::int32_t newWidth, std::int32_t newHeight) {
    width = newWidth;
    height = Scene::usableHeight(newHeight);
    scenes->scene(0).reshape({layout.viewports[0].x, layout.viewports[0].y, width, height});
}

std::int32_t SaverScene::frameStep() {
    if (pumpMessages() == 0) {
        return 0;  // the picture last shown stays
    }
    followDeskWithScenes();
    if (!frameOwed()) {
        return 1;  // no display could show a frame yet, or nobody can see one
    }
    updateParticles();
    drawParticles();
    presentFrame();
    return 1;
}

void SaverScene::followDeskWithScenes() {
    if (!followDesk()) return;
    const BitmapResource glow(IDB_GLOW);
    const BitmapResource secondGlow(IDB_SECOND_GLOW);
    scenes->relayout(glow.image(), secondGlow.image(), layout, timer.elapsedSecondsPrecise());
    height = Scene::usableHeight(height);
}

void SaverScene::updateParticles() {
    // The absolute time since the timer started, not the frame's length.
    scenes->update(timer.elapsedSecondsPrecise());
}

void SaverScene::drawParticles() { scenes->draw(); }

void SaverScene::presentFrame() { SwapBuffers(deviceContext); }
