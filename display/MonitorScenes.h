// The scenes of one drawing window: one for each monitor it covers (a preview
// or a single monitor has just one), each in its own viewport. The primary's
// scene runs on the process's own generator and sweep, exactly as if it were
// alone; every other monitor has a stream of its own, derived from the seed,
// which is put in place only while that monitor's scene is built or updated,
// so the other monitors never change what the primary shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "display/Scene.h"
#include "display/ScreenLayout.h"

class MonitorScenes {
public:
    // Builds and reshapes a scene for every viewport of the layout, the
    // primary's first. Throws as Scene does.
    MonitorScenes(const TextureImage* primary, const TextureImage* secondary, std::uint32_t seed,
                  const ScreenLayout& layout);

    // Every scene to time, in seconds since the frame timer started.
    void update(float time);
    // Every scene into its own viewport. The caller swaps.
    void draw() const;

    std::size_t count() const { return sceneCount; }
    Scene& scene(std::size_t index) { return *scenes[index].scene; }

private:
    struct Monitor {
        std::unique_ptr<Scene> scene;
        EffectStream stream{};  // unused for the primary, which runs on the process's own
    };
    Monitor scenes[MaxMonitors];
    std::size_t sceneCount = 0;
};

// The seed of the generator of monitor index (0 is the primary, which takes
// the seed as it is). Neighbouring seeds would start the generator on nearly
// the same sequence, so the index is mixed in.
std::uint32_t monitorSeed(std::uint32_t seed, std::size_t index);
