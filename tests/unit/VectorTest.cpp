// Vector arithmetic, the float trigonometry wrappers and the gravity vector.
#include <gtest/gtest.h>

#include <cmath>

#include "particles/Vector3.h"

namespace {

void expectVector(const Vector3& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

}  // namespace

TEST(Vector3, ArithmeticWorksPerComponent) {
    expectVector(Vector3(), 0, 0, 0);
    expectVector(Vector3(1, 2, 3) + Vector3(10, 20, 30), 11, 22, 33);
    expectVector(Vector3(1, 2, 3) - Vector3(10, 20, 30), -9, -18, -27);
    expectVector(Vector3(2, 4, 6) * 0.5f, 1, 2, 3);
    expectVector(Vector3(2, 4, 6) / 2.0f, 1, 2, 3);

    Vector3 v(1, 2, 3);
    EXPECT_EQ(&(v += Vector3(1, 1, 1)), &v);
    expectVector(v, 2, 3, 4);
    EXPECT_EQ(&(v *= -2.0f), &v);
    expectVector(v, -4, -6, -8);
}

TEST(Vector3, DivisionIsATrueDivisionNotAReciprocalProduct) {
    // 0.3f / 3 rounds to 0.1f; 0.3f times the float reciprocal of 3 does not.
    const Vector3 v = Vector3(0.3f, 0.3f, 0.3f) / 3.0f;
    EXPECT_EQ(v.x, 0.1f);
    EXPECT_EQ(v.z, 0.1f);
}

TEST(Vector3, NormalizeScalesToUnitLengthAndReturnsTheOldLength) {
    Vector3 v(3, 4, 0);
    EXPECT_EQ(v.normalize(), 5.0f);
    expectVector(v, 0.6f, 0.8f, 0.0f);
    Vector3 zero;
    EXPECT_EQ(zero.normalize(), 0.0f);
    expectVector(zero, 0, 0, 0);
    // Short enough that its float reciprocal overflows to infinity.
    const float tiny = std::nextafter(0.0f, 1.0f);
    Vector3 shortest(0.0f, tiny, 0.0f);
    EXPECT_GT(shortest.normalize(), 0.0f);
    expectVector(shortest, 0, 1, 0);
}
