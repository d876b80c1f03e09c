// Loading a 50,000-triangle mesh: parsing the bytes alone (with and without noise), and parsing
// plus compiling the display list in a headless OpenGL context.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <string>

#include "camera/random.h"
#include "platform/headless_gl.h"
#include "resources/geometry.h"
#include "resources/mesh_file.h"
#include "tests/support/le_bytes.h"

namespace {

using orv::test::PutFloat;
using orv::test::PutU32;

// A UV sphere of 250 x 100 quads (50,000 triangles), laid out as a mesh file.
std::string SphereMeshBytes() {
    constexpr uint32_t kAround = 250, kUp = 100;
    const uint32_t vertices = (kAround + 1) * (kUp + 1);
    const uint32_t faces = 2 * kAround * kUp;
    std::string out;
    PutU32(out, vertices);
    PutU32(out, faces);
    PutU32(out, vertices);  // one texture coordinate per vertex
    auto index = [&](uint32_t i, uint32_t j) { return j * (kAround + 1) + i; };
    auto point = [&](uint32_t i, uint32_t j, float out_xyz[3]) {
        const double a = 2 * M_PI * i / kAround, b = M_PI * j / kUp;
        out_xyz[0] = static_cast<float>(std::sin(b) * std::cos(a));
        out_xyz[1] = static_cast<float>(std::sin(b) * std::sin(a));
        out_xyz[2] = static_cast<float>(std::cos(b));
    };
    for (uint32_t j = 0; j <= kUp; ++j)
        for (uint32_t i = 0; i <= kAround; ++i) {
            float p[3];
            point(i, j, p);
            for (float c : p) PutFloat(out, c);
        }
    std::string corners;  // vertex indices; texture indices are the same
    for (uint32_t j = 0; j < kUp; ++j)
        for (uint32_t i = 0; i < kAround; ++i) {
            const uint32_t q[6] = {index(i, j), index(i + 1, j), index(i + 1, j + 1),
                                   index(i, j), index(i + 1, j + 1), index(i, j + 1)};
            for (uint32_t v : q) PutU32(corners, v);
        }
    out += corners;
    out += corners;
    for (uint32_t j = 0; j <= kUp; ++j)
        for (uint32_t i = 0; i <= kAround; ++i) {
            PutFloat(out, static_cast<float>(i) / kAround);
            PutFloat(out, static_cast<float>(j) / kUp);
        }
    for (uint32_t j = 0; j < kUp; ++j)
        for (uint32_t i = 0; i < kAround; ++i) {
            const uint32_t q[6][2] = {{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j}, {i + 1, j + 1}, {i, j + 1}};
            for (const auto& c : q) {
                float n[3];
                point(c[0], c[1], n);
                for (float v : n) PutFloat(out, v);
            }
        }
    return out;
}

const std::string& Bytes() {
    static const std::string bytes = SphereMeshBytes();
    return bytes;
}

void BM_ParseMesh50k(benchmark::State& state) {
    const bool noise = state.range(0) != 0;
    orv::SeedRandom(1);
    for (auto _ : state) {
        orv::MemFile file;
        file.OpenBytes("meshes\\bench.dat", Bytes().data(), Bytes().size());
        orv::MeshData mesh;
        const bool ok = orv::ReadMeshFile(file, noise, mesh);
        if (!ok || mesh.faces.size() != 50000) state.SkipWithError("mesh refused");
        benchmark::DoNotOptimize(mesh.positions.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Bytes().size()));
}
BENCHMARK(BM_ParseMesh50k)->ArgName("noise")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_LoadGeometry50k(benchmark::State& state) {
    orv::platform::HeadlessGL gl(64, 64);
    if (!gl.ok()) {
        state.SkipWithError(gl.error().c_str());
        return;
    }
    for (auto _ : state) {
        orv::MemFile file;
        file.OpenBytes("meshes\\bench.dat", Bytes().data(), Bytes().size());
        orv::GeometryHolder holder;
        orv::LoadGeometry(holder, file, false);  // parse, compile, glFinish
        state.PauseTiming();
        glDeleteLists(holder.list, 1);  // the saver never deletes; the benchmark must not pile up
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadGeometry50k)->Unit(benchmark::kMillisecond);

}  // namespace
