#include "objects/flare.h"

#include "objects/parsers.h"
#include "scene/object_reader.h"

namespace orv {

Flare::Flare() : SceneObject(ObjectKind::kFlare) {}

void Flare::Draw(const Camera&) {}

void Flare::Update(double) {}

void Flare::Describe(FieldWriter&) const {}

void ParseFlare(ObjectList& target) {
    auto* object = new Flare();
    const bool found = ReadObjectBlock([](const char*) {}, [](char*) {});
    if (!found) {
        delete object;
        return;
    }
    AppendObject(target, object);
}

}  // namespace orv
