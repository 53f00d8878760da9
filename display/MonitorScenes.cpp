// One scene per monitor, the others' streams swapped in around their work.
#include "display/MonitorScenes.h"

#include <GL/gl.h>

std::uint32_t monitorSeed(std::uint32_t seed, std::size_t index) {
    if (index == 0) return seed;
    // The finaliser of MurmurHash3: every bit of the input moves about half
    // of the output's.
    std::uint32_t h = seed + static_cast<std::uint32_t>(index) * 0x9E3779B9u;
    h = (h ^ (h >> 16)) * 0x85EBCA6Bu;
    h = (h ^ (h >> 13)) * 0xC2B2AE35u;
    return h ^ (h >> 16);
}

MonitorScenes::MonitorScenes(const TextureImage* primary, const TextureImage* secondary, std::uint32_t seed,
                             const ScreenLayout& layout)
    : seed(seed) {
    // The primary first, as a single-monitor desk builds it.
    scenes[0].scene = std::make_unique<Scene>(primary, secondary, seed);
    sceneCount = 1;
    scenesBuilt = 1;
    relayout(primary, secondary, layout, 0.0);
}

void MonitorScenes::relayout(const TextureImage* primary, const TextureImage* secondary, const ScreenLayout& layout,
                             double now) {
    Monitor before[MaxMonitors];
    const std::size_t countBefore = sceneCount;
    for (std::size_t i = 1; i < countBefore; ++i) before[i] = std::move(scenes[i]);
    sceneCount = 1;
    const EffectStream primaryStream = currentEffectStream();
    for (std::size_t i = 1; i < layout.count; ++i) {
        const std::uint32_t id = layout.monitorIds[i];
        Monitor* same = nullptr;
        for (std::size_t j = 1; j < countBefore && same == nullptr; ++j) {
            if (before[j].scene && (id != 0 ? before[j].id == id : j == i && before[j].id == 0)) same = &before[j];
        }
        if (same != nullptr) {
            scenes[i] = std::move(*same);
        } else {
            // Building a scene seeds the generator and leaves the sweep angles
            // where the primary's are, so each stream begins with its own seed there.
            scenes[i].scene = std::make_unique<Scene>(primary, secondary, monitorSeed(seed, scenesBuilt++));
            scenes[i].scene->startClock(now);
            scenes[i].stream = currentEffectStream();
            scenes[i].id = id;
        }
        sceneCount = i + 1;
    }
    useEffectStream(primaryStream);
    place(layout);
}

void MonitorScenes::place(const ScreenLayout& layout) {
    for (std::size_t i = 0; i < sceneCount; ++i) scenes[i].scene->reshape(layout.viewports[i]);
    window = layout.window;
    framesToClear = 2;
}

void MonitorScenes::update(double time) {
    scenes[0].scene->update(time);
    if (sceneCount == 1) return;
    const EffectStream primaryStream = currentEffectStream();
    for (std::size_t i = 1; i < sceneCount; ++i) {
        useEffectStream(scenes[i].stream);
        scenes[i].scene->update(time);
        scenes[i].stream = currentEffectStream();
    }
    useEffectStream(primaryStream);
}

void MonitorScenes::draw() {
    // The scenes clear only their own viewports.
    if (framesToClear > 0) {
        glScissor(0, 0, window.width(), window.height());
        glClear(GL_COLOR_BUFFER_BIT);
        --framesToClear;
    }
    for (std::size_t i = 0; i < sceneCount; ++i) scenes[i].scene->draw();
}
