// The saver's scene run: the run start, the per-frame update and RenderFrame with its three
// passes and the overlay. Time comes in as arguments, never from a clock, so a headless run can
// drive it frame by frame with a fixed step.
#pragma once

#include <cstdint>

#include "scene/world.h"

namespace orv {

struct SceneRun {
    World* currentWorld = nullptr;
    ObjectList firstPass, mainPass, postPass;
    float speedFactor = 1.5f;

    // Frame-rate counting: frames of the current period, and the count of the last period that
    // lasted just over a second (0 during the first second).
    uint32_t frameCount = 0;
    int32_t framesPerSecond = 0;
    double rateElapsed = 0.0;  // seconds since the current period started

    // The local time the clock shows (set by the caller each frame).
    int clockHour = 0, clockMinute = 0, clockSecond = 0;

    // Optional, for measuring: a CPU clock in seconds; when set, RunFrame adds the time spent
    // advancing the camera and updating the objects (the engine's own work, no GL) here.
    double (*cpuClock)() = nullptr;
    double animationCpuSeconds = 0.0;
};

SceneRun& CurrentRun();

// Speed factor from the settings, the world named "world" (else the first) made current, and
// the camera's Start.
void StartRun();

// One frame: the camera advances by SpeedFactor x dt, every object of the first-pass, main and
// post-pass lists is updated with dt (front to back), then RenderFrame.
void RunFrame(double dt);

// Draws one frame into the current GL context.
void RenderFrame();

// Closes the frame-rate period once it has lasted more than a second.
void CloseRatePeriod();

// Adds frame time to the frame-rate period (the saver's loop measures it; headless runs pass
// their fixed step).
void AdvanceRateClock(double seconds);

}  // namespace orv
