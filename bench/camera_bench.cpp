// Cost of one camera Advance per frame, and of a frame that crosses a key (PrepareKey and a new
// random key on top of the evaluation).
#include <benchmark/benchmark.h>

#include "camera/camera.h"
#include "camera/random.h"

namespace {

void BM_CameraAdvanceFrame(benchmark::State& state) {
    orv::SeedRandom(1);
    orv::Camera camera;
    camera.Start();
    const double d = orv::SpeedFactorFor(50) / 60.0;
    for (auto _ : state) {
        camera.Advance(d);
        benchmark::DoNotOptimize(camera.position);
    }
}
BENCHMARK(BM_CameraAdvanceFrame);

void BM_CameraAdvanceKeyChange(benchmark::State& state) {
    orv::SeedRandom(1);
    orv::Camera camera;
    camera.Start();
    for (auto _ : state) {
        camera.Advance(10.0);  // every call crosses a key
        benchmark::DoNotOptimize(camera.position);
    }
}
BENCHMARK(BM_CameraAdvanceKeyChange);

}  // namespace
