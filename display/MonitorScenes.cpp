// One scene per monitor, the others' streams swapped in around their work.
#include "display/MonitorScenes.h"

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
                             const ScreenLayout& layout) {
    // The primary first, as a single-monitor desk builds it.
    scenes[0].scene = std::make_unique<Scene>(primary, secondary, seed);
    scenes[0].scene->reshape(layout.viewports[0]);
    sceneCount = 1;
    const EffectStream primaryStream = currentEffectStream();
    // Building a scene seeds the generator and leaves the sweep angles where
    // the primary's start, so each stream begins with its own seed there.
    for (std::size_t i = 1; i < layout.count; ++i) {
        scenes[i].scene = std::make_unique<Scene>(primary, secondary, monitorSeed(seed, i));
        scenes[i].scene->reshape(layout.viewports[i]);
        scenes[i].stream = currentEffectStream();
        sceneCount = i + 1;
    }
    useEffectStream(primaryStream);
}

void MonitorScenes::update(float time) {
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

void MonitorScenes::draw() const {
    for (std::size_t i = 0; i < sceneCount; ++i) scenes[i].scene->draw();
}
