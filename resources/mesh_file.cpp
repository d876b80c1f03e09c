#include "resources/mesh_file.h"

#include <cstring>

#include "camera/random.h"
#include "resources/diagnostics.h"

namespace orv {
namespace {

// Every value goes through ReadChecked, four bytes at a time, and is decoded as little-endian
// whatever the host's byte order.
uint32_t ReadU32(MemFile& file) {
    unsigned char b[4] = {0, 0, 0, 0};
    file.ReadChecked(b, 4);
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
           static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

float ReadFloat(MemFile& file) {
    const uint32_t bits = ReadU32(file);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

Vec3 ReadVec3(MemFile& file) {
    const float x = ReadFloat(file);
    const float y = ReadFloat(file);
    const float z = ReadFloat(file);
    return {x, y, z};
}

// The random axis is drawn before the angle; the order is part of the scene's determinism.
void TurnByNoise(Vec3& position) {
    const Vec3 axis = RandomUnitVector();
    const float degrees = static_cast<float>(RandomUnit() * 2.6);
    RotateAboutAxis(position, axis, degrees);
}

// The first corner whose index lies outside the arrays, reported as a warning; false if any.
bool IndicesInside(const MeshData& mesh, const char* entry) {
    const auto vertex_count = static_cast<uint32_t>(mesh.positions.size());
    const auto texcoord_count = static_cast<uint32_t>(mesh.texcoords.size());
    for (size_t f = 0; f < mesh.faces.size(); ++f) {
        const MeshFace& face = mesh.faces[f];
        for (int c = 0; c < 3; ++c) {
            if (face.vertex[c] >= vertex_count) {
                Warn(entry, 0,
                     "face %zu corner %d: vertex index %u is outside the %u vertices; the mesh is "
                     "not drawn",
                     f, c, face.vertex[c], vertex_count);
                return false;
            }
            if (face.texcoord[c] >= texcoord_count) {
                Warn(entry, 0,
                     "face %zu corner %d: texture coordinate index %u is outside the %u texture "
                     "coordinates; the mesh is not drawn",
                     f, c, face.texcoord[c], texcoord_count);
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool ReadMeshFile(MemFile& file, bool noise, MeshData& mesh) {
    mesh = MeshData{};
    const char* entry = file.name();
    const uint64_t available = file.cursor() < file.size() ? file.size() - file.cursor() : 0;
    if (available == 0) return true;  // an empty (or missing) entry holds no triangles
    if (available < kMeshHeaderSize) {
        Warn(entry, 0, "mesh of %llu bytes is too short for its 12-byte header; the mesh is not drawn",
             static_cast<unsigned long long>(available));
        return false;
    }

    const uint32_t vertex_count = ReadU32(file);
    const uint32_t face_count = ReadU32(file);
    const uint32_t texcoord_count = ReadU32(file);
    const uint64_t needed = MeshFileSize(vertex_count, face_count, texcoord_count);
    if (needed > available) {
        Warn(entry, 0,
             "mesh counts (%u vertices, %u faces, %u texture coordinates) need %llu bytes but the "
             "entry holds %llu; the mesh is not drawn",
             vertex_count, face_count, texcoord_count, static_cast<unsigned long long>(needed),
             static_cast<unsigned long long>(available));
        return false;
    }
    if (needed < available) {
        Warn(entry, 0, "%llu bytes after the mesh data are ignored",
             static_cast<unsigned long long>(available - needed));
    }

    // The counts fit the entry, so these allocations are bounded by its size.
    mesh.positions.resize(vertex_count);
    for (Vec3& p : mesh.positions) {
        p = ReadVec3(file);
        if (noise) TurnByNoise(p);
    }
    mesh.faces.resize(face_count);
    for (MeshFace& face : mesh.faces) {
        for (uint32_t& i : face.vertex) i = ReadU32(file);
    }
    for (MeshFace& face : mesh.faces) {
        for (uint32_t& i : face.texcoord) i = ReadU32(file);
    }
    mesh.texcoords.resize(texcoord_count);
    for (TexCoord& t : mesh.texcoords) {
        t.u = ReadFloat(file);
        t.v = ReadFloat(file);
    }
    for (MeshFace& face : mesh.faces) {
        for (Vec3& n : face.normal) n = ReadVec3(file);
    }

    if (!IndicesInside(mesh, entry)) {
        mesh = MeshData{};
        return false;
    }
    return true;
}

}  // namespace orv
