// Connects the scene to the resource loaders.
// TODO(merge): wire to the texture library.
#include "scene/resource_links.h"

#include "resources/geometry.h"

namespace orv {

bool FindTextureId(const char*, uint32_t*) { return false; }

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

void LoadSceneTextures(const char*) {}

void LoadSceneGeometry() { LoadBuiltinGeometry(); }

std::vector<TextureInfo> SceneTextureList() { return {}; }

uint32_t LoadStandaloneImage(const char*) { return 0; }

}  // namespace orv
