#include "objects/flare.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "camera/random.h"
#include "tests/objects/object_fixture.h"

namespace orv {
namespace {

using namespace testing;

// Flare sizes are given for an 800-pixel-wide display; these tests run at 1600.
class FlareTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_width_ = CurrentSettings().width;
        CurrentSettings().width = 1600;
    }
    void TearDown() override { CurrentSettings().width = saved_width_; }

    static Flare* ReadFlare(const std::string& body) {
        SceneObject* object = ReadOne("flare", body);
        return object ? static_cast<Flare*>(object) : nullptr;
    }

  private:
    uint32_t saved_width_ = 0;
};

TEST_F(FlareTest, EachKeywordSetsItsFields) {
    struct Case {
        const char* body;
        std::vector<std::pair<const char*, const char*>> fields;
    } cases[] = {
        {"size 20", {{"spriteSize", "40"}}},
        {"flash 0.5)", {{"flashAmount", "0.5"}}},
        {"lumin 2)", {{"lumin", "2"}}},
        {"focus 0.9)", {{"focusOn", "true"}, {"focusThreshold", "0.9"}}},
        {"FOV 0.2", {{"envFov", "0.2"}}},
        // Rates are per frame at 60 frames per second; the start level has no effect.
        {"alpha 0.7 fade: 0.1 0.05",
         {{"fadeInRate", "6"}, {"fadeOutRate", "3"}, {"fadeLevel", "0"}}},
        {"env V(0 0 -1)", {{"envOn", "true"}, {"anchor", "[0, 0, -1]"}}},
        {"texture textures\\sun.jpg", {{"textured", "true"}, {"texture", "textures\\sun.jpg"}}},
        {"position V(1 2 3)", {{"position", "[1, 2, 3]"}}},
        {"rotation 0 1", {{"rotationAngle", "0"}, {"rotationSpeed", "60"}}},
        {"xy 2", {{"aspect", "2"}}},
        {"orient V(400 300 0)", {{"oriented", "true"}, {"orientVector", "[400, 300, 0]"}}},
        {"",
         {{"fadeLevel", "0"},
          {"spriteSize", "10"},
          {"lensSize", "5"},
          {"fadeInRate", "6"},
          {"fadeOutRate", "6"},
          {"envFov", "0.1"},
          {"rotationSpeed", "24"},
          {"aspect", "1"},
          {"lumin", "1"},
          {"flashAmount", "0"},
          {"visible", "false"},
          {"lensEffectOn", "false"},
          {"parent", "null"},
          {"lensTexture1", "0"},
          {"lensTexturePath3", "null"},
          {"name", ""}}},
    };
    for (const Case& c : cases) {
        Flare* flare = ReadFlare(c.body);
        ASSERT_NE(flare, nullptr) << c.body;
        const FieldMap fields = Fields(*flare);
        EXPECT_TRUE(fields.duplicates.empty());
        for (const auto& [key, value] : c.fields) {
            EXPECT_EQ(fields[key], value) << c.body << ": " << key;
        }
    }
}

// The four lines after "lenseffect" are taken by position (the leading tab is optional) and
// are not keyword lines; only the last one is then tested against the keywords that follow
// "lenseffect".
TEST_F(FlareTest, LensEffectLinesAreTakenByPosition) {
    Flare* flare = ReadFlare(
        "lenseffect\n\tsize 10\n\ttexture textures\\ring.tga\ntexture textures\\glow.jpg\n"
        "\ttexture textures\\halo.jpg\nrotation 90 0");
    ASSERT_NE(flare, nullptr);
    FieldMap fields = Fields(*flare);
    EXPECT_EQ(fields["lensEffectOn"], "true");
    EXPECT_EQ(fields["lensSize"], "20");
    EXPECT_EQ(fields["lensTexturePath1"], "textures\\ring.tga");
    EXPECT_EQ(fields["lensTexturePath2"], "textures\\glow.jpg");
    EXPECT_EQ(fields["lensTexturePath3"], "textures\\halo.jpg");
    EXPECT_EQ(fields["tgaTexture"], "true");
    EXPECT_EQ(fields["textured"], "false") << "a lens line is not the \"texture\" keyword";
    EXPECT_EQ(fields["rotationAngle"], "90");
    EXPECT_TRUE(Diagnostics().empty());

    flare = ReadFlare("lenseffect\nsize 7\n\ttexture a.jpg\n\ttexture b.jpg\nxy 2");
    ASSERT_NE(flare, nullptr);
    fields = Fields(*flare);
    EXPECT_EQ(fields["lensSize"], "14");
    EXPECT_EQ(fields["spriteSize"], "10");
    EXPECT_EQ(fields["lensTexturePath3"], "null");
    EXPECT_TRUE(HasWarning("\"lenseffect texture\" line: 0 of 1", 7));
    EXPECT_EQ(fields["aspect"], "2") << "the fourth line is tested against \"xy\"";
}

TEST_F(FlareTest, LensEffectCutShortEndsTheBlockThere) {
    // An "end" among the lens lines closes the block instead of swallowing the next object.
    ObjectList list =
        ReadObjects("flare\nbegin\nlenseffect\n\tsize 4\nend\nbillboard\nbegin\nend\nENDWORLD\n");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_FLOAT_EQ(static_cast<Flare*>(list[0])->lensSize, 8.0f);
    EXPECT_EQ(list[1]->kind(), ObjectKind::kBillboard);
    EXPECT_TRUE(HasWarning("block ends inside \"lenseffect\"", 5));

    list = ReadObjects("flare\nbegin\nlenseffect\n\tsize 4\n");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(static_cast<Flare*>(list[0])->lensEffectOn);
    EXPECT_EQ(CountWarnings("block's \"end\" line"), 1);
}

TEST_F(FlareTest, LensTexturesSetTheTgaFlagButNeverClearIt) {
    Flare flare;
    flare.SetTextureAt("textures\\a.TGA", 0);
    EXPECT_FALSE(flare.tgaTexture);
    flare.SetTextureAt("textures\\b.tga", 1);
    EXPECT_TRUE(flare.tgaTexture);
    flare.SetTextureAt("textures\\c.jpg", 2);
    EXPECT_TRUE(flare.tgaTexture);
    EXPECT_EQ(flare.lensTextures[2], 0u) << "not in the library: the slot stays empty";
    flare.SetTextureAt("textures\\d.jpg", 3);  // no such slot
    flare.SetTextureAt("textures\\d.jpg", -1);
    EXPECT_EQ(flare.lensTexturePaths[2], "textures\\c.jpg");
}

TEST_F(FlareTest, ParentIsFoundOnlyAmongEarlierObjects) {
    ObjectList list = ReadObjects(
        "flare\nbegin\nparent Sun V(1 0 0)\nend\n"
        "sphere\nbegin Sun\nend\n"
        "flare\nbegin\nparent Sun V(0 0 2)\nend\nENDWORLD\n");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(static_cast<Flare*>(list[0])->parentObject, nullptr);
    EXPECT_TRUE(HasWarning("parent \"Sun\" is not an earlier object", 3));
    EXPECT_EQ(static_cast<Flare*>(list[2])->parentObject, list[1]);
    EXPECT_FLOAT_EQ(static_cast<Flare*>(list[2])->anchor.z, 2.0f);
}

// Without twinkle (flash 0) the level fades at the file's rates, clamped to 0..1, and then
// gains 0.7 per second while above 0: a lit flare stands slightly above 1.
TEST_F(FlareTest, FadeFollowsVisibility) {
    Flare* flare = ReadFlare("alpha 1 fade: 0.1 0.05");
    ASSERT_NE(flare, nullptr);
    const struct {
        bool visible;
        float level;
    } steps[] = {{true, 0.67f},  {true, 1.07f},  {true, 1.07f}, {false, 0.84f}, {false, 0.61f},
                 {false, 0.38f}, {false, 0.15f}, {false, 0.0f}, {false, 0.0f},  {true, 0.67f}};
    SeedRandom(3);
    for (const auto& step : steps) {
        flare->visible = step.visible;
        flare->Update(0.1);
        EXPECT_NEAR(flare->fadeLevel, step.level, 1e-5f);
    }
    // A new twinkle cycle (two draws) at every update.
    const uint32_t after_updates = RandomState();
    SeedRandom(3);
    for (size_t i = 0; i < 2 * std::size(steps); ++i) RandomDraw();
    EXPECT_EQ(after_updates, RandomState());
}

TEST_F(FlareTest, RotationWrapsIntoZeroTo360BothWays) {
    const struct {
        const char* body;
        float angle;
    } cases[] = {{"rotation 350 1", 20.0f}, {"rotation 10 -1", 340.0f}, {"", 12.0f}};
    for (const auto& c : cases) {
        Flare* flare = ReadFlare(c.body);
        ASSERT_NE(flare, nullptr);
        flare->Update(0.5);
        EXPECT_NEAR(flare->rotationAngle, c.angle, 1e-4f) << c.body;
    }
}

// Each twinkle cycle dims the flare for r1 x flash seconds, then brightens it for r2 x flash
// seconds (the timer runs at 6 per second).
TEST_F(FlareTest, TwinkleCycleDimsThenBrightens) {
    Flare* flare = ReadFlare("flash 1)");
    ASSERT_NE(flare, nullptr);
    flare->visible = true;
    flare->fadeLevel = 1.0f;
    SeedRandom(2024);
    flare->Update(0.05);  // the timer passes the empty first cycle: a new one is drawn
    SeedRandom(2024);
    const double r1 = RandomUnit(), r2 = RandomUnit();
    const uint32_t after_draws = RandomState();
    EXPECT_FLOAT_EQ(flare->dimEnd, static_cast<float>(6.0 * r1));
    EXPECT_FLOAT_EQ(flare->cycleEnd, static_cast<float>(6.0 * (r1 + r2)));
    EXPECT_FLOAT_EQ(flare->twinkleTimer, 0.0f);
    ASSERT_GT(flare->dimEnd, 0.3f);
    ASSERT_GT(flare->cycleEnd - flare->dimEnd, 0.3f);

    flare->Update(0.05);  // dimming: clamped to 1, less 0.7 x 0.05
    EXPECT_NEAR(flare->fadeLevel, 0.965f, 1e-5f);
    flare->twinkleTimer = flare->dimEnd;
    flare->Update(0.05);  // brightening: 0.965 + 6 x 0.05 clamped to 1, plus 0.7 x 0.05
    EXPECT_NEAR(flare->fadeLevel, 1.035f, 1e-5f);
    EXPECT_EQ(RandomState(), after_draws) << "no new cycle before the cycle end";
    flare->twinkleTimer = flare->cycleEnd;
    flare->Update(0.05);
    EXPECT_NE(RandomState(), after_draws);
    EXPECT_FLOAT_EQ(flare->twinkleTimer, 0.0f);
}

}  // namespace
}  // namespace orv
