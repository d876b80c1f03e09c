// orvello-make-content: paints, models and composes the demo scene's generated files.
//
//   orvello-make-content OUT_DIR
//
// Writes OUT_DIR/textures/*.jpg|tga, OUT_DIR/meshes/*.dat and OUT_DIR/music.ogg, laid out as
// the entries of data.sdd. The scene text files come from content/ and are added by the build.
// Every file depends only on this program: fixed seeds, no clock, no environment, so each
// build writes the same bytes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tools/make_content/glyphs.h"
#include "tools/make_content/meshes.h"
#include "tools/make_content/music.h"
#include "tools/make_content/textures.h"

namespace {

namespace fs = std::filesystem;
using orv::content::Image;
using orv::content::Rgba;

struct Picture {
    const char* name;  // under textures/
    std::function<Image()> paint;
    int jpegQuality;  // 0: TGA
};

std::vector<Picture> Pictures() {
    using namespace orv::content;
    return {
        // Bodies.
        {"planet.jpg", [] { return PaintGasGiant(1024, 512); }, 88},
        {"moon1.jpg", [] { return PaintCrateredMoon(512, 256); }, 88},
        {"moon2.jpg", [] { return PaintIceMoon(512, 256); }, 88},
        {"moon3.jpg", [] { return PaintVolcanicMoon(512, 256); }, 88},
        {"rock.jpg", [] { return PaintAsteroidRock(512, 256); }, 88},
        {"storms.jpg", [] { return PaintStormFlashes(512, 256); }, 90},
        {"atmo.jpg", [] { return PaintAtmosphere(256, 128, 0.65f); }, 88},
        {"haze.jpg", [] { return PaintAtmosphere(256, 128, 0.15f); }, 88},
        {"hull.jpg", [] { return PaintHullPanels(256); }, 90},
        {"ring.tga", [] { return PaintRing(16, 512); }, 0},
        // Sky.
        {"stars.jpg", [] { return PaintStarField(1024, 1024); }, 90},
        {"nebula.jpg", [] { return PaintNebula(512, 256); }, 88},
        {"galaxy.tga", [] { return PaintGalaxy(128); }, 0},
        {"wisp.tga", [] { return PaintWisp(128); }, 0},
        // Sun, glare and lens reflections.
        {"sun.tga", [] { return PaintSun(256); }, 0},
        {"flare.tga", [] { return PaintFlareStar(128); }, 0},
        {"lens1.tga", [] { return PaintLensRing(128); }, 0},
        {"lens2.tga", [] { return PaintLensHexagon(128); }, 0},
        {"lens3.tga", [] { return PaintLensGlow(128); }, 0},
        {"halo.tga", [] { return PaintHalo(256); }, 0},
        // Sprites and particles.
        {"particle.tga", [] { return PaintSoftDot(64, Rgba{1.0f, 1.0f, 1.0f}, 1.0f); }, 0},
        {"ember.tga", [] { return PaintSoftDot(64, Rgba{1.0f, 0.6f, 0.25f}, 0.9f); }, 0},
        {"bolt.tga", [] { return PaintSoftDot(64, Rgba{0.62f, 0.75f, 1.0f}, 0.7f); }, 0},
        {"plasma.tga", [] { return PaintPlasma(64); }, 0},
        {"sparkle.tga", [] { return PaintSparkle(64); }, 0},
        // Overlay: clock digits and the loading screen.
        {"c.jpg", [] { return PaintDigitAtlas(256); }, 95},
        {"load.jpg", [] { return PaintLoadingLabel(256); }, 92},
        {"sign.jpg", [] { return PaintEmblem(256); }, 92},
    };
}

struct Model {
    const char* name;  // under meshes/
    std::function<orv::content::Mesh()> build;
};

std::vector<Model> Models() {
    using namespace orv::content;
    return {
        {"sphere.dat", [] { return MakeUvSphere(64, 32, false); }},
        {"env.dat", [] { return MakeUvSphere(48, 24, true); }},
        {"asteroid.dat", [] { return MakeAsteroid(3); }},
        {"station.dat", [] { return MakeStation(); }},
    };
}

bool WriteBytes(const fs::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

int Fail(const std::string& what) {
    std::fprintf(stderr, "orvello-make-content: cannot write %s\n", what.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: orvello-make-content OUT_DIR\n", stderr);
        return 2;
    }
    const fs::path out = argv[1];
    std::error_code ec;
    fs::create_directories(out / "textures", ec);
    fs::create_directories(out / "meshes", ec);
    if (ec) return Fail((out / "textures").string() + ": " + ec.message());

    for (const Picture& picture : Pictures()) {
        const fs::path path = out / "textures" / picture.name;
        const Image image = picture.paint();
        const bool ok = picture.jpegQuality > 0
                            ? orv::content::WriteJpeg(path.string(), image, picture.jpegQuality)
                            : orv::content::WriteTga(path.string(), image);
        if (!ok) return Fail(path.string());
    }
    for (const Model& model : Models()) {
        const fs::path path = out / "meshes" / model.name;
        if (!WriteBytes(path, model.build().Serialize())) return Fail(path.string());
    }
    const fs::path music = out / "music.ogg";
    if (!orv::content::WriteOggVorbis(music.string(), orv::content::ComposePadLoop(), 0.2f))
        return Fail(music.string());
    return 0;
}
