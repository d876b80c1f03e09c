// Helpers for the object kind tests: read a small object description file and look at the
// objects' fields by the names the scene tools print.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "objects/describe.h"
#include "resources/diagnostics.h"
#include "scene/object_reader.h"

namespace orv {

// Collects an object's description as text: numbers with %g, vectors as "[x, y, z]",
// booleans as "true"/"false", missing strings as "null". Keys written twice are recorded.
class FieldMap : public FieldWriter {
  public:
    void Float(const char* key, double value) override { Put(key, Format("%g", value)); }
    void Int(const char* key, int64_t value) override {
        Put(key, Format("%lld", static_cast<long long>(value)));
    }
    void Bool(const char* key, bool value) override { Put(key, value ? "true" : "false"); }
    void Vec(const char* key, const Vec3& v) override {
        char text[96];
        std::snprintf(text, sizeof text, "[%g, %g, %g]", v.x, v.y, v.z);
        Put(key, text);
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
    static std::string Format(const char* format, double value) {
        char text[48];
        std::snprintf(text, sizeof text, format, value);
        return text;
    }
    static std::string Format(const char* format, long long value) {
        char text[48];
        std::snprintf(text, sizeof text, format, value);
        return text;
    }
    void Put(const char* key, const std::string& value) {
        if (!values.emplace(key, value).second) duplicates.push_back(key);
    }
};

inline FieldMap Fields(const SceneObject& object) {
    FieldMap map;
    DescribeObject(object, map);
    return map;
}

// Reads `text` as the object description file "objs.txt" (warnings cleared first).
inline ObjectList ReadObjects(const std::string& text) {
    ClearDiagnostics();
    ObjectList list;
    SharedObjectFile().OpenBytes("objs.txt", text.data(), text.size());
    ReadOpenObjectFile(list);
    return list;
}

// Reads one block of `kind` ("sphere", ...) whose body lines are `body`; the object or null.
inline SceneObject* ReadOne(const char* kind, const std::string& body) {
    const ObjectList list =
        ReadObjects(std::string(kind) + "\nbegin\n" + body + "\nend\nENDWORLD\n");
    return list.size() == 1 ? list[0] : nullptr;
}

// True when a warning about "objs.txt" contains `fragment` (at `line`, unless it is -1).
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

}  // namespace orv
