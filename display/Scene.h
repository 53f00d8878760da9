// The scene of a drawing run, portable over any current OpenGL 1.1 context:
// set-up (textures, fixed state, the particle system, seeding, preset and
// camera), reshaping to a viewport, and one frame's update and drawing. The
// saver window, the native tests and the benchmarks all draw through it, so
// nothing else sets the frustum, the camera transform or the GL state.
#pragma once

#include <cstdint>
#include <memory>

#include "display/ScreenLayout.h"
#include "particles/ParticleSystem.h"
#include "shell/Exception.h"

// Bottom-up rows of 3-byte pixels, as a 24-bit DIB stores them.
struct TextureImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    const void* pixels = nullptr;
};

// Runs make(); an Exception passes on with its own text, anything else
// (running out of memory included) becomes Exception("Unknown error").
template <typename Make>
auto translateConstructionFailure(Make make) -> decltype(make()) {
    try {
        return make();
    } catch (const Exception&) {
        throw;
    } catch (...) {
        throw Exception();
    }
}

class Scene {
public:
    // The frustum is constant: a viewport of any size shows the same view
    // volume, stretched to its aspect ratio. The half-height is a float constant.
    static constexpr double frustumHalfWidth = 4.0;
    static constexpr double frustumHalfHeight = static_cast<double>(2.7042250633239746f);
    static constexpr double frustumNear = 4.0;
    static constexpr double frustumFar = 4096.0;
    // The eye sits this far in front of the camera position, looking along -z.
    static constexpr float eyeDistance = 450.0f;

    // Either image may be missing, not both: that is "Failed to load textures".
    // Seeds the generator with seed, which picks the preset. Throws Exception
    // ("Unknown error" for anything unexpected, running out of memory included).
    Scene(const TextureImage* primary, const TextureImage* secondary, std::uint32_t seed);
    // Lets go of its textures; the context must still be current.
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Draws into this part of the window, and only there. A zero height would
    // make the viewport empty; it is drawn one pixel high.
    void reshape(const Viewport& viewport);
    static std::int32_t usableHeight(std::int32_t height) { return height == 0 ? 1 : height; }

    // Advances the effect to time, in seconds on the frame timer, however
    // large: the steps the effect takes stay the frames' true lengths.
    void update(double time);
    // The effect's time counts from this time on the frame timer (0 unless
    // set): a scene made while a run goes on starts as a run's first does.
    void startClock(double time) { clockBase = time; }
    // Clear, camera, texture and the live particles, inside the viewport
    // alone, so that scenes side by side in one window leave each other be.
    // The caller swaps.
    void draw() const;
    // All of draw but the particles: the benchmarks and tests draw them
    // another way over the same frame to compare.
    void prepareFrame() const;

    ParticleSystem& particles() { return *sceneParticleSystem; }

private:
    std::unique_ptr<ParticleSystem> sceneParticleSystem;
    unsigned int primaryTexture = 0;
    unsigned int secondaryTexture = 0;
    Viewport area;
    double clockBase = 0.0;
};
