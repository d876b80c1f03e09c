// Small pieces of a frame for drawing tests: what the frame renderer does before the passes,
// and textures of one colour.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "camera/camera.h"

namespace orv::test {

// Identity modelview, the camera's view, and the lights of a world that is not a "system" (the
// light far along +z), as the frame renderer sets them before drawing the passes.
inline void ApplyFrameView(const Camera& camera) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    camera.ApplyView();
    const GLfloat far_z[] = {0.0f, 0.0f, 1000000.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, far_z);
    glLightfv(GL_LIGHT0, GL_POSITION, far_z);
}

// A complete 2 x 2 texture of one colour (no mipmaps needed with these filters).
inline GLuint SolidTexture(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255,
                           GLint filter = GL_NEAREST) {
    const uint8_t texels[16] = {r, g, b, a, r, g, b, a, r, g, b, a, r, g, b, a};
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glBindTexture(GL_TEXTURE_2D, 0);
    return id;
}

}  // namespace orv::test
