#include "camera/keyframe.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orv {
namespace {

Quat AxisAngle(Vec3 axis, float deg) {
    const double h = deg * M_PI / 360.0;
    const float s = static_cast<float>(std::sin(h));
    return {axis.x * s, axis.y * s, axis.z * s, static_cast<float>(std::cos(h))};
}

Keyframe Key(Vec3 p, Quat q) {
    Keyframe k;
    k.position = p;
    k.orientation = q;
    k.inControl = q;
    k.outControl = q;
    return k;
}

TEST(PrepareKey, CollinearEquallySpacedGivesGradientOfOneStep) {
    const Quat q;
    const Keyframe p = Key({0, 0, 0}, q), n = Key({20, 40, 60}, q);
    Keyframe k = Key({10, 20, 30}, q);
    PrepareKey(p, k, n);
    EXPECT_FLOAT_EQ(k.gradient.x, 10);
    EXPECT_FLOAT_EQ(k.gradient.y, 20);
    EXPECT_FLOAT_EQ(k.gradient.z, 30);
    // Unequal spacing: half the span from previous to next.
    Keyframe k2 = Key({1, 0, 0}, q);
    PrepareKey(p, k2, Key({9, 0, 0}, q));
    EXPECT_FLOAT_EQ(k2.gradient.x, 4.5f);
}

TEST(PrepareKey, EqualOrientationsGiveControlsEqualToThemAndAConstantCurve) {
    const Quat q = AxisAngle(Normalize({1, -1, 2}), 140);
    Keyframe p = Key({0, 0, 0}, q), k = Key({5, 0, 0}, q), n = Key({9, 3, 0}, q);
    PrepareKey(p, k, n);
    PrepareKey(k, n, Key({12, 0, 0}, q));
    for (const Quat& c : {k.inControl, k.outControl}) {
        EXPECT_NEAR(c.x, q.x, 1e-6f);
        EXPECT_NEAR(c.w, q.w, 1e-6f);
    }
    for (float t = 0; t <= 1.0f; t += 0.125f) {
        const PathPoint pt = EvaluateSegment(k, n, t);
        EXPECT_NEAR(pt.orientation.x, q.x, 1e-5f);
        EXPECT_NEAR(pt.orientation.y, q.y, 1e-5f);
        EXPECT_NEAR(pt.orientation.z, q.z, 1e-5f);
        EXPECT_NEAR(pt.orientation.w, q.w, 1e-5f);
    }
}

TEST(EvaluateSegment, HitsBothKeysAndStartsAtRestWithZeroGradient) {
    Keyframe prev = Key({-40, 0, 0}, AxisAngle({0, 1, 0}, -40));
    Keyframe k0 = Key({0, 0, 0}, AxisAngle({0, 1, 0}, 0));
    Keyframe k1 = Key({40, 10, 0}, AxisAngle({0, 1, 0}, 40));
    Keyframe k2 = Key({80, 0, 0}, AxisAngle({0, 1, 0}, 80));
    PrepareKey(prev, k0, k1);
    k0.gradient = Vec3();
    PrepareKey(k0, k1, k2);

    const PathPoint a = EvaluateSegment(k0, k1, 0);
    EXPECT_FLOAT_EQ(a.position.x, 0);
    EXPECT_NEAR(std::fabs(a.orientation.w), 1.0f, 1e-6f);
    const PathPoint b = EvaluateSegment(k0, k1, 1);
    EXPECT_FLOAT_EQ(b.position.x, 40);
    EXPECT_FLOAT_EQ(b.position.y, 10);
    // Same rotation as k1 (possibly negated).
    const float dot = b.orientation.x * k1.orientation.x + b.orientation.y * k1.orientation.y +
                      b.orientation.z * k1.orientation.z + b.orientation.w * k1.orientation.w;
    EXPECT_NEAR(std::fabs(dot), 1.0f, 1e-5f);
    // Zero gradient at k0: the first small step moves far less than a linear pace would.
    const PathPoint early = EvaluateSegment(k0, k1, 0.01f);
    EXPECT_LT(Length(early.position), 0.01f * Length(k1.position) * 0.1f);
    // Orientation is always normalised.
    for (float t = 0; t <= 1.0f; t += 0.1f) {
        const Quat q = EvaluateSegment(k0, k1, t).orientation;
        EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1.0f, 1e-5f);
    }
}

}  // namespace
}  // namespace orv
