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

const char* const ownKey = "Software\\VelmoranSaverLumra0_01";

class SceneSetup : public ::testing::Test {
protected:
    MemoryStore store;
    SaverSettings settings{store};

    void SetUp() override {
        resetRunModeGlobals();
        RunMode = Mode::Saver;
        resetSweepAngles();
        globalSettings = &settings;
    }
    void TearDown() override { globalSettings = nullptr; }

    // Loads the settings the way the entry point does, then builds the
    // system the way the scene does.
    std::unique_ptr<ParticleSystem> startScene(std::uint32_t seed = 1234) {
        settings.loadSystemValues();
        settings.load();
        std::unique_ptr<ParticleSystem> system(createParticleSystem());
        prepareParticleSystem(*system, seed);
        return system;
    }
};

TEST_F(SceneSetup, StoredOptionsReachTheEmitter) {
    struct Case {
        bool storeKey;
        std::int32_t attractive;
        std::int32_t floor;
        bool attract;
        bool floorOn;
    };
    const Case cases[] = {
        {false, 0, 0, false, false},  // nothing saved yet: both off
        {true, 1, 0, true, false},
        {true, 0, 1, false, true},
        {true, 7, 1, true, true},  // any non-zero value is on
        {true, 0, 0, false, false},
    };
    for (const Case& c : cases) {
        MemoryStore fresh;
        if (c.storeKey) {
            fresh.putNumber(ownKey, "Attractive", c.attractive);
            fresh.putNumber(ownKey, "Floor", c.floor);
        }
        store = fresh;
        const auto system = startScene();
        EXPECT_EQ(system->attract, c.attract) << c.attractive;
        EXPECT_EQ(system->isAttracting(), c.attract) << c.attractive;
        EXPECT_EQ(system->floor, c.floorOn) << c.floor;
        EXPECT_TRUE(system->moving);
    }
}

TEST_F(SceneSetup, SeedingMakesTheRunRepeatable) {
    const auto first = startScene(99);
    first->update(0.1f);
    const auto firstPosition = first->particles[10].position;
    resetSweepAngles();
    const auto second = startScene(99);
    second->update(0.1f);
    EXPECT_EQ(second->particles[10].position.x, firstPosition.x);
    EXPECT_EQ(second->particles[10].position.y, firstPosition.y);
    EXPECT_EQ(second->particles[10].position.z, firstPosition.z);
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
