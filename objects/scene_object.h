// The common base of everything drawn in the 3D scene. Objects are created by the object
// description reader, appended to exactly one object list and live until the process ends;
// each frame they receive Update with the elapsed time and Draw with the camera.
#pragma once

#include <cstdint>
#include <string>

#include "camera/camera.h"
#include "camera/math3d.h"

namespace orv {

enum class ObjectKind : uint8_t {
    kNone = 0,
    kSphere = 1,
    kBillboard = 2,
    kFlare = 3,
    kFlame = 4,
    kMesh = 5,
    kParticleSystem = 6,
    kGeometry = 7,
    kDir = 8,
    kEndWorld = 255,
};

// Object names hold at most 14 characters.
constexpr size_t kObjectNameSize = 15;

class SceneObject {
public:
    explicit SceneObject(ObjectKind kind) : kind_(kind) {}
    virtual ~SceneObject() = default;
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // Renders the object for the camera. Expects the rest GL state and leaves it so, apart from
    // the exceptions a kind documents.
    virtual void Draw(const Camera& camera) = 0;
    // Advances the object's own animation by `seconds` (not scaled by the Speed setting).
    virtual void Update(double seconds) = 0;

    ObjectKind kind() const { return kind_; }

    // Multiplies the modelview matrix by a translation to `position`.
    void TranslateToPosition() const;
    // Resolves a "texture" path in the texture library: the TGA flag follows the path's last
    // three letters ("tga" only, lower case) whether or not the texture is found; the id changes
    // only when it is found. The path is remembered for tools.
    void SetTexture(const char* path);

    SceneObject* parent = nullptr;
    Vec3 position{0.0f, 0.0f, 0.0f};
    Vec3 look{0.0f, 0.0f, 1.0f};
    Vec3 right{1.0f, 0.0f, 0.0f};
    Vec3 basePosition{0.0f, 0.0f, 0.0f};
    Vec3 color{1.0f, 1.0f, 1.0f};
    float spinAngle = 0.0f;
    uint32_t textureId = 0;
    char name[kObjectNameSize] = {};
    bool textured = false;
    bool shown = true;
    bool tgaTexture = false;
    bool moon = false;
    float moonAngle = 0.0f;
    float moonSpeed = 0.5f;

    // The last path given to SetTexture ("" if none), for the scene tools.
    std::string texturePath;

private:
    ObjectKind kind_;
};

// True when the path ends in exactly "tga".
bool EndsInTga(const char* path);

}  // namespace orv
