// One slot of the particle pool: its motion, colour, opacity, size and
// gravity factor, each with a per-second change toward its end-of-life value.
#pragma once

#include "particles/Vector3.h"

class ParticleSystem;

class Particle {
public:
    Particle();
    virtual ~Particle() = default;

    // Advances by dt seconds; false when the particle expired in this call.
    bool step(float dt);
    Particle& setOwner(ParticleSystem* system);

    bool isLive() const { return age >= 0.0f; }

    Vector3 lastPosition;
    Vector3 position;
    Vector3 velocity;
    Color4 color;
    Color4 colorDelta;
    float age;       // below 0: the slot is dead
    float lifetime;
    float size;      // half the diagonal of the drawn diamond
    float sizeDelta;
    float alpha;
    float alphaDelta;
    float gravityFactor;
    float gravityFactorDelta;
    ParticleSystem* owner;
};
