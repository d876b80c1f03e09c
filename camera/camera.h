// The camera director: flies the single viewpoint along an endless random path around the
// world origin. Every key lies 40000 to 65000 units from the origin (the first 90000), 40
// degrees further round than the one before, and looks straight at the origin; between keys
// the flight follows the keyframe curves, so it is smooth in place and direction.
#pragma once

#include "camera/keyframe.h"
#include "camera/math3d.h"

namespace orv {

// The orientation of a camera at p looking at the origin, with its up taken from -y.
Quat AimAtOrigin(const Vec3& p);

class Camera {
public:
    // Read by the scene objects while drawing.
    Vec3 position{0.0f, 0.0f, 0.0f};
    Vec3 eye{0.0f, 0.0f, 0.0f};
    Vec3 look{0.0f, 0.0f, -1.0f};
    Vec3 up{0.0f, 1.0f, 0.0f};

    // Director state: the segment flown is keys[0] -> keys[1]; keys[2] is known in advance.
    Quat orientation;
    float segmentTime = 0.0f;
    Keyframe keys[3];

    // Builds the first three keys (random draws in a fixed order).
    void Start();
    // Moves along the path by d: the frame time in seconds times the speed factor.
    // One segment takes 10 units of d.
    void Advance(double d);
    // Multiplies the current modelview matrix by the viewing transform. Needs a GL context.
    void ApplyView() const;

private:
    void ShiftKeys();
};

// The process's one camera.
Camera& SceneCamera();

}  // namespace orv

namespace orv {

// How much faster than real time the camera flies for a Speed setting (0 to 100, larger values
// used as they are): Speed / 50 + 0.5, so 0 gives 0.5, 50 gives 1.5 and 100 gives 2.5.
inline float SpeedFactorFor(unsigned speed) { return static_cast<float>(speed / 50.0 + 0.5); }

}  // namespace orv
