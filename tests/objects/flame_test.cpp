#include "objects/flame.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/objects/object_fixture.h"

namespace orv {
namespace {

using testing::Describe;
using testing::HasWarning;
using testing::ReadObjects;

// Reads one flame whose block holds `lines` and returns its described fields.
std::map<std::string, std::string> FlameWith(const std::string& lines) {
    const ObjectList list = ReadObjects("flame\nbegin\n" + lines + "end\nENDWORLD\n");
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(list.at(0)->kind(), ObjectKind::kFlame);
    return Describe(*list.at(0));
}

TEST(Flame, DefaultsAreAYellowCircleFadingToBlue) {
    auto f = FlameWith("");
    EXPECT_EQ(f["centre"], "0 0 0");
    EXPECT_EQ(f["innerColour"], "1 1 0");
    EXPECT_EQ(f["outerColour"], "0 0 1");
    EXPECT_EQ(f["bandWidth"], "0.2");
    EXPECT_EQ(f["radius"], "0.8");
    EXPECT_EQ(f["slope"], "0");
    EXPECT_EQ(f["ellipticity"], "1");
    EXPECT_EQ(f["parent"], "null");
    EXPECT_EQ(f["textured"], "false");
    EXPECT_EQ(f["name"], "");
}

TEST(Flame, Keywords) {
    struct Case {
        const char* lines;
        const char* key;
        const char* value;
    } cases[] = {
        {"size 3\n", "radius", "2003"},
        {"size 0\n", "radius", "2000"},  // the size is an offset from 2000, even 0
        {"size -1999.5\n", "radius", "0.5"},
        {"size2.5\n", "radius", "2002.5"},  // the number may follow the keyword directly
        {"angle 0.5\n", "slope", "0.5"},
        {"ell 2\n", "ellipticity", "2"},
        {"offset 0.3\n", "bandWidth", "0.3"},
        {"orient V(1 2 3)\n", "centre", "1 2 3"},
        {"colorfrom V(1 0.5 0)\n", "innerColour", "1 0.5 0"},
        {"colorto V(0 1 0.25)\n", "outerColour", "0 1 0.25"},
        {"texture textures\\ring.jpg\n", "textured", "true"},  // not in the library: still set
        {"texture textures\\ring.tga\n", "tgaTexture", "true"},
        {"texture textures\\ring.TGA\n", "tgaTexture", "false"},
        {"Size 3\n", "radius", "0.8"},  // case-sensitive
        {"size 1\nsize 2\n", "radius", "2002"},  // the last line wins
        {"radius 5\n", "radius", "0.8"},         // another kind's word is ignored
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FlameWith(c.lines)[c.key], c.value) << c.lines;
    }
}

TEST(Flame, ArgumentsThatDoNotReadKeepTheFieldAndWarn) {
    struct Case {
        const char* line;
        const char* key;
        const char* value;
    } cases[] = {
        {"size\n", "radius", "0.8"},
        {"size big\n", "radius", "0.8"},
        {"size nan\n", "radius", "0.8"},
        {"ellipse 3\n", "ellipticity", "1"},  // matches "ell", but "ell %f" does not read
        {"angle inf\n", "slope", "0"},
        {"orient V(1 2)\n", "centre", "0 0 0"},  // a vector is taken whole or not at all
        {"colorto 1 2 3\n", "outerColour", "0 0 1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FlameWith(c.line)[c.key], c.value) << c.line;
        EXPECT_TRUE(HasWarning("do not read", 3)) << c.line;
    }
    EXPECT_EQ(FlameWith("texture\n")["textured"], "false");
    EXPECT_TRUE(HasWarning("\"texture\" line names nothing", 3));
}

TEST(Flame, ParentIsAnEarlierObjectOfTheList) {
    const ObjectList list = ReadObjects(
        "mesh\nbegin Ring\nend\n"
        "flame\nbegin\nparent Ring\nend\n"           // found
        "flame\nbegin\nparent Later\nend\n"          // named only further down: not found
        "mesh\nbegin Later\nend\n"
        "mesh\nbegin AVeryLongRingName\nend\n"       // name cut to 14 characters
        "flame\nbegin\nparent AVeryLongRingName\nend\n"
        "flame\nbegin\nparent Ring\nparent Nobody\nend\n"  // the last line wins
        "ENDWORLD\n");
    ASSERT_EQ(list.size(), 7u);
    EXPECT_EQ(list[1]->parent, list[0]);
    EXPECT_EQ(list[2]->parent, nullptr);
    EXPECT_TRUE(HasWarning("\"Later\"", 10));
    EXPECT_EQ(list[5]->parent, list[4]) << "a long name is cut the same way on both sides";
    EXPECT_EQ(list[6]->parent, nullptr);
    EXPECT_TRUE(HasWarning("\"Nobody\"", 25));
    EXPECT_EQ(Describe(*list[1])["parent"], "Ring");
}

TEST(Flame, UpdateChangesNothingAndDrawsNoRandomNumbers) {
    const ObjectList list =
        ReadObjects("flame\nbegin\nsize 5\nangle 0.1\nell 2\norient V(1 2 3)\nend\nENDWORLD\n");
    const auto before = Describe(*list[0]);
    const uint32_t state = RandomState();
    for (double dt : {0.0, 1.0 / 60.0, 0.5, 100.0}) list[0]->Update(dt);
    EXPECT_EQ(Describe(*list[0]), before);
    EXPECT_EQ(RandomState(), state);
}

TEST(Flame, FileEndingInsideTheBlockKeepsTheFlame) {
    const ObjectList list = ReadObjects("flame\nbegin\nsize 1\nell 3");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(Describe(*list[0])["radius"], "2001");
    EXPECT_EQ(Describe(*list[0])["ellipticity"], "3");
}

}  // namespace
}  // namespace orv
