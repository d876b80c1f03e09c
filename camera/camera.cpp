#include "camera/camera.h"

#include <cmath>

#include "camera/random.h"

namespace orv {

Quat AimAtOrigin(const Vec3& p) {
    const Vec3 look = Normalize(-p);
    Vec3 side = Cross(Vec3(0.0f, -1.0f, 0.0f), look);
    if (Length(side) < 1e-6f) {
        // Straight above or below the origin: -y gives no sideways direction, so take one
        // that is perpendicular to the y axis. The camera still looks at the origin.
        side = Vec3(1.0f, 0.0f, 0.0f);
    }
    const Vec3 right = Normalize(side);
    const Vec3 up = Normalize(Cross(look, right));
    return MatrixToQuat(FrameMatrix(look, right, up));
}

namespace {

float Distance(double base, double spread) {
    return static_cast<float>(base + spread * RandomUnit());
}

void SetKey(Keyframe& key, const Vec3& position) {
    key.orientation = AimAtOrigin(position);
    key.position = position;
}

// Turns v about a random axis by up to 60 degrees (the axis's draws come before the angle's).
void Wobble(Vec3& v) {
    const Vec3 axis = RandomUnitVector();
    const float angle = static_cast<float>(60.0 * RandomUnit());
    RotateAboutAxis(v, axis, angle);
}

}  // namespace

void Camera::Start() {
    Vec3 b = RandomUnitVector();

    Vec3 a(0.0f, 0.0f, 90000.0f);
    RotateAboutAxis(a, b, static_cast<float>(10.0 + 350.0 * RandomUnit()));
    SetKey(keys[0], a);
    keys[0].gradient = Vec3();

    a = Normalize(keys[0].position) * Distance(40000.0, 5000.0);
    Wobble(b);
    RotateAboutAxis(a, b, 40.0f);
    SetKey(keys[1], a);
    keys[1].gradient = Vec3();
    keys[0].outControl = Slerp(keys[0].orientation, keys[1].orientation, 1.0f / 3.0f);

    Wobble(b);
    RotateAboutAxis(a, b, 40.0f);
    a = Normalize(a) * Distance(40000.0, 5000.0);
    SetKey(keys[2], a);

    PrepareKey(keys[0], keys[1], keys[2]);
}

void Camera::ShiftKeys() {
    keys[0] = keys[1];
    keys[1] = keys[2];

    Vec3 axis(0.0f, 1.0f, 0.0f);  // ends up within 60 degrees of +y
    Wobble(axis);
    Vec3 p = keys[1].position;
    RotateAboutAxis(p, axis, 40.0f);
    p = Normalize(p) * Distance(40000.0, 25000.0);
    SetKey(keys[2], p);
    PrepareKey(keys[0], keys[1], keys[2]);
}

void Camera::Advance(double d) {
    // The rate is the float 0.1 widened to double, and the sum is kept as a float.
    segmentTime = static_cast<float>(segmentTime + d * static_cast<double>(0.1f));
    if (segmentTime >= 1.0f) {
        // Once per frame, even after a long frame: the rest is caught up on the next frames.
        segmentTime -= 1.0f;
        ShiftKeys();
    }
    const PathPoint pt = EvaluateSegment(keys[0], keys[1], segmentTime);
    position = pt.position;
    eye = pt.position;
    orientation = pt.orientation;
    const Mat4 m = QuatToMatrix(orientation);
    look = Vec3(m.at(0, 0), m.at(1, 0), m.at(2, 0));
    up = Vec3(m.at(0, 2), m.at(1, 2), m.at(2, 2));
}

Camera& SceneCamera() {
    static Camera camera;
    return camera;
}

}  // namespace orv
