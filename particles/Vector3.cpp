// Vector arithmetic, the float trigonometry wrappers and the gravity vector.
// Results are rounded to float after every operation; only the steps noted
// below go through double precision, because particle paths depend on it.
#include "particles/Vector3.h"

#include <cmath>

const Vector3 gravity(0.0f, -9.8f, 0.0f);

Vector3& Vector3::operator+=(const Vector3& w) {
    x = x + w.x;
    y = y + w.y;
    z = z + w.z;
    return *this;
}

Vector3& Vector3::operator*=(float s) {
    x = s * x;
    y = s * y;
    z = s * z;
    return *this;
}

float Vector3::length() const {
    // Squares and sum in double, as the original x87 arithmetic kept them.
    const double sum = static_cast<double>(x) * x + static_cast<double>(y) * y +
                       static_cast<double>(z) * z;
    return static_cast<float>(std::sqrt(sum));
}

float Vector3::normalize() {
    const float len = length();
    if (len == 0.0f) {
        // No direction to keep: stay the zero vector rather than turn into NaN.
        return len;
    }
    const float inv = static_cast<float>(1.0 / len);
    if (std::isinf(inv)) {
        // A length this close to zero has no float reciprocal; divide in
        // double instead so the result is still a unit vector.
        x = static_cast<float>(x / static_cast<double>(len));
        y = static_cast<float>(y / static_cast<double>(len));
        z = static_cast<float>(z / static_cast<double>(len));
        return len;
    }
    x = inv * x;
    y = inv * y;
    z = inv * z;
    return len;
}

Vector3 operator+(const Vector3& a, const Vector3& b) { return Vector3(a.x + b.x, a.y + b.y, a.z + b.z); }

Vector3 operator-(const Vector3& a, const Vector3& b) { return Vector3(a.x - b.x, a.y - b.y, a.z - b.z); }

Vector3 operator*(const Vector3& v, float s) { return Vector3(s * v.x, s * v.y, s * v.z); }

// Three true divisions: a multiplication by the reciprocal rounds differently.
Vector3 operator/(const Vector3& v, float s) { return Vector3(v.x / s, v.y / s, v.z / s); }

float floatSin(float radians) { return static_cast<float>(std::sin(static_cast<double>(radians))); }

float floatCos(float radians) { return static_cast<float>(std::cos(static_cast<double>(radians))); }
