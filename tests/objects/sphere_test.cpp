#include "objects/sphere.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "camera/random.h"
#include "tests/objects/object_fixture.h"

namespace orv {
namespace {

using namespace testing;

Sphere* ReadSphere(const std::string& body) {
    SceneObject* object = ReadOne("sphere", body);
    return object ? static_cast<Sphere*>(object) : nullptr;
}

std::vector<Sphere*> Spheres(const ObjectList& list) {
    std::vector<Sphere*> spheres;
    for (SceneObject* object : list) spheres.push_back(static_cast<Sphere*>(object));
    return spheres;
}

void ExpectNear(const Vec3& got, const Vec3& want, float tolerance = 1e-3f) {
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

TEST(SphereKeywords, EachKeywordSetsItsFields) {
    struct Case {
        const char* body;
        std::vector<std::pair<const char*, const char*>> fields;
    } cases[] = {
        {"radius 2.5", {{"radius", "2.5"}}},
        {"FOV 0.5", {{"fov", "0.5"}}},
        {"alpha 0.25", {{"alpha", "0.25"}}},
        {"tiling 3", {{"tiling", "3"}, {"detiling", "0"}}},
        {"detiling 45", {{"detiling", "45"}, {"tiling", "1"}}},
        {"period 27", {{"period", "27"}}},
        {"env", {{"env", "true"}, {"spinSpeed", "0"}}},
        {"light", {{"unlit", "true"}}},
        {"specular", {{"specular", "true"}}},
        {"depth", {{"noDepthWrite", "true"}}},
        {"wire", {{"wire", "true"}}},
        {"system", {{"satellite", "true"}}},  // keywords are prefixes
        {"uranmoon", {{"tiltedSatellite", "true"}, {"moon", "false"}}},
        {"plt", {{"fixedOrbit", "true"}}},
        {"mask", {{"mask", "true"}}},
        {"ring", {{"ring", "true"}}},
        {"moon", {{"moon", "true"}, {"moonSpeed", "2"}}},
        {"orbit", {{"anchored", "false"}}},
        {"rnd", {{"randomFlash", "true"}}},
        {"atmo", {{"atmosphere", "true"}}},
        {"scatter", {{"atmosphere", "true"}}},
        {"flash", {{"flash", "true"}, {"flashOn", "true"}, {"flashPhase", "0"}}},
        {"texture textures\\earth.jpg",
         {{"textured", "true"}, {"texture", "textures\\earth.jpg"}, {"tgaTexture", "false"}}},
        {"texture textures\\glow.tga", {{"tgaTexture", "true"}}},
        {"rotation V(1 0 0) 30 4",
         {{"rotationAxis", "[1, 0, 0]"}, {"spin", "30"}, {"spinSpeed", "4"}}},
        {"orient V(0 0 1) 45", {{"orientAxis", "[0, 0, 1]"}, {"orientAngle", "45"}}},
        {"color V(0.5 0.25 1)", {{"color", "[0.5, 0.25, 1]"}}},
        {"position V(2000 5 -7)", {{"position", "[0, 5, -7]"}, {"basePosition", "[0, 5, -7]"}}},
        // Defaults, untouched by lines that match nothing.
        {"nothing here",
         {{"radius", "5"},
          {"spinSpeed", "0.2"},
          {"rotationAxis", "[0, 1, 0]"},
          {"orientAxis", "[1, 0, 0]"},
          {"orientAngle", "90"},
          {"alpha", "1"},
          {"fov", "1"},
          {"color", "[1, 1, 1]"},
          {"anchored", "true"},
          {"moonSpeed", "0.5"},
          {"flashPhase", "1"},
          {"flashPeriod", "1"},
          {"flashOn", "false"},
          {"position", "[0, 0, 0]"},
          {"parent", "null"}}},
    };
    for (const Case& c : cases) {
        SeedRandom(1);
        Sphere* sphere = ReadSphere(c.body);
        ASSERT_NE(sphere, nullptr) << c.body;
        const FieldMap fields = Fields(*sphere);
        EXPECT_TRUE(fields.duplicates.empty());
        for (const auto& [key, value] : c.fields) {
            EXPECT_EQ(fields[key], value) << c.body << ": " << key;
        }
    }
}

TEST(SphereKeywords, RandomDefaultsAreDrawnInOrder) {
    SeedRandom(1234);
    const double angle = 350.0 * RandomUnit();
    const double s = RandomUnit();
    const double t = RandomUnit();
    SeedRandom(1234);
    Sphere* sphere = ReadSphere("");
    ASSERT_NE(sphere, nullptr);
    EXPECT_FLOAT_EQ(sphere->moonAngle, static_cast<float>(angle));
    EXPECT_FLOAT_EQ(sphere->flashOffsetS, static_cast<float>(s));
    EXPECT_FLOAT_EQ(sphere->flashOffsetT, static_cast<float>(t));
}

TEST(SphereKeywords, NameComesFromTheBeginLine) {
    ObjectList list = ReadObjects(
        "sphere\nbegin Earth\nend\n"
        "sphere\nbegin\nend\n"
        "sphere\nbegin Twentycharacters_xx\nend\nENDWORLD\n");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_STREQ(list[0]->name, "Earth");
    EXPECT_STREQ(list[1]->name, "");
    EXPECT_STREQ(list[2]->name, "Twentycharacte");
    EXPECT_TRUE(HasWarning("longer than 14", 8));
}

// An anchored sphere is read 2000 units along x from where it stands; "orbit" clears the
// anchor only for "position" lines after it.
TEST(SphereKeywords, PositionShiftDependsOnOrbitBeforeIt) {
    struct Case {
        const char* body;
        Vec3 position;
        bool anchored;
    } cases[] = {
        {"position V(100 0 0)", {-1900, 0, 0}, true},
        {"orbit\nposition V(100 0 0)", {100, 0, 0}, false},
        {"position V(100 0 0)\norbit", {-1900, 0, 0}, false},
        {"position V(100 1 2)\norbit\nposition V(100 1 2)", {100, 1, 2}, false},
    };
    for (const Case& c : cases) {
        Sphere* sphere = ReadSphere(c.body);
        ASSERT_NE(sphere, nullptr);
        ExpectNear(sphere->position, c.position);
        ExpectNear(sphere->basePosition, c.position);
        EXPECT_EQ(sphere->anchored, c.anchored) << c.body;
    }
}

TEST(SphereKeywords, ValuesThatDoNotScanKeepThePreviousOnesWithAWarning) {
    // A position that does not scan whole is not stored (nor shifted a second time).
    Sphere* sphere = ReadSphere(
        "position V(2100 0 0)\nposition V(7 oops 0)\nradius\n"
        "rotation V(1 0 0) 15\ntexture\nparent");
    ASSERT_NE(sphere, nullptr);
    ExpectNear(sphere->position, {100, 0, 0});
    ExpectNear(sphere->basePosition, {100, 0, 0});
    EXPECT_FLOAT_EQ(sphere->radius, 5.0f);
    ExpectNear(sphere->rotationAxis, {1, 0, 0});
    EXPECT_FLOAT_EQ(sphere->spin, 15.0f);
    EXPECT_FLOAT_EQ(sphere->spinSpeed, 0.2f) << "the missing fifth value keeps the default";
    EXPECT_FALSE(sphere->textured);
    EXPECT_TRUE(HasWarning("\"position\" line: 1 of 3", 4));
    EXPECT_TRUE(HasWarning("\"radius\" line: 0 of 1", 5));
    EXPECT_TRUE(HasWarning("\"rotation\" line: 4 of 5", 6));
    EXPECT_TRUE(HasWarning("\"texture\" line names nothing", 7));
    EXPECT_TRUE(HasWarning("\"parent\" line names nothing", 8));
}

TEST(SphereFileState, SuccessiveMoonsOrbitSlowerAndEachFileStartsAfresh) {
    const std::string file =
        "sphere\nbegin\nmoon\nend\n"
        "sphere\nbegin\nend\n"  // not a moon: keeps the base speed and takes no factor
        "sphere\nbegin\nmoon\nend\n"
        "sphere\nbegin\nmoon\nend\nENDWORLD\n";
    std::vector<Sphere*> s = Spheres(ReadObjects(file));
    ASSERT_EQ(s.size(), 4u);
    EXPECT_FLOAT_EQ(s[0]->moonSpeed, 2.0f);
    EXPECT_FLOAT_EQ(s[1]->moonSpeed, 0.5f);
    EXPECT_FLOAT_EQ(s[2]->moonSpeed, 1.5f);
    EXPECT_FLOAT_EQ(s[3]->moonSpeed, 1.125f);
    s = Spheres(ReadObjects(file));
    EXPECT_FLOAT_EQ(s[0]->moonSpeed, 2.0f);
}

TEST(SphereFileState, SuccessiveFlashesStartStaggered) {
    std::string file;
    for (int i = 0; i < 6; ++i) file += "sphere\nbegin\nflash\nend\n";
    file += "ENDWORLD\n";
    const struct {
        bool on;
        float phase;
    } expected[] = {{true, 0},      {true, 0.25f}, {false, 0},
                    {false, 0.25f}, {false, 0.5f}, {false, 0.75f}};
    std::vector<Sphere*> s = Spheres(ReadObjects(file));
    ASSERT_EQ(s.size(), 6u);
    for (size_t i = 0; i < s.size(); ++i) {
        EXPECT_EQ(s[i]->flashOn, expected[i].on) << i;
        EXPECT_FLOAT_EQ(s[i]->flashPhase, expected[i].phase) << i;
        EXPECT_FLOAT_EQ(s[i]->flashPeriod, 0.5f) << i;
    }
    s = Spheres(ReadObjects("sphere\nbegin\nflash\nend\nENDWORLD\n"));
    EXPECT_TRUE(s[0]->flashOn) << "a new file starts the counter again";
    EXPECT_FLOAT_EQ(s[0]->flashPhase, 0.0f);
}

// The TGA flag of the last textured sphere passes on to later spheres of the file; "atmo" and
// "scatter" clear the sphere's own flag but not what it passes on.
TEST(SphereFileState, TgaFlagPassesOnToLaterSpheres) {
    std::vector<Sphere*> s = Spheres(ReadObjects(
        "sphere\nbegin\nend\n"
        "sphere\nbegin\ntexture textures\\a.tga\nend\n"
        "sphere\nbegin\nend\n"
        "sphere\nbegin\natmo\nend\n"
        "sphere\nbegin\nscatter\nend\n"
        "sphere\nbegin\nend\n"
        "sphere\nbegin\natmo\ntexture textures\\b.tga\nend\n"  // texture after atmo sets it
        "sphere\nbegin\ntexture textures\\c.jpg\nend\n"
        "sphere\nbegin\nend\nENDWORLD\n"));
    const bool expected[] = {false, true, true, false, false, true, true, false, false};
    ASSERT_EQ(s.size(), std::size(expected));
    for (size_t i = 0; i < s.size(); ++i) EXPECT_EQ(s[i]->tgaTexture, expected[i]) << i;
    EXPECT_FALSE(s[2]->textured) << "only the flag is passed on";
}

TEST(SphereKeywords, ParentIsFoundOnlyAmongEarlierObjects) {
    ObjectList list = ReadObjects(
        "sphere\nbegin Sun\nparent Earth\nend\n"
        "sphere\nbegin Earth\nparent Sun\nend\n"
        "sphere\nbegin Earth_with_a_long_name\nend\n"
        "sphere\nbegin\nparent Earth_with_a_long_name\nend\nENDWORLD\n");
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0]->parent, nullptr);
    EXPECT_TRUE(HasWarning("parent \"Earth\" is not an earlier object", 3));
    EXPECT_EQ(list[1]->parent, list[0]);
    // Long names are cut alike in the name and in the parent line, so they still match.
    EXPECT_EQ(list[3]->parent, list[2]);
}

TEST(SphereUpdate, SpinWrapsOnceAbove360) {
    Sphere* sphere = ReadSphere("rotation V(0 1 0) 300 100");
    ASSERT_NE(sphere, nullptr);
    sphere->Update(0.5);
    EXPECT_FLOAT_EQ(sphere->spin, 350.0f);
    sphere->Update(0.5);
    EXPECT_FLOAT_EQ(sphere->spin, 40.0f);
}

TEST(SphereUpdate, MoonOrbitsOnlyWhenUnanchoredOrUnlit) {
    SeedRandom(5);
    Sphere* fixed = ReadSphere("moon\nposition V(2010 0 0)");
    SeedRandom(5);
    Sphere* orbiting = ReadSphere("moon\norbit\nposition V(10 0 0)");
    ASSERT_NE(fixed, nullptr);
    ASSERT_NE(orbiting, nullptr);
    // Start the orbit at a known angle: 2 x moonSpeed 2 = 4 degrees per second.
    orbiting->moonAngle = fixed->moonAngle = 80.0f;
    orbiting->Update(2.5);
    fixed->Update(2.5);
    EXPECT_FLOAT_EQ(orbiting->moonAngle, 90.0f);
    EXPECT_FLOAT_EQ(orbiting->spin, 90.0f) << "the spin follows the orbit";
    // A right-hand turn about +y by 90 degrees takes +x to -z.
    ExpectNear(orbiting->position, {0, 0, -10});
    ExpectNear(fixed->position, {10, 0, 0});

    orbiting->moonAngle = 359.0f;
    orbiting->Update(0.5);
    EXPECT_FLOAT_EQ(orbiting->moonAngle, 1.0f);
}

TEST(SphereUpdate, FixedOrbitPlacesThePlanetFarOut) {
    Sphere* plt = ReadSphere("plt\nposition V(5 6 7)");
    Sphere* unlit = ReadSphere("plt\nlight\nposition V(5 6 7)");
    ASSERT_NE(plt, nullptr);
    ASSERT_NE(unlit, nullptr);
    plt->Update(0.01);
    unlit->Update(0.01);
    ExpectNear(plt->position, {618000, 123600, 0});
    ExpectNear(unlit->position, {-1995, 6, 7});
}

TEST(SphereUpdate, SatellitePlacement) {
    ObjectList list = ReadObjects(
        "sphere\nbegin Planet\nposition V(2000 0 100)\nend\n"
        "sphere\nbegin\nsys\nparent Planet\nrotation V(0 1 0) 90 0\nposition V(2010 0 0)\nend\n"
        "sphere\nbegin\nsys\nuranmoon\nparent Planet\nrotation V(0 1 0) 90 0\n"
        "position V(2010 0 0)\nend\n"
        "sphere\nbegin\nsys\nuranmoon\nparent Nobody\nposition V(2010 0 0)\nend\n"
        "sphere\nbegin Origin\nend\n"
        "sphere\nbegin\nsys\nuranmoon\nparent Origin\nposition V(2010 0 0)\nend\nENDWORLD\n");
    std::vector<Sphere*> s = Spheres(list);
    ASSERT_EQ(s.size(), 6u);
    for (Sphere* sphere : s) sphere->Update(0.0);
    // Turned clockwise about +y by the spin of 90 degrees: +x to +z.
    ExpectNear(s[1]->position, {0, 0, 10});
    // Ten units out along +y x (0, 0, 100) = +x, then turned clockwise about the parent's
    // direction (+z) by 90 degrees: +x to -y.
    ExpectNear(s[2]->position, {0, -10, 0});
    // No parent, or a parent at the origin: the placement is skipped, no NaN.
    EXPECT_TRUE(HasWarning("parent \"Nobody\""));
    EXPECT_TRUE(HasWarning("satellite sphere \"\" has no parent"));
    ExpectNear(s[3]->position, {10, 0, 0});
    ExpectNear(s[5]->position, {10, 0, 0});
}

TEST(SphereUpdate, FlashTimerSwitchesAndDrawsOffsetsAtSwitchOn) {
    Sphere* sphere = ReadSphere("flash");  // starts on, phase 0, period 0.5
    ASSERT_NE(sphere, nullptr);
    SeedRandom(77);
    const uint32_t start = RandomState();
    sphere->Update(0.25);
    EXPECT_TRUE(sphere->flashOn);
    sphere->Update(0.375);  // 0.625 > 0.5: off; no draws while switching off
    EXPECT_FALSE(sphere->flashOn);
    EXPECT_FLOAT_EQ(sphere->flashPhase, 0.125f);
    EXPECT_EQ(RandomState(), start);
    sphere->Update(0.5);  // 0.625: on again, with a new offset and turn
    EXPECT_TRUE(sphere->flashOn);
    EXPECT_FLOAT_EQ(sphere->flashPhase, 0.125f);
    EXPECT_FLOAT_EQ(sphere->flashPeriod, 0.5f);
    SeedRandom(77);
    EXPECT_FLOAT_EQ(sphere->flashOffsetS, static_cast<float>(RandomUnit()));
    EXPECT_FLOAT_EQ(sphere->flashOffsetT, static_cast<float>(RandomUnit()));
    EXPECT_FLOAT_EQ(sphere->flashTurn, static_cast<float>(180.0 * RandomUnit()));
}

TEST(SphereUpdate, RandomFlashDrawsThePeriodFirst) {
    Sphere* sphere = ReadSphere("flash\nrnd");
    ASSERT_NE(sphere, nullptr);
    SeedRandom(9);
    sphere->Update(0.75);  // switches off: one draw for the off period
    SeedRandom(9);
    const double off = RandomUnit();
    EXPECT_FALSE(sphere->flashOn);
    EXPECT_FLOAT_EQ(sphere->flashPhase, 0.0f);
    EXPECT_FLOAT_EQ(sphere->flashPeriod, static_cast<float>(0.1 + 0.1 * off));
    sphere->Update(0.25);  // switches on: the on period, then offset S, T and turn
    SeedRandom(9);
    RandomUnit();
    const double on = RandomUnit();
    const double s = RandomUnit(), t = RandomUnit(), turn = RandomUnit();
    EXPECT_TRUE(sphere->flashOn);
    EXPECT_FLOAT_EQ(sphere->flashPeriod, static_cast<float>(0.4 + 0.4 * on));
    EXPECT_FLOAT_EQ(sphere->flashOffsetS, static_cast<float>(s));
    EXPECT_FLOAT_EQ(sphere->flashOffsetT, static_cast<float>(t));
    EXPECT_FLOAT_EQ(sphere->flashTurn, static_cast<float>(180.0 * turn));
}

TEST(SphereUpdate, TimerRunsForSpheresWithoutFlash) {
    Sphere* sphere = ReadSphere("");
    ASSERT_NE(sphere, nullptr);
    sphere->Update(1.25);  // phase 1 + 1.25 passes the period of 1
    EXPECT_TRUE(sphere->flashOn);
    EXPECT_FLOAT_EQ(sphere->flashPhase, 1.25f);
    EXPECT_FLOAT_EQ(sphere->flashPeriod, 0.5f);
}

}  // namespace
}  // namespace orv
