// Setting up the particle system for a run: creating it with its failures
// turned into Exception, seeding the generator, choosing the preset and
// placing the camera.
#pragma once

#include <cstdint>

#include "shell/Exception.h"

class ParticleSystem;

// Runs make(); an Exception passes on with its own text, anything else
// (running out of memory included) becomes Exception("Unknown error").
template <typename Make>
auto translateConstructionFailure(Make make) -> decltype(make()) {
    try {
        return make();
    } catch (const Exception&) {
        throw;
    } catch (...) {
        throw Exception();
    }
}

// A new particle system on the free store; the caller owns it. Throws Exception.
ParticleSystem* createParticleSystem();

// Seeds the generator with seed, applies the preset it picks and overwrites
// the camera the preset set: tilted 20 degrees, above and before the effect.
void prepareParticleSystem(ParticleSystem& system, std::uint32_t seed);
