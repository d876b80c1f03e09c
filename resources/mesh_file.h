// Mesh files (".dat" entries under "meshes\"): a small binary triangle list with per-corner
// normals and texture coordinates. This is the byte-reading half of mesh loading; it needs no
// OpenGL, so tools and the fuzzer can use it. geometry.h turns the result into display lists.
//
// Layout, every value 4 bytes little-endian, no padding, no magic:
//   V, F, T                          vertex, face and texture coordinate counts (uint32)
//   V x (x, y, z)                    positions (float)
//   F x (i0, i1, i2)                 vertex index of each corner (uint32)
//   F x (t0, t1, t2)                 texture coordinate index of each corner (uint32)
//   T x (u, v)                       texture coordinates (float)
//   F x (n0xyz, n1xyz, n2xyz)        one normal per corner (float)
// so a file is 12 + 12V + 60F + 8T bytes long.
#pragma once

#include <cstdint>
#include <vector>

#include "camera/math3d.h"
#include "resources/memfile.h"

namespace orv {

struct TexCoord {
    float u = 0.0f, v = 0.0f;
};

struct MeshFace {
    uint32_t vertex[3] = {};    // indices into MeshData::positions, corners 0, 1, 2
    uint32_t texcoord[3] = {};  // indices into MeshData::texcoords
    Vec3 normal[3];
};

struct MeshData {
    std::vector<Vec3> positions;
    std::vector<TexCoord> texcoords;
    std::vector<MeshFace> faces;
};

constexpr uint32_t kMeshHeaderSize = 12;

// Bytes a mesh with these counts occupies (computed wide, so no count can overflow it).
constexpr uint64_t MeshFileSize(uint32_t vertices, uint32_t faces, uint32_t texcoords) {
    return kMeshHeaderSize + 12ull * vertices + 60ull * faces + 8ull * texcoords;
}

// Reads one mesh from `file`, starting at its cursor, into `mesh`.
//
// An empty entry (a missing one reads as empty) is a valid mesh with no triangles. A mesh whose
// counts need more bytes than the entry holds, or whose faces index outside the positions or
// texture coordinates, is refused: a warning names the entry, `mesh` is left empty and the
// result is false. Counts are checked against the entry size before anything is allocated.
// Bytes after the mesh are ignored with a warning.
//
// With `noise`, each position, right after it is read, is turned about its own random axis
// through the origin by a small random angle (0 to 2.6 degrees): four draws per vertex, in
// vertex order, axis x, y, z first, then the angle. Positions keep their distance from the
// origin; a vertex shared by several faces moves once, so the surface stays closed. Texture
// coordinates and normals are not changed. A mesh refused for its size draws nothing from the
// generator; one refused for an index has already drawn for its positions.
bool ReadMeshFile(MemFile& file, bool noise, MeshData& mesh);

// Calls emit(normal, texcoord, position) for every corner: faces in file order, corners 0, 1, 2.
// Faces with an index outside the arrays are skipped (ReadMeshFile never produces them).
template <class Emit>
void ForEachCorner(const MeshData& mesh, Emit&& emit) {
    const size_t vertex_count = mesh.positions.size();
    const size_t texcoord_count = mesh.texcoords.size();
    for (const MeshFace& face : mesh.faces) {
        bool inside = true;
        for (int c = 0; c < 3; ++c) {
            inside = inside && face.vertex[c] < vertex_count && face.texcoord[c] < texcoord_count;
        }
        if (!inside) continue;
        for (int c = 0; c < 3; ++c) {
            emit(face.normal[c], mesh.texcoords[face.texcoord[c]], mesh.positions[face.vertex[c]]);
        }
    }
}

}  // namespace orv
