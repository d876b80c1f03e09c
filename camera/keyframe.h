// Keyframes of a smooth path: Hermite positions with Catmull-Rom tangents, and quaternion
// Bezier orientations whose inner control points come from the neighbouring keys.
#pragma once

#include "camera/math3d.h"

namespace orv {

struct Keyframe {
    Vec3 position;
    Vec3 gradient;     // tangent of the position curve, per unit of the segment parameter
    Quat orientation;
    Quat inControl;    // Bezier control on the segment that ends here
    Quat outControl;   // Bezier control on the segment that starts here
};

// Sets key's gradient and controls from its neighbours; the neighbours are not changed.
void PrepareKey(const Keyframe& previous, Keyframe& key, const Keyframe& next);

struct PathPoint {
    Vec3 position;
    Quat orientation;  // normalised
};

// The point and orientation at t in 0..1 on the segment from k0 to k1.
PathPoint EvaluateSegment(const Keyframe& k0, const Keyframe& k1, float t);

}  // namespace orv
