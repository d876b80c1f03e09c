#include "camera/keyframe.h"

namespace orv {

void PrepareKey(const Keyframe& p, Keyframe& k, const Keyframe& n) {
    const Vec3 d1 = k.position - p.position;
    const Vec3 d2 = n.position - k.position;
    k.gradient = d1 + 0.5f * (d2 - d1);

    const Quat a = Slerp(k.orientation, p.orientation, -1.0f / 3.0f);  // beyond k, away from p
    const Quat b = Slerp(k.orientation, n.orientation, 1.0f / 3.0f);   // toward n
    const Quat m = Slerp(a, b, 0.5f);
    k.inControl = Slerp(k.orientation, m, -1.0f);
    k.outControl = Slerp(k.orientation, m, 1.0f);
}

PathPoint EvaluateSegment(const Keyframe& k0, const Keyframe& k1, float t) {
    PathPoint pt;
    pt.position = Hermite(k0.position, k1.position, k0.gradient, k1.gradient, t);
    pt.orientation = QuatBezier(k0.orientation, k0.outControl, k1.inControl, k1.orientation, t);
    NormalizeQuat(pt.orientation);
    return pt;
}

}  // namespace orv
