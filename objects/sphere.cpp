#include "objects/sphere.h"

#include "objects/parsers.h"
#include "scene/object_reader.h"

namespace orv {

Sphere::Sphere() : SceneObject(ObjectKind::kSphere) {}

void Sphere::Draw(const Camera&) {}

void Sphere::Update(double) {}

void Sphere::Describe(FieldWriter&) const {}

void ParseSphere(ObjectList& target) {
    auto* object = new Sphere();
    const bool found = ReadObjectBlock([](const char*) {}, [](char*) {});
    if (!found) {
        delete object;
        return;
    }
    AppendObject(target, object);
}

}  // namespace orv
