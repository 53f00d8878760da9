// One particle's life: expiry, Euler motion, gravity factor, the pull toward
// the emitter origin, and the unclamped drift of colour, opacity and size.
#include <gtest/gtest.h>

#include "ParticleTestSupport.h"
#include "particles/Particle.h"

using particletest::EngineTest;

namespace {

Particle liveParticle(float age, float lifetime) {
    Particle p;
    p.age = age;
    p.lifetime = lifetime;
    return p;
}

}  // namespace

TEST(ParticleExpiry, DiesWhenAgePlusStepReachesLifetimeWithoutMoving) {
    Particle p = liveParticle(1.0f, 1.5f);
    p.position = Vector3(1, 2, 3);
    p.velocity = Vector3(10, 0, 0);
    EXPECT_FALSE(p.step(0.5f));
    EXPECT_EQ(p.age, -1.0f);
    EXPECT_EQ(p.position.x, 1.0f);
    EXPECT_EQ(p.velocity.x, 10.0f);
    EXPECT_FALSE(p.isLive());

    Particle q = liveParticle(1.0f, 1.5f);
    EXPECT_TRUE(q.step(0.4f));
    EXPECT_FLOAT_EQ(q.age, 1.4f);
}

TEST(ParticleExpiry, AFreshParticleDiesAtItsFirstStep) {
    for (const float dt : {0.0f, 0.016f, 5.0f}) {
        Particle p;
        EXPECT_EQ(p.age, 0.0f);
        EXPECT_FALSE(p.step(dt)) << dt;
        EXPECT_EQ(p.age, -1.0f);
    }
}

TEST(ParticleMotion, PositionMovesBeforeVelocityChanges) {
    Particle p = liveParticle(0.0f, 10.0f);
    p.position = Vector3(5, 0, 0);
    p.velocity = Vector3(2, 4, 0);
    p.gravityFactor = 1.0f;
    ASSERT_TRUE(p.step(0.5f));
    // The old velocity moved it; gravity only changed the velocity.
    EXPECT_FLOAT_EQ(p.position.x, 6.0f);
    EXPECT_FLOAT_EQ(p.position.y, 2.0f);
    EXPECT_FLOAT_EQ(p.velocity.y, 4.0f - 4.9f);
    EXPECT_FLOAT_EQ(p.lastPosition.x, 5.0f);
    EXPECT_FLOAT_EQ(p.lastPosition.y, 0.0f);

    Particle lifted = liveParticle(0.0f, 10.0f);
    lifted.gravityFactor = -2.0f;
    ASSERT_TRUE(lifted.step(0.25f));
    EXPECT_FLOAT_EQ(lifted.velocity.y, 19.6f * 0.25f);
}

TEST(ParticleMotion, ChangesAreLinearAndNeverClamped) {
    Particle p = liveParticle(0.0f, 10.0f);
    p.color = Color4{0.9f, 0.1f, 0.5f, 1.0f};
    p.colorDelta = Color4{0.2f, -0.4f, 0.0f, 0.0f};
    p.alpha = 0.9f;
    p.alphaDelta = 0.5f;
    p.size = 1.0f;
    p.sizeDelta = -2.0f;
    p.gravityFactor = 0.0f;
    p.gravityFactorDelta = 3.0f;
    ASSERT_TRUE(p.step(1.0f));
    EXPECT_FLOAT_EQ(p.color.r, 1.1f);
    EXPECT_FLOAT_EQ(p.color.g, -0.3f);
    EXPECT_FLOAT_EQ(p.color.b, 0.5f);
    EXPECT_FLOAT_EQ(p.alpha, 1.4f);
    EXPECT_FLOAT_EQ(p.size, -1.0f);
    EXPECT_FLOAT_EQ(p.gravityFactor, 3.0f);
    // The gravity factor changes after the velocity used the old one.
    EXPECT_EQ(p.velocity.y, 0.0f);
}

class ParticleAttraction : public EngineTest {};

TEST_F(ParticleAttraction, PullIsAConstant25TowardTheOrigin) {
    settings.attractive = 1;
    auto system = makeSystem();
    ASSERT_TRUE(system->isAttracting());
    system->origin = Vector3(0, 0, 0);

    for (const float distance : {10.0f, 1000.0f}) {
        Particle p = liveParticle(0.0f, 10.0f);
        p.setOwner(system.get());
        p.position = Vector3(distance, 0, 0);
        ASSERT_TRUE(p.step(0.1f));
        EXPECT_FLOAT_EQ(p.velocity.x, -2.5f) << distance;
        EXPECT_EQ(p.velocity.y, 0.0f);
    }
}

TEST_F(ParticleAttraction, PullsTowardWhereTheParticleHasJustMoved) {
    settings.attractive = 1;
    auto system = makeSystem();
    system->origin = Vector3(0, 0, 0);
    Particle p = liveParticle(0.0f, 10.0f);
    p.setOwner(system.get());
    // Starts left of the origin but ends the move to its right.
    p.position = Vector3(-1, 0, 0);
    p.velocity = Vector3(20, 0, 0);
    ASSERT_TRUE(p.step(0.1f));
    EXPECT_FLOAT_EQ(p.velocity.x, 20.0f - 2.5f);
}

TEST_F(ParticleAttraction, NoPullWhenOffOrSittingOnTheOrigin) {
    auto plain = makeSystem();
    ASSERT_FALSE(plain->isAttracting());
    Particle p = liveParticle(0.0f, 10.0f);
    p.setOwner(plain.get());
    p.position = Vector3(10, 0, 0);
    ASSERT_TRUE(p.step(0.1f));
    EXPECT_EQ(p.velocity.x, 0.0f);

    settings.attractive = 1;
    auto pulling = makeSystem();
    pulling->origin = Vector3(7, 8, 9);
    Particle q = liveParticle(0.0f, 10.0f);
    q.setOwner(pulling.get());
    q.position = Vector3(7, 8, 9);
    ASSERT_TRUE(q.step(0.1f));
    EXPECT_EQ(q.velocity.x, 0.0f);
    EXPECT_EQ(q.velocity.y, 0.0f);
    EXPECT_EQ(q.velocity.z, 0.0f);
    EXPECT_TRUE(particletest::isFinite(q.position));
}
