#include "objects/arg_scan.h"

#include <cmath>
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
        WarnUnscanned(format);
        return false;
    }
    return true;
}

bool ScanParent(const char* line, const ObjectList& list, SceneObject*& found) {
    char word[kLineBufferSize];
    if (!ScanWord(line, "parent %127s", word)) return false;
    char name[kObjectNameSize];
    CopyName(name, sizeof name, word, "parent name");
    found = FindObject(list, name);
    if (!found) WarnAtCurrentLine("no earlier object is named \"%s\"; no parent", name);
    return true;
}

}  // namespace orv
