// Connects the scene to the resource loaders.
#include "scene/resource_links.h"

#include "resources/geometry.h"
#include "resources/texture.h"

#include <memory>

namespace orv {

bool FindTextureId(const char* path, uint32_t* id) {
    const TextureEntry* entry = FindTexture(SceneTextures(), path);
    if (!entry) return false;
    *id = entry->id;
    return true;
}

uint32_t GeometryListId(GeometryList which) {
    switch (which) {
        case GeometryList::kEnv: return EnvGeometry().list;
        case GeometryList::kSphere: return SphereGeometry().list;
        case GeometryList::kNoisedSphere: return NoisedSphereGeometry().list;
        case GeometryList::kCurrent: return CurrentGeometry().list;
        case GeometryList::kAtmosphere: return AtmosphereList();
        case GeometryList::kScatter: return ScatterList();
        case GeometryList::kRing: return RingList();
    }
    return 0;
}

void LoadCurrentGeometry(const char* entry) { LoadGeometry(CurrentGeometry(), entry, false); }

void LoadSceneTextures(const char* list_entry) {
    LoadTextureList(SceneTextures(), list_entry, true);
}

void LoadSceneGeometry() { LoadBuiltinGeometry(); }

std::vector<TextureInfo> SceneTextureList() {
    std::vector<TextureInfo> list;
    const TextureLibrary& library = SceneTextures();
    for (size_t i = 0; i < library.size(); ++i) list.push_back({library[i].path, library[i].id});
    return list;
}

uint32_t LoadStandaloneImage(const char* name) {
    // The loading-screen pictures live outside the library for the life of the process.
    static std::vector<std::unique_ptr<TextureEntry>> images;
    images.push_back(std::make_unique<TextureEntry>());
    LoadTextureImage(*images.back(), name);
    return images.back()->id;
}

}  // namespace orv
