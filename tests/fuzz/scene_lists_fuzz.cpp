// "env.txt" and "worlds.txt" from an untrusted archive. The first byte chooses which reader gets
// the rest; the world reader runs against a small fixed set of environments.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "resources/diagnostics.h"
#include "scene/world.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    orv::ClearDiagnostics();
    orv::EnvironmentList environments;
    orv::WorldList worlds;
    orv::MemFile file;
    if (data[0] & 1) {
        file.OpenBytes("env.txt", data + 1, size - 1);
        orv::ReadEnvironments(environments, file);
    } else {
        auto env = std::make_unique<orv::Environment>();
        std::strcpy(env->name, "space");
        environments.push_back(std::move(env));
        file.OpenBytes("worlds.txt", data + 1, size - 1);
        orv::ReadWorlds(worlds, environments, file);
        for (const auto& world : worlds) {
            // Every world must have usable pass lists, whatever its "env" line said.
            if (!world->firstPass || !world->postPass) __builtin_trap();
            (void)orv::FindWorld(worlds, world->name);
        }
    }
    worlds.clear();
    environments.clear();
    orv::ReleaseSceneObjects();
    return 0;
}
