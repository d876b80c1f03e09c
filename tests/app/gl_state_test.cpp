#include "app/gl_state.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/settings.h"
#include "platform/headless_gl.h"

namespace orv {
namespace {

TEST(GammaRamp, ExponentsAndEntries) {
    EXPECT_FLOAT_EQ(GammaExponent(0), 1.5f);
    EXPECT_FLOAT_EQ(GammaExponent(50), 1.0f);
    EXPECT_FLOAT_EQ(GammaExponent(100), 0.5f);
    EXPECT_FLOAT_EQ(GammaExponent(150), 0.0f);  // stored values are used as they are
    EXPECT_FLOAT_EQ(GammaExponent(200), -0.5f);

    const GammaRampTable identity = BuildGammaRamp(1, 1, 1);
    for (int k = 0; k < 256; ++k) {
        ASSERT_EQ(identity[k], k * 256);
        ASSERT_EQ(identity[512 + k], k * 256);
    }
    const GammaRampTable bright = BuildGammaRamp(0.5f, 1.0f, 1.5f);
    EXPECT_EQ(bright[255], 65407);               // red, exponent 0.5
    EXPECT_EQ(bright[256 + 255], 255 * 256);     // green, identity
    EXPECT_LT(bright[512 + 128], 128 * 256);     // blue, exponent 1.5: darker
    // Exponent 0 would give 65536 for every entry: clamped to the table's range.
    EXPECT_EQ(BuildGammaRamp(0, 0, 0)[100], 65535);
}

TEST(GammaRamp, AppliedOnlyWhenDefGammaIsOff) {
    static int calls;
    static uint16_t last_entry;
    calls = 0;
    CurrentDisplayControl().setGammaRamp = [](const uint16_t* ramp) {
        ++calls;
        last_entry = ramp[255];
        return true;
    };
    platform::HeadlessGL gl(16, 16);
    ASSERT_TRUE(gl.ok());
    Settings& s = CurrentSettings();
    s.defGamma = true;
    InitOpenGL();
    EXPECT_EQ(calls, 0);
    s.defGamma = false;
    s.gamma = 100;
    InitOpenGL();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(last_entry, 65407);
    s.defGamma = true;
    s.gamma = 50;
    CurrentDisplayControl().setGammaRamp = nullptr;
}

TEST(InitOpenGL, FixedState) {
    platform::HeadlessGL gl(64, 48);
    ASSERT_TRUE(gl.ok());
    Settings& s = CurrentSettings();
    s.width = 64;
    s.height = 48;
    ASSERT_TRUE(InitOpenGL());
    for (GLenum cap : {GL_ALPHA_TEST, GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT1, GL_BLEND,
                       GL_TEXTURE_2D, GL_NORMALIZE})
        EXPECT_TRUE(glIsEnabled(cap)) << std::hex << cap;
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    GLint src = 0, dst = 0, viewport[4] = {};
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE);
    EXPECT_EQ(viewport[2], 64);
    EXPECT_EQ(viewport[3], 48);
    // The 4:3 frustum: near 80, half-height 40, half-width 53.33.
    GLfloat p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[0], 2 * 80 / (2 * 53.333335f), 1e-5f);
    EXPECT_NEAR(p[5], 2 * 80 / 80.0f, 1e-5f);
    GLfloat ambient[4];
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
    EXPECT_FLOAT_EQ(ambient[2], 0.04f);
    GLfloat cutoff = 0;
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, &cutoff);
    EXPECT_FLOAT_EQ(cutoff, 60.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
}  // namespace orv
