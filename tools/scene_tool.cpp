// orvello-scene: tools for scene authors.
//
//   orvello-scene path [--seed S] [--speed N] [--dt D] [--frames F]
//
// "path" flies the camera the way the saver does (seeded generator, Start, then one Advance per
// frame of D seconds scaled by the Speed setting) and prints one JSON object per frame: the
// segment time, the camera's position, look and up, and the three keys after that frame.
#include <cstdio>
#include <cstring>
#include <string>

#include "camera/camera.h"
#include "camera/random.h"
#include "tools/cli_args.h"

namespace {

constexpr const char* kUsage =
    "usage: orvello-scene path [--seed S] [--speed N] [--dt D] [--frames F]\n"
    "  --seed S    generator seed, 0 to 4294967295 (default 1)\n"
    "  --speed N   the Speed setting, 0 to 100 or more (default 50)\n"
    "  --dt D      frame time in seconds, 0 or more (default 0.016666667)\n"
    "  --frames F  number of frames to print (default 600)\n";

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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage(nullptr);
    const std::string command = argv[1];
    if (command == "path") return RunPath(argc - 2, argv + 2);
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    return Usage(("unknown command '" + command + "'").c_str());
}
