// A frame's particles as OpenGL 1.1 client-side arrays: four corners a live
// particle, with their texture coordinates and colours, and the two
// triangles of each diamond as indices. Held by the particle system, so no
// frame allocates; only corners and colours change from frame to frame.
#pragma once

#include <cstdint>

#include "particles/Particle.h"

struct DiamondArrays {
    static constexpr int MaxDiamonds = 4000;

    DiamondArrays();
    // Every live particle of the count in particles, in index order: corners
    // +y, -x, +x, -y at distance size, turned by angles (degrees; about z,
    // then y, then x) around the particle, and its colour with alpha as the
    // opacity. Returns how many diamonds it wrote.
    int fill(const Particle* particles, int count, const Vector3& angles);

    float position[MaxDiamonds * 4][3];
    float color[MaxDiamonds * 4][4];
    float texCoord[MaxDiamonds * 4][2];
    std::uint16_t index[MaxDiamonds * 6];
};
