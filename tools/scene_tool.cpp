// orvello-scene: tools for scene authors.
//
//   orvello-scene path [--seed S] [--speed N] [--dt D] [--frames F]
//   orvello-scene dump [--data DIR] [--world NAME] [--seed S] [--steps N --dt D]
//
// "path" flies the camera the way the saver does (seeded generator, Start, then one Advance per
// frame of D seconds scaled by the Speed setting) and prints one JSON object per frame: the
// segment time, the camera's position, look and up, and the three keys after that frame.
//
// "dump" loads the scene from DIR/data.sdd the way the saver does, in an offscreen GL context,
// optionally animates the chosen world for N steps of D seconds after seeding the generator with
// S, and prints environments, worlds with every object's fields, the texture library and every
// warning as one JSON document.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/settings.h"
#include "camera/camera.h"
#include "camera/random.h"
#include "objects/describe.h"
#include "overlay/overlay.h"
#include "platform/headless_gl.h"
#include "resources/archive.h"
#include "resources/diagnostics.h"
#include "scene/resource_links.h"
#include "scene/scene_loader.h"
#include "scene/world.h"
#include "tools/cli_args.h"
#include "tools/json_writer.h"

using orv::JsonWriter;

namespace {

constexpr const char* kUsage =
    "usage: orvello-scene path [--seed S] [--speed N] [--dt D] [--frames F]\n"
    "       orvello-scene dump [--data DIR] [--world NAME] [--seed S] [--steps N] [--dt D]\n"
    "  --seed S     generator seed, 0 to 4294967295 (default 1)\n"
    "  --speed N    the Speed setting, 0 to 100 or more (default 50)\n"
    "  --dt D       frame time in seconds, 0 or more (default 0.016666667)\n"
    "  --frames F   number of frames to print (default 600)\n"
    "  --data DIR   folder holding data.sdd (default: the data folder of the settings, else .)\n"
    "  --world NAME world to animate (default: the one named \"world\", else the first)\n"
    "  --steps N    Update steps to run on that world before dumping (default 0)\n";

int Usage(const char* problem) {
    if (problem) std::fprintf(stderr, "orvello-scene: %s\n", problem);
    std::fputs(kUsage, stderr);
    return 2;
}

void PrintVec(const orv::Vec3& v) { std::printf("[%.9g,%.9g,%.9g]", v.x, v.y, v.z); }

int RunPath(int argc, char** argv) {
    uint64_t seed = 1, speed = 50, frames = 600;
    double dt = 1.0 / 60.0;
    for (int i = 0; i < argc; i += 2) {
        const std::string flag = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok;
        if (flag == "--seed") {
            ok = orv::cli::ParseUnsigned(value, UINT32_MAX, seed);
        } else if (flag == "--speed") {
            ok = orv::cli::ParseUnsigned(value, UINT32_MAX, speed);
        } else if (flag == "--frames") {
            ok = orv::cli::ParseUnsigned(value, UINT32_MAX, frames);
        } else if (flag == "--dt") {
            ok = orv::cli::ParseDouble(value, dt) && dt >= 0.0;
        } else {
            return Usage(("unknown argument '" + flag + "'").c_str());
        }
        if (!ok) {
            return Usage(("bad or missing value for " + flag).c_str());
        }
    }

    orv::SeedRandom(static_cast<uint32_t>(seed));
    orv::Camera camera;
    camera.Start();
    const double step = orv::SpeedFactorFor(static_cast<unsigned>(speed)) * dt;
    for (uint64_t f = 0; f < frames; ++f) {
        camera.Advance(step);
        std::printf("{\"frame\":%llu,\"segmentTime\":%.9g,\"position\":",
                    static_cast<unsigned long long>(f), camera.segmentTime);
        PrintVec(camera.position);
        std::printf(",\"look\":");
        PrintVec(camera.look);
        std::printf(",\"up\":");
        PrintVec(camera.up);
        std::printf(",\"keys\":[");
        for (int k = 0; k < 3; ++k) {
            if (k) std::putchar(',');
            PrintVec(camera.keys[k].position);
        }
        std::printf("]}\n");
    }
    return std::ferror(stdout) ? 1 : 0;
}

void WriteList(JsonWriter& json, const char* key, const orv::ObjectList& list) {
    json.BeginArray(key);
    for (const orv::SceneObject* object : list) {
        json.BeginObject();
        orv::DescribeObject(*object, json);
        json.EndObject();
    }
    json.EndArray();
}

void UpdateList(const orv::ObjectList& list, double dt) {
    for (orv::SceneObject* object : list) object->Update(dt);
}

int RunDump(int argc, char** argv) {
    uint64_t seed = 1, steps = 0;
    double dt = 1.0 / 60.0;
    std::string data_dir = orv::CurrentSettings().path[0] ? orv::CurrentSettings().path : ".";
    const char* world_name = nullptr;
    for (int i = 0; i < argc; i += 2) {
        const std::string flag = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = value != nullptr;
        if (flag == "--seed") {
            ok = orv::cli::ParseUnsigned(value, UINT32_MAX, seed);
        } else if (flag == "--steps") {
            ok = orv::cli::ParseUnsigned(value, 100000000, steps);
        } else if (flag == "--dt") {
            ok = orv::cli::ParseDouble(value, dt) && dt >= 0.0;
        } else if (flag == "--data") {
            if (ok) data_dir = value;
        } else if (flag == "--world") {
            world_name = value;
        } else {
            return Usage(("unknown argument '" + flag + "'").c_str());
        }
        if (!ok) return Usage(("bad or missing value for " + flag).c_str());
    }

    const std::string archive = data_dir + "/data.sdd";
    std::string why;
    if (!orv::ArchiveOpens(archive, &why)) {
        std::fprintf(stderr, "orvello-scene: cannot open %s: %s\n", archive.c_str(), why.c_str());
        return 1;
    }
    orv::SetArchivePath(archive);

    orv::platform::HeadlessGL gl(64, 64);
    if (!gl.ok()) {
        std::fprintf(stderr, "orvello-scene: no offscreen OpenGL context: %s\n",
                     gl.error().c_str());
        return 1;
    }

    orv::ClearDiagnostics();
    orv::SceneLoadSteps load_steps;
    load_steps.afterTextures = orv::BuildDigitGlyphs;
    orv::LoadSceneContent(load_steps);
    orv::World* world = nullptr;
    if (world_name) {
        world = orv::FindWorld(orv::SceneWorlds(), world_name);
        if (!world) {
            std::fprintf(stderr, "orvello-scene: no world named \"%s\"\n", world_name);
            return 2;
        }
    } else {
        world = orv::ChooseRunWorld();
    }

    orv::SeedRandom(static_cast<uint32_t>(seed));
    if (world) {
        for (uint64_t i = 0; i < steps; ++i) {
            UpdateList(*world->firstPass, dt);
            UpdateList(world->objects, dt);
            UpdateList(*world->postPass, dt);
        }
    }

    JsonWriter json;
    json.BeginObject();
    json.BeginArray("environments");
    for (const auto& env : orv::SceneEnvironments()) {
        json.BeginObject();
        json.String("name", env->name);
        WriteList(json, "firstpass", env->firstpass);
        WriteList(json, "postpass", env->postpass);
        json.EndObject();
    }
    json.EndArray();
    json.BeginArray("worlds");
    for (const auto& w : orv::SceneWorlds()) {
        json.BeginObject();
        json.String("name", w->name);
        json.String("env", w->envName[0] ? w->envName : nullptr);
        json.Bool("system", w->system);
        json.String("scenedir", w->scenedir);
        WriteList(json, "objects", w->objects);
        json.EndObject();
    }
    json.EndArray();
    json.BeginArray("textures");
    for (const orv::TextureInfo& t : orv::SceneTextureList()) {
        json.BeginObject();
        json.String("path", t.path.c_str());
        json.Int("id", t.id);
        json.EndObject();
    }
    json.EndArray();
    json.BeginArray("diagnostics");
    for (const orv::Diagnostic& d : orv::Diagnostics()) {
        json.BeginObject();
        json.String("entry", d.entry.c_str());
        json.Int("line", d.line);
        json.String("message", d.message.c_str());
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    std::printf("%s\n", json.str().c_str());
    orv::ReleaseScene();
    return std::ferror(stdout) ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage(nullptr);
    const std::string command = argv[1];
    if (command == "path") return RunPath(argc - 2, argv + 2);
    if (command == "dump") return RunDump(argc - 2, argv + 2);
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    return Usage(("unknown command '" + command + "'").c_str());
}
