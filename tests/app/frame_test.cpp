#include "app/frame.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "app/gl_state.h"
#include "app/settings.h"
#include "camera/camera.h"
#include "camera/random.h"
#include "overlay/overlay.h"
#include "platform/headless_gl.h"
#include "tests/support/alloc_counter.h"



namespace orv {
namespace {

// Records the order of Update and Draw calls, and the GL blend function it saw.
struct Probe : SceneObject {
    Probe(std::vector<std::string>* log, const char* tag)
        : SceneObject(ObjectKind::kBillboard), log_(log), tag_(tag) {}
    void Draw(const Camera&) override {
        log_->push_back("draw " + tag_);
        glGetIntegerv(GL_BLEND_DST, &blendDst);
    }
    void Update(double) override { log_->push_back("update " + tag_); }
    GLint blendDst = 0;
    std::vector<std::string>* log_;
    std::string tag_;
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl_.ok()) << gl_.error();
        Settings& s = CurrentSettings();
        s.width = 64;
        s.height = 48;
        s.showClock = false;
        s.showFps = false;
        InitOpenGL();
        BuildDigitGlyphs();
        env_.firstpass = {&first_};
        env_.postpass = {&post_};
        world_.objects = {&main_};
        world_.firstPass = &env_.firstpass;
        world_.postPass = &env_.postpass;
        SeedRandom(1);
        CurrentRun() = SceneRun{};
        CurrentRun().currentWorld = &world_;
        SceneCamera().Start();
    }
    void TearDown() override { CurrentRun() = SceneRun{}; }

    platform::HeadlessGL gl_{64, 48};
    std::vector<std::string> log_, scratch_;
    Probe first_{&log_, "first"}, main_{&log_, "main"}, post_{&log_, "post"};
    Environment env_;
    World world_;
};

TEST_F(FrameTest, FirstFrameDrawsBeforeAnyUpdateThenPassesInOrder) {
    RunFrame(1.0 / 60);
    EXPECT_EQ(log_, (std::vector<std::string>{"draw first", "draw main", "draw post"}));
    log_.clear();
    RunFrame(1.0 / 60);
    EXPECT_EQ(log_, (std::vector<std::string>{"update first", "update main", "update post",
                                              "draw first", "draw main", "draw post"}));
}

TEST_F(FrameTest, NoWorldClearsOnlyAndCountsNoFrame) {
    CurrentRun().currentWorld = nullptr;
    RunFrame(0.5);
    RunFrame(0.6);
    EXPECT_TRUE(log_.empty());
    EXPECT_EQ(CurrentRun().frameCount, 0u);
}

TEST_F(FrameTest, FrameRatePeriodClosesAfterJustOverASecond) {
    for (int i = 0; i < 4; ++i) RunFrame(0.25);  // exactly 1 s: not over it yet
    EXPECT_EQ(CurrentRun().framesPerSecond, 0);
    RunFrame(0.25);
    EXPECT_EQ(CurrentRun().framesPerSecond, 4) << "frames counted before this one closed it";
    EXPECT_EQ(CurrentRun().frameCount, 1u);
}

TEST_F(FrameTest, BlendFunctionAtTheNextFirstPassIsTheOverlaysChoice) {
    RunFrame(0.01);
    RunFrame(0.01);
    EXPECT_EQ(first_.blendDst, GL_ONE_MINUS_SRC_ALPHA) << "no clock, no rate: step 9's choice";
    CurrentSettings().showClock = true;
    RunFrame(0.01);
    RunFrame(0.01);
    EXPECT_EQ(first_.blendDst, GL_ONE) << "the clock leaves additive blending";
    CurrentSettings().showClock = false;
}

TEST_F(FrameTest, LightsFollowTheWorldsSystemFlag) {
    GLfloat pos[4];
    world_.system = true;
    RunFrame(0.01);
    // Light positions are stored in eye coordinates: the origin seen from the camera.
    glMatrixMode(GL_MODELVIEW);
    glGetLightfv(GL_LIGHT1, GL_POSITION, pos);
    GLfloat view[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);  // the view RenderFrame applied last
    EXPECT_NEAR(pos[0], view[12], 1e-1f);
    EXPECT_NEAR(pos[1], view[13], 1e-1f);
    EXPECT_NEAR(pos[2], view[14], 1e-1f);
}

TEST_F(FrameTest, RunningFramesAllocatesNothing) {
    CurrentSettings().showClock = true;
    CurrentSettings().showFps = true;
    RunFrame(0.01);  // first frame fills the pass lists
    RunFrame(0.01);
    log_.reserve(1000);
    log_.clear();
    // The probes log with std::string; measure with logging turned into no-ops.
    first_.log_ = main_.log_ = post_.log_ = &scratch_;
    scratch_.reserve(64);
    const long before = orv::test::AllocationCount();
    for (int i = 0; i < 200; ++i) {
        scratch_.clear();
        RunFrame(0.07);  // crosses camera keys and frame-rate periods too
    }
    EXPECT_EQ(orv::test::AllocationCount() - before, 0);
    CurrentSettings().showClock = false;
    CurrentSettings().showFps = false;
}

}  // namespace
}  // namespace orv
