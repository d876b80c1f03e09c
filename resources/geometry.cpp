#include "resources/geometry.h"

#include <string>

#include "camera/math3d.h"
#include "resources/diagnostics.h"
#include "resources/mesh_file.h"

namespace orv {
namespace {

constexpr const char* kEnvMesh = "meshes\\env.dat";
constexpr const char* kSphereMesh = "meshes\\sphere.dat";

constexpr int kRingSegments = 80;
constexpr float kRingInner = 0.6f;
constexpr float kRingOuter = 1.0f;

GeometryHolder g_env_geometry;
GeometryHolder g_sphere_geometry;
GeometryHolder g_noised_sphere_geometry;
GeometryHolder g_current_geometry;
GLuint g_atmosphere_list = 0;
GLuint g_scatter_list = 0;
GLuint g_ring_list = 0;

// Opens a mesh entry. A missing one reads on as an empty file (a list that draws nothing),
// but the scene author should hear about it.
void OpenMesh(MemFile& file, const char* entry_name) {
    if (!file.Open(entry_name)) {
        Warn(entry_name ? entry_name : "", 0,
             "mesh entry missing or unreadable; its geometry draws nothing");
    }
}

// One block of `mode` compiled into `list`, then glFinish so loading cost lands here.
template <class Body>
void CompileList(GLuint list, GLenum mode, Body&& body) {
    glNewList(list, GL_COMPILE);
    glBegin(mode);
    body();
    glEnd();
    glEndList();
    glFinish();
}

void EmitMesh(const MeshData& mesh) {
    ForEachCorner(mesh, [](const Vec3& n, const TexCoord& t, const Vec3& p) {
        glNormal3f(n.x, n.y, n.z);
        glTexCoord2f(t.u, t.v);
        glVertex3f(p.x, p.y, p.z);
    });
}

// The shells bake a per-corner alpha computed from the corner's x into the list, so drawing
// them costs no more than a plain mesh.
template <class Alpha>
void EmitShell(const MeshData& mesh, Alpha&& alpha) {
    ForEachCorner(mesh, [&](const Vec3& n, const TexCoord& t, const Vec3& p) {
        glColor4f(1.0f, 1.0f, 1.0f, alpha(p.x));
        glNormal3f(n.x, n.y, n.z);
        glTexCoord2f(t.u, t.v);
        glVertex3f(p.x, p.y, p.z);
    });
}

// 81 steps around: the last pair closes the ring at 360 degrees with s = 1, so the texture
// wraps once without a seam in its coordinates.
void EmitRing() {
    for (int i = 0; i <= kRingSegments; ++i) {
        const float degrees = static_cast<float>(i) * (360.0f / kRingSegments);
        const float radians = degrees / 360.0f * 2.0f * 3.1415927f;
        const float s = static_cast<float>(i) / kRingSegments;
        const float c = CosF(radians);
        const float sn = SinF(radians);
        glTexCoord2f(s, 0.0f);
        glVertex3f(kRingInner * c, kRingInner * sn, 0.0f);
        glTexCoord2f(s, 1.0f);
        glVertex3f(kRingOuter * c, kRingOuter * sn, 0.0f);
    }
}

}  // namespace

GeometryHolder& EnvGeometry() { return g_env_geometry; }
GeometryHolder& SphereGeometry() { return g_sphere_geometry; }
GeometryHolder& NoisedSphereGeometry() { return g_noised_sphere_geometry; }
GeometryHolder& CurrentGeometry() { return g_current_geometry; }
GLuint AtmosphereList() { return g_atmosphere_list; }
GLuint ScatterList() { return g_scatter_list; }
GLuint RingList() { return g_ring_list; }

void LoadGeometry(GeometryHolder& holder, MemFile& file, bool noise) {
    const std::string entry = file.name();
    const GLuint list = glGenLists(1);
    if (list == 0) {
        Warn(entry, 0, "OpenGL has no display list left; the mesh is not loaded");
        file.Close();
        return;
    }
    MeshData mesh;
    ReadMeshFile(file, noise, mesh);  // a refused mesh comes back empty and compiles to nothing
    file.Close();
    CompileList(list, GL_TRIANGLES, [&] { EmitMesh(mesh); });
    holder.list = list;
}

void LoadGeometry(GeometryHolder& holder, const char* entry_name, bool noise) {
    MemFile file;
    OpenMesh(file, entry_name);
    LoadGeometry(holder, file, noise);
}

void BuildSphereEffectLists(MemFile& file) {
    const std::string entry = file.name();
    const GLuint atmosphere = glGenLists(1);
    const GLuint scatter = glGenLists(1);
    if (atmosphere == 0 || scatter == 0) {
        Warn(entry, 0, "OpenGL has no display list left; the sphere's effect lists are not built");
        file.Close();
        return;
    }
    MeshData mesh;
    ReadMeshFile(file, false, mesh);
    file.Close();

    CompileList(atmosphere, GL_TRIANGLES,
                [&] { EmitShell(mesh, [](float x) { return 3.0f * x * x - 0.6f; }); });
    CompileList(scatter, GL_TRIANGLES,
                [&] { EmitShell(mesh, [](float x) { return 1.6f * x + 1.6f; }); });
    g_atmosphere_list = atmosphere;
    g_scatter_list = scatter;
    mesh = MeshData{};

    const GLuint ring = glGenLists(1);
    if (ring == 0) {
        Warn(entry, 0, "OpenGL has no display list left; the ring list is not built");
        return;
    }
    CompileList(ring, GL_TRIANGLE_STRIP, EmitRing);
    g_ring_list = ring;
}

void BuildSphereEffectLists(const char* entry_name) {
    MemFile file;
    OpenMesh(file, entry_name);
    BuildSphereEffectLists(file);
}

void LoadBuiltinGeometry() {
    LoadGeometry(EnvGeometry(), kEnvMesh, false);
    LoadGeometry(SphereGeometry(), kSphereMesh, false);
    LoadGeometry(NoisedSphereGeometry(), kSphereMesh, true);
    BuildSphereEffectLists(kSphereMesh);
}

}  // namespace orv
