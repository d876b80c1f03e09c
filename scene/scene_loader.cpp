#include "scene/scene_loader.h"

#include "camera/camera.h"
#include "resources/diagnostics.h"
#include "scene/resource_links.h"

namespace orv {

void LoadSceneContent(const SceneLoadSteps& steps) {
    LoadSceneTextures("texture.txt");
    if (steps.afterTextures) steps.afterTextures();
    LoadSceneGeometry();

    Camera& camera = SceneCamera();
    camera.position = Vec3(0.0f, 0.0f, 1500.0f);
    camera.look = Vec3(0.0f, 0.0f, -1.0f);
    camera.up = Vec3(0.0f, 1.0f, 0.0f);

    LoadEnvironments(SceneEnvironments(), "env.txt");
    LoadWorlds(SceneWorlds(), SceneEnvironments(), "worlds.txt");
}

World* ChooseRunWorld() {
    const WorldList& worlds = SceneWorlds();
    if (worlds.empty()) return nullptr;
    if (World* named = FindWorld(worlds, "world")) return named;
    Warn("worlds.txt", 0, "no world named \"world\"; showing the first world, \"%s\"",
         worlds.front()->name);
    return worlds.front().get();
}

}  // namespace orv
