// The particles drawn one diamond at a time in immediate mode, exactly as the
// saver was first designed to draw them: the picture the product's own
// drawing must equal. Tests compare with it; the benchmarks time it.
#pragma once

#include "particles/ParticleSystem.h"

void drawDiamondsOneByOne(const ParticleSystem& system);
