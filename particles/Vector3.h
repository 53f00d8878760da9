// The engine's geometry types. Components are stored in single precision on
// purpose: the particle motion is specified in floats, and widening the
// storage would change every trajectory.
#pragma once

#include <cmath>

struct Vector3 {
    float x;
    float y;
    float z;

    Vector3() : x(0.0f), y(0.0f), z(0.0f) {}
    Vector3(float x, float y, float z) : x(x), y(y), z(z) {}

    Vector3& operator+=(const Vector3& w) {
        x = x + w.x;
        y = y + w.y;
        z = z + w.z;
        return *this;
    }
    Vector3& operator*=(float s) {
        x = s * x;
        y = s * y;
        z = s * z;
        return *this;
    }

    // Squares and sum in double, root in double, rounded once to float:
    // every pulled particle's path depends on these last bits.
    float length() const {
        const double sum = static_cast<double>(x) * x + static_cast<double>(y) * y +
                           static_cast<double>(z) * z;
        return static_cast<float>(std::sqrt(sum));
    }

    // Scales to unit length through the float reciprocal of the length, and
    // returns the length it had. A zero vector stays zero.
    float normalize() {
        const float len = length();
        if (len == 0.0f) return len;
        const float inv = static_cast<float>(1.0 / len);
        if (std::isinf(inv)) return normalizeTiny(len);
        x = inv * x;
        y = inv * y;
        z = inv * z;
        return len;
    }

private:
    float normalizeTiny(float len);
};

// Defined here so that the per-particle step compiles to plain float
// arithmetic instead of a call per operation.
inline Vector3 operator+(const Vector3& a, const Vector3& b) { return Vector3(a.x + b.x, a.y + b.y, a.z + b.z); }
inline Vector3 operator-(const Vector3& a, const Vector3& b) { return Vector3(a.x - b.x, a.y - b.y, a.z - b.z); }
inline Vector3 operator*(const Vector3& v, float s) { return Vector3(s * v.x, s * v.y, s * v.z); }
// Three true divisions: a multiplication by the reciprocal rounds differently.
inline Vector3 operator/(const Vector3& v, float s) { return Vector3(v.x / s, v.y / s, v.z / s); }

struct Color4 {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

// Angles in degrees for the camera and every drawn particle.
struct CameraPose {
    Vector3 angles;
    Vector3 position;
};

float floatSin(float radians);
float floatCos(float radians);

// (0, -9.8, 0): the pull every particle feels, scaled by its gravity factor.
extern const Vector3 gravity;
