// Cost of turning one 1024 × 1024 picture into a texture: JPEG decoding alone, JPEG decoding
// plus the mipmapped upload (gluBuild2DMipmaps builds the whole chain on the CPU, then hands
// every level to the driver), and the same for a 32-bit TGA.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <string>

#include "platform/headless_gl.h"
#include "resources/image_source.h"
#include "resources/jpeg_decoder.h"
#include "resources/memfile.h"
#include "resources/texture.h"
#include "resources/tga_decoder.h"
#include "tests/resources/image_fixtures.h"

namespace {

constexpr int kSide = 1024;

// A photograph-like picture: smooth gradients with some detail, so the JPEG is of usual size.
std::vector<orv::test::Rgba> Picture() {
    std::vector<orv::test::Rgba> out;
    out.reserve(size_t{kSide} * kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            out.push_back({static_cast<uint8_t>(x / 4), static_cast<uint8_t>(y / 4),
                           static_cast<uint8_t>(((x ^ y) & 63) + 96), 255});
    return out;
}

const std::string& JpegBytes() {
    static const std::string bytes =
        orv::test::MakeJpeg(kSide, kSide, Picture(), orv::test::JpegColor::kRgb, 90);
    return bytes;
}

const std::string& TgaBytes() {
    static const std::string bytes = orv::test::MakeTga({2, 32}, kSide, kSide, Picture());
    return bytes;
}

void ServeFromMemory() {
    orv::SetImageEntrySource([](orv::MemFile& file, const char* name) {
        const std::string& bytes =
            std::string(name).find(".jpg") != std::string::npos ? JpegBytes() : TgaBytes();
        file.OpenBytes(name, bytes.data(), bytes.size());
        return true;
    });
}

void BM_JpegDecode1024(benchmark::State& state) {
    orv::MemFile file;
    file.OpenBytes("textures\\p.jpg", JpegBytes().data(), JpegBytes().size());
    for (auto _ : state) {
        orv::DecodedImage image;
        if (!orv::DecodeJpegFile(file, image)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.pixels.get());
    }
    state.counters["jpeg_bytes"] = static_cast<double>(JpegBytes().size());
}
BENCHMARK(BM_JpegDecode1024)->Unit(benchmark::kMillisecond);

// Loads the picture into a texture entry as the texture list does, then deletes the texture
// so that runs do not pile up texture memory.
void LoadAndUpload(benchmark::State& state, const char* name) {
    orv::platform::HeadlessGL gl(16, 16);
    if (!gl.ok()) {
        state.SkipWithError(gl.error().c_str());
        return;
    }
    ServeFromMemory();
    for (auto _ : state) {
        orv::TextureEntry entry;
        orv::LoadTextureImage(entry, name);
        glFinish();
        if (entry.id == 0) state.SkipWithError("load failed");
        state.PauseTiming();
        glDeleteTextures(1, &entry.id);
        glFinish();
        state.ResumeTiming();
    }
    orv::SetImageEntrySource({});
}

void BM_JpegDecodeAndMipmapUpload1024(benchmark::State& state) {
    LoadAndUpload(state, "p.jpg");
}
BENCHMARK(BM_JpegDecodeAndMipmapUpload1024)->Unit(benchmark::kMillisecond);

void BM_TgaDecodeAndMipmapUpload1024(benchmark::State& state) {
    LoadAndUpload(state, "p.tga");
}
BENCHMARK(BM_TgaDecodeAndMipmapUpload1024)->Unit(benchmark::kMillisecond);

void BM_TgaDecode1024(benchmark::State& state) {
    orv::MemFile file;
    file.OpenBytes("textures\\p.tga", TgaBytes().data(), TgaBytes().size());
    for (auto _ : state) {
        file.Seek(0, 0);
        orv::TgaImage image;
        if (!orv::DecodeTgaFile(file, image)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.pixels.data());
    }
}
BENCHMARK(BM_TgaDecode1024)->Unit(benchmark::kMillisecond);

}  // namespace
