// A glare sprite tied to a point in the scene (a sun, a bright light). Each frame the point is
// projected to window pixels and the depth buffer is read back there: the flare is hidden only
// by what was drawn before it. It fades in while visible and out while hidden rather than
// popping, can twinkle at random, can dim unless the camera looks toward it ("focus") and can
// add a lens effect: two glows and a string of elements through the screen centre.
#pragma once

#include <cstdint>
#include <string>

#include "objects/describe.h"
#include "objects/scene_object.h"

namespace orv {

class Flare : public SceneObject {
  public:
    static constexpr int kLensSlots = 3;

    Flare();
    // Tests whether the flare's point is covered (writes `visible`; places env and parented
    // flares, storing `position`) and, while the fade level is above 0, draws the sprite and
    // the lens effect in window pixels. Leaves the rest GL state with the blend function
    // (source alpha, one).
    void Draw(const Camera& camera) override;
    // Fade toward the visibility found by the last Draw, rotation, and the twinkle cycle.
    void Update(double seconds) override;
    // Writes the fields of this kind (for the scene tools).
    void Describe(FieldWriter& out) const;

    // Resolves one lens texture (slot index 0 to 2): a path ending in "tga" sets the TGA flag
    // (never clears it); the slot takes the texture's id only when the library lists it.
    void SetTextureAt(const char* path, int index);

    float fadeLevel = 0.0f;    // 0..1, may stand slightly above 1 while twinkling
    float spriteSize = 10.0f;  // pixels, half-height of the sprite
    float lensSize = 5.0f;     // pixels, base half-size of the lens elements
    float fadeInRate = 6.0f;   // per second
    float fadeOutRate = 6.0f;  // per second
    float envFov = 0.1f;
    float rotationAngle = 0.0f;   // degrees, kept in 0..360
    float rotationSpeed = 24.0f;  // degrees per second
    float aspect = 1.0f;
    float twinkleTimer = 0.0f;  // runs at 6 units per second
    float dimEnd = 0.0f;
    float cycleEnd = 0.0f;
    float flashAmount = 0.0f;  // seconds, scale of the random twinkle phases
    float focusThreshold = 0.0f;
    float lumin = 1.0f;
    // The object the flare rides on (not owned); none when no "parent" line found one.
    SceneObject* parentObject = nullptr;
    bool visible = false;  // written by Draw, read by the next Update
    bool lensEffectOn = false;
    bool envOn = false;
    bool focusOn = false;
    bool oriented = false;
    Vec3 anchor{0.0f, 0.0f, 0.0f};
    Vec3 orientVector{0.0f, 0.0f, 0.0f};            // pixel coordinates
    uint32_t lensTextures[kLensSlots] = {0, 0, 0};  // slots 1, 2, 3; 0 binds nothing
    std::string lensTexturePaths[kLensSlots];       // for the scene tools

  private:
    bool TestVisibility(const Camera& camera, Vec3* window) const;
    void DrawSprite(const Camera& camera, const Vec3& window) const;
    float FocusFactor(const Camera& camera) const;
    void DrawLensEffect(const Vec3& window) const;
    static Vec3 ScreenCentre();
};

}  // namespace orv
