// Ordered, non-owning lists of scene objects, in the order they were read.
#pragma once

#include <vector>

#include "objects/scene_object.h"

namespace orv {

using ObjectList = std::vector<SceneObject*>;

// Appends at the back. Lists never own their objects: every appended object is kept alive by
// the scene until ReleaseSceneObjects() (objects live as long as the loaded scene).
void AppendObject(ObjectList& list, SceneObject* object);

// Destroys every object appended so far. Lists that still point to them must be dropped first.
void ReleaseSceneObjects();

// The first object, front to back, whose name equals `name` exactly; null when none does.
SceneObject* FindObject(const ObjectList& list, const char* name);

}  // namespace orv
