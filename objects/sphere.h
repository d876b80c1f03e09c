// A spherical or shell-like body drawn from a prepared display list: planets and moons that
// spin about an axis, the sky sphere seen from inside ("env"), atmosphere and scatter shells
// that face the camera, flat rings, satellites placed about a parent body ("sys",
// "uranmoon") and flashing texture layers ("flash").
#pragma once

#include <cstdint>

#include "objects/describe.h"
#include "objects/scene_object.h"

namespace orv {

class Sphere : public SceneObject {
  public:
    // Draws the random start angle of the moon orbit and the two flash texture offsets, in
    // that order.
    Sphere();
    // Draws the display list under the transform and GL state its keywords choose, and leaves
    // the rest GL state. Adds the parent's position to a satellite's (stored); an "env" sphere
    // takes the eye position.
    void Draw(const Camera& camera) override;
    // Spin, moon orbit, fixed placement, satellite placement and the flash timer, in that
    // order. Placements that follow the parent are skipped while there is no parent.
    void Update(double seconds) override;
    // Writes the fields of this kind (for the scene tools).
    void Describe(FieldWriter& out) const;

    Vec3 rotationAxis{0.0f, 1.0f, 0.0f};
    uint32_t displayList = 0;  // set by the parser at creation (plain sphere geometry)
    float spin = 0.0f;         // degrees
    float spinSpeed = 0.2f;    // degrees per second
    float radius = 5.0f;
    float alpha = 1.0f;
    float fov = 1.0f;
    float tiling = 1.0f;
    float detiling = 0.0f;      // degrees
    float flashPhase = 1.0f;    // seconds
    float flashPeriod = 1.0f;   // seconds
    float flashOffsetS = 0.0f;  // drawn at creation
    float flashOffsetT = 0.0f;  // drawn at creation
    float flashTurn = 0.0f;     // degrees; drawn at every switch-on of the flash
    Vec3 orientAxis{1.0f, 0.0f, 0.0f};
    float orientAngle = 90.0f;  // degrees
    float period = 365.0f;      // read and kept; nothing uses it
    bool env = false;
    bool unlit = false;
    bool atmosphere = false;
    bool wire = false;
    bool anchored = true;
    bool noDepthWrite = false;
    bool mask = false;
    bool flash = false;
    bool flashOn = false;
    bool randomFlash = false;
    bool satellite = false;
    bool tiltedSatellite = false;
    bool fixedOrbit = false;
    bool specular = false;
    bool ring = false;

  private:
    void SetSpecularMaterial() const;
    void FaceCamera(const Camera& camera);
    void ApplyFlash();
    void DrawWire() const;
    void PlaceSatellite();
    void AdvanceFlash(double seconds);
};

}  // namespace orv
