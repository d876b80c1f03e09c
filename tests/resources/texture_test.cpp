#include "resources/texture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless_gl.h"
#include "resources/progress.h"
#include "tests/resources/image_entries.h"
#include "tests/resources/image_fixtures.h"

namespace orv {
namespace {

using test::BlockPattern;
using test::MakeJpeg;
using test::MakeTga;
using test::Rgba;
using test::TestPattern;

// Every test here runs with a current GL context and counts progress reports.
class TextureTest : public test::ImageEntries {
  protected:
    void SetUp() override {
        ImageEntries::SetUp();
        ASSERT_TRUE(gl_.ok()) << gl_.error();
        progress_ = 0;
        SetLoadProgressCallback([this] { ++progress_; });
    }
    void TearDown() override {
        SetLoadProgressCallback({});
        ImageEntries::TearDown();
    }

    void AddList(const std::string& text) { Add("texture.txt", text); }

    std::vector<std::string> Paths(const TextureLibrary& library) const {
        std::vector<std::string> out;
        for (size_t i = 0; i < library.size(); ++i) out.push_back(library[i].path);
        return out;
    }

    // Level `level` of the bound texture's size.
    static std::pair<GLint, GLint> LevelSize(int level) {
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
        return {w, h};
    }

    platform::HeadlessGL gl_{16, 16};
    int progress_ = 0;
};

TEST_F(TextureTest, ListLoadsEachNamedPictureInOrder) {
    Add("textures\\a.tga", MakeTga({2, 32}, 4, 4, TestPattern(4, 4)));
    Add("textures\\b.JPG", MakeJpeg(8, 8, BlockPattern(8, 8)));
    Add("textures\\c.Jpg", MakeJpeg(8, 8, BlockPattern(8, 8)));
    Add("textures\\d.TGA", MakeTga({3, 8}, 2, 2, TestPattern(2, 2)));
    Add("textures\\e.tga", MakeTga({3, 8}, 2, 2, TestPattern(2, 2)));
    AddList(
        "a.tga\r\nb.JPG  the rest of the line is ignored\n\n  c.Jpg\nd.TGA\nnotes.txt\n"
        "END_TEXT\ne.tga\n");
    TextureLibrary library;
    LoadTextureList(library, "texture.txt", true);

    EXPECT_EQ(Paths(library),
              (std::vector<std::string>{"textures\\a.tga", "textures\\b.JPG", "textures\\c.Jpg",
                                        "textures\\d.TGA", "textures\\notes.txt"}));
    EXPECT_NE(library[0].id, 0u);
    EXPECT_NE(library[1].id, 0u) << "JPG loads as JPEG";
    EXPECT_EQ(library[2].id, 0u) << "Jpg is neither kind";
    EXPECT_NE(library[3].id, 0u) << "TGA loads as TGA";
    EXPECT_EQ(library[4].id, 0u);
    EXPECT_EQ(progress_, 5) << "one report per listed picture; the empty line lists none";
    EXPECT_TRUE(test::ShownMessages().empty());
}

TEST_F(TextureTest, ListGrammarEdges) {
    Add("textures\\a.tga", MakeTga({3, 8}, 1, 1, TestPattern(1, 1)));
    struct Case {
        const char* name;
        std::string list;  // absent list when it is "<none>"
        size_t entries;
        const char* warning;  // part of a warning about texture.txt, or "" for none
    } cases[] = {
        {"END_TEXT first", "END_TEXT\na.tga\n", 0, ""},
        {"terminator matched by its first 8 characters", "a.tga\nEND_TEXTURES\n", 1, ""},
        {"lower-case terminator is a name", "end_text\nEND_TEXT\n", 1, "neither"},
        {"no terminator, last line without line feed", "a.tga\na.tga", 2, "without END_TEXT"},
        {"no terminator, ends with a line feed", "a.tga\n", 1, "without END_TEXT"},
        {"empty list", "", 0, "without END_TEXT"},
        {"missing list", "<none>", 0, "missing"},
    };
    for (const Case& c : cases) {
        ClearDiagnostics();
        entries_.erase("texture.txt");
        if (std::string(c.list) != "<none>") AddList(c.list);
        progress_ = 0;
        TextureLibrary library;
        LoadTextureList(library, "texture.txt", true);
        EXPECT_EQ(library.size(), c.entries) << c.name;
        EXPECT_EQ(progress_, static_cast<int>(c.entries)) << c.name;
        const std::string warnings = WarningsFor("texture.txt");
        if (*c.warning)
            EXPECT_NE(warnings.find(c.warning), std::string::npos) << c.name << ": " << warnings;
        else
            EXPECT_EQ(warnings, "") << c.name;
    }
}

TEST_F(TextureTest, ProgressOffReportsNothing) {
    AddList("x.tga\ny.jpg\nEND_TEXT\n");
    TextureLibrary library;
    LoadTextureList(library, "texture.txt", false);
    EXPECT_EQ(library.size(), 2u);
    EXPECT_EQ(progress_, 0);
}

TEST_F(TextureTest, BadPicturesGetNoTextureAndTheListGoesOn) {
    std::string corrupt = MakeJpeg(8, 8, BlockPattern(8, 8));
    corrupt[0] = 0;
    Add("textures\\bad.jpg", corrupt);
    Add("textures\\deep.tga", test::TgaHeader(0, 0, 2, 0, 0, 1, 1, 15) + std::string(2, '\0'));
    Add("textures\\good.tga", MakeTga({2, 24}, 2, 2, TestPattern(2, 2)));
    AddList("bad.jpg\nmissing.jpg\ndeep.tga\nmissing.tga\ngood.tga\nEND_TEXT\n");
    TextureLibrary library;
    LoadTextureList(library, "texture.txt", true);
    ASSERT_EQ(library.size(), 5u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(library[i].id, 0u) << library[i].path;
    EXPECT_NE(library[4].id, 0u);
    EXPECT_EQ(progress_, 5);
    EXPECT_NE(WarningsFor("textures\\bad.jpg").find("Not a JPEG file"), std::string::npos);
    const std::vector<test::ShownMessage> want = {
        {"ARCH:Can't load JPG file: textures\\missing.jpg", "Error"},
        {"Unsupported image depth.", "TGA"}};
    EXPECT_EQ(test::ShownMessages(), want);
}

TEST_F(TextureTest, OverlongNameIsCutToThePathField) {
    const std::string name = "a_name_of_thirty_characters.tga";  // 31 characters
    Add("textures\\" + name, MakeTga({3, 8}, 1, 1, TestPattern(1, 1)));
    AddList(name + "\n" + std::string(120, 'x') + "\nEND_TEXT\n");
    TextureLibrary library;
    LoadTextureList(library, "texture.txt", true);
    ASSERT_EQ(library.size(), 2u);
    EXPECT_EQ(std::string(library[0].path), "textures\\" + name.substr(0, 22));
    EXPECT_EQ(std::string(library[1].path), "textures\\" + std::string(22, 'x'));
    EXPECT_EQ(library[0].id, 0u) << "the cut name no longer names a picture";
    EXPECT_NE(WarningsFor(library[0].path).find("longer than 22"), std::string::npos);
}

TEST_F(TextureTest, FindTextureComparesWholePathsExactly) {
    TextureLibrary library;
    for (const char* name : {"c.jpg", "c.jpg", "cc.jpg"}) {
        auto entry = std::make_unique<TextureEntry>();
        LoadTextureImage(*entry, name);  // no such entries: paths only
        library.Append(std::move(entry));
    }
    struct Case {
        const char* path;
        int want;  // index in the library, or -1
    } cases[] = {
        {"textures\\c.jpg", 0},  {"textures\\cc.jpg", 2},
        {"Textures\\c.jpg", -1}, {"textures\\C.jpg", -1},
        {"textures/c.jpg", -1},  {"c.jpg", -1},
        {"textures\\c.jp", -1},  {"", -1},
    };
    for (const Case& c : cases) {
        TextureEntry* found = FindTexture(library, c.path);
        EXPECT_EQ(found, c.want < 0 ? nullptr : &library[static_cast<size_t>(c.want)]) << c.path;
    }
    EXPECT_EQ(FindTexture(library, nullptr), nullptr);
}

TEST_F(TextureTest, TgaUploadIsMipmappedRgbaInStoredRowOrder) {
    const test::TgaKind kinds[] = {{2, 32}, {10, 24}, {2, 16}, {11, 8}, {1, 8}};
    const std::vector<Rgba> picture = TestPattern(8, 4);
    for (const test::TgaKind& kind : kinds) {
        Add("textures\\k.tga", MakeTga(kind, 8, 4, picture));
        TextureEntry entry;
        LoadTextureImage(entry, "k.tga");
        ASSERT_NE(entry.id, 0u) << "type " << kind.type;
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), entry.id) << "the new texture stays bound";
        EXPECT_EQ(LevelSize(0), std::make_pair(8, 4));
        EXPECT_EQ(LevelSize(1), std::make_pair(4, 2)) << "mipmaps built";
        EXPECT_EQ(LevelSize(3), std::make_pair(1, 1));
        GLint min_filter = 0, mag_filter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag_filter);
        EXPECT_EQ(min_filter, GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(mag_filter, GL_LINEAR);

        std::vector<Rgba> texels(32);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        std::vector<Rgba> want;
        for (const Rgba& p : picture) want.push_back(test::ExpectedRgba(kind, p));
        EXPECT_TRUE(texels == want) << "type " << kind.type << " depth " << kind.depth;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureTest, JpegUploadShowsThePictureUpright) {
    // 16 x 16 picture: red over blue on the left, green over white on the right. Drawn over the
    // whole 16 x 16 viewport with t = 1 at the top, it must appear the right way up.
    Add("textures\\p.jpg", MakeJpeg(16, 16, BlockPattern(16, 16)));
    TextureEntry entry;
    LoadTextureImage(entry, "p.jpg");
    ASSERT_NE(entry.id, 0u);
    EXPECT_EQ(LevelSize(1), std::make_pair(8, 8));

    glViewport(0, 0, 16, 16);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(1, 0);
    glVertex2f(1, -1);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(-1, 1);
    glEnd();
    gl_.Finish();
    const std::vector<uint8_t> color = gl_.ReadColor();  // rows from the top down
    auto pixel = [&](int x, int y) { return &color[(static_cast<size_t>(y) * 16 + x) * 4]; };
    struct Probe {
        int x, y;
        int r, g, b;
        const char* where;
    } probes[] = {{3, 3, 220, 30, 30, "top left"},
                  {12, 3, 30, 200, 40, "top right"},
                  {3, 12, 30, 40, 210, "bottom left"},
                  {12, 12, 240, 240, 240, "bottom right"}};
    for (const Probe& p : probes) {
        EXPECT_NEAR(pixel(p.x, p.y)[0], p.r, 8) << p.where;
        EXPECT_NEAR(pixel(p.x, p.y)[1], p.g, 8) << p.where;
        EXPECT_NEAR(pixel(p.x, p.y)[2], p.b, 8) << p.where;
    }
    glDisable(GL_TEXTURE_2D);
}

TEST_F(TextureTest, SidesThatAreNotPowersOfTwoAreScaled) {
    Add("textures\\odd.tga", MakeTga({2, 24}, 12, 5, TestPattern(12, 5)));
    TextureEntry entry;
    LoadTextureImage(entry, "odd.tga");
    ASSERT_NE(entry.id, 0u);
    const auto [w, h] = LevelSize(0);
    EXPECT_GT(w, 0);
    EXPECT_GT(h, 0);
    EXPECT_EQ(w & (w - 1), 0) << w;
    EXPECT_EQ(h & (h - 1), 0) << h;
    EXPECT_EQ(LevelSize(1).first, w > 1 ? w / 2 : 1);
}

TEST(SceneTextures, IsOneProcessWideLibrary) {
    EXPECT_EQ(&SceneTextures(), &SceneTextures());
}

}  // namespace
}  // namespace orv
