#include "platform/headless_gl.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace orv::platform {
namespace {

TEST(HeadlessGL, ClearsDrawsAndReadsBackTopDown) {
    HeadlessGL gl(32, 16);
    ASSERT_TRUE(gl.ok()) << gl.error();
    glClearColor(0, 0, 1, 1);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // A red quad over the top half only, at depth 0.5 (z = 0 in normalised coordinates).
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    glVertex3f(-1, 0, 0);
    glVertex3f(1, 0, 0);
    glVertex3f(1, 1, 0);
    glVertex3f(-1, 1, 0);
    glEnd();
    gl.Finish();

    const auto color = gl.ReadColor();
    ASSERT_EQ(color.size(), 32u * 16 * 4);
    const uint8_t* top = &color[(2 * 32 + 5) * 4];
    const uint8_t* bottom = &color[(13 * 32 + 5) * 4];
    EXPECT_EQ(top[0], 255);
    EXPECT_EQ(top[2], 0);
    EXPECT_EQ(bottom[0], 0);
    EXPECT_EQ(bottom[2], 255);

    const auto depth = gl.ReadDepth();
    EXPECT_NEAR(depth[2 * 32 + 5], 0.5f, 1e-3f);
    EXPECT_NEAR(depth[13 * 32 + 5], 1.0f, 1e-6f);
}

TEST(HeadlessGL, IsACompatibilityContextWithDisplayListsAndGlu) {
    HeadlessGL gl(8, 8);
    ASSERT_TRUE(gl.ok()) << gl.error();
    const GLuint list = glGenLists(1);
    EXPECT_NE(list, 0u);
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    glVertex3f(0, 0, 0);
    glEnd();
    glEndList();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_TRUE(glIsList(list));
}

TEST(HeadlessGL, RefusesABadSize) {
    HeadlessGL gl(0, 10);
    EXPECT_FALSE(gl.ok());
    EXPECT_FALSE(gl.error().empty());
}

}  // namespace
}  // namespace orv::platform
