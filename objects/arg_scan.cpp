#include "objects/arg_scan.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "scene/object_reader.h"

namespace orv {

bool AllFinite(const float* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(values[i])) return false;
    }
    return true;
}

void WarnUnscanned(const char* format) {
    const size_t keyword_length = std::strcspn(format, " ");
    WarnAtCurrentLine("\"%.*s\" line: its arguments do not read; line ignored",
                      static_cast<int>(keyword_length), format);
}

bool ScanFloat(const char* line, const char* format, float& value) {
    float read = value;
    if (std::sscanf(line, format, &read) != 1 || !AllFinite(&read, 1)) {
        WarnUnscanned(format);
        return false;
    }
    value = read;
    return true;
}

bool ScanVector(const char* line, const char* format, Vec3& value) {
    float read[3] = {value.x, value.y, value.z};
    if (std::sscanf(line, format, &read[0], &read[1], &read[2]) != 3 || !AllFinite(read, 3)) {
        WarnUnscanned(format);
        return false;
    }
    value = Vec3(read[0], read[1], read[2]);
    return true;
}

bool ScanWord(const char* line, const char* format, char* word) {
    if (std::sscanf(line, format, word) != 1) {
        const size_t keyword_length = std::strcspn(format, " ");
        WarnAtCurrentLine("\"%.*s\" line names nothing; ignored",
                          static_cast<int>(keyword_length), format);
        return false;
    }
    return true;
}

int ScanKeyword(const char* line, const char* keyword, int expected, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int read = std::vsscanf(line, format, args);
    va_end(args);
    if (read < 0) read = 0;
    if (read < expected) {
        WarnAtCurrentLine("\"%s\" line: %d of %d values read; the rest keep their values", keyword,
                          read, expected);
    }
    return read;
}

SceneObject* FindParent(const ObjectList& list, const char* word) {
    char name[kObjectNameSize];
    CopyName(name, sizeof name, word, "parent name");
    SceneObject* found = FindObject(list, name);
    if (!found) {
        WarnAtCurrentLine("parent \"%s\" is not an earlier object of this list; none attached",
                          name);
    }
    return found;
}

void StoreNormalized(Vec3& axis, const Vec3& v, const char* keyword) {
    const float length = Length(v);
    if (length > 0.0f && std::isfinite(length)) {
        axis = v / length;
    } else {
        WarnAtCurrentLine("\"%s\" vector has no direction; kept the previous one", keyword);
    }
}

bool ScanParent(const char* line, const ObjectList& list, SceneObject*& found) {
    char word[kLineBufferSize];
    if (!ScanWord(line, "parent %127s", word)) return false;
    found = FindParent(list, word);
    return true;
}

}  // namespace orv
