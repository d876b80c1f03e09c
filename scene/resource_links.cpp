// Connects the scene to the resource loaders.
// TODO(merge): wire to the texture library and the geometry holders.
#include "scene/resource_links.h"

namespace orv {

bool FindTextureId(const char*, uint32_t*) { return false; }

uint32_t GeometryListId(GeometryList) { return 0; }

void LoadCurrentGeometry(const char*) {}

void LoadSceneTextures(const char*) {}

void LoadSceneGeometry() {}

std::vector<TextureInfo> SceneTextureList() { return {}; }

uint32_t LoadStandaloneImage(const char*) { return 0; }

}  // namespace orv
