#include "scene/world.h"

#include <cstdio>
#include <cstring>

#include "resources/diagnostics.h"
#include "resources/memfile.h"
#include "scene/object_reader.h"

namespace orv {
namespace {

const ObjectList& EmptyList() {
    static const ObjectList empty;
    return empty;
}

// Scans "KEYWORD %s" into a fixed field; warns when the word is missing or too long.
void ScanWord(const MemFile& file, const char* line, const char* format, char* field,
              size_t size, const char* what) {
    char word[kLineBufferSize];
    if (std::sscanf(line, format, word) != 1) {
        Warn(file.name(), file.line_number(), "%s line has no name", what);
        return;
    }
    if (std::strlen(word) >= size) {
        Warn(file.name(), file.line_number(), "%s \"%s\" is longer than %zu characters; cut to fit",
             what, word, size - 1);
    }
    std::snprintf(field, size, "%s", word);
}

// Scans the entry named on a "firstpass", "postpass" or "objects" line.
bool ScanEntry(const MemFile& file, const char* line, const char* format, char* entry) {
    if (std::sscanf(line, format, entry) == 1) return true;
    Warn(file.name(), file.line_number(), "line names no object description file");
    return false;
}

// Reads a line; false (with a warning) once the data has run out.
bool NextLine(MemFile& file, char* line, const char* expected) {
    const bool ended = file.ReadLine(line);
    if (!ended && line[0] == '\0') {
        if (file.size() > 0)
            Warn(file.name(), file.line_number(), "data ends before %s", expected);
        return false;
    }
    return true;
}

}  // namespace

World::World() : firstPass(&EmptyList()), postPass(&EmptyList()) {}

EnvironmentList& SceneEnvironments() {
    static EnvironmentList list;
    return list;
}

WorldList& SceneWorlds() {
    static WorldList list;
    return list;
}

void LoadEnvironments(EnvironmentList& environments, const char* entry) {
    MemFile file;
    if (!file.Open(entry)) Warn(entry, 0, "environment list is missing or unreadable");
    ReadEnvironments(environments, file);
}

void ReadEnvironments(EnvironmentList& environments, MemFile& file) {
    char line[kLineBufferSize];
    char object_entry[kLineBufferSize];
    for (;;) {
        // Between blocks: only "env" and "ENV_END" mean anything.
        if (!NextLine(file, line, "\"ENV_END\"")) return;
        if (StartsWith(line, "ENV_END")) return;
        if (!StartsWith(line, "env")) continue;

        auto env = std::make_unique<Environment>();
        ScanWord(file, line, "env %127s", env->name, sizeof env->name, "environment name");
        bool complete = true;
        while (!StartsWith(line, "end")) {
            if (!NextLine(file, line, "the environment's \"end\" line")) {
                complete = false;
                break;
            }
            if (StartsWith(line, "firstpass") && ScanEntry(file, line, "firstpass %127s", object_entry))
                LoadObjectFile(env->firstpass, object_entry);
            if (StartsWith(line, "postpass") && ScanEntry(file, line, "postpass %127s", object_entry))
                LoadObjectFile(env->postpass, object_entry);
        }
        environments.push_back(std::move(env));
        if (!complete) return;
    }
}

void LoadWorlds(WorldList& worlds, const EnvironmentList& environments, const char* entry) {
    MemFile file;
    if (!file.Open(entry)) Warn(entry, 0, "world list is missing or unreadable");
    ReadWorlds(worlds, environments, file);
}

void ReadWorlds(WorldList& worlds, const EnvironmentList& environments, MemFile& file) {
    char line[kLineBufferSize];
    char object_entry[kLineBufferSize];
    for (;;) {
        if (!NextLine(file, line, "\"WORLD_END\"")) return;
        if (StartsWith(line, "WORLD_END")) return;
        if (!StartsWith(line, "world")) continue;

        auto world = std::make_unique<World>();
        ScanWord(file, line, "world %127s", world->name, sizeof world->name, "world name");
        const int header_line = file.line_number();
        bool has_env = false;
        bool complete = true;
        while (!StartsWith(line, "end")) {
            if (!NextLine(file, line, "the world's \"end\" line")) {
                complete = false;
                break;
            }
            if (StartsWith(line, "env")) {
                char env_name[kWorldNameSize] = {};
                ScanWord(file, line, "env %127s", env_name, sizeof env_name, "environment name");
                has_env = true;
                std::memcpy(world->envName, env_name, sizeof env_name);
                if (const Environment* env = FindEnvironment(environments, env_name)) {
                    world->firstPass = &env->firstpass;
                    world->postPass = &env->postpass;
                } else {
                    Warn(file.name(), file.line_number(),
                         "unknown environment \"%s\"; the world gets no first-pass or post-pass "
                         "objects",
                         env_name);
                    world->firstPass = &EmptyList();
                    world->postPass = &EmptyList();
                }
            }
            if (StartsWith(line, "objects") && ScanEntry(file, line, "objects %127s", object_entry))
                LoadObjectFile(world->objects, object_entry);
            if (StartsWith(line, "system")) world->system = true;
            if (StartsWith(line, "scenedir"))
                ScanWord(file, line, "scenedir %127s", world->scenedir, sizeof world->scenedir,
                         "scene directory");
        }
        if (!has_env) {
            Warn(file.name(), header_line,
                 "world \"%s\" has no \"env\" line; it gets no first-pass or post-pass objects",
                 world->name);
        }
        worlds.push_back(std::move(world));
        if (!complete) return;
    }
}

Environment* FindEnvironment(const EnvironmentList& environments, const char* name) {
    for (const auto& env : environments) {
        if (std::strcmp(env->name, name) == 0) return env.get();
    }
    return nullptr;
}

void ReleaseScene() {
    SceneWorlds().clear();
    SceneEnvironments().clear();
    ReleaseSceneObjects();
}

World* FindWorld(const WorldList& worlds, const char* name) {
    for (const auto& world : worlds) {
        if (std::strcmp(world->name, name) == 0) return world.get();
    }
    return nullptr;
}

}  // namespace orv
