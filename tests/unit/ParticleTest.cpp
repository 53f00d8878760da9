// One particle's life: expiry, Euler motion, gravity factor, the pull toward
// the emitter origin, and the unclamped drift of colour, opacity and size.
#include <gtest/gtest.h>

#include "tests/unit/ParticleTestSupport.h"
#include "particles/Particle.h"

namespace {

Particle liveParticle(Vector3 position = Vector3(), Vector3 velocity = Vector3(), ParticleSystem* owner = nullptr) {
    Particle p;
    p.lifetime = 10.0f;
    p.position = position;
    p.velocity = velocity;
    if (owner != nullptr) p.setOwner(owner);
    return p;
}

}  // namespace

TEST(ParticleExpiry, DiesWhenAgePlusStepReachesLifetimeWithoutMoving) {
    Particle p = liveParticle(Vector3(1, 2, 3), Vector3(10, 0, 0));
    p.age = 1.0f;
    p.lifetime = 1.5f;
    Particle q = p;
    EXPECT_TRUE(q.step(0.4f));
    EXPECT_FLOAT_EQ(q.age, 1.4f);
    EXPECT_FALSE(p.step(0.5f));
    EXPECT_FALSE(p.isLive());
    EXPECT_EQ(p.age, -1.0f);
    EXPECT_EQ(p.position.x, 1.0f);
    EXPECT_EQ(p.velocity.x, 10.0f);
    // A fresh particle has no lifetime: it dies at its first step.
    for (const float dt : {0.0f, 0.016f, 5.0f}) {
        Particle fresh;
        EXPECT_FALSE(fresh.step(dt)) << dt;
        EXPECT_EQ(fresh.age, -1.0f);
    }
}

TEST(ParticleMotion, PositionMovesBeforeVelocityChanges) {
    Particle p = liveParticle(Vector3(5, 0, 0), Vector3(2, 4, 0));
    p.gravityFactor = 1.0f;
    ASSERT_TRUE(p.step(0.5f));
    // The old velocity moved it; gravity only changed the velocity.
    EXPECT_FLOAT_EQ(p.position.x, 6.0f);
    EXPECT_FLOAT_EQ(p.position.y, 2.0f);
    EXPECT_FLOAT_EQ(p.velocity.y, 4.0f - 4.9f);
    EXPECT_FLOAT_EQ(p.lastPosition.x, 5.0f);
    EXPECT_FLOAT_EQ(p.lastPosition.y, 0.0f);

    Particle lifted = liveParticle();
    lifted.gravityFactor = -2.0f;
    ASSERT_TRUE(lifted.step(0.25f));
    EXPECT_FLOAT_EQ(lifted.velocity.y, 19.6f * 0.25f);
}

TEST(ParticleMotion, ChangesAreLinearAndNeverClamped) {
    Particle p = liveParticle();
    p.color = Color4{0.9f, 0.1f, 0.5f, 1.0f};
    p.colorDelta = Color4{0.2f, -0.4f, 0.0f, 0.0f};
    p.alpha = 0.9f;
    p.alphaDelta = 0.5f;
    p.size = 1.0f;
    p.sizeDelta = -2.0f;
    p.gravityFactorDelta = 3.0f;
    ASSERT_TRUE(p.step(1.0f));
    EXPECT_FLOAT_EQ(p.color.r, 1.1f);
    EXPECT_FLOAT_EQ(p.color.g, -0.3f);
    EXPECT_FLOAT_EQ(p.color.b, 0.5f);
    EXPECT_FLOAT_EQ(p.alpha, 1.4f);
    EXPECT_FLOAT_EQ(p.size, -1.0f);
    EXPECT_FLOAT_EQ(p.gravityFactor, 3.0f);
    EXPECT_EQ(p.velocity.y, 0.0f);  // the gravity factor changed after the velocity used the old one
}

class ParticleAttraction : public particletest::EngineTest {};

TEST_F(ParticleAttraction, PullIsAConstant25TowardWhereTheParticleHasJustMoved) {
    settings.attractive = 1;
    auto system = makeSystem();
    ASSERT_TRUE(system->isAttracting());
    system->origin = Vector3(0, 0, 0);
    // Near and far alike; the last starts left of the origin but ends the move to its right.
    const struct { float x, vx, wantVx; } cases[] = {{10, 0, -2.5f}, {1000, 0, -2.5f}, {-1, 20, 17.5f}};
    for (const auto& c : cases) {
        Particle p = liveParticle(Vector3(c.x, 0, 0), Vector3(c.vx, 0, 0), system.get());
        ASSERT_TRUE(p.step(0.1f));
        EXPECT_FLOAT_EQ(p.velocity.x, c.wantVx) << c.x;
        EXPECT_EQ(p.velocity.y, 0.0f) << c.x;
    }
}

TEST_F(ParticleAttraction, NoPullWhenOffOrSittingOnTheOrigin) {
    auto plain = makeSystem();
    ASSERT_FALSE(plain->isAttracting());
    Particle p = liveParticle(Vector3(10, 0, 0), Vector3(), plain.get());
    ASSERT_TRUE(p.step(0.1f));
    EXPECT_EQ(p.velocity.x, 0.0f);

    settings.attractive = 1;
    auto pulling = makeSystem();
    pulling->origin = Vector3(7, 8, 9);
    Particle q = liveParticle(Vector3(7, 8, 9), Vector3(), pulling.get());
    ASSERT_TRUE(q.step(0.1f));
    EXPECT_TRUE(q.velocity.x == 0.0f && q.velocity.y == 0.0f && q.velocity.z == 0.0f);
    EXPECT_TRUE(particletest::isFinite(q.position));
}
