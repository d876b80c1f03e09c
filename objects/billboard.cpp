#include "objects/billboard.h"

#include "objects/parsers.h"
#include "scene/object_reader.h"

namespace orv {

Billboard::Billboard() : SceneObject(ObjectKind::kBillboard) {}

void Billboard::Draw(const Camera&) {}

void Billboard::Update(double) {}

void Billboard::Describe(FieldWriter&) const {}

void ParseBillboard(ObjectList& target) {
    auto* object = new Billboard();
    const bool found = ReadObjectBlock([](const char*) {}, [](char*) {});
    if (!found) {
        delete object;
        return;
    }
    AppendObject(target, object);
}

}  // namespace orv
