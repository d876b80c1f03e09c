// Running the saver's loading sequence and frame loop offscreen (EGL pbuffer): rendering frames
// to PNG files, and measuring speed.
#pragma once

#include <cstdint>
#include <string>

namespace orv {

struct HeadlessOptions {
    std::string dataDir = ".";
    int width = 1024, height = 768;
    uint32_t seed = 1;
    double dt = 1.0 / 60.0;
    uint32_t frames = 1;
    uint32_t every = 1;
    bool fixedClock = false;
    int clockHour = 0, clockMinute = 0, clockSecond = 0;
    bool showFps = false;
    std::string out;  // a .png file for one picture, else a folder
};

// Writes every `every`-th frame as a PNG. Returns a process exit status; prints where the
// pictures went.
int RenderToFiles(const HeadlessOptions& options);

// Loads the scene, runs `frames` frames as fast as possible and prints one JSON line of figures.
int RunBenchmark(const HeadlessOptions& options);

}  // namespace orv
