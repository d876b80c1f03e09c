// Describing an object's fields by name, for the scene tools (JSON dumps) and tests. Keys are
// the field names in camelCase; vectors are written as [x, y, z].
#pragma once

#include <cstdint>

#include "camera/math3d.h"

namespace orv {

class SceneObject;

class FieldWriter {
public:
    virtual ~FieldWriter() = default;
    virtual void Float(const char* key, double value) = 0;
    virtual void Int(const char* key, int64_t value) = 0;
    virtual void Bool(const char* key, bool value) = 0;
    virtual void Vec(const char* key, const Vec3& value) = 0;
    // A null value is written as null.
    virtual void String(const char* key, const char* value) = 0;
    // A reference to another object: its name, or null when there is none.
    void Reference(const char* key, const SceneObject* object);
};

// "sphere", "billboard", "flare", "flame", "mesh" or "ps".
const char* KindName(const SceneObject& object);

// Writes "kind", "name", "texture" (path or null) and then every field of the object's kind.
void DescribeObject(const SceneObject& object, FieldWriter& out);

}  // namespace orv
