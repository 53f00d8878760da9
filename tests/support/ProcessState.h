// One reset for every process-wide value of the portable code, so that each
// test starts as a fresh process does.
#pragma once

#include "particles/ParticleSystem.h"
#include "particles/Random.h"
#include "shell/RunMode.h"
#include "shell/SaverSettings.h"

inline void resetProcessState() {
    resetRunModeGlobals();
    globalSettings = nullptr;
    resetSweepAngles();
    lumra::srand(1);
}
