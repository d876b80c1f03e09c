// Reading object description files: a type line ("sphere", "billboard", "flare", "flame",
// "mesh", "ps") hands the reading to that kind's parser, which reads its begin/end block from
// the shared object file; "geometry" lines switch the mesh geometry; "ENDWORLD" ends the file.
#pragma once

#include <cstddef>
#include <memory>

#include "objects/scene_object.h"
#include "resources/memfile.h"
#include "scene/object_list.h"

namespace orv {

// Classifies a line outside a block. Prefixes are tested in the order "sphere", "billboard",
// "flare", "mesh", "flame", "ps", "ENDWORLD", "geometry", "dir"; the first match wins.
ObjectKind ClassifyLine(const char* line);

// Reads one object description file into `target`.
void LoadObjectFile(ObjectList& target, const char* entry);
// The same for content already in SharedObjectFile() (opened by LoadObjectFile, or filled with
// MemFile::OpenBytes by tests and tools); closes it at the end.
void ReadOpenObjectFile(ObjectList& target);

// State shared by the parsers while one file is read; reset at the start of every file.
struct ObjectFileState {
    bool lastTextureTga = false;  // TGA flag of the last textured sphere, for the next sphere
    float flashCounter = 0.0f;    // staggers the start of successive flashing spheres
    float moonFactor = 1.0f;      // successive moons orbit ever slower
};
ObjectFileState& CurrentObjectFileState();

// The one object file that the reader and the type parsers read from.
MemFile& SharedObjectFile();

// The list the current file's objects go to (for "parent" lookups); valid while parsing.
ObjectList& CurrentTargetList();

// ---- Helpers for the type parsers -------------------------------------------------------

// True when `line` begins with `keyword` (case-sensitive, over the keyword's own length, so a
// keyword also matches a longer word that begins with it).
bool StartsWith(const char* line, const char* keyword);

// Reads lines until one begins with "begin"; false (with a warning) if the data ends first.
bool ReadToBegin(char* line);

// Reads the next block line into `line`; false (with a warning naming the entry) when the data
// ends before the block's "end" line. The parsers stop reading and keep what they have.
bool ReadBlockLine(char* line);

// Copies `word` into a fixed field of `size` bytes; a longer word is cut to fit with a warning
// about the current line of the shared object file.
void CopyName(char* field, size_t size, const char* word, const char* what);

// Warns about the current line of the shared object file.
void WarnAtCurrentLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Runs the block protocol every parser shares: skip to "begin", then hand every following line,
// the "end" line included, to `on_line`, and stop after the "end" line or at the end of data
// (a block cut short keeps what it read). `on_begin` sees the begin line first (sphere and mesh
// take their name from it). `on_line` may read further lines into the buffer it is given (the
// flare's lens sub-lines); the block ends when the buffer then holds an "end" line.
// Returns false when the data ended before any "begin" line: there is no object to keep.
template <class OnBegin, class OnLine>
bool ReadObjectBlock(OnBegin on_begin, OnLine on_line) {
    char line[kLineBufferSize];
    if (!ReadToBegin(line)) return false;
    on_begin(static_cast<const char*>(line));
    while (!StartsWith(line, "end")) {
        if (!ReadBlockLine(line)) break;
        on_line(line);
    }
    return true;
}

// Creates an object of kind T and reads its block: `on_begin(object, line)` sees the begin line,
// `on_line(object, line)` every later line. Returns the object, or null when the data held no
// "begin" line (there is nothing to keep).
template <class T, class OnBegin, class OnLine>
std::unique_ptr<T> ReadObject(OnBegin on_begin, OnLine on_line) {
    auto object = std::make_unique<T>();
    T& o = *object;
    if (!ReadObjectBlock([&](const char* line) { on_begin(o, line); },
                         [&](char* line) { on_line(o, line); }))
        return nullptr;
    return object;
}

// A begin line whose text after "begin" is ignored (the kinds without names).
inline void IgnoreBeginLine(SceneObject&, const char*) {}

// Takes the object name from a begin line: "begin NAME" when the line is longer than "begin".
void NameFromBeginLine(const char* line, char* name, size_t size);

}  // namespace orv
