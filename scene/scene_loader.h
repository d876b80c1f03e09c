// Loading a whole scene from the data archive, in the saver's order: the texture list, the
// built-in geometry, the camera's starting vectors, "env.txt" and then "worlds.txt" with every
// object file they name. Needs a current GL context (textures and display lists).
#pragma once

#include "scene/world.h"

namespace orv {

struct SceneLoadSteps {
    // Called between the texture list and the built-in geometry (the saver builds its digit
    // glyphs there).
    void (*afterTextures)() = nullptr;
};

void LoadSceneContent(const SceneLoadSteps& steps = {});

// The world a run shows: the one named "world", else the first; null when there is none.
World* ChooseRunWorld();

}  // namespace orv
