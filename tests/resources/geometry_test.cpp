#include "resources/geometry.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "camera/math3d.h"
#include "camera/random.h"
#include "platform/headless_gl.h"
#include "resources/archive.h"
#include "resources/diagnostics.h"
#include "resources/mesh_file.h"
#include "tests/support/le_bytes.h"

// Mesa's software driver keeps a block of about 1 MB that it allocates the first time a context
// draws in feedback mode and never frees, even when the context is destroyed. It is the
// driver's, not ours; keep LeakSanitizer quiet about it in this test program only.
extern "C" const char* __lsan_default_suppressions() { return "leak:swrast_dri.so\n"; }
// LeakSanitizer's thread tracer (GCC 12 runtime) can crash on the dynamic TLS of the dlopen'ed
// Mesa driver ("Tracer caught signal 11" after "DTLS ... at" a bogus range); not tracking
// __tls_get_addr avoids it.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

namespace orv {
namespace {

// ---- Writing mesh files -------------------------------------------------------------------

struct TestFace {
    uint32_t v[3];
    uint32_t t[3];
    Vec3 n[3];
};

struct TestMesh {
    std::vector<Vec3> positions;
    std::vector<TestFace> faces;
    std::vector<TexCoord> texcoords;
};

using orv::test::PutFloat;
using orv::test::PutU32;

void PutVec3(std::string& out, const Vec3& v) {
    PutFloat(out, v.x);
    PutFloat(out, v.y);
    PutFloat(out, v.z);
}

std::string Encode(const TestMesh& m) {
    std::string out;
    PutU32(out, static_cast<uint32_t>(m.positions.size()));
    PutU32(out, static_cast<uint32_t>(m.faces.size()));
    PutU32(out, static_cast<uint32_t>(m.texcoords.size()));
    for (const Vec3& p : m.positions) PutVec3(out, p);
    for (const TestFace& f : m.faces)
        for (uint32_t i : f.v) PutU32(out, i);
    for (const TestFace& f : m.faces)
        for (uint32_t i : f.t) PutU32(out, i);
    for (const TexCoord& t : m.texcoords) {
        PutFloat(out, t.u);
        PutFloat(out, t.v);
    }
    for (const TestFace& f : m.faces)
        for (const Vec3& n : f.n) PutVec3(out, n);
    return out;
}

// Overwrites the 32-bit value at byte `offset` (counts are at 0, 4, 8).
std::string Patched(std::string bytes, size_t offset, uint32_t value) {
    std::string v;
    PutU32(v, value);
    bytes.replace(offset, 4, v);
    return bytes;
}

// A quad of two triangles sharing the diagonal 0-2, not in the z = 0 plane, with texture
// indices that differ from the vertex indices and a distinct unit normal at every corner.
TestMesh Quad() {
    TestMesh m;
    m.positions = {{-1.0f, -1.0f, 0.25f}, {1.0f, -1.0f, -0.5f}, {1.0f, 1.0f, 0.0f}, {-1.0f, 1.0f, 0.5f}};
    m.texcoords = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}, {0.5f, 0.25f}};
    m.faces = {
        {{0, 1, 2}, {4, 2, 1}, {{0.48f, 0.6f, 0.64f}, {0.6f, 0.8f, 0.0f}, {0.0f, 0.6f, 0.8f}}},
        {{0, 2, 3}, {0, 3, 4}, {{0.8f, 0.0f, 0.6f}, {0.0f, 0.0f, 1.0f}, {0.36f, 0.48f, 0.8f}}},
    };
    return m;
}

// What the list should emit for each corner, in order.
struct ExpectedCorner {
    Vec3 position;
    TexCoord texcoord;
    Vec3 normal;
};

std::vector<ExpectedCorner> CornersOf(const TestMesh& m) {
    std::vector<ExpectedCorner> out;
    for (const TestFace& f : m.faces)
        for (int c = 0; c < 3; ++c) out.push_back({m.positions[f.v[c]], m.texcoords[f.t[c]], f.n[c]});
    return out;
}

constexpr const char* kEntry = "meshes\\test.dat";

void Fill(MemFile& file, const std::string& bytes, const char* name = kEntry) {
    file.OpenBytes(name, bytes.data(), bytes.size());
}

bool Read(const std::string& bytes, bool noise, MeshData& mesh) {
    MemFile file;
    Fill(file, bytes);
    return ReadMeshFile(file, noise, mesh);
}

// ---- Reading mesh files (no OpenGL) --------------------------------------------------------

TEST(ReadMeshFile, ReadsEveryArrayInFileOrder) {
    const TestMesh quad = Quad();
    MeshData mesh;
    ClearDiagnostics();
    ASSERT_TRUE(Read(Encode(quad), false, mesh));
    EXPECT_TRUE(Diagnostics().empty());

    size_t i = 0;
    const std::vector<ExpectedCorner> want = CornersOf(quad);
    ForEachCorner(mesh, [&](const Vec3& n, const TexCoord& t, const Vec3& p) {
        ASSERT_LT(i, want.size());
        EXPECT_EQ(p.x, want[i].position.x);
        EXPECT_EQ(p.y, want[i].position.y);
        EXPECT_EQ(p.z, want[i].position.z);
        EXPECT_EQ(t.u, want[i].texcoord.u);
        EXPECT_EQ(t.v, want[i].texcoord.v);
        EXPECT_EQ(n.x, want[i].normal.x);
        EXPECT_EQ(n.y, want[i].normal.y);
        EXPECT_EQ(n.z, want[i].normal.z);
        ++i;
    });
    EXPECT_EQ(i, 6u);
}

TEST(ReadMeshFile, RefusesCountsAndIndicesThatDoNotFit) {
    const std::string good = Encode(Quad());
    TestMesh no_texcoords = Quad();
    no_texcoords.texcoords.clear();
    TestMesh bad_vertex = Quad();
    bad_vertex.faces[1].v[2] = 4;  // one past the last vertex
    TestMesh bad_texcoord = Quad();
    bad_texcoord.faces[0].t[1] = 0xffffffffu;

    struct Case {
        const char* name;
        std::string bytes;
        const char* warning;  // a part of the expected warning
    } cases[] = {
        {"header cut short", good.substr(0, 7), "too short for its 12-byte header"},
        {"last normal cut short by one byte", good.substr(0, good.size() - 1), "need 220 bytes"},
        {"positions missing", good.substr(0, 20), "need 220 bytes"},
        {"vertex count beyond the entry", Patched(good, 0, 1000), "1000 vertices"},
        {"all counts at their maximum", Patched(Patched(Patched(good, 0, ~0u), 4, ~0u), 8, ~0u),
         "4294967295 vertices"},
        {"face count beyond the entry", Patched(good, 4, 0x10000000u), "268435456 faces"},
        {"vertex index one past the end", Encode(bad_vertex),
         "face 1 corner 2: vertex index 4 is outside the 4 vertices"},
        {"texture index far past the end", Encode(bad_texcoord),
         "face 0 corner 1: texture coordinate index 4294967295 is outside the 5"},
        {"faces but no texture coordinates", Encode(no_texcoords),
         "texture coordinate index 4 is outside the 0"},
    };
    for (const Case& c : cases) {
        ClearDiagnostics();
        MeshData mesh;
        EXPECT_FALSE(Read(c.bytes, false, mesh)) << c.name;
        EXPECT_TRUE(mesh.positions.empty() && mesh.faces.empty() && mesh.texcoords.empty()) << c.name;
        ASSERT_EQ(Diagnostics().size(), 1u) << c.name;
        EXPECT_EQ(Diagnostics()[0].entry, kEntry) << c.name;
        EXPECT_NE(Diagnostics()[0].message.find(c.warning), std::string::npos)
            << c.name << ": " << Diagnostics()[0].message;
    }
}

TEST(ReadMeshFile, AcceptsEmptyMeshesAndIgnoresTrailingBytesWithAWarning) {
    struct Case {
        const char* name;
        std::string bytes;
        size_t faces;
        size_t warnings;
    } cases[] = {
        {"empty entry (a missing entry reads as empty)", "", 0, 0},
        {"all counts zero", std::string(12, '\0'), 0, 0},
        {"bytes after the mesh", Encode(Quad()) + "junk", 2, 1},
    };
    for (const Case& c : cases) {
        ClearDiagnostics();
        MeshData mesh;
        EXPECT_TRUE(Read(c.bytes, false, mesh)) << c.name;
        EXPECT_EQ(mesh.faces.size(), c.faces) << c.name;
        EXPECT_EQ(Diagnostics().size(), c.warnings) << c.name;
    }
    EXPECT_NE(Diagnostics()[0].message.find("4 bytes after the mesh"), std::string::npos);
}

// Eight points at assorted distances from the origin, none on an axis.
TestMesh Cloud() {
    TestMesh m;
    for (int i = 0; i < 8; ++i) {
        const float k = static_cast<float>(i + 1);
        m.positions.push_back({0.3f * k, -0.7f + 0.1f * k, 1.5f - 0.4f * k});
    }
    m.texcoords = {{0.25f, 0.75f}};
    m.faces = {{{0, 1, 2}, {0, 0, 0}, {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}}},
               {{2, 3, 7}, {0, 0, 0}, {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}}}};
    return m;
}

TEST(ReadMeshFile, NoiseTurnsEachVertexAboutARandomAxisKeepingItsDistance) {
    const TestMesh cloud = Cloud();
    const std::string bytes = Encode(cloud);
    MeshData plain;
    ASSERT_TRUE(Read(bytes, false, plain));

    SeedRandom(20261211);
    MeshData noised;
    ASSERT_TRUE(Read(bytes, true, noised));
    const uint32_t state_after = RandomState();

    // The same turns by hand: per vertex, in vertex order, axis x, y, z and then the angle.
    SeedRandom(20261211);
    for (size_t i = 0; i < cloud.positions.size(); ++i) {
        const float ax = static_cast<float>(20.0 * RandomUnit() - 10.0);
        const float ay = static_cast<float>(20.0 * RandomUnit() - 10.0);
        const float az = static_cast<float>(20.0 * RandomUnit() - 10.0);
        const float degrees = static_cast<float>(RandomUnit() * 2.6);
        Vec3 want = cloud.positions[i];
        RotateAboutAxis(want, Normalize(Vec3(ax, ay, az)), degrees);

        const Vec3& got = noised.positions[i];
        EXPECT_NEAR(got.x, want.x, 1e-6f) << "vertex " << i;
        EXPECT_NEAR(got.y, want.y, 1e-6f) << "vertex " << i;
        EXPECT_NEAR(got.z, want.z, 1e-6f) << "vertex " << i;
        const Vec3& before = cloud.positions[i];
        EXPECT_NEAR(Length(got), Length(before), 1e-5f * Length(before)) << "vertex " << i;
        EXPECT_GT(Length(got - before), 0.0f) << "vertex " << i << " did not move";
    }
    EXPECT_EQ(state_after, RandomState()) << "exactly four draws per vertex";

    // Texture coordinates, normals and indices are untouched.
    ASSERT_EQ(noised.faces.size(), plain.faces.size());
    for (size_t f = 0; f < plain.faces.size(); ++f) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(noised.faces[f].vertex[c], plain.faces[f].vertex[c]);
            EXPECT_EQ(noised.faces[f].texcoord[c], plain.faces[f].texcoord[c]);
            EXPECT_EQ(noised.faces[f].normal[c].x, plain.faces[f].normal[c].x);
            EXPECT_EQ(noised.faces[f].normal[c].y, plain.faces[f].normal[c].y);
            EXPECT_EQ(noised.faces[f].normal[c].z, plain.faces[f].normal[c].z);
        }
    }
    EXPECT_EQ(noised.texcoords[0].u, 0.25f);
    EXPECT_EQ(noised.texcoords[0].v, 0.75f);
}

TEST(ReadMeshFile, DrawsFromTheGeneratorOnlyForNoisedPositions) {
    const std::string bytes = Encode(Cloud());
    struct Case {
        const char* name;
        std::string bytes;
        bool noise;
        int draws;
    } cases[] = {
        {"noise off", bytes, false, 0},
        {"noise on, 8 vertices", bytes, true, 32},
        {"noise on, empty entry", "", true, 0},
        {"noise on, counts beyond the entry", bytes.substr(0, bytes.size() - 4), true, 0},
    };
    for (const Case& c : cases) {
        SeedRandom(7);
        MeshData mesh;
        Read(c.bytes, c.noise, mesh);
        const uint32_t after = RandomState();
        SeedRandom(7);
        for (int i = 0; i < c.draws; ++i) RandomDraw();
        EXPECT_EQ(after, RandomState()) << c.name;
    }
}

// With no current context OpenGL hands out no list ids (glGenLists gives 0), the same answer
// as a context that has run out of them.
TEST(GeometryWithoutListIds, LeavesHoldersAndEffectListsUnchanged) {
    { platform::HeadlessGL gone(8, 8); }  // whatever was current, nothing is now
    ClearDiagnostics();
    GeometryHolder holder;
    holder.list = 42;
    MemFile file;
    Fill(file, Encode(Quad()));
    LoadGeometry(holder, file, false);
    EXPECT_EQ(holder.list, 42u);
    EXPECT_EQ(file.size(), 0u) << "the entry is closed";

    const GLuint before[3] = {AtmosphereList(), ScatterList(), RingList()};
    Fill(file, Encode(Quad()));
    BuildSphereEffectLists(file);
    EXPECT_EQ(AtmosphereList(), before[0]);
    EXPECT_EQ(ScatterList(), before[1]);
    EXPECT_EQ(RingList(), before[2]);

    ASSERT_EQ(Diagnostics().size(), 2u);
    for (const Diagnostic& d : Diagnostics()) {
        EXPECT_EQ(d.entry, kEntry);
        EXPECT_NE(d.message.find("no display list left"), std::string::npos) << d.message;
    }
}

// ---- Display lists (headless OpenGL) -------------------------------------------------------

// One corner as OpenGL fed it back: position mapped back to object space, colour, texture.
struct FedCorner {
    Vec3 position;
    float rgba[4];
    float s, t;
};
using Polygons = std::vector<std::vector<FedCorner>>;

constexpr int kSize = 64;

class GeometryGL : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl_.ok()) << gl_.error();
        glViewport(0, 0, kSize, kSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-2, 2, -2, 2, -2, 2);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_LIGHTING);
        glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
        ClearDiagnostics();
    }

    // Everything the list draws, captured with feedback mode instead of rasterised.
    static Polygons Capture(GLuint list) {
        std::vector<GLfloat> buffer(1 << 16);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_4D_COLOR_TEXTURE, buffer.data());
        glRenderMode(GL_FEEDBACK);
        glCallList(list);
        const GLint used = glRenderMode(GL_RENDER);
        EXPECT_GE(used, 0) << "feedback buffer overflow";
        Polygons out;
        for (GLint i = 0; i < used;) {
            EXPECT_EQ(buffer[i], static_cast<GLfloat>(GL_POLYGON_TOKEN)) << "only polygons expected";
            if (buffer[i] != static_cast<GLfloat>(GL_POLYGON_TOKEN)) break;
            const int n = static_cast<int>(buffer[i + 1]);
            i += 2;
            std::vector<FedCorner> poly;
            for (int k = 0; k < n; ++k, i += 12) {
                const GLfloat* v = &buffer[i];
                // Window coordinates back to object space under glOrtho(-2, 2, ...) on 64 pixels.
                FedCorner c{{v[0] * 4.0f / kSize - 2.0f, v[1] * 4.0f / kSize - 2.0f, 2.0f - 4.0f * v[2]},
                            {v[4], v[5], v[6], v[7]},
                            v[8],
                            v[9]};
                poly.push_back(c);
            }
            out.push_back(poly);
        }
        return out;
    }

    static std::vector<FedCorner> Flatten(const Polygons& polys) {
        std::vector<FedCorner> out;
        for (const auto& p : polys) out.insert(out.end(), p.begin(), p.end());
        return out;
    }

    // Diffuse lighting from one direction with nothing else, so a corner's red is n . dir.
    static void LightFrom(const Vec3& dir) {
        const GLfloat zero[4] = {0, 0, 0, 1}, one[4] = {1, 1, 1, 1};
        const GLfloat position[4] = {dir.x, dir.y, dir.z, 0};
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, zero);
        glLightfv(GL_LIGHT0, GL_POSITION, position);
        glLightfv(GL_LIGHT0, GL_AMBIENT, zero);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, one);
        glLightfv(GL_LIGHT0, GL_SPECULAR, zero);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, zero);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, one);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, zero);
    }

    static GLuint LoadBytes(GeometryHolder& holder, const std::string& bytes, bool noise,
                            const char* name = kEntry) {
        MemFile file;
        Fill(file, bytes, name);
        LoadGeometry(holder, file, noise);
        return holder.list;
    }

    platform::HeadlessGL gl_{kSize, kSize};
};

TEST_F(GeometryGL, MeshListEmitsEveryCornerInFileOrder) {
    const TestMesh quad = Quad();
    GeometryHolder holder;
    const GLuint list = LoadBytes(holder, Encode(quad), false);
    ASSERT_NE(list, 0u);
    EXPECT_TRUE(glIsList(list));

    const Polygons polys = Capture(list);
    ASSERT_EQ(polys.size(), 2u);
    const std::vector<FedCorner> got = Flatten(polys);
    const std::vector<ExpectedCorner> want = CornersOf(quad);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(got[i].position.x, want[i].position.x, 1e-5f) << "corner " << i;
        EXPECT_NEAR(got[i].position.y, want[i].position.y, 1e-5f) << "corner " << i;
        EXPECT_NEAR(got[i].position.z, want[i].position.z, 1e-5f) << "corner " << i;
        EXPECT_FLOAT_EQ(got[i].s, want[i].texcoord.u) << "corner " << i;
        EXPECT_FLOAT_EQ(got[i].t, want[i].texcoord.v) << "corner " << i;
        // The list sets no colour: the caller's colour comes through.
        EXPECT_FLOAT_EQ(got[i].rgba[0], 0.25f) << "corner " << i;
        EXPECT_FLOAT_EQ(got[i].rgba[2], 0.75f) << "corner " << i;
    }

    // Normals, seen through lighting from each axis in turn.
    const Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (const Vec3& axis : axes) {
        LightFrom(axis);
        const std::vector<FedCorner> lit = Flatten(Capture(list));
        ASSERT_EQ(lit.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_NEAR(lit[i].rgba[0], Dot(want[i].normal, axis), 1e-3f)
                << "corner " << i << " axis " << axis.x << axis.y << axis.z;
        }
    }
}

TEST_F(GeometryGL, MeshListChangesNoCurrentStateButNormalAndTexture) {
    GeometryHolder holder;
    const GLuint list = LoadBytes(holder, Encode(Quad()), false);
    glMatrixMode(GL_MODELVIEW);
    glCallList(list);
    GLfloat color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    EXPECT_FLOAT_EQ(color[0], 0.25f);
    EXPECT_FLOAT_EQ(color[1], 0.5f);
    EXPECT_FLOAT_EQ(color[2], 0.75f);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    gl_.Finish();
}

TEST_F(GeometryGL, MeshListDrawsWhereItsTrianglesAre) {
    // One triangle over the lower-left half of the square -1..1 (pixels 16..48 of 64).
    TestMesh m;
    m.positions = {{-1, -1, 0}, {1, -1, 0}, {-1, 1, 0}};
    m.texcoords = {{0, 0}};
    m.faces = {{{0, 1, 2}, {0, 0, 0}, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}}};
    GeometryHolder holder;
    LoadBytes(holder, Encode(m), false);

    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glCallList(holder.list);
    gl_.Finish();
    const std::vector<uint8_t> pixels = gl_.ReadColor();
    auto red = [&](int x, int y_up) { return pixels[((kSize - 1 - y_up) * kSize + x) * 4]; };
    struct Probe {
        int x, y;
        bool lit;
    } probes[] = {{20, 20, true}, {40, 20, true}, {20, 40, true}, {44, 44, false}, {8, 8, false},
                  {56, 20, false}};
    for (const Probe& p : probes) EXPECT_EQ(red(p.x, p.y), p.lit ? 255 : 0) << p.x << "," << p.y;
}

TEST_F(GeometryGL, EmptyOrRefusedMeshGivesAListThatDrawsNothing) {
    const std::string good = Encode(Quad());
    struct Case {
        const char* name;
        std::string bytes;
        size_t warnings;
    } cases[] = {
        {"empty entry", "", 0},
        {"all counts zero", std::string(12, '\0'), 0},
        {"truncated", good.substr(0, 100), 1},
        {"vertex index out of range", Patched(good, 12 + 48, 99), 1},
    };
    for (const Case& c : cases) {
        ClearDiagnostics();
        GeometryHolder holder;
        const GLuint list = LoadBytes(holder, c.bytes, false, "meshes\\broken.dat");
        ASSERT_NE(list, 0u) << c.name;
        EXPECT_TRUE(glIsList(list)) << c.name;
        EXPECT_TRUE(Capture(list).empty()) << c.name;
        ASSERT_EQ(Diagnostics().size(), c.warnings) << c.name;
        if (c.warnings) {
            EXPECT_EQ(Diagnostics()[0].entry, "meshes\\broken.dat") << c.name;
        }
    }
}

TEST_F(GeometryGL, NoiseMakesEveryLoadDifferentButKeepsSharedVerticesTogether) {
    const std::string bytes = Encode(Quad());
    GeometryHolder a, b, c, d;
    const std::vector<FedCorner> plain1 = Flatten(Capture(LoadBytes(a, bytes, false)));
    const std::vector<FedCorner> plain2 = Flatten(Capture(LoadBytes(b, bytes, false)));
    const std::vector<FedCorner> noised1 = Flatten(Capture(LoadBytes(c, bytes, true)));
    const std::vector<FedCorner> noised2 = Flatten(Capture(LoadBytes(d, bytes, true)));
    ASSERT_EQ(plain1.size(), 6u);
    ASSERT_EQ(noised1.size(), 6u);
    ASSERT_EQ(noised2.size(), 6u);
    bool noised_differ = false;
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(plain1[i].position.x, plain2[i].position.x);
        EXPECT_EQ(plain1[i].position.y, plain2[i].position.y);
        EXPECT_EQ(plain1[i].position.z, plain2[i].position.z);
        noised_differ = noised_differ || noised1[i].position.x != noised2[i].position.x ||
                        noised1[i].position.y != noised2[i].position.y;
    }
    EXPECT_TRUE(noised_differ);
    // Corners 0 and 3 are vertex 0, corners 2 and 4 vertex 2: they moved together.
    for (const auto& pair : {std::pair<int, int>{0, 3}, {2, 4}}) {
        EXPECT_EQ(noised1[pair.first].position.x, noised1[pair.second].position.x);
        EXPECT_EQ(noised1[pair.first].position.y, noised1[pair.second].position.y);
        EXPECT_EQ(noised1[pair.first].position.z, noised1[pair.second].position.z);
    }
}

TEST_F(GeometryGL, NewCurrentGeometryLeavesTheListsAlreadyTaken) {
    TestMesh other = Quad();
    other.faces.pop_back();
    const GLuint first = LoadBytes(CurrentGeometry(), Encode(Quad()), false, "meshes\\a.dat");
    const GLuint second = LoadBytes(CurrentGeometry(), Encode(other), false, "meshes\\b.dat");
    EXPECT_NE(first, second);
    EXPECT_EQ(CurrentGeometry().list, second);
    EXPECT_EQ(Capture(first).size(), 2u);
    EXPECT_EQ(Capture(second).size(), 1u);
}

TEST_F(GeometryGL, ShellsBakeAnAlphaFromEachCornersStoredX) {
    TestMesh m;
    m.positions = {{-0.5f, 0.3f, 0.1f}, {-0.9f, -0.2f, 0.0f}, {0.0f, 0.9f, -0.3f},
                   {0.5f, -0.6f, 0.2f}, {1.0f, 0.0f, 0.0f}};
    m.texcoords = {{0.1f, 0.2f}, {0.3f, 0.4f}};
    m.faces = {{{0, 1, 2}, {0, 1, 0}, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}},
               {{3, 4, 0}, {1, 1, 0}, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}}};
    MemFile file;
    Fill(file, Encode(m));
    BuildSphereEffectLists(file);
    ASSERT_NE(AtmosphereList(), 0u);
    ASSERT_NE(ScatterList(), 0u);
    EXPECT_NE(AtmosphereList(), ScatterList());

    auto clamp01 = [](float a) { return a < 0 ? 0.0f : a > 1 ? 1.0f : a; };
    const std::vector<ExpectedCorner> want = CornersOf(m);
    const std::vector<FedCorner> atmosphere = Flatten(Capture(AtmosphereList()));
    const std::vector<FedCorner> scatter = Flatten(Capture(ScatterList()));
    ASSERT_EQ(atmosphere.size(), want.size());
    ASSERT_EQ(scatter.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        const float x = want[i].position.x;
        // x = -0.5: 0.15 / 0.8; x = -0.9: 1.83 / 0.16; x = 0: -0.6 / 1.6; x = 0.5: 0.15 / 2.4.
        EXPECT_NEAR(atmosphere[i].rgba[3], clamp01(3 * x * x - 0.6f), 1e-4f) << "x = " << x;
        EXPECT_NEAR(scatter[i].rgba[3], clamp01(1.6f * x + 1.6f), 1e-4f) << "x = " << x;
        for (const FedCorner* c : {&atmosphere[i], &scatter[i]}) {
            EXPECT_FLOAT_EQ(c->rgba[0], 1.0f);
            EXPECT_FLOAT_EQ(c->rgba[1], 1.0f);
            EXPECT_FLOAT_EQ(c->rgba[2], 1.0f);
            EXPECT_NEAR(c->position.x, want[i].position.x, 1e-5f);
            EXPECT_NEAR(c->position.y, want[i].position.y, 1e-5f);
            EXPECT_NEAR(c->position.z, want[i].position.z, 1e-5f);
            EXPECT_FLOAT_EQ(c->s, want[i].texcoord.u);
            EXPECT_FLOAT_EQ(c->t, want[i].texcoord.v);
        }
    }
}

TEST_F(GeometryGL, ShellAlphasAreBakedUnclamped) {
    // The drawn colour is clamped to 0..1, but the value in the list is the formula's own: the
    // current colour after a shell is its last corner's, here at x = 0.
    TestMesh m;
    m.positions = {{1.0f, 0.0f, 0.0f}, {0.5f, 1.0f, 0.0f}, {0.0f, 0.0f, 0.0f}};
    m.texcoords = {{0.0f, 0.0f}};
    m.faces = {{{0, 1, 2}, {0, 0, 0}, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}}};
    MemFile file;
    Fill(file, Encode(m));
    BuildSphereEffectLists(file);
    struct Case {
        GLuint list;
        float alpha;
    } cases[] = {{AtmosphereList(), -0.6f}, {ScatterList(), 1.6f}};
    for (const Case& c : cases) {
        glCallList(c.list);
        GLfloat color[4];
        glGetFloatv(GL_CURRENT_COLOR, color);
        EXPECT_FLOAT_EQ(color[3], c.alpha);
    }
}

TEST_F(GeometryGL, RingIsAClosedStripFromRadius06To1) {
    MemFile file;
    Fill(file, "");
    BuildSphereEffectLists(file);
    ASSERT_NE(RingList(), 0u);
    EXPECT_NE(RingList(), AtmosphereList());
    EXPECT_NE(RingList(), ScatterList());

    const Polygons polys = Capture(RingList());
    ASSERT_EQ(polys.size(), 160u) << "81 vertex pairs make 160 strip triangles";
    constexpr float kTwoPi = 6.2831853f;
    for (const FedCorner& c : Flatten(polys)) {
        const float r = std::hypot(c.position.x, c.position.y);
        EXPECT_NEAR(c.position.z, 0.0f, 1e-5f);
        // t runs outward: 0 on the inner edge, 1 on the outer.
        EXPECT_NEAR(r, c.t == 0.0f ? 0.6f : 1.0f, 1e-4f) << "t " << c.t;
        EXPECT_TRUE(c.t == 0.0f || c.t == 1.0f);
        // s runs once around: s = angle / 2 pi, with s = 1 back at angle 0.
        float angle = std::atan2(c.position.y, c.position.x);
        if (angle < -1e-3f || (c.s > 0.5f && angle < 1e-3f)) angle += kTwoPi;
        EXPECT_NEAR(c.s, angle / kTwoPi, 1e-4f);
    }

    // The first and the last triangle both sit on the +x axis: s = 0 there, then s = 1.
    auto has = [](const std::vector<FedCorner>& poly, float x, float s) {
        for (const FedCorner& c : poly) {
            if (std::fabs(c.position.x - x) < 1e-4f && std::fabs(c.position.y) < 1e-4f && c.s == s)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(has(polys.front(), 0.6f, 0.0f));
    EXPECT_TRUE(has(polys.front(), 1.0f, 0.0f));
    EXPECT_TRUE(has(polys.back(), 0.6f, 1.0f));
    EXPECT_TRUE(has(polys.back(), 1.0f, 1.0f));

    // No colour, no normal.
    glNormal3f(0.0f, 1.0f, 0.0f);
    glCallList(RingList());
    GLfloat color[4], normal[3];
    glGetFloatv(GL_CURRENT_COLOR, color);
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    EXPECT_FLOAT_EQ(color[0], 0.25f);
    EXPECT_FLOAT_EQ(normal[1], 1.0f);
}

TEST_F(GeometryGL, BuiltinGeometryWithoutAnArchiveLoadsEmptyListsAndSaysWhy) {
    SetArchivePath("/nonexistent/orvello/data.sdd");
    LoadBuiltinGeometry();
    const GLuint lists[] = {EnvGeometry().list, SphereGeometry().list, NoisedSphereGeometry().list,
                            AtmosphereList(), ScatterList(), RingList()};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_NE(lists[i], 0u) << i;
        EXPECT_TRUE(glIsList(lists[i])) << i;
        for (size_t j = 0; j < i; ++j) EXPECT_NE(lists[i], lists[j]) << i << " " << j;
    }
    for (size_t i = 0; i < 5; ++i) EXPECT_TRUE(Capture(lists[i]).empty()) << i;
    EXPECT_EQ(Capture(RingList()).size(), 160u) << "the ring needs no mesh";

    std::vector<std::string> entries;
    for (const Diagnostic& d : Diagnostics()) entries.push_back(d.entry);
    const std::vector<std::string> want = {"meshes\\env.dat", "meshes\\sphere.dat",
                                           "meshes\\sphere.dat", "meshes\\sphere.dat"};
    EXPECT_EQ(entries, want);
}

}  // namespace
}  // namespace orv
