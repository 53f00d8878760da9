// The generator state and its linear congruential rule. Unsigned 32-bit
// arithmetic wraps modulo 2^32, which is exactly the rule's modulus.
#include "particles/Random.h"

namespace {
// The C library starts as if seeded with 1; so do we.
std::uint32_t state = 1;
}  // namespace

namespace lumra {

void srand(std::uint32_t seed) { state = seed; }

std::uint32_t generatorState() { return state; }

int rand() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & static_cast<std::uint32_t>(RandMax));
}

}  // namespace lumra
