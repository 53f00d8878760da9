// Every diamond of a frame is turned by the same rotation, so it is worked
// out once a frame rather than once a particle.
#include "particles/DiamondArrays.h"

#include <cmath>

namespace {

// The texture square laid on the corners +y, -x, +x, -y, corner to corner.
constexpr float cornerTexCoord[4][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}};
// The triangles (1, 2, 3) and (2, 3, 4), each wound as a strip of the four
// corners in that order winds it.
constexpr std::uint16_t cornerIndex[6] = {0, 1, 2, 2, 1, 3};

}  // namespace

static_assert(DiamondArrays::MaxDiamonds * 4 <= 65536, "corner numbers must fit the 16-bit indices");

DiamondArrays::DiamondArrays() : position{}, color{} {
    for (int diamond = 0; diamond < MaxDiamonds; ++diamond) {
        for (int corner = 0; corner < 4; ++corner) {
            texCoord[diamond * 4 + corner][0] = cornerTexCoord[corner][0];
            texCoord[diamond * 4 + corner][1] = cornerTexCoord[corner][1];
        }
        for (int i = 0; i < 6; ++i) index[diamond * 6 + i] = static_cast<std::uint16_t>(diamond * 4 + cornerIndex[i]);
    }
}

int DiamondArrays::fill(const Particle* particles, int count, const Vector3& angles) {
    // The particle's local x and y axes in the world: the first two columns
    // of Rz * Ry * Rx.
    const double toRadians = 3.14159265358979323846 / 180.0;
    const double cx = std::cos(angles.x * toRadians), sx = std::sin(angles.x * toRadians);
    const double cy = std::cos(angles.y * toRadians), sy = std::sin(angles.y * toRadians);
    const double cz = std::cos(angles.z * toRadians), sz = std::sin(angles.z * toRadians);
    const Vector3 xAxis(static_cast<float>(cz * cy), static_cast<float>(sz * cy), static_cast<float>(-sy));
    const Vector3 yAxis(static_cast<float>(cz * sy * sx - sz * cx), static_cast<float>(sz * sy * sx + cz * cx),
                        static_cast<float>(cy * sx));

    int written = 0;
    for (int slot = 0; slot < count && written < MaxDiamonds; ++slot) {
        const Particle& particle = particles[slot];
        if (!particle.isLive()) continue;
        const Vector3 across = xAxis * particle.size;
        const Vector3 up = yAxis * particle.size;
        const Vector3 corners[4] = {particle.position + up, particle.position - across, particle.position + across,
                                    particle.position - up};
        for (int corner = 0; corner < 4; ++corner) {
            float* at = position[written * 4 + corner];
            at[0] = corners[corner].x;
            at[1] = corners[corner].y;
            at[2] = corners[corner].z;
            float* rgba = color[written * 4 + corner];
            rgba[0] = particle.color.r;
            rgba[1] = particle.color.g;
            rgba[2] = particle.color.b;
            rgba[3] = particle.alpha;
        }
        ++written;
    }
    return written;
}
