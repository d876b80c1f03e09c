#include "scene/world.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/diagnostics.h"

namespace orv {
namespace {

EnvironmentList ReadEnv(const std::string& text) {
    ClearDiagnostics();
    MemFile file;
    file.OpenBytes("env.txt", text.data(), text.size());
    EnvironmentList list;
    ReadEnvironments(list, file);
    return list;
}

WorldList ReadWorldText(const std::string& text, const EnvironmentList& envs) {
    ClearDiagnostics();
    MemFile file;
    file.OpenBytes("worlds.txt", text.data(), text.size());
    WorldList list;
    ReadWorlds(list, envs, file);
    return list;
}

bool Warned(const std::string& entry, const std::string& fragment, int line = -1) {
    for (const Diagnostic& d : Diagnostics())
        if (d.entry == entry && d.message.find(fragment) != std::string::npos &&
            (line < 0 || d.line == line))
            return true;
    return false;
}

TEST(Environments, BlocksBetweenFreeTextAndTerminator) {
    const EnvironmentList envs = ReadEnv(
        "firstpass ignored.txt\n"  // before the first block: no effect
        "some text\n"
        "env space\n"
        "ENV_END inside a block does not end the file\n"
        "end\n"
        "between blocks\n"
        "env nebula\n"
        "endless\n"  // any word starting with "end" ends the block
        "ENV_END\n"
        "env never\nend\n");
    ASSERT_EQ(envs.size(), 2u);
    EXPECT_STREQ(envs[0]->name, "space");
    EXPECT_STREQ(envs[1]->name, "nebula");
    EXPECT_TRUE(Diagnostics().empty());
    EXPECT_EQ(FindEnvironment(envs, "nebula"), envs[1].get());
    EXPECT_EQ(FindEnvironment(envs, "Nebula"), nullptr);
}

TEST(Environments, DataEndingEarlyKeepsWhatWasReadAndWarns) {
    EnvironmentList envs = ReadEnv("env space\nend\nenv half\n");
    ASSERT_EQ(envs.size(), 2u);
    EXPECT_TRUE(Warned("env.txt", "\"end\" line"));
    envs = ReadEnv("env space\nend\n");
    EXPECT_EQ(envs.size(), 1u);
    EXPECT_TRUE(Warned("env.txt", "ENV_END"));
}

TEST(Environments, LongOrMissingNamesAreBounded) {
    const EnvironmentList envs = ReadEnv("env averyveryverylongenvironmentname\nend\nenv\nend\nENV_END\n");
    ASSERT_EQ(envs.size(), 2u);
    EXPECT_STREQ(envs[0]->name, "averyveryverylongen");
    EXPECT_TRUE(Warned("env.txt", "longer than 19", 1));
    EXPECT_STREQ(envs[1]->name, "");
    EXPECT_TRUE(Warned("env.txt", "no name", 3));
}

TEST(Worlds, FieldsAndSharedEnvironment) {
    const EnvironmentList envs = ReadEnv("env space\nend\nENV_END\n");
    const WorldList worlds = ReadWorldText(
        "world first\n"
        "env space\n"
        "scenedir sol\n"
        "scenedir sol2\n"  // overwrites
        "system\n"
        "end\n"
        "world world\n"
        "env space\n"
        "end\n"
        "world world\n"
        "end\n"
        "WORLD_END\n",
        envs);
    ASSERT_EQ(worlds.size(), 3u);
    EXPECT_STREQ(worlds[0]->name, "first");
    EXPECT_STREQ(worlds[0]->scenedir, "sol2");
    EXPECT_TRUE(worlds[0]->system);
    EXPECT_FALSE(worlds[1]->system);
    EXPECT_EQ(worlds[0]->firstPass, &envs[0]->firstpass);
    EXPECT_EQ(worlds[1]->firstPass, &envs[0]->firstpass) << "one environment, shared lists";
    EXPECT_EQ(worlds[1]->postPass, &envs[0]->postpass);
    EXPECT_EQ(FindWorld(worlds, "world"), worlds[1].get()) << "the first of two";
    EXPECT_EQ(FindWorld(worlds, "nope"), nullptr);
}

TEST(Worlds, UnknownOrMissingEnvironmentGivesEmptyPassListsAndAWarning) {
    const EnvironmentList envs = ReadEnv("env space\nend\nENV_END\n");
    const WorldList worlds =
        ReadWorldText("world a\nenv nowhere\nend\nworld b\nend\nWORLD_END\n", envs);
    ASSERT_EQ(worlds.size(), 2u);
    for (const auto& w : worlds) {
        ASSERT_NE(w->firstPass, nullptr);
        ASSERT_NE(w->postPass, nullptr);
        EXPECT_TRUE(w->firstPass->empty());
        EXPECT_TRUE(w->postPass->empty());
    }
    EXPECT_TRUE(Warned("worlds.txt", "unknown environment \"nowhere\"", 2));
    EXPECT_TRUE(Warned("worlds.txt", "no \"env\" line", 4));
}

TEST(Worlds, BodyKeywordsOutsideBlocksAndTerminatorInsideAreIgnored) {
    const EnvironmentList envs;
    const WorldList worlds =
        ReadWorldText("system\nworld w\nWORLD_END\nsystem\nend\nWORLD_END\n", envs);
    ASSERT_EQ(worlds.size(), 1u);
    EXPECT_TRUE(worlds[0]->system) << "WORLD_END inside the block did not end it";
}

}  // namespace
}  // namespace orv
