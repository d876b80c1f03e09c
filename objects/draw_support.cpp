#include "objects/draw_support.h"

#include <GL/gl.h>

#include <cmath>

namespace orv {

Vec3 NormalizeOr(const Vec3& v, const Vec3& fallback) {
    const float length = Length(v);
    if (!(length > 0.0f) || !std::isfinite(length)) return fallback;
    return v / length;
}

void LoadEnvFrustum(float fov) {
    const float half_width = 1.3333334f * fov;  // the 4:3 shape of the scene's own frustum
    glLoadIdentity();
    glFrustum(-half_width, half_width, -fov, fov, 1.0, 1000.0);
}

void PushEnvProjection(float fov) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    LoadEnvFrustum(fov);
    glMatrixMode(GL_MODELVIEW);
}

void PopEnvProjection() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void ResetTextureMatrix() {
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace orv
