// The built-in demo scene, as the build packs it into data.sdd: it loads through the engine
// without a warning, shows every kind of object, and its generated files are what the engine's
// drawing relies on (closed, outward-facing meshes, sprites that fade out before their edges,
// a readable digit atlas, music that loops) and the same bytes on every build.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "objects/mesh.h"
#include "platform/headless_gl.h"
#include "resources/archive.h"
#include "resources/diagnostics.h"
#include "resources/jpeg_decoder.h"
#include "resources/memfile.h"
#include "resources/mesh_file.h"
#include "resources/tga_decoder.h"
#include "scene/resource_links.h"
#include "scene/scene_loader.h"
#include "scene/world.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

std::string Describe(const std::vector<Diagnostic>& diagnostics) {
    std::string text;
    for (const Diagnostic& d : diagnostics)
        text += d.entry + ":" + std::to_string(d.line) + ": " + d.message + "\n";
    return text;
}

// The whole demo scene, loaded once for the suite the way the saver loads it.
class DemoScene : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gl_ = new platform::HeadlessGL(64, 64);
        ASSERT_TRUE(gl_->ok()) << gl_->error();
        SetArchivePath(ORVELLO_DEMO_ARCHIVE);
        ClearDiagnostics();
        LoadSceneContent();
        diagnostics_ = Diagnostics();
    }
    static void TearDownTestSuite() {
        ReleaseScene();
        delete gl_;
        gl_ = nullptr;
    }

    // Every object of the world's three pass lists.
    static std::vector<const SceneObject*> WorldObjects() {
        std::vector<const SceneObject*> all;
        const World* world = FindWorld(SceneWorlds(), "world");
        if (!world) return all;
        for (const ObjectList* list : {world->firstPass, &world->objects, world->postPass})
            all.insert(all.end(), list->begin(), list->end());
        return all;
    }

    static platform::HeadlessGL* gl_;
    static std::vector<Diagnostic> diagnostics_;
};
platform::HeadlessGL* DemoScene::gl_ = nullptr;
std::vector<Diagnostic> DemoScene::diagnostics_;

TEST_F(DemoScene, LoadsWithoutAnyWarning) {
    EXPECT_TRUE(diagnostics_.empty()) << Describe(diagnostics_);
}

TEST_F(DemoScene, EveryListedTextureIsLoaded) {
    const std::vector<TextureInfo> textures = SceneTextureList();
    ASSERT_FALSE(textures.empty());
    std::set<std::string> paths;
    for (const TextureInfo& t : textures) {
        EXPECT_NE(t.id, 0u) << t.path;
        EXPECT_TRUE(paths.insert(t.path).second) << t.path << " is listed twice";
    }
    EXPECT_TRUE(paths.count("textures\\c.jpg")) << "the clock's digit atlas";
}

TEST_F(DemoScene, LoadingScreenPicturesLoad) {
    for (const char* name : {"load.jpg", "sign.jpg"}) EXPECT_NE(LoadStandaloneImage(name), 0u) << name;
}

TEST_F(DemoScene, ShowsTheWorldNamedWorldWithItsEnvironment) {
    const World* world = FindWorld(SceneWorlds(), "world");
    ASSERT_NE(world, nullptr);
    EXPECT_EQ(ChooseRunWorld(), world);
    EXPECT_FALSE(world->firstPass->empty()) << "the sky";
    EXPECT_FALSE(world->objects.empty());
    EXPECT_FALSE(world->postPass->empty()) << "the sun's glare";
}

TEST_F(DemoScene, HasEveryKindOfObject) {
    std::set<ObjectKind> kinds;
    for (const SceneObject* object : WorldObjects()) kinds.insert(object->kind());
    for (ObjectKind kind : {ObjectKind::kSphere, ObjectKind::kBillboard, ObjectKind::kFlare,
                            ObjectKind::kFlame, ObjectKind::kMesh, ObjectKind::kParticleSystem}) {
        EXPECT_TRUE(kinds.count(kind)) << "no object of kind " << static_cast<int>(kind);
    }
}

TEST_F(DemoScene, TexturedObjectsFoundTheirTextures) {
    for (const SceneObject* object : WorldObjects()) {
        if (object->textured) {
            EXPECT_NE(object->textureId, 0u) << "object \"" << object->name << "\" of kind "
                                              << static_cast<int>(object->kind());
        }
    }
}

TEST_F(DemoScene, MeshObjectsHaveGeometry) {
    for (const SceneObject* object : WorldObjects()) {
        if (object->kind() == ObjectKind::kMesh) {
            EXPECT_NE(static_cast<const Mesh*>(object)->displayList, 0u) << object->name;
        }
    }
}

// The generated entries themselves, read from the archive without OpenGL.
class DemoArchive : public ::testing::Test {
protected:
    void SetUp() override { SetArchivePath(ORVELLO_DEMO_ARCHIVE); }

    static std::vector<unsigned char> Entry(const char* name) {
        MemFile file;
        EXPECT_TRUE(file.Open(name)) << name;
        std::vector<unsigned char> bytes(file.size());
        if (file.size()) file.Read(bytes.data(), file.size());
        return bytes;
    }
};

Vec3 Minus(const Vec3& a, const Vec3& b) { return Vec3(a.x - b.x, a.y - b.y, a.z - b.z); }
Vec3 CrossOf(const Vec3& a, const Vec3& b) {
    return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
float DotOf(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Mesh objects are drawn with back faces culled and the sky from inside with front faces
// culled, so every triangle must be wound counter-clockwise seen from where its normals point,
// and every normal must be a unit vector (lighting reads them as they are).
TEST_F(DemoArchive, MeshesAreWoundTowardTheirUnitNormals) {
    for (const char* name : {"meshes\\sphere.dat", "meshes\\env.dat", "meshes\\asteroid.dat",
                             "meshes\\station.dat"}) {
        SCOPED_TRACE(name);
        MemFile file;
        ASSERT_TRUE(file.Open(name));
        MeshData mesh;
        ASSERT_TRUE(ReadMeshFile(file, false, mesh));
        ASSERT_FALSE(mesh.faces.empty());
        int badly_wound = 0, not_unit = 0;
        for (const MeshFace& f : mesh.faces) {
            const Vec3& a = mesh.positions[f.vertex[0]];
            const Vec3 face = CrossOf(Minus(mesh.positions[f.vertex[1]], a),
                                      Minus(mesh.positions[f.vertex[2]], a));
            Vec3 normals(0, 0, 0);
            for (const Vec3& n : f.normal) {
                if (std::fabs(DotOf(n, n) - 1.0f) > 1e-3f) ++not_unit;
                normals = Vec3(normals.x + n.x, normals.y + n.y, normals.z + n.z);
            }
            if (DotOf(face, normals) <= 0) ++badly_wound;
        }
        EXPECT_EQ(badly_wound, 0);
        EXPECT_EQ(not_unit, 0);
    }
}

// The planet, its shells (whose colours are computed from the x coordinate) and the sky are
// drawn from unit spheres centred on the origin, with normals pointing straight out.
TEST_F(DemoArchive, SpheresAreUnitSpheresWithRadialNormals) {
    for (const char* name : {"meshes\\sphere.dat", "meshes\\env.dat"}) {
        SCOPED_TRACE(name);
        MemFile file;
        ASSERT_TRUE(file.Open(name));
        MeshData mesh;
        ASSERT_TRUE(ReadMeshFile(file, false, mesh));
        float min_x = 2, max_x = -2;
        for (const Vec3& p : mesh.positions) {
            EXPECT_NEAR(std::sqrt(DotOf(p, p)), 1.0f, 1e-4f);
            min_x = std::min(min_x, p.x);
            max_x = std::max(max_x, p.x);
        }
        EXPECT_NEAR(min_x, -1.0f, 1e-3f);
        EXPECT_NEAR(max_x, 1.0f, 1e-3f);
        for (const MeshFace& f : mesh.faces)
            for (int c = 0; c < 3; ++c)
                EXPECT_GT(DotOf(f.normal[c], mesh.positions[f.vertex[c]]), 0.999f);
    }
}

// Sprites, flares and lens reflections are drawn additively as squares: any alpha left at the
// border would show the square's edge.
TEST_F(DemoArchive, SpritesFadeOutBeforeTheirBorder) {
    for (const char* name : {"sun.tga", "flare.tga", "lens1.tga", "lens2.tga", "lens3.tga",
                             "halo.tga", "galaxy.tga", "wisp.tga", "particle.tga", "ember.tga",
                             "bolt.tga", "plasma.tga", "sparkle.tga"}) {
        SCOPED_TRACE(name);
        TgaImage image;
        ASSERT_TRUE(DecodeTga((std::string("textures\\") + name).c_str(), image));
        const std::vector<uint8_t> rgba = TgaToRgba(image);
        const int w = image.width, h = image.height;
        ASSERT_EQ(rgba.size(), size_t(w) * h * 4);
        int lit_border = 0, max_alpha = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int a = rgba[(size_t(y) * w + x) * 4 + 3];
                max_alpha = std::max(max_alpha, a);
                if ((x == 0 || y == 0 || x == w - 1 || y == h - 1) && a > 0) ++lit_border;
            }
        }
        EXPECT_EQ(lit_border, 0);
        EXPECT_GT(max_alpha, 40) << "the sprite shows something";
    }
}

// The clock draws cells 0-12 of a 4 x 4 grid (digits, colon, the two noon markers) additively.
TEST_F(DemoArchive, DigitAtlasHasThirteenDistinctGlyphsOnBlack) {
    DecodedImage image;
    ASSERT_TRUE(DecodeJpeg("textures\\c.jpg", image));
    ASSERT_EQ(image.width % 4, 0);
    ASSERT_EQ(image.height % 4, 0);
    const int cw = image.width / 4, ch = image.height / 4;
    std::vector<std::vector<bool>> shapes;
    for (int cell = 0; cell < 16; ++cell) {
        // Cells count from the top of the picture; rows in memory from the bottom.
        const int x0 = (cell % 4) * cw, y0 = image.height - (cell / 4 + 1) * ch;
        std::vector<bool> shape;
        int lit = 0;
        for (int y = y0; y < y0 + ch; ++y) {
            for (int x = x0; x < x0 + cw; ++x) {
                const unsigned char* p = &image.pixels[size_t(y) * image.rowBytes + size_t(x) * 3];
                const bool on = p[0] + p[1] + p[2] > 300;
                lit += on;
                shape.push_back(on);
            }
        }
        if (cell < 13) {
            EXPECT_GT(lit, cw * ch / 60) << "cell " << cell << " is empty";
            for (size_t other = 0; other < shapes.size(); ++other)
                EXPECT_NE(shape, shapes[other]) << "cells " << other << " and " << cell;
            shapes.push_back(shape);
        } else {
            EXPECT_EQ(lit, 0) << "cell " << cell << " is not used and should stay black";
        }
    }
}

// Reading an Ogg stream from memory for libvorbisfile.
struct OggSource {
    const std::vector<unsigned char>* bytes;
    size_t at = 0;
};
size_t OggRead(void* out, size_t size, size_t count, void* source) {
    auto* s = static_cast<OggSource*>(source);
    const size_t n = std::min(size * count, s->bytes->size() - s->at);
    std::memcpy(out, s->bytes->data() + s->at, n);
    s->at += n;
    return size ? n / size : 0;
}

TEST_F(DemoArchive, MusicIsAStereoVorbisLoopThatJoinsWithoutAClick) {
    const std::vector<unsigned char> bytes = Entry("music.ogg");
    OggSource source{&bytes};
    ov_callbacks callbacks{OggRead, nullptr, nullptr, nullptr};
    OggVorbis_File vf;
    ASSERT_EQ(ov_open_callbacks(&source, &vf, nullptr, 0, callbacks), 0);
    const vorbis_info* info = ov_info(&vf, -1);
    EXPECT_EQ(info->channels, 2);
    EXPECT_EQ(info->rate, 44100);

    std::vector<float> left;
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        const long n = ov_read_float(&vf, &pcm, 4096, &section);
        ASSERT_GE(n, 0);
        if (n == 0) break;
        left.insert(left.end(), pcm[0], pcm[0] + n);
    }
    ov_clear(&vf);
    const double seconds = left.size() / 44100.0;
    EXPECT_GE(seconds, 20.0);
    EXPECT_LE(seconds, 30.0);

    // Played in a loop, the last sample is followed by the first: that step must be no larger
    // than the steps inside the piece.
    float largest_step = 0, peak = 0;
    for (size_t i = 1; i < left.size(); ++i) {
        largest_step = std::max(largest_step, std::fabs(left[i] - left[i - 1]));
        peak = std::max(peak, std::fabs(left[i]));
    }
    EXPECT_GT(peak, 0.2f) << "audible";
    EXPECT_LT(peak, 1.0f) << "no clipping";
    EXPECT_LE(std::fabs(left.front() - left.back()), largest_step);
}

std::vector<char> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

// A second run of the generator writes exactly the files the build packed.
TEST(DemoGenerator, WritesTheSameBytesEveryRun) {
    const fs::path again = fs::path(testing::TempDir()) / "demo_content_again";
    fs::remove_all(again);
    const std::string command = std::string(ORVELLO_MAKE_CONTENT) + " " + again.string();
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const fs::path built = ORVELLO_DEMO_FILES;
    int compared = 0;
    for (const auto& item : fs::recursive_directory_iterator(again)) {
        if (!item.is_regular_file()) continue;
        const fs::path relative = fs::relative(item.path(), again);
        EXPECT_TRUE(ReadFile(item.path()) == ReadFile(built / relative)) << relative;
        ++compared;
    }
    EXPECT_GT(compared, 30);
    fs::remove_all(again);
}

}  // namespace
}  // namespace orv
