// Cost of the particle systems' Update per particle in each mode, and of reading object
// description files of mixed kinds (throughput at several sizes, to show it grows linearly).
// Cost of drawing a flame and a particle system in each mode on a small offscreen picture.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <string>

#include "app/gl_state.h"
#include "app/settings.h"
#include "camera/camera.h"
#include "camera/random.h"
#include "objects/flame.h"
#include "objects/particle_system.h"
#include "platform/headless_gl.h"
#include "resources/diagnostics.h"
#include "scene/object_list.h"
#include "scene/object_reader.h"

namespace {

constexpr int kParticles = 10000;

orv::ObjectList ReadText(const std::string& text) {
    orv::ObjectList list;
    orv::SharedObjectFile().OpenBytes("bench.txt", text.data(), text.size());
    orv::ReadOpenObjectFile(list);
    return list;
}

orv::ParticleSystem& LoadSystem(orv::ObjectList& list, const char* mode) {
    orv::SeedRandom(1);
    list = ReadText(std::string("ps\nbegin\n") + mode +
                    "\nsize 2000\npoint1 V(0 0 0)\ndens " + std::to_string(kParticles) +
                    "\nend\nENDWORLD\n");
    return static_cast<orv::ParticleSystem&>(*list.at(0));
}

void SetPerParticle(benchmark::State& state) {
    state.counters["per_particle"] = benchmark::Counter(
        kParticles, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A steady run of 60 Hz frames: in the line mode particles restart as they expire, in the circ
// mode a burst comes every 2 to 3 seconds, in the flash mode a tick comes every few frames.
void BM_ParticleUpdateFrame(benchmark::State& state, const char* mode) {
    orv::ObjectList list;
    orv::ParticleSystem& ps = LoadSystem(list, mode);
    for (auto _ : state) {
        ps.Update(1.0 / 60.0);
        benchmark::DoNotOptimize(ps.positions.data());
    }
    SetPerParticle(state);
    list.clear();
    orv::ReleaseSceneObjects();
}
BENCHMARK_CAPTURE(BM_ParticleUpdateFrame, line, "line");
BENCHMARK_CAPTURE(BM_ParticleUpdateFrame, circ, "circ");
BENCHMARK_CAPTURE(BM_ParticleUpdateFrame, flash, "flash");

// The most expensive frames: every update starts a circ burst (ten draws and two rotations per
// particle), or lays a new lightning chain.
void BM_ParticleUpdateBurst(benchmark::State& state) {
    orv::ObjectList list;
    orv::ParticleSystem& ps = LoadSystem(list, "circ");
    for (auto _ : state) {
        ps.Update(3.5);  // longer than any burst period
        benchmark::DoNotOptimize(ps.positions.data());
    }
    SetPerParticle(state);
    list.clear();
    orv::ReleaseSceneObjects();
}
BENCHMARK(BM_ParticleUpdateBurst);

void BM_ParticleUpdateNewFlash(benchmark::State& state) {
    orv::ObjectList list;
    orv::ParticleSystem& ps = LoadSystem(list, "flash");
    for (auto _ : state) {
        ps.tickCount = 2 * kParticles;  // the next tick starts a new flash
        ps.Update(0.06);                // longer than any tick period
        benchmark::DoNotOptimize(ps.positions.data());
    }
    SetPerParticle(state);
    list.clear();
    orv::ReleaseSceneObjects();
}
BENCHMARK(BM_ParticleUpdateNewFlash);

// A file of `objects` objects cycling through the six kinds, with typical keyword blocks. Every
// "parent" names the first object, as when a whole system orbits one sun; with
// `recent_parents` each flame names the mesh just before it instead, which makes every lookup
// scan the whole list read so far.
std::string MixedObjectFile(int objects, bool recent_parents) {
    // No "geometry" line: loading a mesh entry would measure the archive and GL, not the reader.
    std::string text = "mesh\nbegin Sun\nscale 3\nend\n";
    for (int i = 1; i < objects; ++i) {
        const std::string n = std::to_string(i);
        switch (i % 6) {
            case 0:
                text += "sphere\nbegin S" + n +
                        "\nradius 2\nposition V(10 0 " + n +
                        ")\ntexture textures\\earth.jpg\nparent Sun\nend\n";
                break;
            case 1:
                text += "billboard\nbegin\nposition V(1 2 3)\ntexture textures\\glow.tga\n"
                        "size 40\nend\n";
                break;
            case 2:
                text += "flare\nbegin\nposition V(0 0 -9000)\ntexture textures\\flare.jpg\n"
                        "parent Sun\nend\n";
                break;
            case 3:
                text += "mesh\nbegin M" + n +
                        "\nposition V(4 5 6)\norient V(0 1 0) 30\nscale 1.5\nmaterial\n"
                        "\tmetal\n\tchrome\n\tmap1 textures\\hull.jpg\n\tmap2 none\nblend\n"
                        "color V(0.5 1 1)\nend\n";
                break;
            case 4:
                text += "flame\nbegin\nsize 300\nangle 0.1\nell 1.2\noffset 40\n"
                        "orient V(0 0 0)\ncolorfrom V(1 0.8 0.2)\ncolorto V(1 0 0)\nparent " +
                        (recent_parents ? "M" + std::to_string(i - 1) : std::string("Sun")) +
                        "\nend\n";
                break;
            default:
                text += "ps\nbegin\ntexture textures\\spark.tga\ncirc\nsize 500\n"
                        "point1 V(0 0 0)\ndens 20\ntime 2\nend\n";
                break;
        }
    }
    return text + "ENDWORLD\n";
}

void ReadMixedFile(benchmark::State& state, bool recent_parents) {
    const std::string text = MixedObjectFile(static_cast<int>(state.range(0)), recent_parents);
    for (auto _ : state) {
        orv::ClearDiagnostics();
        orv::SeedRandom(1);
        orv::ObjectList list = ReadText(text);
        benchmark::DoNotOptimize(list.data());
        state.PauseTiming();
        list.clear();
        orv::ReleaseSceneObjects();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["objects"] = static_cast<double>(state.range(0));
    state.counters["per_object"] = benchmark::Counter(
        static_cast<double>(state.range(0)),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ReadObjectFile(benchmark::State& state) { ReadMixedFile(state, false); }
BENCHMARK(BM_ReadObjectFile)->Arg(2500)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ReadObjectFileRecentParents(benchmark::State& state) { ReadMixedFile(state, true); }
BENCHMARK(BM_ReadObjectFileRecentParents)
    ->Arg(2500)
    ->Arg(5000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);

// Drawing: immediate-mode calls plus the fill of a 320 x 240 picture (waited for with
// glFinish), seen from 60000 units away so that sprites cover a few pixels each.
constexpr int kDrawnParticles = 1000;

bool StartPicture(benchmark::State& state, orv::platform::HeadlessGL& gl, orv::Camera& camera) {
    if (!gl.ok()) {
        state.SkipWithError(gl.error().c_str());
        return false;
    }
    orv::CurrentSettings().width = 320;
    orv::CurrentSettings().height = 240;
    orv::InitOpenGL();
    camera.eye = camera.position = orv::Vec3(0.0f, 0.0f, 60000.0f);
    glLoadIdentity();
    camera.ApplyView();
    return true;
}

void BM_ParticleDraw(benchmark::State& state, orv::ParticleMode mode) {
    orv::platform::HeadlessGL gl(320, 240);
    orv::Camera camera;
    if (!StartPicture(state, gl, camera)) return;
    orv::SeedRandom(1);
    orv::ParticleSystem ps;
    ps.mode = mode;
    ps.size = 2000.0f;
    ps.CreateParticles(kDrawnParticles);
    for (int frame = 0; frame < 30; ++frame) ps.Update(1.0 / 60.0);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ps.Draw(camera);
        gl.Finish();
    }
    state.counters["per_particle"] = benchmark::Counter(
        kDrawnParticles,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(BM_ParticleDraw, line, orv::ParticleMode::kLine);
BENCHMARK_CAPTURE(BM_ParticleDraw, circ, orv::ParticleMode::kCirc);
BENCHMARK_CAPTURE(BM_ParticleDraw, flash, orv::ParticleMode::kFlash);

// A flame recomputes its 201 ring points for each of its four bands and its line every frame.
void BM_FlameDraw(benchmark::State& state) {
    orv::platform::HeadlessGL gl(320, 240);
    orv::Camera camera;
    if (!StartPicture(state, gl, camera)) return;
    orv::Flame flame;
    flame.radius = 20000.0f;
    flame.bandWidth = 2000.0f;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        flame.Draw(camera);
        gl.Finish();
    }
}
BENCHMARK(BM_FlameDraw);

}  // namespace
