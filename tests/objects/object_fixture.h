// Reading small object description files written by a test, and looking at what came out:
// the objects' fields by the names the scene tools print, and the warnings recorded.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "camera/random.h"
#include "objects/describe.h"
#include "resources/diagnostics.h"
#include "scene/object_reader.h"

namespace orv::testing {

// Collects described fields as text: numbers with %g, booleans as "true"/"false", missing
// strings as "null", vectors as "[x, y, z]" or, in the spaced style, "x y z". Keys written
// twice are recorded.
class FieldMap : public FieldWriter {
public:
    enum class VectorStyle { kBracketed, kSpaced };
    explicit FieldMap(VectorStyle style = VectorStyle::kBracketed) : style_(style) {}

    void Float(const char* key, double value) override { Put(key, Number(value)); }
    void Int(const char* key, int64_t value) override { Put(key, std::to_string(value)); }
    void Bool(const char* key, bool value) override { Put(key, value ? "true" : "false"); }
    void Vec(const char* key, const Vec3& v) override {
        Put(key, style_ == VectorStyle::kSpaced
                     ? Number(v.x) + " " + Number(v.y) + " " + Number(v.z)
                     : "[" + Number(v.x) + ", " + Number(v.y) + ", " + Number(v.z) + "]");
    }
    void String(const char* key, const char* value) override { Put(key, value ? value : "null"); }

    // The value written under `key`, or "<missing>".
    std::string operator[](const std::string& key) const {
        const auto it = values.find(key);
        return it == values.end() ? "<missing>" : it->second;
    }

    std::map<std::string, std::string> values;
    std::vector<std::string> duplicates;

private:
    static std::string Number(double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return text;
    }
    void Put(const char* key, const std::string& value) {
        if (!values.emplace(key, value).second) duplicates.push_back(key);
    }
    VectorStyle style_;
};

inline FieldMap Fields(const SceneObject& object) {
    FieldMap map;
    DescribeObject(object, map);
    return map;
}

// The fields with vectors in the spaced style.
inline std::map<std::string, std::string> Describe(const SceneObject& object) {
    FieldMap map(FieldMap::VectorStyle::kSpaced);
    DescribeObject(object, map);
    return map.values;
}

// Reads `text` as the object file "objs.txt" into a fresh list, warnings cleared, drawing random
// numbers from the generator as it stands.
inline ObjectList ReadObjectsUnseeded(const std::string& text) {
    ClearDiagnostics();
    ObjectList list;
    SharedObjectFile().OpenBytes("objs.txt", text.data(), text.size());
    ReadOpenObjectFile(list);
    return list;
}

// The same with the generator seeded first (loading draws random numbers in a fixed order).
inline ObjectList ReadObjects(const std::string& text, uint32_t seed = 1) {
    SeedRandom(seed);
    return ReadObjectsUnseeded(text);
}

// Reads one block of `kind` ("sphere", ...) whose body lines are `body`, with the generator as
// the test left it; the object or null.
inline SceneObject* ReadOne(const char* kind, const std::string& body) {
    const ObjectList list =
        ReadObjectsUnseeded(std::string(kind) + "\nbegin\n" + body + "\nend\nENDWORLD\n");
    return list.size() == 1 ? list[0] : nullptr;
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

inline int CountWarnings(const std::string& fragment) {
    int count = 0;
    for (const Diagnostic& d : Diagnostics()) {
        if (d.message.find(fragment) != std::string::npos) ++count;
    }
    return count;
}

}  // namespace orv::testing
