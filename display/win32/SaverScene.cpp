// The scene of a drawing run. Its state is one set per process, as there is
// only ever one window object.
#include "display/win32/SaverScene.h"

#include "display/SceneGL.h"
#include "display/SceneSetup.h"
#include "particles/ParticleSystem.h"
#include "resources/ResourceIds.h"
#include "shell/Exception.h"
#include "shell/RunMode.h"

namespace {

ParticleSystem* sceneParticleSystem = nullptr;
unsigned int primaryTexture = 0;
unsigned int secondaryTexture = 0;

// Makes a texture of a 24-bit bitmap resource. False when there is no such
// bitmap, or when it is not 24-bit: other layouts would be read past their end.
bool loadBitmapTexture(int id, unsigned int& texture) {
    const HANDLE image = LoadImageA(reinterpret_cast<HINSTANCE>(moduleInstance),
                                    MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (image == nullptr) {
        return false;
    }
    BITMAP bitmap{};
    const bool usable = GetObjectA(image, sizeof bitmap, &bitmap) != 0 && bitmap.bmBits != nullptr &&
                        bitmap.bmBitsPixel == 24 && bitmap.bmWidth > 0 && bitmap.bmHeight > 0;
    if (usable) {
        // The DIB section's rows as stored: bottom row first, blue-green-red.
        texture = SceneGL::uploadTexture(bitmap.bmWidth, bitmap.bmHeight, bitmap.bmBits);
    }
    DeleteObject(image);
    return usable;
}

}  // namespace

SaverScene::SaverScene() {
    if (loadTextures() == 0) {
        throw Exception("Failed to load textures");
    }
    SceneGL::applyFixedState();
    sceneParticleSystem = createParticleSystem();
    prepareParticleSystem(*sceneParticleSystem, GetTickCount());
    SaverScene::resize(width, height);
}

SaverScene::~SaverScene() {
    delete sceneParticleSystem;
    sceneParticleSystem = nullptr;
    // The texture names end with the rendering context the base deletes.
    primaryTexture = 0;
    secondaryTexture = 0;
}

void SaverScene::resize(std::int32_t newWidth, std::int32_t newHeight) {
    newHeight = SceneGL::usableHeight(newHeight);
    width = newWidth;
    height = newHeight;
    SceneGL::applyProjection(newWidth, newHeight);
}

std::int32_t SaverScene::frameStep() {
    if (pumpMessages() == 0) {
        return 0;  // the picture last shown stays
    }
    updateParticles();
    drawParticles();
    presentFrame();
    return 1;
}

void SaverScene::updateParticles() {
    // The absolute time since the timer started, not the frame's length.
    sceneParticleSystem->update(timer.elapsedSeconds());
}

void SaverScene::drawParticles() {
    SceneGL::drawFrame(*sceneParticleSystem, primaryTexture, secondaryTexture);
}

void SaverScene::presentFrame() { SwapBuffers(deviceContext); }

std::int32_t SaverScene::loadTextures() {
    std::int32_t loaded = 0;
    if (loadBitmapTexture(IDB_GLOW, primaryTexture)) {
        loaded = 1;
    }
    if (loadBitmapTexture(IDB_SECOND_GLOW, secondaryTexture)) {
        loaded = 1;
    }
    return loaded;
}
