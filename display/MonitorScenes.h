// The scenes of one drawing run: one for each monitor (a preview or a single
// monitor has just one), each in its own viewport of the surface that shows
// it. The primary's scene runs on the process's own generator and sweep,
// exactly as if it were alone; every other monitor has a stream of its own,
// derived from the seed, which is put in place only while that monitor's
// scene is built or updated, so the other monitors never change what the
// primary shows. When the desk changes, the primary keeps its scene, so does
// every monitor that stays, and a monitor new to the desk gets a scene of its
// own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "display/Scene.h"
#include "display/ScreenLayout.h"

class MonitorScenes {
public:
    // Builds and reshapes a scene for every viewport of the desk, the
    // primary's first. Throws as Scene does.
    MonitorScenes(const TextureImage* primary, const TextureImage* secondary, std::uint32_t seed,
                  const DeskLayout& desk);

    // The desk now has this layout, at now on the frame timer. A monitor
    // with the id of one before (or, unnamed, at the same place in the list)
    // keeps its scene; a new one's starts with a stream of its own. The next
    // two frames of each surface clear it whole first, so that nothing the old
    // layout drew stays in either buffer. Throws as Scene does.
    void relayout(const TextureImage* primary, const TextureImage* secondary, const DeskLayout& desk, double now);

    // The scenes shown on surface to time, in seconds on the frame timer.
    void update(double time, std::size_t surface = 0);
    // Those scenes into their viewports, on the surface's context, made
    // current by the caller, who also presents it.
    void draw(std::size_t surface = 0);

    std::size_t count() const { return sceneCount; }
    Scene& scene(std::size_t index) { return *scenes[index].scene; }

private:
    struct Monitor {
        std::unique_ptr<Scene> scene;
        EffectStream stream{};  // unused for the primary, which runs on the process's own
        std::uint32_t id = 0;
        std::size_t surface = 0;
    };
    Monitor scenes[MaxMonitors];
    std::size_t sceneCount = 0;
    std::uint32_t seed;
    std::size_t scenesBuilt = 0;  // every one gets a seed of its own
    ScreenRect windows[MaxSurfaces];
    int framesToClear[MaxSurfaces] = {};
};

// The seed of the generator of monitor index (0 is the primary, which takes
// the seed as it is). Neighbouring seeds would start the generator on nearly
// the same sequence, so the index is mixed in.
std::uint32_t monitorSeed(std::uint32_t seed, std::size_t index);
