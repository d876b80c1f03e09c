// The camera-path tool, run as a scene author would run it.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/run_command.h"

namespace {

orv::test::CommandResult RunTool(const std::string& args) {
    return orv::test::RunCommand(std::string(ORVELLO_SCENE_TOOL) + " " + args);
}

int CountLines(const std::string& s) {
    int n = 0;
    for (char c : s) n += c == '\n';
    return n;
}

TEST(PathTool, PrintsOneJsonObjectPerFrame) {
    const auto r = RunTool("path --seed 7 --speed 50 --dt 0.5 --frames 20");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(CountLines(r.output), 20);
    EXPECT_EQ(r.output.rfind("{\"frame\":0,\"segmentTime\":", 0), 0u) << r.output.substr(0, 80);
    for (const char* key : {"\"position\":[", "\"look\":[", "\"up\":[", "\"keys\":[["})
        EXPECT_NE(r.output.find(key), std::string::npos) << key;
    // 20 frames of 0.5 s at Speed 50 is 15 units: one key change, so frame 19 is at 0.5.
    const size_t last = r.output.find("{\"frame\":19,\"segmentTime\":");
    ASSERT_NE(last, std::string::npos);
    EXPECT_NEAR(std::stod(r.output.substr(last + 27)), 0.5, 1e-6);
}

TEST(PathTool, IsReproducibleForASeed) {
    const std::string a = RunTool("path --seed 3 --frames 50 --dt 0.1").output;
    EXPECT_EQ(a, RunTool("path --seed 3 --frames 50 --dt 0.1").output);
    EXPECT_NE(a, RunTool("path --seed 4 --frames 50 --dt 0.1").output);
}

TEST(PathTool, BadArgumentsGiveUsageAndStatus2) {
    for (const char* args : {"", "path --seed", "path --seed x", "path --speed -1",
                             "path --dt nan", "path --dt -0.5", "path --frames 1e3",
                             "path --bogus 1", "fly"}) {
        const auto r = RunTool(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.output.find("usage: orvello-scene"), std::string::npos) << args;
    }
}

}  // namespace
