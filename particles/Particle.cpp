// One particle's life: expiry, explicit Euler motion under gravity and the
// optional pull toward the emitter, and the linear drift of its colour,
// opacity, size and gravity factor toward their end-of-life values.
#include "particles/Particle.h"

#include "particles/ParticleSystem.h"

// A fresh slot has an already-passed lifetime, so the first update retires
// it without moving it. The fields emission always writes start at zero.
Particle::Particle()
    : color{1.0f, 0.5f, 0.2f, 0.5f},
      age(0.0f),
      lifetime(-1000.0f),
      size(1.0f),
      sizeDelta(0.0f),
      alpha(0.0f),
      alphaDelta(0.0f),
      gravityFactor(0.0f),
      gravityFactorDelta(0.0f),
      owner(nullptr) {}

Particle& Particle::setOwner(ParticleSystem* system) {
    owner = system;
    return *this;
}

bool Particle::step(float dt) {
    if (!(age + dt < lifetime)) {
        age = -1.0f;
        return false;
    }
    age = age + dt;
    lastPosition = position;
    // Position first, with the velocity from before this step.
    position += velocity * dt;
    velocity += (gravity * gravityFactor) * dt;
    if (owner != nullptr && owner->isAttracting()) {
        Vector3 toOrigin = owner->getOrigin() - position;
        // A particle sitting exactly on the origin has no direction to be
        // pulled in; it simply feels no pull this step.
        if (toOrigin.normalize() != 0.0f) {
            velocity += (toOrigin * 25.0f) * dt;
        }
    }
    color.r = color.r + dt * colorDelta.r;
    color.g = color.g + dt * colorDelta.g;
    color.b = color.b + dt * colorDelta.b;
    alpha = alpha + dt * alphaDelta;
    size = size + dt * sizeDelta;
    gravityFactor = gravityFactor + dt * gravityFactorDelta;
    return true;
}
