// The emitter and the pool: presets and options, the time step, the sweep
// of the origin, the emission count and its carry, filling dead slots with
// randomised particles, and the guards that keep the pool finite.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/unit/ParticleTestSupport.h"

using particletest::isFinite;

namespace {

// Makes every slot live for a long time, except the ones listed.
void fillPoolExcept(ParticleSystem& system, std::initializer_list<int> deadSlots) {
    for (Particle& p : system.particles) {
        p.age = 0.0f;
        p.lifetime = 1000.0f;
    }
    for (const int slot : deadSlots) system.particles[slot].age = -1.0f;
}

// New particles start on the segment from -origin to origin (the origin's
// travel this update, centred on (0, 0, 0)).
void expectOnTheOriginsTravel(const ParticleSystem& system, int count) {
    for (int i = 0; i < count; ++i) {
        const Vector3& at = system.particles[i].position;
        ASSERT_TRUE(isFinite(at)) << i;
        const float along = at.x / system.origin.x;
        EXPECT_LE(std::fabs(along), 1.0f) << i;
        EXPECT_NEAR(at.y, system.origin.y * along, 1e-3f) << i;
        EXPECT_NEAR(at.z, system.origin.z * along, 1e-3f) << i;
    }
}

bool isFiniteParticle(const Particle& p) {
    return isFinite(p.position) && isFinite(p.velocity) && std::isfinite(p.size) && std::isfinite(p.alpha) &&
           std::isfinite(p.gravityFactor) && std::isfinite(p.color.r) && std::isfinite(p.color.g) &&
           std::isfinite(p.color.b);
}

}  // namespace

class ParticleSystemTest : public particletest::EngineTest {};

TEST_F(ParticleSystemTest, PresetsCopyOnlyTheEmitterAndOptionsNeedASettingsRecord) {
    globalSettings = nullptr;
    auto system = makeSystem();
    EXPECT_FALSE(system->attract);
    EXPECT_FALSE(system->floor);
    EXPECT_EQ(system->getPresetCount(), 1);
    system->hold = true;
    system->emitCarry = 0.5f;
    system->lastTime = 3.0f;
    system->origin = Vector3(1, 2, 3);
    system->emissionRate = 123;
    system->applyPreset(1);  // outside the table: nothing changes
    system->applyPreset(-1);
    EXPECT_EQ(system->emissionRate, 123u);
    EXPECT_EQ(&system->applyPreset(0), system.get());
    EXPECT_TRUE(system->hold);
    EXPECT_EQ(system->emitCarry, 0.5f);
    EXPECT_EQ(system->lastTime, 3.0f);
    EXPECT_EQ(system->origin.y, 2.0f);
}

TEST_F(ParticleSystemTest, HalfASecondFillsTheFirstSlotsAtTheModesRate) {
    for (const auto& [mode, filled] : {std::pair{Mode::Saver, 250}, std::pair{Mode::Preview, 125}}) {
        RunMode = mode;
        auto system = makeSystem();
        system->update(0.5f);
        EXPECT_EQ(system->liveCount, 0);  // every constructed particle expired
        EXPECT_EQ(system->emitCarry, 0.0f);
        for (int i = 0; i < ParticleSystem::PoolSize; ++i) {
            ASSERT_EQ(system->particles[i].isLive(), i < filled) << "mode " << mode << " slot " << i;
        }
    }
}

TEST_F(ParticleSystemTest, FractionsCarryToLaterUpdates) {
    auto system = makeSystem();
    const struct { int count; float carry; } expected[] = {{1, 0.65f}, {2, 0.30f}, {1, 0.95f}};
    int before = 0;
    for (int i = 0; i < 3; ++i) {
        system->update(0.0033f * static_cast<float>(i + 1));
        EXPECT_EQ(liveSlots(*system) - before, expected[i].count) << i;
        EXPECT_NEAR(system->emitCarry, expected[i].carry, 0.01f) << i;
        before = liveSlots(*system);
    }
}

TEST_F(ParticleSystemTest, DeadSlotsAreReusedInIndexOrderAndAnExcessIsDropped) {
    auto system = makeSystem();
    system->update(0.1f);
    fillPoolExcept(*system, {3, 7});
    system->emitCarry = 1.0f;
    system->update(system->lastTime);
    EXPECT_TRUE(system->particles[3].isLive());
    EXPECT_FALSE(system->particles[7].isLive());
    EXPECT_EQ(system->particles[3].age, 0.0f);
    EXPECT_EQ(system->emitCarry, 0.0f);

    fillPoolExcept(*system, {3, 7});
    system->emitCarry = 5.25f;  // five owed, two free slots: the rest is not carried
    system->update(system->lastTime);
    EXPECT_EQ(liveSlots(*system), ParticleSystem::PoolSize);
    EXPECT_EQ(system->emitCarry, 0.25f);

    // All of these expire one lifetime later; the 3600 then owed refill
    // slots 0..3599 in that same update.
    auto fresh = makeSystem();
    fresh->update(0.5f);
    fresh->update(7.7f);
    EXPECT_EQ(fresh->liveCount, 0);
    EXPECT_EQ(liveSlots(*fresh), 3600);
    EXPECT_EQ(fresh->particles[0].age, 0.0f);
}

TEST_F(ParticleSystemTest, HoldAccumulatesWithoutEmitting) {
    auto system = makeSystem();
    system->hold = true;
    system->update(0.1f);
    EXPECT_NEAR(system->emitCarry, 50.0f, 1e-3f);
    system->update(0.2f);
    EXPECT_NEAR(system->emitCarry, 100.0f, 1e-3f);
    EXPECT_EQ(liveSlots(*system), 0);

    // Released with no time passing: the owed particles appear where the
    // origin was, with no division by the zero step.
    system->hold = false;
    system->update(system->lastTime);
    EXPECT_EQ(liveSlots(*system), 100);
    for (int i = 0; i < 100; ++i) {
        const Particle& p = system->particles[i];
        EXPECT_TRUE(p.position.x == system->lastOrigin.x && p.position.y == system->lastOrigin.y &&
                    p.position.z == system->lastOrigin.z && isFinite(p.velocity))
            << i;
    }
}

// Fields of the first two emitted particles for seed 12345, worked out from
// the rules (22 draws per particle, in their order) outside this code.
TEST_F(ParticleSystemTest, DrawsFillTheParticleInTheirFixedOrder) {
    lumra::srand(12345);
    auto system = makeSystem();
    system->update(0.02f);
    ASSERT_EQ(liveSlots(*system), 10);
    const Particle& p = system->particles[0];
    // The second particle's red came out negative and was clamped, so its
    // delta starts from 0.
    const Particle& q = system->particles[1];
    const struct { const char* name; float actual, expected, tolerance; } fields[] = {
        {"age", p.age, 0.0f, 0}, {"lifetime", p.lifetime, 7.15f, 1e-6f},
        {"red", p.color.r, 0.0112003f, 1e-6f}, {"green", p.color.g, 0.6f, 1e-7f},
        {"blue", p.color.b, 0.8326640f, 1e-6f}, {"colour alpha", p.color.a, 1.0f, 0},
        {"red delta", p.colorDelta.r, -0.00156647f, 1e-7f}, {"blue delta", p.colorDelta.b, 0.00941763f, 1e-7f},
        {"alpha delta of colour", p.colorDelta.a, 0.0f, 0}, {"alpha", p.alpha, 0.7518936f, 1e-6f},
        {"alpha delta", p.alphaDelta, -0.1051599f, 1e-6f}, {"size", p.size, 5.0145574f, 1e-5f},
        {"size delta", p.sizeDelta, -0.0020360f, 1e-6f}, {"gravity", p.gravityFactor, -21.142063f, 1e-4f},
        {"gravity delta", p.gravityFactorDelta, 16.389100f, 1e-4f}, {"x", p.position.x, -103.94547f, 1e-3f},
        {"y", p.position.y, 0.684561f, 1e-4f}, {"z", p.position.z, -0.604678f, 1e-4f},
        {"last x", p.lastPosition.x, system->origin.x, 1e-4f}, {"vx", p.velocity.x, -65.24302f, 1e-3f},
        {"vy", p.velocity.y, 41.70737f, 1e-3f}, {"vz", p.velocity.z, 80.30072f, 1e-3f},
        {"2nd red", q.color.r, 0.0f, 0}, {"2nd red delta", q.colorDelta.r, 0.0f, 0},
        {"2nd blue", q.color.b, 0.9803888f, 1e-6f}, {"2nd size", q.size, 3.2797632f, 1e-5f},
        {"2nd gravity", q.gravityFactor, -41.272636f, 1e-4f}, {"2nd x", q.position.x, -325.86517f, 1e-3f},
        {"2nd vx", q.velocity.x, -3.961875f, 1e-3f}, {"2nd vy", q.velocity.y, 80.823205f, 1e-3f},
        {"2nd vz", q.velocity.z, -3.286682f, 1e-3f},
    };
    for (const auto& f : fields) EXPECT_NEAR(f.actual, f.expected, f.tolerance) << f.name;
    EXPECT_EQ(p.owner, system.get());
}

TEST_F(ParticleSystemTest, DrawnValuesAreClamped) {
    auto system = makeSystem();
    system->lifeSpread = system->colorSpread.r = system->colorSpread.g = system->colorSpread.b = 0.0f;
    system->alphaSpread = system->sizeSpread = system->gravitySpread = system->speedSpread = 0.0f;
    const struct { float life, red, alpha, size, gravity, speed, wantLife, wantRed, wantAlpha, wantSize,
                   wantGravity, wantSpeed; } cases[] = {
        {20.0f, -0.05f, 2.0f, 0.0f, 10.0f, -50.0f, 10.0f, 0.0f, 1.0f, 0.5f, 49.0f, 0.0f},
        {0.0f, 1.5f, -1.0f, 50.0f, -10.0f, 900.0f, 0.1f, 1.0f, 0.0f, 10.0f, -49.0f, 250.0f},
    };
    float time = 0.0f;
    for (const auto& c : cases) {
        system->lifeBase = c.life;
        system->colorBase.r = c.red;
        system->alphaBase = c.alpha;
        system->sizeBase = c.size;
        system->gravityBase = c.gravity;
        system->speedBase = c.speed;
        for (Particle& p : system->particles) p.age = -1.0f;
        system->emitCarry = 1.0f;
        system->update(time += 0.002f);
        const Particle& p = system->particles[0];
        ASSERT_TRUE(p.isLive());
        EXPECT_FLOAT_EQ(p.lifetime, c.wantLife);
        EXPECT_EQ(p.color.r, c.wantRed);
        EXPECT_FLOAT_EQ(p.colorDelta.r, (0.0f - c.wantRed) / c.wantLife);
        EXPECT_EQ(p.alpha, c.wantAlpha);
        EXPECT_EQ(p.size, c.wantSize);
        EXPECT_EQ(p.gravityFactor, c.wantGravity);
        EXPECT_NEAR(p.velocity.length(), c.wantSpeed, 1e-3f);
    }
}

TEST_F(ParticleSystemTest, FirstShortUpdateSweepsTheOriginAndSpreadsParticlesAlongItsJump) {
    auto system = makeSystem();
    system->update(0.02f);
    EXPECT_FLOAT_EQ(orbitAngle, 1.0f);
    EXPECT_FLOAT_EQ(bobAngle, 180.6f);
    EXPECT_NEAR(system->origin.x, 749.886f, 1e-3f);
    EXPECT_NEAR(system->origin.y, -4.939f, 1e-3f);
    EXPECT_NEAR(system->origin.z, 4.362f, 1e-3f);
    EXPECT_EQ(system->lastOrigin.x, system->origin.x);
    expectOnTheOriginsTravel(*system, 10);
}

TEST_F(ParticleSystemTest, SweepAnglesPast359RestartAtZero) {
    auto system = makeSystem();
    system->update(1.0f);
    orbitAngle = bobAngle = 358.9f;
    system->update(1.004f);  // orbit +0.2, bob +0.12
    EXPECT_EQ(orbitAngle, 0.0f);
    EXPECT_EQ(bobAngle, 0.0f);
    EXPECT_FLOAT_EQ(system->origin.x, 750.0f);
    EXPECT_EQ(system->origin.y, 0.0f);

    orbitAngle = 358.5f;
    system->lastTime = 0.0f;
    system->update(0.01f);  // +0.5 lands exactly on 359
    EXPECT_EQ(orbitAngle, 359.0f);
}

TEST_F(ParticleSystemTest, TimeGoingBackwardsIsAStepOfZeroAndNonNumbersAreIgnored) {
    auto system = makeSystem();
    system->update(1.0f);
    const float carry = system->emitCarry, x = system->particles[0].position.x, angle = orbitAngle;
    system->update(0.5f);
    EXPECT_EQ(liveSlots(*system), 500);
    EXPECT_EQ(system->emitCarry, carry);
    EXPECT_EQ(system->particles[0].position.x, x);
    EXPECT_EQ(orbitAngle, angle);
    system->update(std::nanf(""));
    system->update(INFINITY);
    EXPECT_EQ(system->lastTime, 0.5f);
    EXPECT_EQ(liveSlots(*system), 500);
    system->update(0.6f);  // time runs on from where the clock now stands
    EXPECT_NEAR(liveSlots(*system), 550, 1);

    // So short that the origin's travel divided by it overflows a float.
    auto shortStep = makeSystem();
    shortStep->emitCarry = 3.0f;
    shortStep->update(1e-38f);
    ASSERT_EQ(liveSlots(*shortStep), 3);
    expectOnTheOriginsTravel(*shortStep, 3);
}

// A day of irregular frames: stalls, repeated times, steps too small for
// float time to register, ordinary frames, multi-second gaps and a clock
// that jumps back. Nothing in the pool may become infinite or NaN.
TEST_F(ParticleSystemTest, ADayOfIrregularFramesKeepsThePoolFinite) {
    settings.attractive = 1;
    auto system = makeSystem();
    double time = 0.0;
    int badSlot = -1;
    auto advance = [&](double step) {
        system->update(static_cast<float>(time += step));
        for (int i = 0; i < ParticleSystem::PoolSize && badSlot < 0; ++i) {
            const Particle& p = system->particles[i];
            if (std::isnan(p.age) || (p.isLive() && !isFiniteParticle(p))) badSlot = i;
        }
    };
    const double steps[] = {0.0, 1e-7, 0.016, 0.016, 0.033, 2.5, 0.0, 9.0, 1e-30, 0.016, 37.0, -3.0, 120.0, 600.0};
    int hour = 0;
    while (time < 86400.0 && badSlot < 0) {
        for (const double step : steps) advance(step);
        // Every six hours a stretch of ordinary frames brings the pool back to
        // its steady size (a long gap fills every slot at once, and those all
        // die together one lifetime later).
        if (time >= hour * 3600.0) {
            hour += 6;
            for (int frame = 0; frame < 450; ++frame) advance(1.0 / 30.0);
            EXPECT_GT(system->liveCount, 3500) << "hour " << hour;
        }
        ASSERT_TRUE(system->liveCount >= 0 && system->liveCount <= ParticleSystem::PoolSize) << system->liveCount;
        ASSERT_TRUE(system->emitCarry >= 0.0f && system->emitCarry < 1.0f) << system->emitCarry;
        ASSERT_TRUE(isFinite(system->origin));
    }
    EXPECT_EQ(badSlot, -1) << "at time " << time;
    EXPECT_GE(hour, 24);
    EXPECT_GE(time, 86400.0);
}
