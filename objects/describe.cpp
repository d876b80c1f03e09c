#include "objects/describe.h"

#include "objects/billboard.h"
#include "objects/flame.h"
#include "objects/flare.h"
#include "objects/mesh.h"
#include "objects/particle_system.h"
#include "objects/sphere.h"

namespace orv {

void FieldWriter::Reference(const char* key, const SceneObject* object) {
    String(key, object ? object->name : nullptr);
}

const char* KindName(const SceneObject& object) {
    switch (object.kind()) {
        case ObjectKind::kSphere: return "sphere";
        case ObjectKind::kBillboard: return "billboard";
        case ObjectKind::kFlare: return "flare";
        case ObjectKind::kFlame: return "flame";
        case ObjectKind::kMesh: return "mesh";
        case ObjectKind::kParticleSystem: return "ps";
        default: return "unknown";
    }
}

void DescribeObject(const SceneObject& object, FieldWriter& out) {
    out.String("kind", KindName(object));
    out.String("name", object.name);
    out.String("texture", object.texturePath.empty() ? nullptr : object.texturePath.c_str());
    switch (object.kind()) {
        case ObjectKind::kSphere: static_cast<const Sphere&>(object).Describe(out); break;
        case ObjectKind::kBillboard: static_cast<const Billboard&>(object).Describe(out); break;
        case ObjectKind::kFlare: static_cast<const Flare&>(object).Describe(out); break;
        case ObjectKind::kFlame: static_cast<const Flame&>(object).Describe(out); break;
        case ObjectKind::kMesh: static_cast<const Mesh&>(object).Describe(out); break;
        case ObjectKind::kParticleSystem:
            static_cast<const ParticleSystem&>(object).Describe(out);
            break;
        default: break;
    }
}

}  // namespace orv
