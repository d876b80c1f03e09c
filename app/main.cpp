// orvello: the screen saver.
//
//   orvello --render OUT [--data DIR] [--size WxH] [--seed S] [--dt D] [--frames N] [--every K]
//           [--clock HH:MM:SS] [--fps]
//   orvello --bench [--data DIR] [--size WxH] [--frames N] [--seed S]
//
// --render runs the saver's loading sequence and frame loop offscreen and writes every K-th
// frame as a PNG (OUT is a .png file for one picture, else a folder). --bench prints one JSON
// line of load time, frame rate, frame times and peak memory.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/headless.h"
#include "app/settings.h"
#include "tools/cli_args.h"

namespace {

constexpr const char* kUsage =
    "usage: orvello --render OUT [--data DIR] [--size WxH] [--seed S] [--dt D] [--frames N]\n"
    "                [--every K] [--clock HH:MM:SS] [--fps]\n"
    "       orvello --bench [--data DIR] [--size WxH] [--frames N] [--seed S]\n"
    "  --data DIR   folder holding data.sdd (default: the data folder of the settings, else .)\n"
    "  --size WxH   picture size (default 1024x768)\n"
    "  --seed S     random seed (default 1)\n"
    "  --dt D       fixed frame time in seconds (default 1/60)\n"
    "  --frames N   frames to run (default 1 for --render, 600 for --bench)\n"
    "  --every K    write every K-th frame (default 1)\n"
    "  --clock T    time the clock shows (default: the local time)\n"
    "  --fps        show the frame-rate counter\n";

int Usage(const std::string& problem) {
    std::fprintf(stderr, "orvello: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

bool ParseSize(const char* text, int& w, int& h) {
    if (!text) return false;
    unsigned uw = 0, uh = 0;
    char tail = 0;
    if (std::sscanf(text, "%ux%u%c", &uw, &uh, &tail) != 2) return false;
    if (uw < 16 || uh < 16 || uw > 8192 || uh > 8192) return false;
    w = static_cast<int>(uw);
    h = static_cast<int>(uh);
    return true;
}

bool ParseClock(const char* text, orv::HeadlessOptions& o) {
    if (!text) return false;
    char tail = 0;
    if (std::sscanf(text, "%d:%d:%d%c", &o.clockHour, &o.clockMinute, &o.clockSecond, &tail) != 3)
        return false;
    if (o.clockHour < 0 || o.clockHour > 23 || o.clockMinute < 0 || o.clockMinute > 59 ||
        o.clockSecond < 0 || o.clockSecond > 59)
        return false;
    o.fixedClock = true;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage("no mode given");
    const std::string mode = argv[1];
    if (mode == "--help" || mode == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (mode != "--render" && mode != "--bench") return Usage("unknown mode '" + mode + "'");

    orv::HeadlessOptions o;
    const orv::Settings& settings = orv::CurrentSettings();
    if (settings.path[0]) o.dataDir = settings.path;
    int i = 2;
    if (mode == "--render") {
        if (argc < 3 || argv[2][0] == '-') return Usage("--render needs an output file or folder");
        o.out = argv[2];
        i = 3;
    } else {
        o.frames = 600;
    }
    for (; i < argc; ++i) {
        const std::string flag = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        uint64_t n = 0;
        bool ok = true;
        if (flag == "--fps") {
            o.showFps = true;
            continue;
        } else if (flag == "--data") {
            ok = value != nullptr;
            if (ok) o.dataDir = value;
        } else if (flag == "--size") {
            ok = ParseSize(value, o.width, o.height);
        } else if (flag == "--seed") {
            ok = orv::cli::ParseUnsigned(value, UINT32_MAX, n);
            o.seed = static_cast<uint32_t>(n);
        } else if (flag == "--dt") {
            ok = orv::cli::ParseDouble(value, o.dt) && o.dt >= 0.0 && o.dt <= 10.0;
        } else if (flag == "--frames") {
            ok = orv::cli::ParseUnsigned(value, 10000000, n) && n > 0;
            o.frames = static_cast<uint32_t>(n);
        } else if (flag == "--every") {
            ok = orv::cli::ParseUnsigned(value, 10000000, n) && n > 0;
            o.every = static_cast<uint32_t>(n);
        } else if (flag == "--clock") {
            ok = ParseClock(value, o);
        } else {
            return Usage("unknown argument '" + flag + "'");
        }
        if (!ok) return Usage("bad or missing value for " + flag);
        ++i;
    }
    if (o.every > o.frames) return Usage("--every is larger than --frames: no frame would be written");
    return mode == "--render" ? orv::RenderToFiles(o) : orv::RunBenchmark(o);
}
