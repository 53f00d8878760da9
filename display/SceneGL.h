// The scene's OpenGL 1.1 code: the fixed state, the projection, the texture
// upload and the drawing of one frame. Portable: it needs a current context
// and nothing of the window system.
#pragma once

#include <cstdint>

class ParticleSystem;

namespace SceneGL {

// The frustum is constant: a window of any size shows the same view volume,
// stretched to the window's aspect ratio. The half-height is a float constant.
constexpr double frustumHalfWidth = 4.0;
constexpr double frustumHalfHeight = static_cast<double>(2.7042250633239746f);
constexpr double frustumNear = 4.0;
constexpr double frustumFar = 4096.0;
// The eye sits this far in front of the camera position, looking along -z.
constexpr float eyeDistance = 450.0f;

// Blending, texturing and hints, set once; nothing changes them later.
void applyFixedState();

// A zero height would make the viewport empty; it is drawn one pixel high.
std::int32_t usableHeight(std::int32_t height);
// Viewport and projection for a window of that size; leaves the model-view
// matrix selected and cleared.
void applyProjection(std::int32_t width, std::int32_t height);

// Makes a linear-filtered texture from bottom-up rows of 3-byte pixels, taken
// as stored (a DIB's blue, green, red become red, green, blue). Returns its name.
unsigned int uploadTexture(std::int32_t width, std::int32_t height, const void* pixels);

// One frame: clear, camera, texture and the live particles. The caller swaps.
void drawFrame(const ParticleSystem& system, unsigned int primaryTexture,
               unsigned int secondaryTexture);

}  // namespace SceneGL
