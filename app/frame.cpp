#include "app/frame.h"

#include <GL/gl.h>

#include "app/settings.h"
#include "camera/camera.h"
#include "overlay/overlay.h"
#include "scene/scene_loader.h"

namespace orv {
namespace {

void UpdateList(const ObjectList& list, double dt) {
    for (SceneObject* object : list) object->Update(dt);
}

void DrawList(const ObjectList& list, const Camera& camera) {
    for (SceneObject* object : list) object->Draw(camera);
}

void PlaceLights(bool system) {
    if (system) {
        const GLfloat origin[] = {0.0f, 0.0f, 0.0f, 1.0f};
        glLightfv(GL_LIGHT1, GL_POSITION, origin);
    } else {
        const GLfloat far_z[] = {0.0f, 0.0f, 1000000.0f, 1.0f};
        glLightfv(GL_LIGHT1, GL_POSITION, far_z);
        glLightfv(GL_LIGHT0, GL_POSITION, far_z);
    }
}

}  // namespace

SceneRun& CurrentRun() {
    static SceneRun run;
    return run;
}

void StartRun() {
    SceneRun& run = CurrentRun();
    run.speedFactor = SpeedFactorFor(CurrentSettings().speed);
    run.currentWorld = ChooseRunWorld();
    SceneCamera().Start();
}

void RunFrame(double dt) {
    SceneRun& run = CurrentRun();
    const double start = run.cpuClock ? run.cpuClock() : 0.0;
    SceneCamera().Advance(run.speedFactor * dt);
    // The pass lists are refilled by RenderFrame, so on the first frame they are still empty:
    // every object is drawn once before it is first updated.
    UpdateList(run.firstPass, dt);
    UpdateList(run.mainPass, dt);
    UpdateList(run.postPass, dt);
    if (run.cpuClock) run.animationCpuSeconds += run.cpuClock() - start;
    AdvanceRateClock(dt);
    RenderFrame();
}

void AdvanceRateClock(double seconds) { CurrentRun().rateElapsed += seconds; }

void CloseRatePeriod() {
    SceneRun& run = CurrentRun();
    if (run.rateElapsed > 1.0) {
        run.framesPerSecond = static_cast<int32_t>(run.frameCount);
        run.frameCount = 0;
        run.rateElapsed = 0.0;
    }
}

void RenderFrame() {
    SceneRun& run = CurrentRun();
    const Settings& settings = CurrentSettings();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!run.currentWorld) return;

    run.firstPass = *run.currentWorld->firstPass;
    run.postPass = *run.currentWorld->postPass;
    run.mainPass = run.currentWorld->objects;

    const Camera& camera = SceneCamera();
    glLoadIdentity();
    camera.ApplyView();
    PlaceLights(run.currentWorld->system);

    DrawList(run.firstPass, camera);
    DrawList(run.mainPass, camera);
    DrawList(run.postPass, camera);

    glLoadIdentity();
    camera.ApplyView();
    CloseRatePeriod();

    glFlush();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    BeginOverlay2D();
    glLoadIdentity();
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    if (settings.showFps) DrawFrameRate(run.framesPerSecond);
    EndOverlay2D();
    if (settings.showClock) {
        DrawClock(run.clockHour, run.clockMinute, run.clockSecond, settings.timeFormat12);
    }
    glEnable(GL_BLEND);
    ++run.frameCount;
    glFlush();
}

}  // namespace orv
