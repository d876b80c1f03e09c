// Places one loaded model (the display list of the last "geometry" line) in the scene, with a
// position, an orientation frame, an extra rotation about an axis, a uniform scale, a texture
// and a few material switches. A mesh does not move by itself.
#pragma once

#include <cstdint>

#include "objects/describe.h"
#include "objects/scene_object.h"

namespace orv {

class Mesh : public SceneObject {
public:
    Mesh();
    void Draw(const Camera& camera) override;
    // A mesh does not animate.
    void Update(double seconds) override;
    // Writes the fields of this kind (for the scene tools).
    void Describe(FieldWriter& out) const;

    // Base fields in use: position, look, right (the orientation frame), color (its red
    // component is the alpha under "blend"), name, textureId, textured, shown.
    uint32_t displayList = 0;  // the model; owned by the geometry it was copied from
    float orientAngle = 0.0f;  // degrees, about orientAxis, after the frame
    float scale = 1.0f;
    bool metal = false;  // specular highlight and light 0 while drawing
    bool light = false;  // additive texture environment
    bool illum = false;  // drawn without lighting
    bool blend = false;  // alpha-blended, alpha from color's first component
    Vec3 orientAxis{0.0f, 1.0f, 0.0f};  // in the object's frame
};

}  // namespace orv
