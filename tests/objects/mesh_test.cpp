#include "objects/mesh.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/objects/object_fixture.h"

namespace orv {
namespace {

using testing::Describe;
using testing::HasWarning;
using testing::ReadObjects;

// Reads one mesh whose block holds `lines` and returns its described fields.
std::map<std::string, std::string> MeshWith(const std::string& lines) {
    const ObjectList list = ReadObjects("mesh\nbegin\n" + lines + "end\nENDWORLD\n");
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(list.at(0)->kind(), ObjectKind::kMesh);
    return Describe(*list.at(0));
}

TEST(Mesh, Defaults) {
    auto m = MeshWith("");
    EXPECT_EQ(m["position"], "0 0 0");
    EXPECT_EQ(m["look"], "0 0 1");
    EXPECT_EQ(m["right"], "1 0 0");
    EXPECT_EQ(m["color"], "1 1 1");
    EXPECT_EQ(m["orientAxis"], "0 1 0");
    EXPECT_EQ(m["orientAngle"], "0");
    EXPECT_EQ(m["scale"], "1");
    for (const char* flag : {"metal", "light", "illum", "blend", "textured"}) {
        EXPECT_EQ(m[flag], "false") << flag;
    }
    EXPECT_EQ(m["shown"], "true");
    // Before any "geometry" line the model is list 0, which draws nothing.
    EXPECT_EQ(m["displayList"], "0");
}

TEST(Mesh, Keywords) {
    struct Case {
        const char* lines;
        const char* key;
        const char* value;
    } cases[] = {
        {"orient V(1 0 0) 90\n", "orientAxis", "1 0 0"},
        {"orient V(1 0 0) 90\n", "orientAngle", "90"},
        {"position V(1 2 3)\n", "position", "1 2 3"},
        {"look V(0 1 0)\n", "look", "0 1 0"},
        {"right V(0 0 -1)\n", "right", "0 0 -1"},
        {"scale 2.5\n", "scale", "2.5"},
        {"light\n", "light", "true"},
        {"lighting on\n", "light", "true"},  // a keyword matches a longer word
        {"illum\n", "illum", "true"},
        {"blend\n", "blend", "true"},
        {"color V(0.5 0 0)\n", "color", "0.5 0 0"},
        {"Blend\n", "blend", "false"},  // case-sensitive
        {"\tlight\n", "light", "false"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MeshWith(c.lines)[c.key], c.value) << c.lines;
    }
}

TEST(Mesh, AcceptedWordsWithoutEffect) {
    EXPECT_EQ(MeshWith("speed 3\ninvup\ntiling 4\n"), MeshWith(""));
}

TEST(Mesh, OrientTakesWhatReads) {
    // Without the angle the axis is still taken; the angle keeps its value.
    auto m = MeshWith("orient V(1 0 0) 45\norient V(0 0 1)\n");
    EXPECT_EQ(m["orientAxis"], "0 0 1");
    EXPECT_EQ(m["orientAngle"], "45");
    EXPECT_TRUE(HasWarning("\"orient\"", 4));
    m = MeshWith("orient V(0 0) 30\n");
    EXPECT_EQ(m["orientAxis"], "0 1 0");
    EXPECT_EQ(m["orientAngle"], "0");
}

TEST(Mesh, NameFromTheBeginLine) {
    struct Case {
        const char* begin;
        const char* name;
        bool warned;
    } cases[] = {
        {"begin Rock1", "Rock1", false},
        {"begin", "", false},
        {"begin   ", "", false},  // blanks but no word
        {"begin Rock1 trailing words", "Rock1", false},
        {"begin FifteenCharsXYZ", "FifteenCharsXY", true},  // cut to 14 characters
    };
    for (const Case& c : cases) {
        const ObjectList list = ReadObjects(std::string("mesh\n") + c.begin + "\nend\nENDWORLD\n");
        ASSERT_EQ(list.size(), 1u);
        EXPECT_STREQ(list[0]->name, c.name) << c.begin;
        EXPECT_EQ(HasWarning("longer than 14", 2), c.warned) << c.begin;
    }
}

// The four lines after "material" are taken by position, each recognised with its leading tab;
// only the fourth is then tested against the keywords that follow "material" in the table.
TEST(Mesh, MaterialLinesByPosition) {
    struct Case {
        const char* material;
        const char* metal;
        const char* textured;
        const char* extra_key;
        const char* extra_value;
    } cases[] = {
        {"\tmetal\n\tchrome\n\tmap1 textures\\hull.tga\n\tmap2 x\n", "true", "true", "tgaTexture",
         "true"},
        {"\tmetallic\n\tchrome\n\tmap1 textures\\hull.jpg\n\tmap2 x\n", "true", "true",
         "tgaTexture", "false"},
        {"\tshiny\n\tchrome\n\tmap2 textures\\hull.jpg\n\tmap2 x\n", "false", "false", "light",
         "false"},
        {"metal\n\tchrome\n\tmap1 textures\\hull.jpg\n\tmap2 x\n", "false", "true", "light",
         "false"},  // no tab: not recognised
        {"\tmetal\n\tchrome\nmap1 textures\\hull.jpg\n\tmap2 x\n", "true", "false", "light",
         "false"},
        // Keyword lines in sub-line places are swallowed...
        {"light\nblend\n\tmap1 x.jpg\nillum\n", "false", "true", "blend", "false"},
        // ...except the fourth, which meets the keywords after "material" ("illum")...
        {"\tmetal\n\n\n illum\n", "true", "false", "illum", "true"},
        // ...but not those before it ("position").
        {"\tmetal\n\n\nposition V(1 2 3)\n", "true", "false", "position", "0 0 0"},
    };
    for (const Case& c : cases) {
        auto m = MeshWith(std::string("material\n") + c.material);
        EXPECT_EQ(m["metal"], c.metal) << c.material;
        EXPECT_EQ(m["textured"], c.textured) << c.material;
        EXPECT_EQ(m[c.extra_key], c.extra_value) << c.material;
    }
    // A later "material" decides the metal flag afresh.
    EXPECT_EQ(MeshWith("material\n\tmetal\n\n\n\nmaterial\n\tmatte\n\n\n\n")["metal"], "false");
    EXPECT_EQ(MeshWith("material\n\tmetal\n\tchrome\n\tmap1 textures\\hull.jpg\n\t\n")["texture"],
              "textures\\hull.jpg");
}

TEST(Mesh, ShortMaterialDoesNotSwallowTheEndLine) {
    // "material" with two of its four lines: the "end" closes the block, and the next object
    // is read as its own.
    const ObjectList list = ReadObjects(
        "mesh\nbegin A\nmaterial\n\tmetal\n\tchrome\nend\n"
        "mesh\nbegin B\nscale 3\nend\nENDWORLD\n");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_STREQ(list[0]->name, "A");
    EXPECT_EQ(Describe(*list[0])["metal"], "true");
    EXPECT_STREQ(list[1]->name, "B");
    EXPECT_EQ(Describe(*list[1])["scale"], "3");
    EXPECT_TRUE(HasWarning("2 of its 4 lines", 6));
}

TEST(Mesh, FileEndingInsideTheBlockKeepsTheMesh) {
    for (const char* text : {"mesh\nbegin\nscale 2\nmaterial\n\tmetal", "mesh\nbegin\nscale 2"}) {
        const ObjectList list = ReadObjects(text);
        ASSERT_EQ(list.size(), 1u) << text;
        EXPECT_EQ(Describe(*list[0])["scale"], "2");
        EXPECT_TRUE(HasWarning("\"end\" line")) << text;
    }
}

TEST(Mesh, UpdateChangesNothingAndDrawsNoRandomNumbers) {
    const ObjectList list = ReadObjects(
        "mesh\nbegin\nposition V(1 2 3)\norient V(1 0 0) 30\nscale 2\nblend\nend\nENDWORLD\n");
    const auto before = Describe(*list[0]);
    const uint32_t state = RandomState();
    for (double dt : {0.0, 1.0 / 60.0, 0.5, 100.0}) list[0]->Update(dt);
    EXPECT_EQ(Describe(*list[0]), before);
    EXPECT_EQ(RandomState(), state);
}

}  // namespace
}  // namespace orv
