// orvello-scene dump, run as a scene author would.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "tests/support/run_command.h"
#include "tests/support/test_archive.h"

namespace {

std::string SceneDir() {
    const testing::TestInfo* t = testing::UnitTest::GetInstance()->current_test_info();
    const std::string dir = testing::TempDir() + "scene_tool_" + t->name();
    mkdir(dir.c_str(), 0755);
    std::remove((dir + "/data.sdd").c_str());  // left by an earlier run
    return dir;
}

orv::test::CommandResult Dump(const std::string& args) {
    return orv::test::RunCommand(std::string(ORVELLO_SCENE_TOOL) + " dump " + args + " 2>/dev/null",
                                 false);
}

const orv::test::TestFiles kScene = {
    {"texture.txt", "missing.jpg\nEND_TEXT\n"},
    {"env.txt", "env space\nfirstpass sky.txt\nend\nENV_END\n"},
    {"worlds.txt", "world world\nenv space\nobjects planet.txt\nsystem\nscenedir sol\nend\n"
                   "world other\nenv nowhere\nend\nWORLD_END\n"},
    {"sky.txt", "billboard\nbegin\nrotation 0 1\nend\nENDWORLD\n"},
    {"planet.txt", "sphere\nbegin Earth\nrotation V(0 1 0) 0 10\nend\n"
                   "ps\nbegin\nline\ndens 10\nend\nENDWORLD\n"},
};

TEST(SceneTool, DumpsEnvironmentsWorldsTexturesAndWarnings) {
    const std::string dir = SceneDir();
    orv::test::WriteTestArchive(dir + "/data.sdd", kScene);
    const auto r = Dump("--data " + dir);
    ASSERT_EQ(r.status, 0) << r.output;
    for (const char* fragment :
         {"\"environments\":[{\"name\":\"space\",\"firstpass\":[{\"kind\":\"billboard\"",
          "\"worlds\":[{\"name\":\"world\",\"env\":\"space\",\"system\":true,\"scenedir\":\"sol\"",
          "{\"kind\":\"sphere\",\"name\":\"Earth\",\"texture\":null", "\"kind\":\"ps\"",
          "\"textures\":[{\"path\":\"textures\\\\missing.jpg\",\"id\":0}]",
          "\"diagnostics\":[", "\"entry\":\"worlds.txt\",\"line\":8,\"message\":\"unknown environment"})
        EXPECT_NE(r.output.find(fragment), std::string::npos) << fragment << "\n" << r.output;
}

TEST(SceneTool, StepsAnimateTheChosenWorldReproducibly) {
    const std::string dir = SceneDir();
    orv::test::WriteTestArchive(dir + "/data.sdd", kScene);
    const auto still = Dump("--data " + dir);
    const auto moved = Dump("--data " + dir + " --steps 30 --dt 0.1 --seed 7");
    const auto again = Dump("--data " + dir + " --steps 30 --dt 0.1 --seed 7");
    ASSERT_EQ(moved.status, 0);
    EXPECT_EQ(moved.output, again.output);
    EXPECT_NE(moved.output, still.output);
    // The sphere spins 10 degrees a second: 3 seconds later its spin is 30.
    EXPECT_NE(moved.output.find("\"spin\":30"), std::string::npos) << moved.output;
    // Only the chosen world moves.
    const auto other = Dump("--data " + dir + " --world other --steps 30 --dt 0.1");
    EXPECT_NE(other.output.find("\"spin\":0,"), std::string::npos);
}

TEST(SceneTool, ExitStatus) {
    const std::string dir = SceneDir();
    EXPECT_EQ(Dump("--data " + dir).status, 1) << "no archive";
    orv::test::WriteTestArchive(dir + "/data.sdd", kScene);
    EXPECT_EQ(Dump("--data " + dir + " --world nosuch").status, 2);
    EXPECT_EQ(Dump("--data " + dir + " --steps -3").status, 2);
    EXPECT_EQ(Dump("--data").status, 2);
    EXPECT_EQ(Dump("--bogus").status, 2);
}

}  // namespace
