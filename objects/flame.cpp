#include "objects/flame.h"

#include "objects/parsers.h"
#include "scene/object_reader.h"

namespace orv {

Flame::Flame() : SceneObject(ObjectKind::kFlame) {}

void Flame::Draw(const Camera&) {}

void Flame::Update(double) {}

void Flame::Describe(FieldWriter&) const {}

void ParseFlame(ObjectList& target) {
    auto* object = new Flame();
    const bool found = ReadObjectBlock([](const char*) {}, [](char*) {});
    if (!found) {
        delete object;
        return;
    }
    AppendObject(target, object);
}

}  // namespace orv
