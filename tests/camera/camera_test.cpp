#include "camera/camera.h"

#include <gtest/gtest.h>

#include <cmath>

#include "camera/random.h"

namespace orv {
namespace {

void ExpectNear(const Vec3& a, const Vec3& b, float eps) {
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
}

Vec3 LookOf(const Quat& q) {
    const Mat4 m = QuatToMatrix(q);
    return {m.at(0, 0), m.at(1, 0), m.at(2, 0)};
}
Vec3 UpOf(const Quat& q) {
    const Mat4 m = QuatToMatrix(q);
    return {m.at(0, 2), m.at(1, 2), m.at(2, 2)};
}

TEST(AimAtOrigin, LooksAtTheOriginWithUpFromMinusY) {
    const Vec3 points[] = {{0, 0, 90000}, {1000, 2000, -3000}, {-5, 1, 0.5f}, {40000, -20000, 1}};
    for (const Vec3& p : points) {
        const Quat q = AimAtOrigin(p);
        ExpectNear(LookOf(q), Normalize(-p), 1e-5f);
        // Up is -y with its part along look removed, normalised.
        const Vec3 look = Normalize(-p);
        const Vec3 down(0, -1, 0);
        const Vec3 want = Normalize(down - look * Dot(down, look));
        ExpectNear(UpOf(q), want, 1e-5f);
    }
}

TEST(AimAtOrigin, OnTheYAxisStillLooksAtTheOriginWithoutNaN) {
    for (float y : {50000.0f, -50000.0f}) {
        const Quat q = AimAtOrigin({0, y, 0});
        ASSERT_TRUE(std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z) &&
                    std::isfinite(q.w));
        ExpectNear(LookOf(q), {0, y > 0 ? -1.0f : 1.0f, 0}, 1e-5f);
        EXPECT_NEAR(Dot(UpOf(q), LookOf(q)), 0.0f, 1e-5f);
    }
}

TEST(Camera, StartsWithTheDefaultVectors) {
    const Camera c;
    ExpectNear(c.position, {0, 0, 0}, 0);
    ExpectNear(c.look, {0, 0, -1}, 0);
    ExpectNear(c.up, {0, 1, 0}, 0);
    EXPECT_EQ(c.segmentTime, 0.0f);
}

TEST(Camera, KeyDistancesFollowThePath) {
    // Over many seeds: K0 at 90000, K1 and K2 at 40000..45000, every later key 40000..65000,
    // each key at most 40 degrees round from the one before (40 about an axis near +y).
    for (uint32_t seed : {1u, 2u, 12345u, 777u, 4000000000u}) {
        SeedRandom(seed);
        Camera c;
        c.Start();
        EXPECT_NEAR(Length(c.keys[0].position), 90000.0f, 1.0f);
        for (int k = 1; k < 3; ++k) {
            const float d = Length(c.keys[k].position);
            EXPECT_GE(d, 40000.0f - 1);
            EXPECT_LE(d, 45000.0f + 1);
        }
        for (int step = 0; step < 200; ++step) {
            const Vec3 before = c.keys[2].position;
            c.Advance(10.0);  // exactly one segment
            ASSERT_EQ(Length(c.keys[1].position), Length(before)) << "keys shift by one";
            const float d = Length(c.keys[2].position);
            EXPECT_GE(d, 40000.0f - 1);
            EXPECT_LE(d, 65000.0f + 1);
            const float cosang = Dot(Normalize(c.keys[2].position), Normalize(c.keys[1].position));
            EXPECT_GE(cosang, std::cos(40.0 * M_PI / 180.0) - 1e-4) << "seed " << seed;
        }
    }
}

TEST(Camera, AtAKeyLooksStraightAtTheOrigin) {
    SeedRandom(5);
    Camera c;
    c.Start();
    c.Advance(0.0);
    ExpectNear(c.position, c.keys[0].position, 0.05f);
    EXPECT_NEAR(Length(c.position), 90000.0f, 1.0f);
    ExpectNear(c.eye, c.position, 0);
    ExpectNear(c.look, Normalize(-c.position), 1e-5f);
    const Vec3 down(0, -1, 0);
    ExpectNear(c.up, Normalize(down - c.look * Dot(down, c.look)), 1e-5f);
    // Between keys the vectors stay unit and perpendicular.
    for (int i = 0; i < 300; ++i) {
        c.Advance(0.37);
        EXPECT_NEAR(Length(c.look), 1.0f, 1e-5f);
        EXPECT_NEAR(Length(c.up), 1.0f, 1e-5f);
        EXPECT_NEAR(Dot(c.look, c.up), 0.0f, 1e-5f);
    }
}

TEST(Camera, SegmentDurationPerSpeed) {
    struct Case {
        unsigned speed;
        float factor;
        double seconds;
    } cases[] = {{0, 0.5f, 20.0}, {50, 1.5f, 10.0 / 1.5}, {100, 2.5f, 4.0}, {200, 4.5f, 10.0 / 4.5}};
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(SpeedFactorFor(c.speed), c.factor);
        SeedRandom(1);
        Camera cam;
        cam.Start();
        const Vec3 k1 = cam.keys[1].position;
        // Step at 100 frames a second; the keys shift on the frame that crosses the duration.
        const double dt = 0.01;
        int frames = 0;
        while (Length(cam.keys[0].position - k1) != 0.0f && frames < 100000) {
            cam.Advance(SpeedFactorFor(c.speed) * dt);
            ++frames;
        }
        EXPECT_NEAR(frames * dt, c.seconds, 0.011) << "speed " << c.speed;
    }
}

TEST(Camera, AFrameLongerThanTwoSegmentsShiftsOnceNowAndAgainNextFrame) {
    SeedRandom(9);
    Camera c;
    c.Start();
    const Vec3 k1 = c.keys[1].position, k2 = c.keys[2].position;
    c.Advance(25.0);  // segmentTime 2.5
    ExpectNear(c.keys[0].position, k1, 0);
    EXPECT_NEAR(c.segmentTime, 1.5f, 1e-5f);
    c.Advance(0.0);
    ExpectNear(c.keys[0].position, k2, 0);
    EXPECT_NEAR(c.segmentTime, 0.5f, 1e-5f);
    c.Advance(0.0);
    ExpectNear(c.keys[0].position, k2, 0);
}

TEST(Camera, SegmentTimeUsesTheFloatRate) {
    Camera c;
    SeedRandom(1);
    c.Start();
    c.Advance(1.0);
    EXPECT_EQ(c.segmentTime, static_cast<float>(0.0 + 1.0 * static_cast<double>(0.1f)));
}

TEST(Camera, SameSeedSamePath) {
    auto run = [](uint32_t seed) {
        SeedRandom(seed);
        Camera c;
        c.Start();
        for (int i = 0; i < 2000; ++i) c.Advance(0.025);
        return c.position;
    };
    const Vec3 a = run(42), b = run(42), other = run(43);
    ExpectNear(a, b, 0);
    EXPECT_GT(Length(a - other), 1.0f);
}

}  // namespace
}  // namespace orv
