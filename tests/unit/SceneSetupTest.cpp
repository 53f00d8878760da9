#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <stdexcept>

#include "MemoryStore.h"
#include "display/SceneSetup.h"
#include "particles/ParticleSystem.h"
#include "particles/Random.h"
#include "shell/RunMode.h"
#include "shell/SaverSettings.h"

namespace {

class SceneSetup : public ::testing::Test {
protected:
    MemoryStore store;
    SaverSettings settings{store};

    void SetUp() override {
        resetRunModeGlobals();
        RunMode = Mode::Saver;
        globalSettings = &settings;
    }
    void TearDown() override { globalSettings = nullptr; }

    // Loads the settings the way the entry point does, then builds the
    // system the way the scene does.
    std::unique_ptr<ParticleSystem> startScene(std::uint32_t seed = 1234) {
        resetSweepAngles();
        settings.loadSystemValues();
        settings.load();
        std::unique_ptr<ParticleSystem> system(createParticleSystem());
        prepareParticleSystem(*system, seed);
        return system;
    }
};

TEST_F(SceneSetup, StoredOptionsReachTheEmitter) {
    // Stored Attractive and Floor (none: nothing saved yet), then the flags expected.
    const struct { bool stored; std::int32_t attractive, floor; bool attract, floorOn; } cases[] = {
        {false, 0, 0, false, false}, {true, 1, 0, true, false}, {true, 0, 1, false, true},
        {true, 7, 1, true, true},  // any non-zero value is on
        {true, 0, 0, false, false},
    };
    for (const auto& c : cases) {
        store = MemoryStore();
        if (c.stored) {
            store.putNumber("Software\\VelmoranSaverLumra0_01", "Attractive", c.attractive);
            store.putNumber("Software\\VelmoranSaverLumra0_01", "Floor", c.floor);
        }
        const auto system = startScene();
        EXPECT_EQ(system->attract, c.attract) << c.attractive;
        EXPECT_EQ(system->isAttracting(), c.attract) << c.attractive;
        EXPECT_EQ(system->floor, c.floorOn) << c.floor;
        EXPECT_TRUE(system->moving);
    }
}

TEST_F(SceneSetup, SeedingMakesTheRunRepeatable) {
    Vector3 positions[2];
    for (Vector3& position : positions) {
        const auto system = startScene(99);
        system->update(0.1f);
        position = system->particles[10].position;
    }
    EXPECT_EQ(positions[0].x, positions[1].x);
    EXPECT_EQ(positions[0].y, positions[1].y);
    EXPECT_EQ(positions[0].z, positions[1].z);
}

TEST(SceneSetupFailures, ExceptionsKeepTheirTextOthersReadUnknownError) {
    const auto throwsWith = [](auto make) -> std::string {
        try {
            translateConstructionFailure(make);
        } catch (const Exception& e) {
            return e.message();
        } catch (...) {
            return "not an Exception";
        }
        return "nothing thrown";
    };
    EXPECT_EQ(throwsWith([]() -> int { throw Exception("Out of particles"); }), "Out of particles");
    EXPECT_EQ(throwsWith([]() -> int { throw std::bad_alloc(); }), "Unknown error");
    EXPECT_EQ(throwsWith([]() -> int { throw std::runtime_error("x"); }), "Unknown error");
    EXPECT_EQ(throwsWith([]() -> int { throw 42; }), "Unknown error");
    EXPECT_EQ(translateConstructionFailure([] { return 7; }), 7);
}

}  // namespace
