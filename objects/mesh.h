#pragma once

#include "objects/describe.h"
#include "objects/scene_object.h"

namespace orv {

class Mesh : public SceneObject {
public:
    Mesh();
    void Draw(const Camera& camera) override;
    void Update(double seconds) override;
    // Writes the fields of this kind (for the scene tools).
    void Describe(FieldWriter& out) const;
};

}  // namespace orv
