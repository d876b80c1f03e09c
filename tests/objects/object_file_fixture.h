// Reading small object description files written by a test, and looking at what came out:
// the warnings recorded and the fields an object describes.
#pragma once

#include <cstdio>
#include <map>
#include <string>

#include "camera/random.h"
#include "objects/describe.h"
#include "resources/diagnostics.h"
#include "scene/object_reader.h"

namespace orv::testing {

// Reads `text` as the object file "objs.txt" into a fresh list, with the generator seeded first
// (loading draws random numbers in a fixed order) and the warnings cleared.
inline ObjectList ReadObjects(const std::string& text, uint32_t seed = 1) {
    ClearDiagnostics();
    SeedRandom(seed);
    ObjectList list;
    SharedObjectFile().OpenBytes("objs.txt", text.data(), text.size());
    ReadOpenObjectFile(list);
    return list;
}

// True when a warning about "objs.txt" contains `fragment` (and is about `line`, when given).
inline bool HasWarning(const std::string& fragment, int line = -1) {
    for (const Diagnostic& d : Diagnostics()) {
        if (d.entry == "objs.txt" && d.message.find(fragment) != std::string::npos &&
            (line < 0 || d.line == line))
            return true;
    }
    return false;
}

// Collects described fields as text: numbers with %g, vectors as "x y z", null as "null".
class FieldMap : public FieldWriter {
public:
    std::map<std::string, std::string> fields;

    void Float(const char* key, double value) override { fields[key] = Number(value); }
    void Int(const char* key, int64_t value) override { fields[key] = std::to_string(value); }
    void Bool(const char* key, bool value) override { fields[key] = value ? "true" : "false"; }
    void Vec(const char* key, const Vec3& v) override {
        fields[key] = Number(v.x) + " " + Number(v.y) + " " + Number(v.z);
    }
    void String(const char* key, const char* value) override {
        fields[key] = value ? value : "null";
    }

private:
    static std::string Number(double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return text;
    }
};

inline std::map<std::string, std::string> Describe(const SceneObject& object) {
    FieldMap map;
    DescribeObject(object, map);
    return map.fields;
}

}  // namespace orv::testing
