#include "objects/scene_object.h"

#include <GL/gl.h>

#include <cstring>

#include "scene/resource_links.h"

namespace orv {

void SceneObject::TranslateToPosition() const { glTranslatef(position.x, position.y, position.z); }

bool EndsInTga(const char* path) {
    const size_t n = std::strlen(path);
    return n >= 3 && std::strcmp(path + n - 3, "tga") == 0;
}

void SceneObject::SetTexture(const char* path) {
    tgaTexture = EndsInTga(path);
    texturePath = path;
    uint32_t id = 0;
    if (FindTextureId(path, &id)) textureId = id;
}

}  // namespace orv
