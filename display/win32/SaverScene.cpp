// The saver window's scenes: bitmaps 104 and 114 from the module, and a scene
// per monitor built on them.
#include "display/win32/SaverScene.h"

#include "resources/ResourceIds.h"
#include "shell/RunMode.h"

BitmapResource::BitmapResource(int id)
    : handle(LoadImageA(reinterpret_cast<HINSTANCE>(moduleInstance), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                        LR_CREATEDIBSECTION)) {
    BITMAP bitmap{};
    if (handle != nullptr && GetObjectA(handle, sizeof bitmap, &bitmap) != 0 && bitmap.bmBits != nullptr &&
        bitmap.bmBitsPixel == 24 && bitmap.bmWidth > 0 && bitmap.bmHeight > 0) {
        texture = {bitmap.bmWidth, bitmap.bmHeight, bitmap.bmBits};
        usable = true;
    }
}

BitmapResource::~BitmapResource() {
    if (handle != nullptr) DeleteObject(handle);
}

// The bitmaps stay loaded for the run: a monitor that joins the desk later
// gets its textures from them.
SaverScene::SaverScene() : glow(IDB_GLOW), secondGlow(IDB_SECOND_GLOW) {
    run.buildScenes(glow.image(), secondGlow.image(), GetTickCount());
    SaverScene::resize(width, height);
}

SaverScene::~SaverScene() = default;

void SaverScene::resize(std::int32_t newWidth, std::int32_t newHeight) {
    width = newWidth;
    height = Scene::usableHeight(newHeight);
    run.scenes().scene(0).reshape({layout.viewports[0].x, layout.viewports[0].y, width, height});
}
