#include "app/headless.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/frame.h"
#include "app/gl_state.h"
#include "app/settings.h"
#include "camera/camera.h"
#include "camera/random.h"
#include "overlay/overlay.h"
#include "platform/headless_gl.h"
#include "platform/png_file.h"
#include "platform/system.h"
#include "resources/archive.h"
#include "resources/diagnostics.h"
#include "resources/progress.h"
#include "scene/scene_loader.h"

namespace orv {
namespace {

// Everything up to the first frame, as the saver does it: loading-screen images, GL state,
// the scene (with the loading screen redrawn after every item), the generator seeded, the run
// started. Returns false (after printing why) when it cannot start.
bool PrepareRun(const HeadlessOptions& options, platform::HeadlessGL& gl) {
    if (!gl.ok()) {
        std::fprintf(stderr, "orvello: no offscreen OpenGL context: %s\n", gl.error().c_str());
        return false;
    }
    const std::string archive = options.dataDir + "/data.sdd";
    std::string why;
    if (!orv::ArchiveOpens(archive, &why)) {
        std::fprintf(stderr, "orvello: cannot open %s: %s\n", archive.c_str(), why.c_str());
        return false;
    }
    SetArchivePath(archive);
    SetDiagnosticsEcho(true);

    Settings& settings = CurrentSettings();
    settings.width = static_cast<uint32_t>(options.width);
    settings.height = static_cast<uint32_t>(options.height);
    settings.showFps = options.showFps;

    LoadLoadingImages();
    InitOpenGL();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SetLoadProgressCallback([] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawLoadingScreen();
    });
    SceneLoadSteps steps;
    steps.afterTextures = BuildDigitGlyphs;
    LoadSceneContent(steps);
    SetLoadProgressCallback(nullptr);

    SeedRandom(options.seed);
    StartRun();
    if (!CurrentRun().currentWorld) {
        std::fprintf(stderr, "orvello: warning: the archive has no world; frames stay black\n");
    }
    return true;
}

void SetClock(const HeadlessOptions& options) {
    SceneRun& run = CurrentRun();
    if (options.fixedClock) {
        run.clockHour = options.clockHour;
        run.clockMinute = options.clockMinute;
        run.clockSecond = options.clockSecond;
    } else {
        platform::LocalTimeOfDay(&run.clockHour, &run.clockMinute, &run.clockSecond);
    }
}

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t i = static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(i, values.size() - 1)];
}

}  // namespace

int RenderToFiles(const HeadlessOptions& options) {
    platform::HeadlessGL gl(options.width, options.height);
    if (!PrepareRun(options, gl)) return 1;

    const uint32_t pictures = options.frames / options.every;
    const bool single_file = pictures == 1 && EndsWith(options.out, ".png");
    if (!single_file && !platform::MakeDirectories(options.out)) {
        std::fprintf(stderr, "orvello: cannot create folder %s\n", options.out.c_str());
        return 1;
    }
    uint32_t written = 0;
    std::string last;
    for (uint32_t frame = 1; frame <= options.frames; ++frame) {
        SetClock(options);
        RunFrame(options.dt);
        if (frame % options.every != 0) continue;
        gl.Finish();
        char name[64];
        std::snprintf(name, sizeof name, "/frame_%05u.png", frame);
        last = single_file ? options.out : options.out + name;
        std::string error;
        if (!platform::WritePng(last, gl.width(), gl.height(), gl.ReadColor(), &error)) {
            std::fprintf(stderr, "orvello: %s\n", error.c_str());
            return 1;
        }
        ++written;
    }
    if (written == 1)
        std::printf("orvello: wrote %s\n", last.c_str());
    else
        std::printf("orvello: wrote %u frames to %s/\n", written, options.out.c_str());
    return 0;
}

int RunBenchmark(const HeadlessOptions& options) {
    platform::HeadlessGL gl(options.width, options.height);
    const double load_start = platform::MonotonicSeconds();
    if (!PrepareRun(options, gl)) return 1;
    gl.Finish();
    const double load_seconds = platform::MonotonicSeconds() - load_start;

    CurrentRun().cpuClock = platform::ThreadCpuSeconds;
    std::vector<double> frame_ms;
    std::vector<double> window_fps;
    frame_ms.reserve(options.frames);
    double window_start = platform::MonotonicSeconds();
    uint32_t window_frames = 0;
    double previous = window_start;
    for (uint32_t frame = 0; frame < options.frames; ++frame) {
        SetClock(options);
        RunFrame(options.dt);
        gl.Finish();  // count the frame as done when its pixels are
        const double now = platform::MonotonicSeconds();
        frame_ms.push_back((now - previous) * 1000.0);
        previous = now;
        ++window_frames;
        if (now - window_start >= 1.0) {
            window_fps.push_back(window_frames / (now - window_start));
            window_start = now;
            window_frames = 0;
        }
    }
    if (window_fps.empty() && !frame_ms.empty()) {
        window_fps.push_back(window_frames / (previous - window_start));
    }
    std::printf(
        "{\"size\":[%d,%d],\"frames\":%u,\"loadSeconds\":%.3f,\"fpsMedian\":%.1f,"
        "\"msPerFrameMedian\":%.2f,\"msPerFrameP95\":%.2f,\"animationCpuMsPerFrame\":%.3f,"
        "\"peakMemoryMiB\":%.1f}\n",
        options.width, options.height, options.frames, load_seconds, Percentile(window_fps, 0.5),
        Percentile(frame_ms, 0.5), Percentile(frame_ms, 0.95),
        options.frames ? CurrentRun().animationCpuSeconds * 1000.0 / options.frames : 0.0,
        platform::PeakResidentBytes() / (1024.0 * 1024.0));
    return 0;
}

}  // namespace orv
