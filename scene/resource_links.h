// What the scene reader and the objects need from the resource loaders, in one narrow place:
// texture ids by archive path, and the display lists of the built-in and loaded geometry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// Looks a full archive path ("textures\x.jpg") up in the texture library; true and the id when
// it is listed.
bool FindTextureId(const char* path, uint32_t* id);

enum class GeometryList {
    kEnv,           // sky sphere seen from inside
    kSphere,        // the plain sphere
    kNoisedSphere,  // the sphere with noise
    kCurrent,       // the mesh of the last "geometry" line
    kAtmosphere,
    kScatter,
    kRing,
};

// The display list id of a geometry (0 when it is not loaded).
uint32_t GeometryListId(GeometryList which);

// Loads a mesh entry into the current geometry (without noise), for "geometry" lines.
void LoadCurrentGeometry(const char* entry);

// Loads the texture list entry into the scene's texture library, reporting progress after each
// listed texture.
void LoadSceneTextures(const char* list_entry);
// Builds the built-in geometry (meshes and the sphere effect lists). Needs a GL context.
void LoadSceneGeometry();

// Loads a picture from "textures\NAME" outside the texture list (the loading screen); returns
// its texture id, or 0 when it cannot be loaded.
uint32_t LoadStandaloneImage(const char* name);

struct TextureInfo {
    std::string path;
    uint32_t id;
};
// The scene's texture library in list order.
std::vector<TextureInfo> SceneTextureList();

}  // namespace orv
