#include "overlay/overlay.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/gl_state.h"
#include "app/settings.h"
#include "platform/headless_gl.h"

namespace orv {
namespace {

TEST(ClockText, TwentyFourAndTwelveHourFormats) {
    struct Case {
        int h, m, s;
        bool twelve;
        const char* want;
    } cases[] = {
        {9, 5, 3, false, "09:05:03"},   {0, 0, 0, false, "00:00:00"},
        {23, 59, 59, false, "23:59:59"}, {12, 0, 0, false, "12:00:00"},
        {0, 15, 0, true, "12:15:00;"},  // a quarter past midnight: before noon
        {12, 0, 0, true, "12:00:00<"},  // noon: after noon
        {13, 7, 9, true, "01:07:09<"},  {11, 59, 59, true, "11:59:59;"},
        {23, 0, 1, true, "11:00:01<"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClockText(c.h, c.m, c.s, c.twelve), c.want) << c.h << ":" << c.m << ":" << c.s;
    }
}

// Digits drawn without a "textures\c.jpg" atlas appear as plain quads where the layout puts
// them: the clock at the bottom right from x = 525, the frame rate at the top left.
class OverlayPixels : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl_.ok()) << gl_.error();
        Settings& s = CurrentSettings();
        s.width = 200;
        s.height = 150;
        InitOpenGL();
        BuildDigitGlyphs();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    // Lit pixels in a column range (overlay units converted to pixels) of the picture.
    bool AnyLit(const std::vector<uint8_t>& px, int x0, int x1, int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (px[(y * 200 + x) * 4] > 0) return true;
        return false;
    }
    platform::HeadlessGL gl_{200, 150};
};

TEST_F(OverlayPixels, ClockAtBottomRightAndRateAtTopLeft) {
    DrawClock(13, 7, 9, true);  // 9 glyphs from x = 525 to 525 + 8*28 + 40 = 789
    BeginOverlay2D();
    DrawFrameRate(42);
    EndOverlay2D();
    gl_.Finish();
    const auto px = gl_.ReadColor();
    // 200 x 150 pixels: 1 overlay unit = 0.25 pixels. Clock: x 131..197, y from the bottom
    // 0.5..10.5 (rows 139..149); rate: x 1..2+, y 139.5..149.5 from the bottom (rows 0..10).
    EXPECT_TRUE(AnyLit(px, 132, 196, 141, 149));
    EXPECT_FALSE(AnyLit(px, 0, 130, 140, 150)) << "nothing left of the clock";
    EXPECT_FALSE(AnyLit(px, 198, 200, 140, 150)) << "the clock ends inside the screen";
    EXPECT_TRUE(AnyLit(px, 1, 20, 1, 10));
    EXPECT_FALSE(AnyLit(px, 40, 130, 0, 130)) << "middle stays empty";
}

TEST_F(OverlayPixels, ModesRestoreTheStateTheySwitchOff) {
    BeginOverlay2D();
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EndOverlay2D();
    BeginPixel2D();
    EndPixel2D();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLint mode = 0, depth = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(OverlayPixels, CharactersWithoutAGlyphAreSkipped) {
    BeginOverlay2D();
    DrawDigits(0, 0, "A/=?~ ");  // codes outside '0'..'<' must not call foreign lists
    EndOverlay2D();
    gl_.Finish();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(AnyLit(gl_.ReadColor(), 0, 200, 0, 150));
}

}  // namespace
}  // namespace orv
