// The scenes of one drawing window: one for each monitor it covers (a preview
// or a single monitor has just one), each in its own viewport. The primary's
// scene runs on the process's own generator and sweep, exactly as if it were
// alone; every other monitor has a stream of its own, derived from the seed,
// which is put in place only while that monitor's scene is built or updated,
// so the other monitors never change what the primary shows. When the desk
// changes, the primary keeps its scene, so does every monitor that stays, and
// a monitor new to the window gets a scene of its own.
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

    // The window now has this layout, at now on the frame timer. A monitor
    // with the id of one before (or, unnamed, at the same place in the list)
    // keeps its scene; a new one's starts with a stream of its own. The next
    // two frames clear the whole window first, so that nothing the old layout
    // drew stays in either buffer. Throws as Scene does.
    void relayout(const TextureImage* primary, const TextureImage* secondary, const ScreenLayout& layout,
                  double now);

    // Every scene to time, in seconds on the frame timer.
    void update(double time);
    // Every scene into its own viewport. The caller swaps.
    void draw();

    std::size_t count() const { return sceneCount; }
    Scene& scene(std::size_t index) { return *scenes[index].scene; }

private:
    void place(const ScreenLayout& layout);

    struct Monitor {
        std::unique_ptr<Scene> scene;
        EffectStream stream{};  // unused for the primary, which runs on the process's own
        std::uint32_t id = 0;
    };
    Monitor scenes[MaxMonitors];
    std::size_t sceneCount = 0;
    std::uint32_t seed;
    std::size_t scenesBuilt = 0;  // every one gets a seed of its own
    ScreenRect window;
    int framesToClear = 0;
};

// The seed of the generator of monitor index (0 is the primary, which takes
// the seed as it is). Neighbouring seeds would start the generator on nearly
// the same sequence, so the index is mixed in.
std::uint32_t monitorSeed(std::uint32_t seed, std::size_t index);
