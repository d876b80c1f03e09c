// A glowing ring: an elliptical ring line in one colour with four soft bands (up, down, in and
// out) fading into a second colour and to full transparency. Untextured, unlit, drawn in world
// coordinates, and it never changes after loading.
#pragma once

#include "objects/describe.h"
#include "objects/scene_object.h"

namespace orv {

class Flame : public SceneObject {
public:
    Flame();
    void Draw(const Camera& camera) override;
    // A flame does not animate.
    void Update(double seconds) override;
    // Writes the fields of this kind (for the scene tools).
    void Describe(FieldWriter& out) const;

    // The "parent" of a flame lives in the base `parent` field; it is kept for the tools and is
    // not used by drawing.
    Vec3 centre{0.0f, 0.0f, 0.0f};
    Vec3 innerColour{1.0f, 1.0f, 0.0f};  // the ring line and the bands' start, opaque
    Vec3 outerColour{0.0f, 0.0f, 1.0f};  // the bands' far edge, fully transparent
    float bandWidth = 0.2f;              // how far each band reaches from the ring
    float radius = 0.8f;                 // ring radius along z
    float slope = 0.0f;                  // each vertex is raised by slope * its x
    float ellipticity = 1.0f;            // ring radius along x = radius * ellipticity

private:
    Vec3 RingPoint(int i, float radial, float lift) const;
};

}  // namespace orv
