#include "objects/mesh.h"

#include "objects/parsers.h"
#include "scene/object_reader.h"

namespace orv {

Mesh::Mesh() : SceneObject(ObjectKind::kMesh) {}

void Mesh::Draw(const Camera&) {}

void Mesh::Update(double) {}

void Mesh::Describe(FieldWriter&) const {}

void ParseMesh(ObjectList& target) {
    auto* object = new Mesh();
    const bool found = ReadObjectBlock([](const char*) {}, [](char*) {});
    if (!found) {
        delete object;
        return;
    }
    AppendObject(target, object);
}

}  // namespace orv
