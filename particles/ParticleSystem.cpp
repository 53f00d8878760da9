// The emitter: its preset table, the sweep of its origin, the stepping of
// the pool and the emission of new particles into dead slots.
//
// Arithmetic is single precision unless a line says otherwise; the few
// double-precision steps and the order of the random draws are what make a
// seed give the same particles everywhere, so keep them as they are.
#include "particles/ParticleSystem.h"

#include <cmath>
#include <limits>

#include "particles/Random.h"
#include "shell/RunMode.h"
#include "shell/SaverSettings.h"

float orbitAngle = 0.0f;
float bobAngle = 180.0f;

void resetSweepAngles() {
    orbitAngle = 0.0f;
    bobAngle = 180.0f;
}

EffectStream currentEffectStream() { return {lumra::generatorState(), orbitAngle, bobAngle}; }

void useEffectStream(const EffectStream& stream) {
    lumra::srand(stream.generator);
    orbitAngle = stream.orbit;
    bobAngle = stream.bob;
}

namespace {

constexpr double Pi = 3.14159265358979323846;
// Radians per degree as the sweep has always used it: a float, not pi/180.
constexpr float DegreesToRadians = 0.01745f;
constexpr float GravityUnit = 9.8f;

// A triangular spread in [-1, 1]. The first draw is converted before the
// second is made; the two calls must stay in this order.
float randomSpread() {
    const float first = static_cast<float>(lumra::rand());
    return (first - lumra::rand()) / static_cast<float>(lumra::RandMax);
}

float clamp(float value, float low, float high) {
    if (value < low) return low;
    if (value < high) return value;
    return high;
}

bool isFinite(const Vector3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool optionIsOn(std::int32_t SaverSettings::*option) {
    return globalSettings != nullptr && globalSettings->*option != 0;
}

}  // namespace

ParticleSystem::ParticleSystem()
    : emissionRate(0),
      liveCount(0),
      unusedUp(0.0f, 1.0f, 0.0f),
      gravityBase(0.0f),
      gravitySpread(0.0f),
      gravityEnd(0.0f),
      sizeBase(0.0f),
      sizeSpread(0.0f),
      sizeEnd(0.0f),
      alphaBase(0.0f),
      alphaSpread(0.0f),
      alphaEnd(0.0f),
      speedBase(0.0f),
      speedSpread(0.0f),
      lifeBase(0.0f),
      lifeSpread(0.0f),
      spreadAngle(0.0f),
      moving(false),
      attract(false),
      hold(false),
      floor(false),
      presetWord32(0),
      unusedInteger(0),
      presetWord30(0),
      emitCarry(0.0f),
      lastTime(0.0f),
      presets{},
      presetCount(0) {
    initPresets();
    for (Particle& particle : particles) particle.setOwner(this);
}

void ParticleSystem::initPresets() {
    EmitterPreset& preset = presets[0];
    preset.cameraPosition = Vector3(0.0f, 0.0f, 90.0f);
    preset.cameraAngles = Vector3(0.0f, 500.0f, 0.0f);
    preset.colorBase[0] = 0.0f;
    preset.colorBase[1] = 0.6f;
    preset.colorBase[2] = 0.9f;
    preset.colorSpread[0] = 0.1f;
    preset.colorSpread[1] = 0.0f;
    preset.colorSpread[2] = -0.1f;
    preset.colorEnd[0] = 0.0f;
    preset.colorEnd[1] = 0.0f;
    preset.colorEnd[2] = 0.9f;
    preset.alphaBase = 0.7f;
    preset.alphaSpread = 0.3f;
    preset.alphaEnd = 0.0f;
    preset.sizeBase = 5.0f;
    preset.sizeSpread = 3.0f;
    preset.sizeEnd = 5.0f;
    preset.speedBase = 100.0f;
    preset.speedSpread = 200.0f;
    preset.spreadAngle = 100.77f;
    preset.lifeBase = 7.15f;
    preset.lifeSpread = 0.0f;
    preset.gravityBase = -2.0f;
    preset.gravitySpread = 4.0f;
    preset.gravityEnd = 9.8f;
    preset.emissionRate = 500;
    preset.presetWord30 = 1;
    // The origin always sweeps; the stored "Moving" option never reached the emitter.
    preset.moving = 1;
    preset.attract = optionIsOn(&SaverSettings::attractive) ? 1 : 0;
    preset.floor = optionIsOn(&SaverSettings::floor) ? 1 : 0;
    presetCount = 1;
}

ParticleSystem& ParticleSystem::applyPreset(std::int32_t index) {
    // The table is fixed; an index outside it would read past the array.
    if (index < 0 || index >= presetCount) return *this;
    const EmitterPreset& preset = presets[index];
    camera.position = preset.cameraPosition;
    camera.angles = preset.cameraAngles;
    colorBase.r = preset.colorBase[0];
    colorBase.g = preset.colorBase[1];
    colorBase.b = preset.colorBase[2];
    colorSpread.r = preset.colorSpread[0];
    colorSpread.g = preset.colorSpread[1];
    colorSpread.b = preset.colorSpread[2];
    colorEnd.r = preset.colorEnd[0];
    colorEnd.g = preset.colorEnd[1];
    colorEnd.b = preset.colorEnd[2];
    alphaBase = preset.alphaBase;
    alphaSpread = preset.alphaSpread;
    alphaEnd = preset.alphaEnd;
    sizeBase = preset.sizeBase;
    sizeSpread = preset.sizeSpread;
    sizeEnd = preset.sizeEnd;
    speedBase = preset.speedBase;
    speedSpread = preset.speedSpread;
    spreadAngle = preset.spreadAngle;
    lifeBase = preset.lifeBase;
    lifeSpread = preset.lifeSpread;
    gravityBase = preset.gravityBase;
    gravitySpread = preset.gravitySpread;
    gravityEnd = preset.gravityEnd;
    emissionRate = preset.emissionRate;
    moving = preset.moving != 0;
    attract = preset.attract != 0;
    floor = preset.floor != 0;
    presetWord32 = preset.presetWord32;
    presetWord30 = preset.presetWord30;
    return *this;
}

bool ParticleSystem::update(float time) {
    float dt = time - lastTime;
    // A clock that jumps back (or a time that is not a number) must not
    // turn into a negative or undefined step: nothing moves this frame.
    if (!(dt >= 0.0f) || std::isinf(dt)) dt = 0.0f;
    if (std::isfinite(time)) lastTime = time;

    if (moving) sweepOrigin(dt);

    liveCount = 0;
    for (Particle& particle : particles) {
        if (particle.isLive() && particle.step(dt)) ++liveCount;
    }

    std::uint32_t rate = emissionRate;
    if (RunMode == Mode::Preview) rate >>= 1;
    const float owed = static_cast<float>(rate) * dt + emitCarry;
    std::uint32_t count = 0;
    if (hold) {
        emitCarry = owed;
    } else if (!(owed > 0.0f)) {
        emitCarry = 0.0f;
    } else if (owed < 4294967296.0f) {
        count = static_cast<std::uint32_t>(owed);
        emitCarry = owed - static_cast<float>(count);
    } else {
        // More than the pool could ever take (or infinite): fill what is
        // free and keep no fraction, since a float this large has none.
        count = std::numeric_limits<std::uint32_t>::max();
        emitCarry = 0.0f;
    }

    for (Particle& particle : particles) {
        if (count == 0) break;
        if (particle.isLive()) continue;
        emit(particle, dt);
        --count;
    }

    lastOrigin = origin;
    return true;
}

void ParticleSystem::sweepOrigin(float dt) {
    orbitAngle += 50.0f * dt;
    bobAngle += 30.0f * dt;
    // Back to 0 past 359 (not reduced by 360): the path has always had this
    // small hitch once a turn.
    if (orbitAngle > 359.0f) orbitAngle = 0.0f;
    if (bobAngle > 359.0f) bobAngle = 0.0f;
    const double k = DegreesToRadians;
    origin = Vector3(static_cast<float>(std::cos(orbitAngle * k) * 750.0),
                     static_cast<float>(std::sin(bobAngle * k) * 500.0),
                     static_cast<float>(std::sin(orbitAngle * k) * 250.0));
}

void ParticleSystem::emit(Particle& particle, float dt) {
    particle.age = 0.0f;
    particle.lifetime = clamp(randomSpread() * lifeSpread + lifeBase, 0.1f, 10.0f);
    const float lifetime = particle.lifetime;

    Color4& color = particle.color;
    color.r = randomSpread() * colorSpread.r + colorBase.r;
    color.g = randomSpread() * colorSpread.g + colorBase.g;
    color.b = randomSpread() * colorSpread.b + colorBase.b;
    color.a = 1.0f;
    color.r = clamp(color.r, 0.0f, 1.0f);
    color.g = clamp(color.g, 0.0f, 1.0f);
    color.b = clamp(color.b, 0.0f, 1.0f);
    particle.colorDelta.r = (colorEnd.r - color.r) / lifetime;
    particle.colorDelta.g = (colorEnd.g - color.g) / lifetime;
    particle.colorDelta.b = (colorEnd.b - color.b) / lifetime;

    particle.alpha = clamp(randomSpread() * alphaSpread + alphaBase, 0.0f, 1.0f);
    particle.alphaDelta = (alphaEnd - particle.alpha) / lifetime;

    particle.size = clamp(randomSpread() * sizeSpread + sizeBase, 0.5f, 10.0f);
    particle.sizeDelta = (sizeEnd - particle.size) / lifetime;

    const float baseFactor = static_cast<float>(static_cast<double>(gravityBase) * GravityUnit);
    particle.gravityFactor = clamp(randomSpread() * gravitySpread * GravityUnit + baseFactor, -49.0f, 49.0f);
    particle.gravityFactorDelta = (gravityEnd * GravityUnit - particle.gravityFactor) / lifetime;

    // New particles spread over the origin's travel in this frame, centred
    // on where it started. The draw is made even when it is not needed, so
    // that every later draw keeps its place in the sequence.
    const float along = randomSpread();
    particle.position = lastOrigin;
    if (dt > 0.0f) {
        const Vector3 travelRate = (origin - lastOrigin) / dt;
        const Vector3 placed = lastOrigin + (travelRate * along) * dt;
        // A step so short that the rate overflows: place by the fraction of
        // the travel directly, which is what the formula means.
        particle.position = isFinite(placed) ? placed : lastOrigin + (origin - lastOrigin) * along;
    }
    particle.lastPosition = origin;

    const float yaw = static_cast<float>(randomSpread() * Pi * 2.0);
    const float pitch = static_cast<float>(randomSpread() * spreadAngle * Pi / 180.0);
    const float sinPitch = floatSin(pitch);
    particle.velocity = Vector3(floatCos(yaw) * sinPitch, floatCos(pitch), floatSin(yaw) * sinPitch);
    particle.velocity *= clamp(randomSpread() * speedSpread + speedBase, 0.0f, 250.0f);

    particle.setOwner(this);
}
