// The saver's whole frame loop on the demo scene, offscreen: the pictures show the scene, a run
// repeats exactly for a seed, and frames allocate nothing on the heap once the scene runs.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/frame.h"
#include "app/gl_state.h"
#include "app/settings.h"
#include "camera/camera.h"
#include "camera/random.h"
#include "overlay/overlay.h"
#include "platform/headless_gl.h"
#include "resources/archive.h"
#include "scene/scene_loader.h"
#include "tests/support/alloc_counter.h"

namespace orv {
namespace {

constexpr int kWidth = 160, kHeight = 120;

class DemoRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl_.ok()) << gl_.error();
        Start();
    }
    // Loads the scene and starts a run, as the saver does before its first frame.
    void Start() {
        Settings& s = CurrentSettings();
        s.width = kWidth;
        s.height = kHeight;
        s.showClock = true;
        s.showFps = true;
        SetArchivePath(ORVELLO_DEMO_ARCHIVE);
        InitOpenGL();
        // A fresh process: the generator in its start state while loading, the camera new.
        SeedRandom(1);
        SceneCamera() = Camera{};
        SceneLoadSteps steps;
        steps.afterTextures = BuildDigitGlyphs;
        LoadSceneContent(steps);
        CurrentRun() = SceneRun{};
        SeedRandom(1);
        StartRun();
        ASSERT_NE(CurrentRun().currentWorld, nullptr);
    }
    void TearDown() override { Stop(); }
    void Stop() {
        CurrentRun() = SceneRun{};
        ReleaseScene();
    }

    void Frames(int count, double dt) {
        for (int i = 0; i < count; ++i) RunFrame(dt);
        gl_.Finish();
    }

    platform::HeadlessGL gl_{kWidth, kHeight};
};

TEST_F(DemoRun, PicturesShowTheScene) {
    Frames(120, 1.0 / 30);
    const std::vector<uint8_t> px = gl_.ReadColor();
    int lit = 0;
    for (size_t i = 0; i < px.size(); i += 4) lit += px[i] + px[i + 1] + px[i + 2] > 60;
    // The planet alone covers a good part of the view wherever the camera is.
    EXPECT_GT(lit, kWidth * kHeight / 10);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(DemoRun, ARunRepeatsExactlyForASeed) {
    Frames(45, 0.2);
    const std::vector<uint8_t> first = gl_.ReadColor();
    Stop();
    Start();
    Frames(45, 0.2);
    EXPECT_TRUE(gl_.ReadColor() == first);
}

TEST_F(DemoRun, FramesAllocateNothingOnceRunning) {
    // Warm up: the GL driver compiles code the first time it meets a state, and it allocates
    // then; a minute of flight meets the scene's states.
    Frames(300, 0.2);
    const long before = test::AllocationCount();
    Frames(150, 0.2);
    EXPECT_EQ(test::AllocationCount() - before, 0);
}

}  // namespace
}  // namespace orv
