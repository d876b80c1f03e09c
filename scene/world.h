// Environments and worlds. An environment supplies the objects drawn before ("firstpass") and
// after ("postpass") a world's own objects and may be shared by several worlds; a world names
// its environment and its own object files. Both come from text entries ("env.txt",
// "worlds.txt") that only name object description files.
#pragma once

#include <memory>
#include <vector>

#include "resources/memfile.h"
#include "scene/object_list.h"

namespace orv {

constexpr size_t kWorldNameSize = 20;  // at most 19 characters
constexpr size_t kSceneDirSize = 50;   // at most 49 characters

class Environment {
public:
    virtual ~Environment() = default;
    char name[kWorldNameSize] = {};
    ObjectList firstpass;
    ObjectList postpass;
};

class World {
public:
    World();
    virtual ~World() = default;
    ObjectList objects;
    // The environment's lists; an empty list until an "env" line names a known environment.
    const ObjectList* firstPass;
    const ObjectList* postPass;
    char scenedir[kSceneDirSize] = {};
    char name[kWorldNameSize] = {};
    bool system = false;
    // The environment's name as the "env" line gave it ("" if none), for the scene tools.
    char envName[kWorldNameSize] = {};
};

using EnvironmentList = std::vector<std::unique_ptr<Environment>>;
using WorldList = std::vector<std::unique_ptr<World>>;

// The process-wide containers, filled once while the scene loads.
EnvironmentList& SceneEnvironments();
WorldList& SceneWorlds();

// Reads "env.txt"-style entries: one Environment per "env" ... "end" block.
void LoadEnvironments(EnvironmentList& environments, const char* entry);
// Reads "worlds.txt"-style entries: one World per "world" ... "end" block. Environments are
// looked up in `environments`, so LoadEnvironments runs first.
void LoadWorlds(WorldList& worlds, const EnvironmentList& environments, const char* entry);

// The same for content already in `file` (tests, tools).
void ReadEnvironments(EnvironmentList& environments, MemFile& file);
void ReadWorlds(WorldList& worlds, const EnvironmentList& environments, MemFile& file);

// The first record whose name equals `name` exactly; null when none does.
Environment* FindEnvironment(const EnvironmentList& environments, const char* name);
World* FindWorld(const WorldList& worlds, const char* name);

// Empties both containers and destroys every record and scene object loaded so far (tools and
// tests that load more than one scene in a process).
void ReleaseScene();

}  // namespace orv
