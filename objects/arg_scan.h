// Scanning the arguments of keyword lines in object blocks. Every helper stores into the field
// only when all the values it needs were read and are finite numbers; otherwise the field keeps
// its value and a warning names the entry and line of the shared object file.
#pragma once

#include "camera/math3d.h"
#include "scene/object_list.h"

namespace orv {

// One number with a "keyword %f" format.
bool ScanFloat(const char* line, const char* format, float& value);

// A vector with a "keyword V(%f %f %f)" format; all three components must scan.
bool ScanVector(const char* line, const char* format, Vec3& value);

// One word with a format ending in "%127s"; `word` has kLineBufferSize bytes.
bool ScanWord(const char* line, const char* format, char* word);

// Resolves a "parent %127s" line against the objects already in `list`: the name is cut to the
// size of an object name (with a warning when longer, so it matches an object whose own long
// name was cut the same way). Returns false, with a warning, when the line names nothing;
// otherwise `found` is the object, or null with a warning when no earlier object has the name.
bool ScanParent(const char* line, const ObjectList& list, SceneObject*& found);

// Scans `format` from `line` into the given pointers and returns how many values were read
// (never negative), for lines with several values of different kinds. Warns when fewer than
// `expected` were read; callers store only what was read.
int ScanKeyword(const char* line, const char* keyword, int expected, const char* format, ...)
    __attribute__((format(scanf, 4, 5)));

// The object named `word` among the objects already in `list`. The word is cut to the size of an
// object name first (as object names are), with a warning; a name that no earlier object carries
// gives a warning and null.
SceneObject* FindParent(const ObjectList& list, const char* word);

// Stores Normalize(v) in `axis` unless v has no direction (zero or not finite); then warns and
// keeps the previous axis.
void StoreNormalized(Vec3& axis, const Vec3& v, const char* keyword);

// Warns that the arguments of the line's keyword did not scan; `format` starts with the keyword.
void WarnUnscanned(const char* format);

// True when every value is a finite number.
bool AllFinite(const float* values, int count);

}  // namespace orv
