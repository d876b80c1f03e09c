// The one camera function that talks to OpenGL, kept apart so that the director itself can be
// used and tested without a GL context.
#include <GL/glu.h>

#include "camera/camera.h"

namespace orv {

void Camera::ApplyView() const {
    const double ex = eye.x, ey = eye.y, ez = eye.z;
    gluLookAt(ex, ey, ez, ex + look.x, ey + look.y, ez + look.z, up.x, up.y, up.z);
}

}  // namespace orv
