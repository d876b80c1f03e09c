#include "scene/object_reader.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "objects/parsers.h"
#include "resources/diagnostics.h"
#include "resources/progress.h"
#include "scene/resource_links.h"

namespace orv {
namespace {

ObjectList* g_target = nullptr;

using TypeParser = void (*)(ObjectList&);

TypeParser ParserFor(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::kSphere: return ParseSphere;
        case ObjectKind::kBillboard: return ParseBillboard;
        case ObjectKind::kFlare: return ParseFlare;
        case ObjectKind::kFlame: return ParseFlame;
        case ObjectKind::kMesh: return ParseMesh;
        case ObjectKind::kParticleSystem: return ParseParticleSystem;
        default: return nullptr;
    }
}

// Mesh entry names in "geometry" lines hold at most 31 characters.
constexpr size_t kGeometryNameSize = 32;

// A file that never says "ENDWORLD" would otherwise be read past its end forever.
bool AtEndOfData(bool line_ended, const char* line) { return !line_ended && line[0] == '\0'; }

std::vector<std::unique_ptr<SceneObject>>& ObjectStore() {
    static std::vector<std::unique_ptr<SceneObject>> store;
    return store;
}

}  // namespace

void AppendObject(ObjectList& list, SceneObject* object) {
    ObjectStore().emplace_back(object);
    list.push_back(object);
}

void ReleaseSceneObjects() { ObjectStore().clear(); }

SceneObject* FindObject(const ObjectList& list, const char* name) {
    for (SceneObject* object : list) {
        if (std::strcmp(object->name, name) == 0) return object;
    }
    return nullptr;
}

bool StartsWith(const char* line, const char* keyword) {
    return std::strncmp(line, keyword, std::strlen(keyword)) == 0;
}

ObjectKind ClassifyLine(const char* line) {
    static const struct {
        const char* prefix;
        ObjectKind kind;
    } table[] = {
        {"sphere", ObjectKind::kSphere},     {"billboard", ObjectKind::kBillboard},
        {"flare", ObjectKind::kFlare},       {"mesh", ObjectKind::kMesh},
        {"flame", ObjectKind::kFlame},       {"ps", ObjectKind::kParticleSystem},
        {"ENDWORLD", ObjectKind::kEndWorld}, {"geometry", ObjectKind::kGeometry},
        {"dir", ObjectKind::kDir},
    };
    for (const auto& entry : table) {
        if (StartsWith(line, entry.prefix)) return entry.kind;
    }
    return ObjectKind::kNone;
}

ObjectFileState& CurrentObjectFileState() {
    static ObjectFileState state;
    return state;
}

MemFile& SharedObjectFile() {
    static MemFile file;
    return file;
}

ObjectList& CurrentTargetList() {
    static ObjectList none;
    return g_target ? *g_target : none;
}

void WarnAtCurrentLine(const char* format, ...) {
    char text[400];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    const MemFile& file = SharedObjectFile();
    Warn(file.name(), file.line_number(), "%s", text);
}

bool ReadToBegin(char* line) {
    MemFile& file = SharedObjectFile();
    for (;;) {
        const bool ended = file.ReadLine(line);
        if (StartsWith(line, "begin")) return true;
        if (AtEndOfData(ended, line)) {
            WarnAtCurrentLine("data ends before the object's \"begin\" line; object dropped");
            return false;
        }
    }
}

bool ReadBlockLine(char* line) {
    const bool ended = SharedObjectFile().ReadLine(line);
    if (AtEndOfData(ended, line)) {
        WarnAtCurrentLine("data ends before the block's \"end\" line; keeping what was read");
        return false;
    }
    return true;
}

void CopyName(char* field, size_t size, const char* word, const char* what) {
    const size_t n = std::strlen(word);
    if (n >= size) {
        WarnAtCurrentLine("%s \"%s\" is longer than %zu characters; cut to fit", what, word,
                          size - 1);
    }
    std::snprintf(field, size, "%s", word);
}

void NameFromBeginLine(const char* line, char* name, size_t size) {
    if (std::strlen(line) <= 5) return;
    char word[kLineBufferSize];
    if (std::sscanf(line, "begin %127s", word) == 1) CopyName(name, size, word, "object name");
}

void LoadObjectFile(ObjectList& target, const char* entry) {
    MemFile& file = SharedObjectFile();
    file.Close();
    if (!file.Open(entry)) {
        Warn(entry, 0, "object description file is missing or unreadable");
    }
    ReadOpenObjectFile(target);
}

void ReadOpenObjectFile(ObjectList& target) {
    CurrentObjectFileState() = ObjectFileState{};
    MemFile& file = SharedObjectFile();
    g_target = &target;
    char line[kLineBufferSize];
    for (;;) {
        const bool ended = file.ReadLine(line);
        const ObjectKind kind = ClassifyLine(line);
        if (kind == ObjectKind::kEndWorld) break;
        if (TypeParser parse = ParserFor(kind)) {
            parse(target);
            ReportLoadProgress();
        } else if (kind == ObjectKind::kGeometry) {
            char word[kLineBufferSize];
            if (std::sscanf(line, "geometry %127s", word) == 1) {
                char name[kGeometryNameSize];
                CopyName(name, sizeof name, word, "geometry name");
                LoadCurrentGeometry(name);
            } else {
                WarnAtCurrentLine("\"geometry\" line names no mesh entry");
            }
            ReportLoadProgress();
        }
        if (file.AtEnd() || AtEndOfData(ended, line)) {
            if (file.size() > 0) Warn(file.name(), 0, "data ends before \"ENDWORLD\"");
            break;
        }
    }
    g_target = nullptr;
    file.Close();
}

}  // namespace orv
