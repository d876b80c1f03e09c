// The bytes as a mesh entry through ReadMeshFile, with and without noise, then every corner
// walked the way display list compilation walks it. An accepted mesh must fit the entry and
// index only inside its arrays.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "camera/random.h"
#include "resources/diagnostics.h"
#include "resources/memfile.h"
#include "resources/mesh_file.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void ReadAndWalk(const uint8_t* data, size_t size, bool noise) {
    orv::MemFile file;
    file.OpenBytes("meshes\\fuzz.dat", data, size);
    orv::MeshData mesh;
    const bool ok = orv::ReadMeshFile(file, noise, mesh);
    if (!ok) {
        Check(mesh.positions.empty() && mesh.faces.empty() && mesh.texcoords.empty());
        return;
    }
    Check(orv::MeshFileSize(static_cast<uint32_t>(mesh.positions.size()),
                            static_cast<uint32_t>(mesh.faces.size()),
                            static_cast<uint32_t>(mesh.texcoords.size())) <= size ||
          size == 0);
    for (const orv::MeshFace& face : mesh.faces) {
        for (int c = 0; c < 3; ++c) {
            Check(face.vertex[c] < mesh.positions.size());
            Check(face.texcoord[c] < mesh.texcoords.size());
        }
    }
    size_t corners = 0;
    float sum = 0.0f;
    orv::ForEachCorner(mesh, [&](const orv::Vec3& n, const orv::TexCoord& t, const orv::Vec3& p) {
        sum += n.x + t.u + p.z;
        ++corners;
    });
    Check(corners == 3 * mesh.faces.size());
    volatile float sink = sum;
    (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orv::ClearDiagnostics();
    ReadAndWalk(data, size, false);
    orv::SeedRandom(static_cast<uint32_t>(size));
    ReadAndWalk(data, size, true);
    return 0;
}
