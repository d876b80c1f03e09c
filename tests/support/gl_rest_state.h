// The OpenGL state every object's Draw expects at entry and must leave behind (apart from the
// exceptions a kind documents), captured and compared in tests.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace orv::test {

struct GlSnapshot {
    bool lighting, blend, depthTest, depthWrite, texture2d, cullFace, colorMaterial, alphaTest;
    GLint blendSrc, blendDst, matrixMode, modelviewDepth, projectionDepth, textureDepth;
    GLint texEnvMode;
    GLfloat modelview[16], projection[16], texture[16];
};

inline GlSnapshot TakeGlSnapshot() {
    GlSnapshot s{};
    s.lighting = glIsEnabled(GL_LIGHTING);
    s.blend = glIsEnabled(GL_BLEND);
    s.depthTest = glIsEnabled(GL_DEPTH_TEST);
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    s.depthWrite = mask == GL_TRUE;
    s.texture2d = glIsEnabled(GL_TEXTURE_2D);
    s.cullFace = glIsEnabled(GL_CULL_FACE);
    s.colorMaterial = glIsEnabled(GL_COLOR_MATERIAL);
    s.alphaTest = glIsEnabled(GL_ALPHA_TEST);
    glGetIntegerv(GL_BLEND_SRC, &s.blendSrc);
    glGetIntegerv(GL_BLEND_DST, &s.blendDst);
    glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.modelviewDepth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.projectionDepth);
    glGetIntegerv(GL_TEXTURE_STACK_DEPTH, &s.textureDepth);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &s.texEnvMode);
    glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, s.projection);
    glGetFloatv(GL_TEXTURE_MATRIX, s.texture);
    return s;
}

// The exceptions a kind may leave changed on purpose.
struct RestExceptions {
    bool lightingOff = false;    // particle systems in line or circle mode
    bool alphaTestOff = false;   // particle systems in line or circle mode
    bool texEnvAdd = false;      // meshes drawn with "light"
    bool anyBlendFunc = false;   // kinds documented to leave another blend function
};

// Checks the rest state: lighting, blending with (source alpha, one), depth test and writes,
// 2D texturing on; culling and colour material off; identity texture matrix; the modelview
// and projection matrices and stack depths as in `before`; no GL error.
inline void ExpectRestState(const GlSnapshot& before, const std::string& what,
                            const RestExceptions& ex = {}) {
    const GlSnapshot now = TakeGlSnapshot();
    SCOPED_TRACE(what);
    if (!ex.lightingOff) {
        EXPECT_TRUE(now.lighting) << "lighting";
    }
    EXPECT_TRUE(now.blend) << "blending";
    if (!ex.anyBlendFunc) {
        EXPECT_EQ(now.blendSrc, GL_SRC_ALPHA) << "blend source";
        EXPECT_EQ(now.blendDst, GL_ONE) << "blend destination";
    }
    EXPECT_TRUE(now.depthTest) << "depth test";
    EXPECT_TRUE(now.depthWrite) << "depth writes";
    EXPECT_TRUE(now.texture2d) << "2D texturing";
    EXPECT_FALSE(now.cullFace) << "face culling";
    EXPECT_FALSE(now.colorMaterial) << "colour material";
    if (!ex.alphaTestOff) {
        EXPECT_EQ(now.alphaTest, before.alphaTest) << "alpha test";
    }
    if (!ex.texEnvAdd) {
        EXPECT_EQ(now.texEnvMode, before.texEnvMode) << "texture environment";
    }
    EXPECT_EQ(now.matrixMode, GL_MODELVIEW) << "matrix mode";
    EXPECT_EQ(now.modelviewDepth, before.modelviewDepth) << "modelview stack depth";
    EXPECT_EQ(now.projectionDepth, before.projectionDepth) << "projection stack depth";
    EXPECT_EQ(now.textureDepth, before.textureDepth) << "texture stack depth";
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(now.modelview[i], before.modelview[i]) << "modelview[" << i << "]";
        EXPECT_FLOAT_EQ(now.projection[i], before.projection[i]) << "projection[" << i << "]";
        EXPECT_FLOAT_EQ(now.texture[i], (i % 5 == 0) ? 1.0f : 0.0f) << "texture[" << i << "]";
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "GL error";
}

}  // namespace orv::test
