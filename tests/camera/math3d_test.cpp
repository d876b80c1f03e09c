#include "camera/math3d.h"

#include <gtest/gtest.h>

#include <cmath>

#include "camera/random.h"

namespace orv {
namespace {

constexpr float kEps = 1e-5f;

void ExpectVec(const Vec3& v, float x, float y, float z, float eps = kEps) {
    EXPECT_NEAR(v.x, x, eps);
    EXPECT_NEAR(v.y, y, eps);
    EXPECT_NEAR(v.z, z, eps);
}

void ExpectQuat(const Quat& q, float x, float y, float z, float w, float eps = kEps) {
    EXPECT_NEAR(q.x, x, eps);
    EXPECT_NEAR(q.y, y, eps);
    EXPECT_NEAR(q.z, z, eps);
    EXPECT_NEAR(q.w, w, eps);
}

float QuatLength(const Quat& q) { return std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w); }

// A quaternion for a right-hand turn of `deg` about a unit axis.
Quat AxisAngle(Vec3 axis, float deg) {
    const double h = deg * M_PI / 360.0;
    const float s = static_cast<float>(std::sin(h));
    return {axis.x * s, axis.y * s, axis.z * s, static_cast<float>(std::cos(h))};
}

TEST(Vec3Math, CrossDotLength) {
    ExpectVec(Cross({1, 0, 0}, {0, 1, 0}), 0, 0, 1);
    ExpectVec(Cross({0, 1, 0}, {1, 0, 0}), 0, 0, -1);
    EXPECT_FLOAT_EQ(Dot({1, 2, 3}, {4, -5, 6}), 12.0f);
    EXPECT_FLOAT_EQ(Length({3, 4, 12}), 13.0f);
    // Large components: the squares are summed in double, so nothing overflows a float.
    EXPECT_FLOAT_EQ(Length({3e20f, 4e20f, 0}), 5e20f);
    ExpectVec(Normalize({0, 0, -7}), 0, 0, -1);
    EXPECT_FALSE(std::isfinite(Normalize({0, 0, 0}).x));
}

TEST(RotateAboutAxis, TurnsClockwiseSeenFromTheAxisTip) {
    struct Case {
        Vec3 v, axis;
        float degrees;
        Vec3 want;
    } cases[] = {
        {{1, 0, 0}, {0, 0, 1}, 90, {0, -1, 0}},
        {{1, 0, 0}, {0, 0, 1}, -90, {0, 1, 0}},
        {{1, 0, 0}, {0, 0, 5}, 90, {0, -1, 0}},  // axis length does not matter
        {{0, 1, 0}, {1, 0, 0}, 90, {0, 0, -1}},
        {{0, 0, 1}, {0, 1, 0}, 90, {-1, 0, 0}},
        {{1, 2, 3}, {1, 2, 3}, 77, {1, 2, 3}},   // a vector on the axis stays
        {{1, 0, 0}, {0, 0, 1}, 360, {1, 0, 0}},
        {{2, 3, 4}, {0, 0, 0}, 45, {2, 3, 4}},   // zero axis: unchanged
    };
    for (const Case& c : cases) {
        Vec3 v = c.v;
        RotateAboutAxis(v, c.axis, c.degrees);
        SCOPED_TRACE(testing::Message() << "axis " << c.axis.x << "," << c.axis.y << ","
                                        << c.axis.z << " by " << c.degrees);
        ExpectVec(v, c.want.x, c.want.y, c.want.z);
    }
}

TEST(RotateAboutAxis, KeepsLengthAndMatchesTheRowVectorFormula) {
    SeedRandom(3);
    for (int i = 0; i < 50; ++i) {
        const Vec3 axis = RandomUnitVector();
        Vec3 v = RandomUnitVector() * 1000.0f;
        const Vec3 before = v;
        const float deg = static_cast<float>(RandomUnit() * 720.0 - 360.0);
        RotateAboutAxis(v, axis, deg);
        EXPECT_NEAR(Length(v), 1000.0f, 1e-2f);
        // Component along the axis is unchanged; turning back restores the vector.
        EXPECT_NEAR(Dot(v, axis), Dot(before, axis), 1e-2f);
        RotateAboutAxis(v, axis, -deg);
        ExpectVec(v, before.x, before.y, before.z, 1e-2f);
    }
}

TEST(RandomUnitVector, DrawsXYZInOrderAndNormalises) {
    SeedRandom(99);
    const double rx = RandomUnit(), ry = RandomUnit(), rz = RandomUnit();
    const Vec3 raw(static_cast<float>(20 * rx - 10), static_cast<float>(20 * ry - 10),
                   static_cast<float>(20 * rz - 10));
    SeedRandom(99);
    const Vec3 v = RandomUnitVector();
    const Vec3 want = Normalize(raw);
    ExpectVec(v, want.x, want.y, want.z, 1e-6f);
    EXPECT_NEAR(Length(v), 1.0f, 1e-6f);
}

TEST(QuatConversion, IdentityBothWays) {
    const Mat4 m = QuatToMatrix({0, 0, 0, 1});
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_FLOAT_EQ(m.at(i, j), i == j ? 1.0f : 0.0f);
    ExpectQuat(MatrixToQuat(FrameMatrix({1, 0, 0}, {0, 1, 0}, {0, 0, 1})), 0, 0, 0, 1);
}

TEST(QuatConversion, RoundTripGivesTheTransposeSoFrameColumnsComeBack) {
    // Frames covering every branch of MatrixToQuat: positive trace and each largest diagonal.
    SeedRandom(11);
    int branches[4] = {0, 0, 0, 0};
    for (int i = 0; i < 400; ++i) {
        const Vec3 l = RandomUnitVector();
        const Vec3 r = Normalize(Cross(RandomUnitVector(), l));
        const Vec3 u = Cross(l, r);
        const Mat4 f = FrameMatrix(l, r, u);
        const float trace = f.at(0, 0) + f.at(1, 1) + f.at(2, 2);
        int b = 0;
        if (trace <= 0) b = 1 + (f.at(1, 1) > f.at(0, 0) ? (f.at(2, 2) > f.at(1, 1) ? 2 : 1)
                                                         : (f.at(2, 2) > f.at(0, 0) ? 2 : 0));
        ++branches[b];
        const Mat4 back = QuatToMatrix(MatrixToQuat(f));
        for (int a = 0; a < 3; ++a)
            for (int c = 0; c < 3; ++c) ASSERT_NEAR(back.at(a, c), f.at(c, a), 1e-4f) << i;
        // Columns 0, 1, 2 are l, r, u.
        ExpectVec({back.at(0, 0), back.at(1, 0), back.at(2, 0)}, l.x, l.y, l.z, 1e-4f);
        ExpectVec({back.at(0, 2), back.at(1, 2), back.at(2, 2)}, u.x, u.y, u.z, 1e-4f);
    }
    for (int count : branches) EXPECT_GT(count, 0);
}

TEST(Slerp, EndsAndSignFlip) {
    const Quat a = AxisAngle({0, 0, 1}, 10);
    const Quat b = AxisAngle({1, 0, 0}, 170);
    ExpectQuat(Slerp(a, b, 0), a.x, a.y, a.z, a.w);
    ExpectQuat(Slerp(a, b, 1), b.x, b.y, b.z, b.w);
    const Quat nb(-b.x, -b.y, -b.z, -b.w);  // dot(a, nb) < 0: the short way is to b
    ExpectQuat(Slerp(a, nb, 1), b.x, b.y, b.z, b.w);
}

TEST(Slerp, FarApartIsSphericalAndStaysUnit) {
    const Quat a = AxisAngle({0, 1, 0}, 0);
    const Quat b = AxisAngle({0, 1, 0}, 120);  // dot = cos 60 = 0.5
    const Quat mid = Slerp(a, b, 0.5f);
    const Quat want = AxisAngle({0, 1, 0}, 60);
    ExpectQuat(mid, want.x, want.y, want.z, want.w);
    EXPECT_NEAR(QuatLength(mid), 1.0f, 1e-6f);
}

TEST(Slerp, CloseQuaternionsBlendLinearlyWithoutRenormalising) {
    const Quat a = AxisAngle({0, 0, 1}, 0);
    const Quat b = AxisAngle({0, 0, 1}, 30);  // dot ~ 0.966, inside the 0.1 threshold
    const Quat mid = Slerp(a, b, 0.5f);
    ExpectQuat(mid, (a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2, (a.w + b.w) / 2);
    EXPECT_LT(QuatLength(mid), 0.995f);
    // Extrapolation on the linear branch: 2a - b.
    const Quat ex = Slerp(a, b, -1.0f);
    ExpectQuat(ex, 2 * a.x - b.x, 2 * a.y - b.y, 2 * a.z - b.z, 2 * a.w - b.w);
}

TEST(QuatBezier, EqualPointsGiveThatPointAndEndsAreExact) {
    const Quat q = AxisAngle(Normalize({1, 2, 3}), 75);
    for (float t : {0.0f, 0.3f, 1.0f}) {
        const Quat r = QuatBezier(q, q, q, q, t);
        ExpectQuat(r, q.x, q.y, q.z, q.w);
    }
    const Quat q0 = AxisAngle({0, 1, 0}, 0), q3 = AxisAngle({0, 1, 0}, 150);
    const Quat c1 = AxisAngle({0, 1, 0}, 50), c2 = AxisAngle({0, 1, 0}, 100);
    ExpectQuat(QuatBezier(q0, c1, c2, q3, 0), q0.x, q0.y, q0.z, q0.w);
    ExpectQuat(QuatBezier(q0, c1, c2, q3, 1), q3.x, q3.y, q3.z, q3.w);
}

TEST(Hermite, EndsAndTangents) {
    EXPECT_FLOAT_EQ(Hermite(2, 9, 100, -50, 0), 2);
    EXPECT_FLOAT_EQ(Hermite(2, 9, 100, -50, 1), 9);
    // With tangents p1 - p0 at both ends the curve is the straight line.
    EXPECT_FLOAT_EQ(Hermite(0, 10, 10, 10, 0.25f), 2.5f);
    const Vec3 v = Hermite({0, 1, 2}, {10, 11, 12}, {10, 10, 10}, {10, 10, 10}, 0.5f);
    ExpectVec(v, 5, 6, 7);
}

TEST(Ease, Table) {
    struct Case {
        float t, a, b, want;
    } cases[] = {
        {0.37f, 0, 0, 0.37f},      // no easing
        {0.5f, 0.25f, 0.25f, 0.5f},
        {0, 0.25f, 0.25f, 0},
        {1, 0.25f, 0.25f, 1},
        {0.125f, 0.25f, 0.25f, (1 / 1.5f / 0.25f) * 0.125f * 0.125f},
        {1, 0.3f, 0, 1},           // no deceleration: ends on the straight part, not NaN
        {0, 0, 0.3f, 0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(Ease(c.t, c.a, c.b), c.want, 1e-6f) << c.t << " " << c.a << " " << c.b;
    }
    // Fractions adding to more than 1 are scaled down to fit.
    for (float t = 0; t <= 1.0f; t += 0.05f) EXPECT_FLOAT_EQ(Ease(t, 0.8f, 0.8f), Ease(t, 0.5f, 0.5f));
}

}  // namespace
}  // namespace orv
