#include "objects/billboard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "camera/random.h"
#include "tests/objects/object_fixture.h"

namespace orv {
namespace {

using namespace testing;

Billboard* ReadBillboard(const std::string& body) {
    SceneObject* object = ReadOne("billboard", body);
    return object ? static_cast<Billboard*>(object) : nullptr;
}

TEST(BillboardKeywords, EachKeywordSetsItsFields) {
    struct Case {
        const char* body;
        std::vector<std::pair<const char*, const char*>> fields;
    } cases[] = {
        {"size 12", {{"size", "12"}}},
        {"rotation 90 0", {{"spinAngle", "90"}, {"spinSpeed", "0"}}},
        {"rotation 0 1", {{"spinAngle", "0"}, {"spinSpeed", "60"}}},
        {"tiling 4", {{"tiling", "4"}}},
        {"FOV 0.3", {{"fov", "0.3"}}},
        {"alpha 0.5", {{"alpha", "0.5"}}},
        {"orient off", {{"orientOff", "true"}}},
        {"orient", {{"orientOff", "false"}}},
        {"blend", {{"blend", "true"}}},
        {"depth", {{"noDepthTest", "true"}}},
        {"env V(1 2 3)", {{"env", "true"}, {"anchor", "[1, 2, 3]"}}},
        {"oreol V(0 0 5) 2.5", {{"halo", "true"}, {"anchor", "[0, 0, 5]"}, {"haloRadius", "2.5"}}},
        {"flash 0 1 2)",
         {{"flash", "true"}, {"flashTime", "0"}, {"flashDark", "1"}, {"flashLit", "2"}}},
        // No opening parenthesis in the format: three plain numbers scan too.
        {"flash 1 2 3", {{"flashTime", "1"}, {"flashDark", "2"}, {"flashLit", "3"}}},
        {"texture textures\\star.jpg", {{"textured", "true"}, {"texture", "textures\\star.jpg"}}},
        {"up V(0 3 4)", {{"quadUp", "[0, 0.6, 0.8]"}}},
        {"right V(0 0 -2)", {{"quadRight", "[0, 0, -1]"}}},
        {"position V(1 -2 3)", {{"position", "[1, -2, 3]"}}},
        {"color V(0.5 0 1)", {{"tint", "[0.5, 0, 1]"}, {"color", "<missing>"}}},
        {"xy 2", {{"aspect", "2"}}},
        {"",
         {{"size", "5"},
          {"alpha", "1"},
          {"tiling", "1"},
          {"fov", "0.1"},
          {"aspect", "1"},
          {"haloRadius", "1"},
          {"quadUp", "[0, 1, 0]"},
          {"quadRight", "[1, 0, 0]"},
          {"anchor", "[0, 0, 0]"},
          {"tint", "[1, 1, 1]"},
          {"spinAngle", "0"},
          {"position", "[0, 0, 0]"},
          {"flash", "false"},
          {"attachedTo", "null"}}},
    };
    for (const Case& c : cases) {
        Billboard* billboard = ReadBillboard(c.body);
        ASSERT_NE(billboard, nullptr) << c.body;
        const FieldMap fields = Fields(*billboard);
        EXPECT_TRUE(fields.duplicates.empty());
        for (const auto& [key, value] : c.fields) {
            EXPECT_EQ(fields[key], value) << c.body << ": " << key;
        }
    }
}

TEST(BillboardKeywords, SpinSpeedDefaultsToARandomRate) {
    SeedRandom(31);
    const double r = RandomUnit();
    SeedRandom(31);
    Billboard* billboard = ReadBillboard("texture textures\\star.jpg");
    ASSERT_NE(billboard, nullptr);
    EXPECT_FLOAT_EQ(billboard->spinSpeed, static_cast<float>(60.0 * (1.0 - 2.0 * r)));
    EXPECT_STREQ(ReadOne("billboard", "")->name, "");
    EXPECT_STREQ(ReadObjects("billboard\nbegin Named\nend\nENDWORLD\n")[0]->name, "")
        << "a billboard takes no name from its begin line";
}

TEST(BillboardKeywords, ShortKeywordsMatchLongerWords) {
    // "up" also takes "upward ..." lines; one that does not scan keeps the axis and warns.
    Billboard* billboard = ReadBillboard("upward V(1 0 0)\nsystem\nupwind");
    ASSERT_NE(billboard, nullptr);
    EXPECT_TRUE(billboard->system);
    EXPECT_FLOAT_EQ(billboard->quadUp.y, 1.0f);
    EXPECT_TRUE(HasWarning("\"up\" line: 0 of 3", 3));
    EXPECT_TRUE(HasWarning("\"up\" line: 0 of 3", 5));
}

TEST(BillboardKeywords, BadValuesKeepThePreviousOnes) {
    Billboard* billboard = ReadBillboard(
        "up V(0 0 0)\nright V(nan 0 0)\nflash 5\nflash (1 2 3)\nrotation 45\nenv V(1 2)");
    ASSERT_NE(billboard, nullptr);
    EXPECT_FLOAT_EQ(billboard->quadUp.y, 1.0f);
    EXPECT_FLOAT_EQ(billboard->quadRight.x, 1.0f);
    EXPECT_TRUE(HasWarning("\"up\" vector has no direction", 3));
    EXPECT_TRUE(HasWarning("\"right\" vector has no direction", 4));
    EXPECT_TRUE(billboard->flash);
    EXPECT_FLOAT_EQ(billboard->flashTime, 5.0f) << "\"flash (1 2 3)\" reads nothing";
    EXPECT_TRUE(HasWarning("\"flash\" line: 0 of 3", 6));
    EXPECT_FLOAT_EQ(billboard->spinAngle, 45.0f);
    EXPECT_TRUE(HasWarning("\"rotation\" line: 1 of 2", 7));
    EXPECT_TRUE(billboard->env);
    EXPECT_FLOAT_EQ(billboard->anchor.x, 0.0f);
}

TEST(BillboardKeywords, ParentIsFoundOnlyAmongEarlierObjects) {
    ObjectList list = ReadObjects(
        "billboard\nbegin\nparent Sun V(0 1 0)\nend\n"
        "sphere\nbegin Sun\nend\n"
        "billboard\nbegin\nparent Sun V(0 2 0)\nsys\nend\nENDWORLD\n");
    ASSERT_EQ(list.size(), 3u);
    const auto* before = static_cast<Billboard*>(list[0]);
    const auto* after = static_cast<Billboard*>(list[2]);
    EXPECT_EQ(before->attachedTo, nullptr);
    EXPECT_FLOAT_EQ(before->anchor.y, 1.0f);
    EXPECT_TRUE(HasWarning("parent \"Sun\" is not an earlier object", 3));
    EXPECT_EQ(after->attachedTo, list[1]);
    EXPECT_FLOAT_EQ(after->anchor.y, 2.0f);
    EXPECT_EQ(Fields(*after)["attachedTo"], "Sun");

    ReadObjects("billboard\nbegin\nsys\nend\nENDWORLD\n");
    EXPECT_TRUE(HasWarning("\"sys\" billboard has no parent", 4));
}

TEST(BillboardUpdate, SpinWrapsIntoZeroTo360BothWays) {
    Billboard* forward = ReadBillboard("rotation 350 1");  // 60 degrees per second
    Billboard* backward = ReadBillboard("rotation 5 -1");
    ASSERT_NE(forward, nullptr);
    ASSERT_NE(backward, nullptr);
    forward->Update(0.25);
    backward->Update(0.25);
    EXPECT_FLOAT_EQ(forward->spinAngle, 5.0f);
    EXPECT_FLOAT_EQ(backward->spinAngle, 350.0f);
}

// With TIME DARK LIT the cycle is DARK + LIT seconds long and starts TIME seconds in; the quad
// is hidden while the time is below DARK.
TEST(BillboardUpdate, FlashCycle) {
    struct Case {
        const char* body;
        const char* pattern;  // dark ('#') or lit ('.') at 0.25 s and then every 0.5 s
    } cases[] = {
        {"flash 0 1 2)", "##....##....##"},
        {"flash 1 1 2)", "....##....##.."},
        {"", ".............."},
    };
    for (const Case& c : cases) {
        Billboard* billboard = ReadBillboard(c.body);
        ASSERT_NE(billboard, nullptr);
        std::string pattern;
        for (size_t i = 0; i < std::strlen(c.pattern); ++i) {
            billboard->Update(i == 0 ? 0.25 : 0.5);
            pattern += billboard->FlashDark() ? '#' : '.';
        }
        EXPECT_EQ(pattern, c.pattern) << c.body;
    }
}

}  // namespace
}  // namespace orv
