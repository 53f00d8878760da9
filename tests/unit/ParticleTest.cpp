#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <memory>
#include <tuple>

#include "tests/support/MemoryStore.h"
#include "tests/support/ProcessState.h"

// Explicit Euler until age plus step reaches the lifetime: the old velocity moves it, gravity (0, -9.8, 0) times the
// old factor changes the velocity, and every drift is linear and unclamped. The expiring step moves nothing.
TEST(Particle, StepsByExplicitEulerUntilItsLifetime) {
    EXPECT_FALSE(Particle().step(0.0f));  // a fresh slot has no lifetime left
    Particle p;
    p.lifetime = 2.5f;
    p.velocity = Vector3(2, 4, 0);
    p.gravityFactor = -2.0f;
    p.gravityFactorDelta = 3.0f;
    p.color = Color4{0.9f, 0.1f, 0.5f, 1.0f};
    p.colorDelta = Color4{0.2f, -0.4f, 0.0f, 0.0f};
    p.alphaDelta = 1.5f;
    p.sizeDelta = -2.0f;
    ASSERT_TRUE(p.step(1.0f));
    const float got[] = {p.age,     p.position.x, p.position.y, p.velocity.x, p.velocity.y, p.velocity.z,
                         p.gravityFactor, p.color.r, p.color.g, p.color.b, p.alpha, p.size};
    const float want[] = {1.0f, 2.0f, 4.0f, 2.0f, 4.0f + 19.6f, 0.0f, 1.0f, 1.1f, -0.3f, 0.5f, 1.5f, -1.0f};
    for (int i = 0; i < 12; ++i) EXPECT_FLOAT_EQ(got[i], want[i]) << i;
    EXPECT_TRUE(Particle(p).step(1.4f));
    EXPECT_FALSE(p.step(1.5f));  // 1 + 1.5 reaches 2.5
    EXPECT_EQ(std::tuple(p.age, p.position.x), std::tuple(-1.0f, 2.0f));
}

const EffectStream processStart = currentEffectStream();  // before any test runs: a fresh process's sweep

class Emitter : public ::testing::Test {
protected:
    void SetUp() override { resetProcessState(); }
    void TearDown() override { resetProcessState(); }

    // Built and given its preset as the scene does it.
    static std::unique_ptr<ParticleSystem> makeSystem() {
        return std::unique_ptr<ParticleSystem>(&(new ParticleSystem)->applyPreset(0));
    }
    static int liveSlots(const ParticleSystem& system) {
        return static_cast<int>(std::count_if(std::begin(system.particles), std::end(system.particles),
                                              [](const Particle& p) { return p.isLive(); }));
    }
};

// Any non-zero option is on; without a settings record both are off. The pull is 25 toward the origin (0, 0, 0)
// from where the particle has just moved, near and far alike; one sitting on the origin feels none.
TEST_F(Emitter, TheAttractOptionPullsAt25TowardTheOrigin) {
    MemoryStore store;
    SaverSettings settings(store);
    for (const int option : {-1, 0, 7}) {
        settings.attractive = settings.floor = option;
        globalSettings = option < 0 ? nullptr : &settings;
        auto system = makeSystem();
        EXPECT_EQ(system->floor, option > 0);
        for (const auto& [x, vx, pulled] : {std::array{10.0f, 0.0f, -2.5f}, {1000.0f, 0.0f, -2.5f},
                                            {-1.0f, 20.0f, 17.5f}, {0.0f, 0.0f, 0.0f}}) {
            Particle p;
            p.lifetime = 10.0f;
            p.position.x = x;
            p.velocity.x = vx;
            ASSERT_TRUE(p.setOwner(system.get()).step(0.1f));
            EXPECT_FLOAT_EQ(p.velocity.x, option > 0 ? pulled : vx) << option << ", " << x;
        }
    }
}

// Seed 12345, first update after 0.02 s: the sweep, the origin and the first new particle (of ten), worked out by
// hand from the rules, 22 draws per particle in their order. The preset sets every emitter value, whatever was there
// before; an index outside the table changes nothing.
TEST_F(Emitter, FirstParticlesTakeTheirDrawsInOrder) {
    ASSERT_EQ(std::tuple(orbitAngle, bobAngle), std::tuple(processStart.orbit, processStart.bob)) << "reset, at start";
    lumra::srand(12345);
    auto system = std::make_unique<ParticleSystem>();
    system->colorBase = system->colorSpread = system->colorEnd = Color4{0.5f, 0.5f, 0.5f, 0.5f};
    system->alphaEnd = system->lifeSpread = 0.5f;  // the preset's other values differ from a new system's
    system->emissionRate = 123;
    EXPECT_EQ(system->applyPreset(1).applyPreset(-1).emissionRate, 123u);
    system->applyPreset(0).update(0.02f);
    ASSERT_EQ(liveSlots(*system), 10);
    const Particle& p = system->particles[0];
    EXPECT_EQ(p.lastPosition.x, system->origin.x);
    const float got[] = {orbitAngle, bobAngle, system->origin.x, system->origin.y, system->origin.z, p.lifetime,
                         p.color.r, p.color.g, p.color.b, p.colorDelta.r, p.colorDelta.g, p.colorDelta.b, p.alpha,
                         p.alphaDelta, p.size, p.sizeDelta, p.gravityFactor, p.gravityFactorDelta, p.position.x,
                         p.position.y, p.position.z, p.velocity.x, p.velocity.y, p.velocity.z,
                         system->particles[1].velocity.z};
    const float want[] = {1.0f, 180.6f, 749.8858f, -4.938576f, 4.362278f, 7.15f, 0.0112003f, 0.6f, 0.8326640f,
                          -0.00156647f, -0.6f / 7.15f, 0.00941763f, 0.7518936f, -0.1051599f, 5.0145574f, -0.0020360f,
                          -21.142063f, 16.389100f, -103.94547f, 0.684561f, -0.604678f, -65.24302f, 41.70737f,
                          80.30072f, -3.286682f};
    for (int i = 0; i < 25; ++i) EXPECT_NEAR(got[i], want[i], 1e-5f * std::fabs(want[i]) + 1e-7f) << i;
}

// Every constructed particle expires at the first update, before any is emitted; half a second owes 250 particles
// (125 in a preview), which take the first slots.
TEST_F(Emitter, HalfASecondFillsTheFirstSlotsAtTheModesRate) {
    for (const auto& [mode, filled] : {std::pair{Mode::Preview, 125}, std::pair{Mode::Saver, 250}}) {
        RunMode = mode;
        auto system = makeSystem();
        system->update(0.0f);  // a step of zero owes nothing, not even a fraction
        system->update(0.5f);
        EXPECT_EQ(std::tuple(system->liveCount, system->emitCarry), std::tuple(0, 0.0f));
        for (int i = 0; i < ParticleSystem::PoolSize; ++i)
            ASSERT_EQ(system->particles[i].isLive(), i < filled) << "mode " << mode << " slot " << i;
    }
}

// Fractions carry to later updates. With slots 3 and 7 free, one owed particle takes slot 3; five take both, and
// the rest is not carried. A hold owes without emitting.
TEST_F(Emitter, OwedParticlesFillDeadSlotsInOrderAndFractionsCarry) {
    auto system = makeSystem();
    const std::pair<int, float> expected[] = {{1, 0.65f}, {2, 0.30f}, {1, 0.95f}};
    for (int i = 0, before = 0; i < 3; before = liveSlots(*system), ++i) {
        system->update(0.0033f * static_cast<float>(i + 1));
        EXPECT_EQ(liveSlots(*system) - before, expected[i].first) << i;
        EXPECT_NEAR(system->emitCarry, expected[i].second, 0.01f) << i;
    }
    for (const float owed : {1.0f, 5.25f}) {
        for (Particle& p : system->particles) p.age = 0.0f, p.lifetime = 1000.0f;
        system->particles[3].age = system->particles[7].age = -1.0f;
        system->emitCarry = owed;
        system->update(system->lastTime);
        EXPECT_EQ(std::tuple(system->particles[3].age, system->particles[7].isLive(), system->emitCarry),
                  std::tuple(0.0f, owed > 2.0f, owed - std::floor(owed))) << owed << " owed";
    }
    // Released with no time passing, the particles owed while held appear
    // where the origin was, with no division by the zero step (it would trap).
    auto held = makeSystem();
    held->hold = true;
    held->update(0.1f);
    held->update(0.2f);
    EXPECT_NEAR(held->emitCarry, 100.0f, 1e-3f);
    EXPECT_EQ(liveSlots(*held), 0);
    held->hold = false;
    feenableexcept(FE_DIVBYZERO | FE_INVALID);
    held->update(held->lastTime);
    fedisableexcept(FE_DIVBYZERO | FE_INVALID);
    ASSERT_EQ(liveSlots(*held), 100);
    EXPECT_EQ(held->particles[99].position.x, held->getOrigin().x);
}

// With no spread each drawn value is its base clamped, and its delta runs
// from the clamped value (blue ends at 0.9).
TEST_F(Emitter, DrawnValuesAreClamped) {
    auto system = makeSystem();
    system->lifeSpread = system->alphaSpread = system->sizeSpread = system->gravitySpread = system->speedSpread = 0;
    system->colorSpread = Color4{};
    // The base, then the value stored: lifetime, colour, opacity, size, gravity factor, speed.
    const float rows[2][2][6] = {{{20, -0.05f, 2, 0, 10, -50}, {10, 0, 1, 0.5f, 49, 0}},
                                 {{0, 1.5f, -1, 50, -10, 900}, {0.1f, 1, 0, 10, -49, 250}}};
    for (const auto& [in, out] : rows) {
        std::tie(system->lifeBase, system->alphaBase, system->sizeBase, system->gravityBase, system->speedBase) =
            std::tuple(in[0], in[2], in[3], in[4], in[5]);
        system->colorBase = Color4{in[1], in[1], in[1], 0.0f};
        system->particles[0].age = -1.0f;
        system->emitCarry = 1.0f;
        system->update(system->lastTime);
        const Particle& p = system->particles[0];
        const float got[] = {p.lifetime, p.color.r, p.color.g, p.color.b, p.alpha, p.size, p.gravityFactor,
                             p.velocity.length(), p.colorDelta.b * p.lifetime};
        const float expected[] = {out[0], out[1], out[1], out[1], out[2], out[3], out[4], out[5], 0.9f - out[1]};
        for (int i = 0; i < 9; ++i) EXPECT_NEAR(got[i], expected[i], 1e-4f) << in[0] << ": " << i;
    }
}

// Past 359 an angle restarts at 0 (not 360 less); exactly 359 stays.
TEST_F(Emitter, TheSweepRestartsPast359AndTimeNeverStepsBack) {
    auto system = makeSystem();
    orbitAngle = bobAngle = 358.9f;
    system->update(0.004f);  // orbit +0.2, bob +0.12
    EXPECT_EQ(std::tuple(orbitAngle, bobAngle, system->origin.y), std::tuple(0.0f, 0.0f, 0.0f));
    EXPECT_FLOAT_EQ(system->origin.x, 750.0f);
    orbitAngle = 358.5f;
    system->update(0.014f);  // +0.5 lands exactly on 359
    EXPECT_EQ(orbitAngle, 359.0f);

    // Time that goes back is a step of zero, and non-numbers are ignored.
    system = makeSystem();
    system->update(1.0f);
    const float x = system->particles[0].position.x, angle = orbitAngle;
    for (const float time : {0.5f, std::nanf(""), INFINITY}) system->update(time);
    EXPECT_EQ(std::tuple(liveSlots(*system), system->particles[0].position.x, orbitAngle), std::tuple(500, x, angle));
    system->update(0.6f);  // time runs on from where the clock now stands
    EXPECT_NEAR(liveSlots(*system), 550, 1);
}
