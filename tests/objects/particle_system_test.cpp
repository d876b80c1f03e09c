#include "objects/particle_system.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "tests/objects/object_fixture.h"
#include "tests/support/alloc_counter.h"


namespace orv {
namespace {

using testing::Describe;
using testing::HasWarning;
using testing::ReadObjects;

// Reads one particle system whose block holds `lines`, with the generator seeded by `seed`.
ParticleSystem& SystemWith(const std::string& lines, uint32_t seed = 1) {
    const ObjectList list = ReadObjects("ps\nbegin\n" + lines + "end\nENDWORLD\n", seed);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(list.at(0)->kind(), ObjectKind::kParticleSystem);
    return static_cast<ParticleSystem&>(*list.at(0));
}

// The draws r (0 to 1) that follow `state`.
std::vector<float> DrawsAfter(uint32_t state, int count) {
    const uint32_t saved = RandomState();
    SeedRandom(state);
    std::vector<float> r;
    for (int i = 0; i < count; ++i) r.push_back(static_cast<float>(RandomUnit()));
    SeedRandom(saved);
    return r;
}

uint32_t StateAfter(uint32_t state, int draws) {
    const uint32_t saved = RandomState();
    SeedRandom(state);
    for (int i = 0; i < draws; ++i) RandomDraw();
    const uint32_t after = RandomState();
    SeedRandom(saved);
    return after;
}

// The random unit vector made from draws r[i], r[i+1], r[i+2].
Vec3 UnitFrom(const std::vector<float>& r, size_t i) {
    return Normalize(Vec3(20 * r[i] - 10, 20 * r[i + 1] - 10, 20 * r[i + 2] - 10));
}

void ExpectNear(const Vec3& a, const Vec3& b, float tolerance, const char* what) {
    EXPECT_NEAR(a.x, b.x, tolerance) << what;
    EXPECT_NEAR(a.y, b.y, tolerance) << what;
    EXPECT_NEAR(a.z, b.z, tolerance) << what;
}

TEST(ParticleSystem, Keywords) {
    struct Case {
        const char* lines;
        const char* key;
        const char* value;
    } cases[] = {
        {"", "mode", "0"},
        {"", "size", "2"},
        {"", "particleCount", "0"},
        {"line\n", "mode", "3"},
        {"circ\n", "mode", "4"},
        {"flash\n", "mode", "2"},
        {"flashes\n", "mode", "2"},  // a keyword matches a longer word
        {"line\ncirc\n", "mode", "4"},
        {"size 300\n", "size", "300"},
        {"dens 3\ntime 5\n", "interval", "5"},
        {"time 5\ndens 3\n", "interval", "0"},  // "dens" resets it
        {"dens 3\n", "particleCount", "3"},
        {"point1 V(1 2 3)\n", "centrePoint", "1 2 3"},
        {"point2 V(4 5 6)\n", "secondPoint", "4 5 6"},
        {"rot V(0 0 1)\n", "right", "0 0 1"},
        {"texture textures\\spark.tga\n", "textured", "true"},
        {"texture textures\\spark.tga\n", "tgaTexture", "true"},
        {"Line\n", "mode", "0"},  // case-sensitive
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(SystemWith(c.lines))[c.key], c.value) << c.lines;
    }
    // Any line starting with "ps" opens a particle system.
    const ObjectList list = ReadObjects("psystem jet\nbegin\nline\nend\nENDWORLD\n");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->kind(), ObjectKind::kParticleSystem);
}

TEST(ParticleSystem, DensCounts) {
    struct Case {
        const char* lines;
        int count;
        const char* warning;  // null: none
    } cases[] = {
        {"dens 0\n", 0, nullptr},
        {"dens -3\n", 0, "negative"},
        {"dens 1000000\n", kMaxParticles, "cut to 100000"},
        {"dens 99999999999999999999999\n", kMaxParticles, "cut to 100000"},
        {"dens 4294967297\n", kMaxParticles, "cut to 100000"},  // not wrapped to 1
        {"dens many\n", 0, "do not read"},
        {"dens 4\ndens 2\n", 2, nullptr},  // a later "dens" replaces the particles
        {"dens 4\ndens x\n", 4, "do not read"},
    };
    for (const Case& c : cases) {
        const ParticleSystem& ps = SystemWith(c.lines);
        EXPECT_EQ(ps.particleCount, c.count) << c.lines;
        for (const auto* array : {&ps.positions, &ps.velocities, &ps.accelerations}) {
            EXPECT_EQ(array->size(), static_cast<size_t>(c.count)) << c.lines;
        }
        EXPECT_EQ(ps.ages.size(), static_cast<size_t>(c.count)) << c.lines;
        EXPECT_EQ(ps.lifetimes.size(), static_cast<size_t>(c.count)) << c.lines;
        if (c.warning) {
            EXPECT_TRUE(HasWarning(c.warning)) << c.lines;
        } else {
            EXPECT_TRUE(Diagnostics().empty()) << c.lines;
        }
    }
}

// Creation draws one r for the spin; "dens" then draws seven per particle: three discarded,
// three for the position's unit vector, one for the age.
TEST(ParticleSystem, CreationDrawsInOrder) {
    const uint32_t seed = 7;
    const ParticleSystem& ps = SystemWith("dens 3\n", seed);
    const std::vector<float> r = DrawsAfter(seed, 1 + 3 * 7);
    EXPECT_FLOAT_EQ(ps.spin, 360 * r[0]);
    for (size_t i = 0; i < 3; ++i) {
        const size_t base = 1 + 7 * i;
        ExpectNear(ps.positions[i], 250.0f * UnitFrom(r, base + 3), 1e-3f, "position");
        EXPECT_FLOAT_EQ(ps.ages[i], 25 * r[base + 6]);
        EXPECT_EQ(ps.lifetimes[i], 0.0f);
        ExpectNear(ps.velocities[i], Vec3(0, 0, -1000), 0, "velocity");
        ExpectNear(ps.accelerations[i], Vec3(), 0, "acceleration");
    }
    EXPECT_EQ(RandomState(), StateAfter(seed, 1 + 3 * 7));
}

TEST(ParticleSystem, LineModeRestartsExpiredParticles) {
    ParticleSystem& ps = SystemWith("line\ndens 2\n", 3);
    // "dens" leaves every lifetime at 0: all particles restart on the first update, each
    // drawing its speed, two bend factors and its lifetime.
    uint32_t state = RandomState();
    ps.Update(0.1);
    std::vector<float> r = DrawsAfter(state, 8);
    for (size_t i = 0; i < 2; ++i) {
        const float* d = &r[4 * i];
        const float speed = 2400 + 17100 * d[0];
        ExpectNear(ps.positions[i], Vec3(), 0, "restarted at the origin");
        ExpectNear(ps.velocities[i], Vec3(0, 0, -speed), 1e-2f, "velocity");
        ExpectNear(ps.accelerations[i], 0.57f * speed * Vec3(1 + d[2], d[1], 0), 1e-1f,
                   "acceleration");
        EXPECT_EQ(ps.ages[i], 0.0f);
        EXPECT_FLOAT_EQ(ps.lifetimes[i], 1 + 2 * d[3]);
    }
    EXPECT_EQ(RandomState(), StateAfter(state, 8));

    // While young, a particle moves by its velocity, then its velocity by its acceleration.
    const Vec3 v0 = ps.velocities[0], a0 = ps.accelerations[0];
    state = RandomState();
    ps.Update(0.25);
    ExpectNear(ps.positions[0], 0.25f * v0, 1e-2f, "moved");
    ExpectNear(ps.velocities[0], v0 + 0.25f * a0, 1e-2f, "accelerated");
    EXPECT_FLOAT_EQ(ps.ages[0], 0.25f);
    EXPECT_EQ(RandomState(), state) << "no draws without a restart";

    // Past its lifetime (at most 3 s) it restarts on that same update.
    const float lifetime = ps.lifetimes[0];
    while (ps.ages[0] + 0.25f <= lifetime) ps.Update(0.25);
    ps.Update(0.25);
    EXPECT_EQ(ps.ages[0], 0.0f);
    ExpectNear(ps.positions[0], Vec3(), 0, "restarted at the origin");
    EXPECT_GE(ps.lifetimes[0], 1.0f);
    EXPECT_LE(ps.lifetimes[0], 3.0f);
}

// Per burst: interval, burst direction u (3 draws), streak; then per particle W (3), a, s,
// the streak speed (streak bursts only), W2 (3), the turn angle, the fall-back acceleration.
TEST(ParticleSystem, CircModeBurstsAndTheirDraws) {
    const Vec3 centre(10, 20, 30);
    const float size = 100;
    bool seen[2] = {false, false};  // a plain burst and a streak
    for (uint32_t seed = 1; seed < 100 && !(seen[0] && seen[1]); ++seed) {
        ParticleSystem& ps =
            SystemWith("size 100\npoint1 V(10 20 30)\ncirc\ndens 4\n", seed);
        const uint32_t state = RandomState();
        ps.Update(0.01);  // the interval is 0: the first update starts a burst
        const std::vector<float> r = DrawsAfter(state, 5 + 4 * 11);
        const bool streak = r[4] < 0.2f;
        if (seen[streak]) continue;
        seen[streak] = true;
        SCOPED_TRACE(streak ? "streak" : "plain burst");

        const Vec3 u = UnitFrom(r, 1);
        EXPECT_FLOAT_EQ(ps.interval, 2 + r[0]);
        EXPECT_EQ(ps.timer, 0.0f);
        ExpectNear(ps.position, centre + size * u, 1e-3f, "burst point");
        const size_t per_particle = streak ? 11 : 10;
        for (size_t i = 0; i < 4; ++i) {
            const float* d = &r[5 + per_particle * i];
            const float k = 1 - d[3];  // a = 4 r, k = 1 - a / 4
            const float speed = streak ? k * (400 + 1700 * d[5]) : k * (800 + 300 * d[4]);
            EXPECT_NEAR(Length(ps.velocities[i]), speed, 1e-2f) << i;
            ExpectNear(ps.accelerations[i], -(250 + 50 * d[per_particle - 1]) * u, 1e-3f,
                       "falls back toward the centre");
            // Each starts within the 4-degree turn of the burst point: 2 sin(2 deg) * size.
            EXPECT_LE(Length(ps.positions[i]), 0.0699f * size) << i;
        }
        EXPECT_EQ(RandomState(), StateAfter(state, 5 + 4 * static_cast<int>(per_particle)));

        // No new burst until the timer passes the interval; the particles keep moving.
        const Vec3 burst_point = ps.position, p0 = ps.positions[0], v0 = ps.velocities[0];
        ps.Update(0.5);
        ExpectNear(ps.position, burst_point, 0, "same burst");
        ExpectNear(ps.positions[0], p0 + 0.5f * v0, 1e-2f, "moved");
        while (ps.timer + 0.5f <= ps.interval) ps.Update(0.5);
        ps.Update(0.5);
        EXPECT_EQ(ps.timer, 0.0f) << "a new burst";
    }
    EXPECT_TRUE(seen[0] && seen[1]);
}

TEST(ParticleSystem, TimeAfterDensDelaysTheFirstBurst) {
    ParticleSystem& ps = SystemWith("circ\ndens 3\ntime 5\nsize 50\n");
    const Vec3 start = ps.position;
    ps.Update(4.9);
    ExpectNear(ps.position, start, 0, "no burst before 5 s");
    ps.Update(0.2);
    EXPECT_EQ(ps.timer, 0.0f);
    EXPECT_NEAR(Length(ps.position - ps.centrePoint), 50.0f, 1e-3f);
}

TEST(ParticleSystem, CircBurstWithRadiusZeroStaysFinite) {
    ParticleSystem& ps = SystemWith("circ\nsize 0\ndens 20\n");
    ps.Update(0.1);
    for (const Vec3& v : ps.velocities) {
        EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
        EXPECT_GT(Length(v), 0.0f);
    }
}

// A tick every 0.01 to 0.05 s moves the bright spot; after 2N + 1 ticks a new chain is laid on
// the sphere of radius 16100 around the centre point.
TEST(ParticleSystem, FlashModeTicksAndNewFlashes) {
    const int n = 3;
    ParticleSystem& ps = SystemWith("flash\npoint1 V(5 0 0)\nrot V(0 0 1)\ndens 3\n", 11);
    const std::vector<Vec3> dens_positions = ps.positions;
    const float spin0 = ps.spin;
    uint32_t state = RandomState();
    for (int tick = 1; tick <= 2 * n; ++tick) {
        ps.Update(0.06);  // longer than any tick interval: one tick per update
        EXPECT_EQ(ps.tickCount, tick);
        const float r = DrawsAfter(state, 1)[0];
        EXPECT_FLOAT_EQ(ps.interval, 0.01f + 0.04f * r);
        state = StateAfter(state, 1);
        EXPECT_EQ(RandomState(), state);
    }
    EXPECT_NEAR(ps.spin, spin0 + 2 * n * 0.3f * 0.06f, 1e-4f);
    for (int i = 0; i < n; ++i) {
        ExpectNear(ps.positions[i], dens_positions[i], 0, "no movement between flashes");
    }
    ExpectNear(ps.right, Vec3(0, 0, 1), 0, "from \"rot\" until the first flash");

    // A tick shorter than the interval does nothing.
    ps.Update(0.001);
    EXPECT_EQ(ps.tickCount, 2 * n);

    ps.Update(0.06);  // tick 2N + 1: a new flash
    EXPECT_EQ(ps.tickCount, -n);
    EXPECT_EQ(ps.spin, 0.0f);
    const std::vector<float> r = DrawsAfter(state, 1 + 3 + n);
    const Vec3 w = UnitFrom(r, 1);
    ExpectNear(ps.position, Vec3(5, 0, 0) + 16100.0f * w, 1e-2f, "on the flash sphere");
    ExpectNear(ps.right, w, 1e-6f, "right points away from the centre");
    // Equal steps: 100.8 times right x (0, 1, 0), each turned about right.
    const float step_length = 100.8f * Length(Cross(w, Vec3(0, 1, 0)));
    Vec3 previous;
    for (int i = 0; i < n; ++i) {
        const Vec3 step = ps.positions[i] - previous;
        EXPECT_NEAR(Length(step), step_length, 1e-3f) << i;
        EXPECT_NEAR(Dot(step, ps.right), 0.0f, 1e-3f) << i;
        previous = ps.positions[i];
    }
    EXPECT_EQ(RandomState(), StateAfter(state, 1 + 3 + n));
}

TEST(ParticleSystem, NoModeOrNoParticlesIsHarmless) {
    // Without a mode the system stays as read and draws nothing.
    ParticleSystem& still = SystemWith("dens 5\n");
    const auto before = Describe(still);
    const uint32_t state = RandomState();
    for (int f = 0; f < 100; ++f) still.Update(0.1);
    EXPECT_EQ(Describe(still), before);
    EXPECT_EQ(RandomState(), state);

    // Without particles every mode still runs its timers (bursts and flashes of nothing).
    for (const char* lines : {"line\n", "circ\n", "flash\n", "flash\ndens 0\n", "circ\ndens -1\n"}) {
        ParticleSystem& empty = SystemWith(lines);
        for (int f = 0; f < 1000; ++f) empty.Update(0.03);
        EXPECT_EQ(empty.particleCount, 0) << lines;
        EXPECT_TRUE(std::isfinite(empty.position.x)) << lines;
        EXPECT_LE(empty.tickCount, 0) << lines;
    }
}

TEST(ParticleSystem, UpdateDoesNotAllocate) {
    for (const char* mode : {"line\n", "circ\n", "flash\n"}) {
        ParticleSystem& ps = SystemWith(std::string(mode) + "size 200\ndens 1000\n");
        const long before = orv::test::AllocationCount();
        for (int f = 0; f < 200; ++f) ps.Update(1.0 / 30.0);
        EXPECT_EQ(orv::test::AllocationCount(), before) << mode;
    }
}

TEST(ParticleSystem, DescribesSummaryAndFirstParticle) {
    auto fields = Describe(SystemWith("line\ndens 2\n"));
    for (const char* key : {"position", "right", "textureId", "textured", "tgaTexture", "size",
                            "spin", "particleCount", "mode", "interval", "timer", "tickCount",
                            "centrePoint", "secondPoint", "firstPosition", "firstVelocity",
                            "firstAcceleration", "firstAge", "firstLifetime"}) {
        EXPECT_EQ(fields.count(key), 1u) << key;
    }
    EXPECT_EQ(Describe(SystemWith("line\n")).count("firstPosition"), 0u);
}

}  // namespace
}  // namespace orv
