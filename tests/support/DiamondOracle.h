// The particles drawn one diamond at a time in immediate mode, the way the
// saver first drew them: the picture its own drawing must equal. Tests
// compare with it; the benchmarks time it.
#pragma once

#include "particles/ParticleSystem.h"

// Turned by angles (degrees), whatever the system's camera holds.
void drawDiamondsOneByOne(const ParticleSystem& system, const Vector3& angles);
