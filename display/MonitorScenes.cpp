// One scene per monitor, the others' streams swapped in around their work.
#include "display/MonitorScenes.h"

#include <GL/gl.h>

namespace {

// Every picture of the desk in one list: the surfaces in order, and on each
// its viewports in order, so the primary's is the first.
struct Placement {
    std::size_t surface;
    const Viewport* viewport;
    std::uint32_t id;
};

std::size_t placementsOf(const DeskLayout& desk, Placement (&out)[MaxMonitors]) {
    std::size_t count = 0;
    for (std::size_t s = 0; s < desk.count && s < MaxSurfaces; ++s) {
        const ScreenLayout& layout = desk.surfaces[s];
        for (std::size_t i = 0; i < layout.count && count < MaxMonitors; ++i) {
            out[count++] = {s, &layout.viewports[i], layout.monitorIds[i]};
        }
    }
    return count;
}

}  // namespace

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
                             const DeskLayout& desk)
    : seed(seed) {
    // The primary first, as a single-monitor desk builds it.
    scenes[0].scene = std::make_unique<Scene>(primary, secondary, seed);
    scenesBuilt = 1;
    relayout(primary, secondary, desk, 0.0);
}

void MonitorScenes::relayout(const TextureImage* primary, const TextureImage* secondary, const DeskLayout& desk,
                             double now) {
    Placement placements[MaxMonitors];
    const std::size_t count = placementsOf(desk, placements);
    Monitor before[MaxMonitors];
    const std::size_t countBefore = sceneCount;
    for (std::size_t i = 1; i < countBefore; ++i) before[i] = std::move(scenes[i]);
    sceneCount = 1;
    const EffectStream primaryStream = currentEffectStream();
    for (std::size_t i = 1; i < count; ++i) {
        const std::uint32_t id = placements[i].id;
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
    // A desk with no picture at all (every output gone) keeps the primary's
    // scene for the next one, shown nowhere.
    if (count == 0) scenes[0].surface = MaxSurfaces;
    for (std::size_t i = 0; i < count; ++i) {
        scenes[i].surface = placements[i].surface;
        scenes[i].scene->reshape(*placements[i].viewport);
    }
    for (std::size_t s = 0; s < MaxSurfaces; ++s) {
        windows[s] = s < desk.count ? desk.surfaces[s].window : ScreenRect{};
        framesToClear[s] = s < desk.count ? 2 : 0;
    }
}

void MonitorScenes::update(double time, std::size_t surface) {
    if (scenes[0].surface == surface) scenes[0].scene->update(time);
    const EffectStream primaryStream = currentEffectStream();
    for (std::size_t i = 1; i < sceneCount; ++i) {
        if (scenes[i].surface != surface) continue;
        useEffectStream(scenes[i].stream);
        scenes[i].scene->update(time);
        scenes[i].stream = currentEffectStream();
    }
    useEffectStream(primaryStream);
}

void MonitorScenes::draw(std::size_t surface) {
    // The scenes clear only their own viewports.
    if (surface < MaxSurfaces && framesToClear[surface] > 0) {
        glScissor(0, 0, windows[surface].width(), windows[surface].height());
        glClear(GL_COLOR_BUFFER_BIT);
        --framesToClear[surface];
    }
    for (std::size_t i = 0; i < sceneCount; ++i) {
        if (scenes[i].surface == surface) scenes[i].scene->draw();
    }
}
