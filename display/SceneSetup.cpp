// Creation and start-up of the scene's particle system.
#include "display/SceneSetup.h"

#include "particles/ParticleSystem.h"
#include "particles/Random.h"

ParticleSystem* createParticleSystem() {
    return translateConstructionFailure([] { return new ParticleSystem(); });
}

void prepareParticleSystem(ParticleSystem& system, std::uint32_t seed) {
    lumra::srand(seed);
    system.applyPreset(lumra::rand() % system.getPresetCount());
    // The preset's own camera never takes effect.
    system.camera.angles = Vector3(20.0f, 0.0f, 0.0f);
    system.camera.position = Vector3(0.0f, 55.0f, 120.0f);
}
