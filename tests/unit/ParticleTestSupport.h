// Shared set-up for the particle engine tests: a settings record over a
// store that holds nothing (so every option keeps its default), the
// process-wide values put back to their start state around every test, and
// a system built the way the scene builds it.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "tests/support/MemoryStore.h"
#include "tests/support/ProcessState.h"

namespace particletest {

inline bool isFinite(const Vector3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetProcessState();
        RunMode = Mode::Saver;
        globalSettings = &settings;
    }
    void TearDown() override { resetProcessState(); }

    // Constructed and given the built-in preset, ready for its first update.
    std::unique_ptr<ParticleSystem> makeSystem() {
        auto system = std::make_unique<ParticleSystem>();
        system->applyPreset(0);
        return system;
    }

    int liveSlots(const ParticleSystem& system) const {
        int count = 0;
        for (const Particle& particle : system.particles) count += particle.age >= 0.0f ? 1 : 0;
        return count;
    }

    MemoryStore store;  // empty: every option keeps its default
    SaverSettings settings{store};
};

}  // namespace particletest
