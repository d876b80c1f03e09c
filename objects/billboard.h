// A textured quad in the scene: it faces the camera unless told otherwise, spins in its own
// plane, can hang at a fixed offset from the eye ("env"), ride on another object ("parent"),
// lie on a sphere's silhouette as a halo ("oreol"), point its up axis away from the origin
// through its parent ("sys") and blink on a timed cycle ("flash").
#pragma once

#include "objects/describe.h"
#include "objects/scene_object.h"

namespace orv {

class Billboard : public SceneObject {
  public:
    // Draws the random spin speed.
    Billboard();
    // Draws the quad (unless the object it rides on is not shown, or the flash cycle is dark)
    // and leaves the rest GL state. Stores the placement and axes it computes: `position` for
    // "env", "parent" and "oreol", `quadRight`/`quadUp` unless "orient off", and for "oreol"
    // and "sys".
    void Draw(const Camera& camera) override;
    // Spin (wrapped into 0..360) and the flash cycle.
    void Update(double seconds) override;
    // Writes the fields of this kind (for the scene tools).
    void Describe(FieldWriter& out) const;

    // True when the flash cycle is in its dark part (the quad is then not drawn).
    bool FlashDark() const { return flash && flashTime < flashDark; }

    float size = 5.0f;  // half-height of the quad
    float alpha = 1.0f;
    float tiling = 1.0f;
    float spinSpeed = 0.0f;  // degrees per second; drawn at creation, -60 to 60
    float fov = 0.1f;
    float aspect = 1.0f;  // width / height
    float haloRadius = 1.0f;
    Vec3 quadUp{0.0f, 1.0f, 0.0f};
    Vec3 quadRight{1.0f, 0.0f, 0.0f};
    Vec3 anchor{0.0f, 0.0f, 0.0f};
    Vec3 tint{1.0f, 1.0f, 1.0f};
    bool env = false;
    bool orientOff = false;
    bool flash = false;
    bool blend = false;
    bool noDepthTest = false;
    bool halo = false;
    bool system = false;
    float flashTime = 0.0f;  // seconds into the flash cycle
    float flashLit = 0.0f;   // seconds
    float flashDark = 0.0f;  // seconds
    // The object the billboard rides on (not owned); none when no "parent" line found one.
    SceneObject* attachedTo = nullptr;

  private:
    void TakeAxesFromView();
    void PlaceOnHalo(const Camera& camera, float* half);
    void PointAwayFromOrigin();
};

}  // namespace orv
