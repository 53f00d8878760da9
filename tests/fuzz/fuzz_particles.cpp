// Fuzz target for the particle system under any sequence of frame times
// (NaN, infinities, negative, huge, repeated, going back) and any switching
// of hold, attraction and sweeping: no live particle may hold a NaN or an
// infinity, and the live count must stay a count of live slots.
#include <cmath>
#include <cstring>
#include <memory>

#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/MemoryStore.h"
#include "tests/support/ProcessState.h"

namespace {

bool finite(const Vector3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
bool finite(const Color4& c) {
    return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b) && std::isfinite(c.a);
}

void checkPool(const ParticleSystem& system) {
    int live = 0;
    for (const Particle& p : system.particles) {
        if (!p.isLive()) continue;
        ++live;
        FUZZ_CHECK(finite(p.position) && finite(p.velocity) && finite(p.color));
        FUZZ_CHECK(std::isfinite(p.size) && std::isfinite(p.alpha));
    }
    // The count is of particles that lived through the step; new ones come on top.
    FUZZ_CHECK(system.liveCount >= 0 && system.liveCount <= live && live <= ParticleSystem::PoolSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    static MemoryStore emptyStore;
    static SaverSettings settings(emptyStore);
    resetProcessState();
    globalSettings = &settings;
    RunMode = (input.byte() & 1) ? Mode::Preview : Mode::Saver;
    lumra::srand(input.word());

    auto system = std::make_unique<ParticleSystem>();
    system->applyPreset(0);
    // Each step: a flags byte, then the next time itself (any bit pattern) or an
    // ordinary interval for up to 16 frames. More than 64 updates only slow the search.
    int updates = 0;
    while (updates < 64 && input.remaining() >= 5) {
        const std::uint8_t flags = input.byte();
        const std::uint32_t bits = input.word();
        system->hold = flags & 1;
        system->attract = flags & 2;
        system->moving = flags & 4;
        const int frames = (flags & 8) ? 1 : 1 + (flags >> 4);
        for (int frame = 0; frame < frames; ++frame, ++updates) {
            float time = system->lastTime + static_cast<float>(bits & 0xFFFF) / 4096.0f;
            if (flags & 8) std::memcpy(&time, &bits, sizeof time);
            system->update(time);
            checkPool(*system);
        }
    }
    return 0;
}
