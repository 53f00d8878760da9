// The engine's geometry types. Components are stored in single precision on
// purpose: the particle motion is specified in floats, and widening the
// storage would change every trajectory.
#pragma once

struct Vector3 {
    float x;
    float y;
    float z;

    Vector3() : x(0.0f), y(0.0f), z(0.0f) {}
    Vector3(float x, float y, float z) : x(x), y(y), z(z) {}

    Vector3& operator+=(const Vector3& w);
    Vector3& operator*=(float s);

    float length() const;
    // Scales to unit length and returns the length it had.
    float normalize();
};

Vector3 operator+(const Vector3& a, const Vector3& b);
Vector3 operator-(const Vector3& a, const Vector3& b);
Vector3 operator*(const Vector3& v, float s);
Vector3 operator/(const Vector3& v, float s);

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
