// A fixed number of textured sprites with simple physics, drawn additively. One behaviour per
// system, chosen by a keyword:
//   "line"  a jet: particles leave the origin along -z, bend sideways, grow and fade, restart;
//   "circ"  bursts: every 2 to 3 seconds a burst on a sphere around the centre point;
//   "flash" lightning: a zig-zag chain of sprites on a sphere of radius 16100, with a bright
//           spot running along it tick by tick.
// The particle arrays are allocated once, when the count is read ("dens"); Update never
// allocates.
#pragma once

#include <vector>

#include "objects/describe.h"
#include "objects/scene_object.h"

namespace orv {

// The values are those of the scene format's mode numbers.
enum class ParticleMode : int {
    kNone = 0,   // no mode keyword: the system stays still and draws nothing
    kFlash = 2,  // "flash"
    kLine = 3,   // "line"
    kCirc = 4,   // "circ"
};

// "dens" counts above this are cut to it (with a warning): no real scene comes near it, and it
// bounds what a damaged file can make the loader allocate.
constexpr int kMaxParticles = 100000;

class ParticleSystem : public SceneObject {
public:
    ParticleSystem();
    void Draw(const Camera& camera) override;
    void Update(double seconds) override;
    // Writes the fields of this kind (for the scene tools): the summary and the first particle.
    void Describe(FieldWriter& out) const;

    // The camera's right and up directions in world space and the view axis right x up, taken
    // from the modelview matrix when drawing starts.
    struct ViewBasis {
        Vec3 right, up, axis;
    };

    // Makes `count` particles (0 when count is 0 or less) with their start values, and resets
    // the interval and the timer. Draws seven random numbers per particle.
    void CreateParticles(int count);

    // Base fields in use: position (the particles' origin, moved by bursts and flashes), right
    // (set by "rot" and by each new flash), textureId, textured.
    // One entry per particle; positions are relative to the system's position.
    std::vector<Vec3> positions;
    std::vector<Vec3> velocities;     // units per second
    std::vector<Vec3> accelerations;  // units per second squared
    std::vector<float> ages;          // seconds since the particle started (line)
    std::vector<float> lifetimes;     // seconds a particle lives (line)
    float size = 2.0f;                // burst radius (circ); the flash drawing overwrites it
    float spin = 0.0f;                // turns the flash sprites; random at creation
    int particleCount = 0;
    ParticleMode mode = ParticleMode::kNone;
    float interval = 0.0f;  // burst period (circ) or tick period (flash), seconds
    float timer = 0.0f;     // seconds since the last burst or tick
    int tickCount = 0;      // flash: runs from -N up to 2N, then a new flash starts
    Vec3 centrePoint{0.0f, 0.0f, 0.0f};  // centre of the burst and flash spheres
    Vec3 secondPoint{0.0f, 0.0f, 0.0f};  // read and kept; not used

private:
    void BeginCameraSprites();
    void DrawJet(const ViewBasis& view);
    void DrawBurst(const ViewBasis& view);
    void DrawFlash();
    void MoveParticles(float dt);
    void RestartExpiredParticles(double seconds);
    void StartBurst();
    void Tick(double seconds);
    void StartFlash();
};

}  // namespace orv
