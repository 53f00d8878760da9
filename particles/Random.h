// The engine's own pseudo-random generator: the classic linear congruential
// rule with results 0..32767, so that one seed gives the same particles on
// every platform and C library. The state is process-wide, like the C one.
#pragma once

#include <cstdint>

namespace lumra {
constexpr int RandMax = 32767;
void srand(std::uint32_t seed);
// The state as it stands; srand with it resumes the sequence from there.
std::uint32_t generatorState();
int rand();
}  // namespace lumra
