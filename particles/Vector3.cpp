// The gravity vector, the float trigonometry wrappers and the rare path of
// normalising a vector too short for a float reciprocal. The arithmetic
// itself is inline in the header, where the particle step can fold it in.
#include "particles/Vector3.h"

#include <cmath>

const Vector3 gravity(0.0f, -9.8f, 0.0f);

// A length this close to zero has no float reciprocal; divide in double
// instead so the result is still a unit vector rather than infinite or NaN.
float Vector3::normalizeTiny(float len) {
    x = static_cast<float>(x / static_cast<double>(len));
    y = static_cast<float>(y / static_cast<double>(len));
    z = static_cast<float>(z / static_cast<double>(len));
    return len;
}

float floatSin(float radians) { return static_cast<float>(std::sin(static_cast<double>(radians))); }

float floatCos(float radians) { return static_cast<float>(std::cos(static_cast<double>(radians))); }
