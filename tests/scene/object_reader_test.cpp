#include "scene/object_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/diagnostics.h"
#include "resources/progress.h"

namespace orv {
namespace {

// Reads `text` as an object description file named "objs.txt" and counts progress reports.
struct ReadResult {
    ObjectList list;
    int progress = 0;
};

ReadResult ReadText(const std::string& text) {
    ClearDiagnostics();
    ReadResult r;
    SetLoadProgressCallback([&r] { ++r.progress; });
    SharedObjectFile().OpenBytes("objs.txt", text.data(), text.size());
    ReadOpenObjectFile(r.list);
    SetLoadProgressCallback(nullptr);
    return r;
}

bool HasWarning(const std::string& fragment, int line = -1) {
    for (const Diagnostic& d : Diagnostics()) {
        if (d.entry == "objs.txt" && d.message.find(fragment) != std::string::npos &&
            (line < 0 || d.line == line))
            return true;
    }
    return false;
}

TEST(ClassifyLine, PrefixesInTableOrder) {
    struct Case {
        const char* line;
        ObjectKind kind;
    } cases[] = {
        {"sphere", ObjectKind::kSphere},
        {"spheres and more", ObjectKind::kSphere},
        {"billboard", ObjectKind::kBillboard},
        {"flare", ObjectKind::kFlare},
        {"flame", ObjectKind::kFlame},
        {"mesh", ObjectKind::kMesh},
        {"ps", ObjectKind::kParticleSystem},
        {"psst, a comment", ObjectKind::kParticleSystem},  // any line starting with "ps"
        {"geometry meshes\\rock.dat", ObjectKind::kGeometry},
        {"dir", ObjectKind::kDir},
        {"directory", ObjectKind::kDir},
        {"ENDWORLD", ObjectKind::kEndWorld},
        {"endworld", ObjectKind::kNone},  // case-sensitive
        {"Sphere", ObjectKind::kNone},
        {"\tsphere", ObjectKind::kNone},
        {"", ObjectKind::kNone},
        {"p", ObjectKind::kNone},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyLine(c.line), c.kind) << '"' << c.line << '"';
}

TEST(ObjectFile, OnlyEndWorldAppendsNothingAndReportsNoProgress) {
    const ReadResult r = ReadText("ENDWORLD\n");
    EXPECT_TRUE(r.list.empty());
    EXPECT_EQ(r.progress, 0);
    EXPECT_TRUE(Diagnostics().empty());
    EXPECT_EQ(SharedObjectFile().data(), nullptr) << "the shared file is closed afterwards";
}

TEST(ObjectFile, ObjectsInFileOrderWithOneProgressEach) {
    const ReadResult r = ReadText(
        "some free text\n"
        "dir textures\n"
        "billboard\nbegin\nend\n"
        "between blocks\n"
        "flare\nbegin\nend\n"
        "ps\nbegin\nend\n"
        "ENDWORLD\n"
        "sphere\nbegin\nend\n");  // after ENDWORLD: not read
    ASSERT_EQ(r.list.size(), 3u);
    EXPECT_EQ(r.list[0]->kind(), ObjectKind::kBillboard);
    EXPECT_EQ(r.list[1]->kind(), ObjectKind::kFlare);
    EXPECT_EQ(r.list[2]->kind(), ObjectKind::kParticleSystem);
    EXPECT_EQ(r.progress, 3);
}

TEST(ObjectFile, GeometryLineReportsProgress) {
    const ReadResult r = ReadText("geometry meshes\\rock.dat\ngeometry\nENDWORLD\n");
    EXPECT_EQ(r.progress, 2);
    EXPECT_TRUE(HasWarning("names no mesh entry", 2));
}

TEST(ObjectFile, MissingEndWorldStopsAtTheEndWithAWarning) {
    const ReadResult r = ReadText("billboard\nbegin\nend\n");
    EXPECT_EQ(r.list.size(), 1u);
    EXPECT_TRUE(HasWarning("ENDWORLD"));
}

TEST(ObjectFile, BlockCutShortIsKeptAndObjectWithoutBeginDropped) {
    ReadResult r = ReadText("flame\nbegin\nsize 3\n");
    EXPECT_EQ(r.list.size(), 1u);
    EXPECT_TRUE(HasWarning("\"end\" line", 3));

    r = ReadText("flame\nno begin here\n");
    EXPECT_TRUE(r.list.empty());
    EXPECT_TRUE(HasWarning("\"begin\" line"));
}

TEST(ObjectFile, TypeWordInsideABlockIsJustALine) {
    const ReadResult r = ReadText("billboard\nbegin\nsphere\nend\nENDWORLD\n");
    EXPECT_EQ(r.list.size(), 1u);
}

TEST(ObjectFile, AnyLineStartingWithEndClosesTheBlock) {
    const ReadResult r = ReadText("billboard\nbegin\nendless\nflare\nbegin\nend\nENDWORLD\n");
    EXPECT_EQ(r.list.size(), 2u);
}

TEST(FindObject, FirstExactMatchAndEmptyName) {
    ObjectList list;
    ReadResult r = ReadText("billboard\nbegin\nend\nflare\nbegin\nend\nENDWORLD\n");
    std::snprintf(r.list[1]->name, kObjectNameSize, "Sun");
    EXPECT_EQ(FindObject(r.list, "Sun"), r.list[1]);
    EXPECT_EQ(FindObject(r.list, "sun"), nullptr);
    EXPECT_EQ(FindObject(r.list, "Su"), nullptr);
    EXPECT_EQ(FindObject(r.list, ""), r.list[0]) << "the first unnamed object";
}

TEST(CopyName, LongNamesAreCutWithAWarning) {
    SharedObjectFile().OpenBytes("objs.txt", "x\n", 2);
    char line[kLineBufferSize];
    SharedObjectFile().ReadLine(line);
    ClearDiagnostics();
    char name[kObjectNameSize];
    CopyName(name, sizeof name, "ABCDEFGHIJKLMNOPQRST", "object name");
    EXPECT_STREQ(name, "ABCDEFGHIJKLMN");
    EXPECT_TRUE(HasWarning("longer than 14", 1));
    ClearDiagnostics();
    CopyName(name, sizeof name, "Fourteen_chars", "object name");
    EXPECT_STREQ(name, "Fourteen_chars");
    EXPECT_TRUE(Diagnostics().empty());
    SharedObjectFile().Close();
}

}  // namespace
}  // namespace orv
