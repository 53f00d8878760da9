// The whole effect: one emitter whose origin sweeps an ellipse, and a fixed
// pool of particles held inside the object (it is large: create it with new).
#pragma once

#include <cstdint>

#include "particles/DiamondArrays.h"
#include "particles/Particle.h"
#include "particles/Vector3.h"

// One stored set of emitter parameters, 33 consecutive 32-bit words.
struct EmitterPreset {
    Vector3 cameraPosition;
    Vector3 cameraAngles;
    float colorBase[3];
    float colorSpread[3];
    float colorEnd[3];
    float alphaBase;
    float alphaSpread;
    float alphaEnd;
    float sizeBase;
    float sizeSpread;
    float sizeEnd;
    float speedBase;
    float speedSpread;
    float spreadAngle;
    float lifeBase;
    float lifeSpread;
    float gravityBase;
    float gravitySpread;
    float gravityEnd;
    std::uint32_t emissionRate;
    std::int32_t presetWord30;
    std::uint8_t moving;
    std::uint8_t attract;
    std::uint8_t floor;
    std::uint8_t spare;
    std::int32_t presetWord32;
};

class ParticleSystem {
public:
    static constexpr int PoolSize = 4000;
    static constexpr int MaxPresets = 1;
    static_assert(PoolSize <= DiamondArrays::MaxDiamonds, "every particle may be live at once");

    // Reads the attract and floor options from globalSettings.
    ParticleSystem();
    virtual ~ParticleSystem() = default;

    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    std::int32_t getPresetCount() const { return presetCount; }
    ParticleSystem& applyPreset(std::int32_t index);
    // Advances everything to time, in seconds since the frame timer started.
    bool update(float time);
    // Draws every live particle into the current GL context, all in one call
    // over vertex arrays (OpenGL 1.1, no buffer objects).
    void render() const;

    bool isAttracting() const { return attract; }
    Vector3 getOrigin() const { return origin; }

    CameraPose camera;
    std::uint32_t emissionRate;
    std::int32_t liveCount;
    Vector3 lastOrigin;
    Vector3 origin;
    Vector3 unusedVector;
    Vector3 unusedUp;
    float gravityBase, gravitySpread, gravityEnd;
    float sizeBase, sizeSpread, sizeEnd;
    float alphaBase, alphaSpread, alphaEnd;
    Color4 colorBase, colorSpread, colorEnd;
    float speedBase, speedSpread;
    float lifeBase, lifeSpread;
    float spreadAngle;
    bool moving;
    bool attract;
    bool hold;
    bool floor;
    std::int32_t presetWord32;
    std::int32_t unusedInteger;
    std::int32_t presetWord30;
    float emitCarry;
    Particle particles[PoolSize];
    float lastTime;
    EmitterPreset presets[MaxPresets];
    std::int32_t presetCount;

private:
    void initPresets();
    void sweepOrigin(float dt);
    void emit(Particle& particle, float dt);

    // Scratch space of render, which changes nothing the system holds.
    mutable DiamondArrays diamonds;
};

// The sweep angles (degrees) live for the whole process, not per system.
extern float orbitAngle;
extern float bobAngle;
// Puts the sweep angles back to their program-start values.
void resetSweepAngles();

// What a running effect advances besides its own system: the generator and
// the sweep angles, both process-wide. A process that runs several effects
// keeps a stream for each and puts it in place around that effect's work.
struct EffectStream {
    std::uint32_t generator;
    float orbit;
    float bob;
};
EffectStream currentEffectStream();
void useEffectStream(const EffectStream& stream);
