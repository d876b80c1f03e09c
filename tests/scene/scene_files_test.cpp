// Whole scenes read from an archive: environments, worlds and the object files they name.
#include <gtest/gtest.h>

#include <string>

#include "resources/diagnostics.h"
#include "resources/progress.h"
#include "scene/world.h"
#include "tests/support/test_archive.h"

namespace orv {
namespace {

class SceneFiles : public ::testing::Test {
protected:
    void TearDown() override { ReleaseScene(); }

    void Load() {
        ClearDiagnostics();
        progress_ = 0;
        SetLoadProgressCallback([this] { ++progress_; });
        LoadEnvironments(SceneEnvironments(), "env.txt");
        LoadWorlds(SceneWorlds(), SceneEnvironments(), "worlds.txt");
        SetLoadProgressCallback(nullptr);
    }
    bool Warned(const std::string& entry, const std::string& fragment) {
        for (const Diagnostic& d : Diagnostics())
            if (d.entry == entry && d.message.find(fragment) != std::string::npos) return true;
        return false;
    }
    int progress_ = 0;
};

TEST_F(SceneFiles, WorldsShareTheirEnvironmentsListsAndFilesAppendInOrder) {
    test::ScopedTestArchive archive({
        {"env.txt", "env space\nfirstpass sky.txt\nfirstpass sky2.txt\npostpass glare.txt\nend\nENV_END\n"},
        {"worlds.txt",
         "world first\nenv space\nobjects a.txt\nend\n"
         "world world\nenv space\nobjects b.txt\nobjects a.txt\nend\nWORLD_END\n"},
        {"sky.txt", "sphere\nbegin Sky\nenv\nend\nENDWORLD\n"},
        {"sky2.txt", "billboard\nbegin\nend\nENDWORLD\n"},
        {"glare.txt", "flare\nbegin\nend\nENDWORLD\n"},
        {"a.txt", "sphere\nbegin Planet\nend\nENDWORLD\n"},
        {"b.txt", "mesh\nbegin Rock\nend\ndir\nENDWORLD\n"},
    });
    Load();
    ASSERT_EQ(SceneEnvironments().size(), 1u);
    const Environment& env = *SceneEnvironments()[0];
    ASSERT_EQ(env.firstpass.size(), 2u);
    EXPECT_STREQ(env.firstpass[0]->name, "Sky");
    EXPECT_EQ(env.firstpass[1]->kind(), ObjectKind::kBillboard);
    EXPECT_EQ(env.postpass.size(), 1u);

    ASSERT_EQ(SceneWorlds().size(), 2u);
    const World& first = *SceneWorlds()[0];
    const World& world = *SceneWorlds()[1];
    EXPECT_EQ(first.firstPass, world.firstPass) << "one environment, one list, shared";
    EXPECT_EQ(first.postPass, &env.postpass);
    ASSERT_EQ(world.objects.size(), 2u);
    EXPECT_STREQ(world.objects[0]->name, "Rock");
    EXPECT_STREQ(world.objects[1]->name, "Planet");
    EXPECT_NE(world.objects[1], first.objects[0]) << "a file read twice makes new objects";
    EXPECT_EQ(progress_, 6) << "one report per object, none for \"dir\"";
    EXPECT_TRUE(Diagnostics().empty());
}

TEST_F(SceneFiles, ParentsAreFoundOnlyEarlierInTheSameList) {
    test::ScopedTestArchive archive({
        {"env.txt", "env space\nfirstpass sky.txt\nend\nENV_END\n"},
        {"worlds.txt", "world world\nenv space\nobjects one.txt\nobjects two.txt\nend\nWORLD_END\n"},
        {"sky.txt", "sphere\nbegin Sun\nend\nENDWORLD\n"},
        {"one.txt",
         "sphere\nbegin Moon\nparent Earth\nend\n"  // Earth comes later: not found
         "sphere\nbegin Earth\nend\n"
         "sphere\nbegin Moon2\nparent Earth\nend\n"
         "sphere\nbegin Probe\nparent Sun\nend\n"  // the environment's list is another list
         "ENDWORLD\n"},
        {"two.txt", "sphere\nbegin Moon3\nparent Earth\nend\nENDWORLD\n"},  // earlier file, same list
    });
    Load();
    const ObjectList& objects = SceneWorlds()[0]->objects;
    ASSERT_EQ(objects.size(), 5u);
    EXPECT_EQ(objects[0]->parent, nullptr);
    EXPECT_EQ(objects[2]->parent, objects[1]);
    EXPECT_EQ(objects[3]->parent, nullptr);
    EXPECT_EQ(objects[4]->parent, objects[1]);
    EXPECT_TRUE(Warned("one.txt", "\"Earth\""));
    EXPECT_TRUE(Warned("one.txt", "\"Sun\""));
}

TEST_F(SceneFiles, MissingFilesReadAsEmptyWithWarnings) {
    test::ScopedTestArchive archive({
        {"env.txt", "env space\nfirstpass nothere.txt\nend\nENV_END\n"},
        {"readme.txt", "no worlds.txt in this archive\n"},
    });
    Load();
    EXPECT_EQ(SceneEnvironments().size(), 1u);
    EXPECT_TRUE(SceneWorlds().empty());
    EXPECT_TRUE(Warned("nothere.txt", "missing"));
    EXPECT_TRUE(Warned("worlds.txt", "missing"));
}

}  // namespace
}  // namespace orv
