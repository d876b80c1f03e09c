// Small helpers the type parsers share for scanning keyword lines. Object files are untrusted:
// a line whose values do not scan keeps the fields' previous values and gives a warning naming
// the entry and line, and a word longer than its field is cut with a warning.
#pragma once

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "camera/math3d.h"
#include "objects/scene_object.h"
#include "scene/object_list.h"
#include "scene/object_reader.h"

namespace orv {

// Scans `format` from `line` into the given pointers and returns the number of values read
// (never negative). Warns when fewer than `expected` were read; the caller stores only what
// was read, so the missing values keep the fields' previous contents.
inline int ScanKeyword(const char* line, const char* keyword, int expected, const char* format, ...)
    __attribute__((format(scanf, 4, 5)));

inline int ScanKeyword(const char* line, const char* keyword, int expected, const char* format,
                       ...) {
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

// Scans one word after `keyword` (as "keyword %s") into `word` (kLineBufferSize bytes).
// False, with a warning, when the line has no word.
inline bool ScanWord(const char* line, const char* keyword, char* word) {
    char format[32];
    std::snprintf(format, sizeof format, "%.16s %%127s", keyword);
    if (std::sscanf(line, format, word) == 1) return true;
    WarnAtCurrentLine("\"%s\" line names nothing; ignored", keyword);
    return false;
}

// Looks up the object named by a "parent" word among the objects already in `list`. The word
// is cut to the size of a name first (as object names are), with a warning; a name that no
// earlier object carries gives a warning and no parent.
inline SceneObject* FindParent(const ObjectList& list, const char* word) {
    char name[kObjectNameSize];
    CopyName(name, sizeof name, word, "parent name");
    SceneObject* found = FindObject(list, name);
    if (!found) {
        WarnAtCurrentLine("parent \"%s\" is not an earlier object of this list; none attached",
                          name);
    }
    return found;
}

// Stores Normalize(v) in `axis` unless v has no direction (zero or not finite); then warns
// and keeps the previous axis.
inline void StoreNormalized(Vec3& axis, const Vec3& v, const char* keyword) {
    const float length = Length(v);
    if (length > 0.0f && std::isfinite(length)) {
        axis = v / length;
    } else {
        WarnAtCurrentLine("\"%s\" vector has no direction; kept the previous one", keyword);
    }
}

}  // namespace orv
