#include "tools/make_content/music.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "tools/make_content/noise.h"

namespace orv::content {
namespace {

constexpr int64_t kLoopSamples = int64_t{kMusicRate} * kMusicSeconds;
constexpr float kChordSeconds = 6.0f;
constexpr float kFadeSeconds = 2.0f;
constexpr double kPi = 3.14159265358979323846;
constexpr float kPiF = 3.14159265f;

class SineTable {
public:
    SineTable() {
        for (int i = 0; i <= kSize; ++i) table_[i] = static_cast<float>(std::sin(2 * kPi * i / kSize));
    }
    // Sine of a phase given in cycles, 0..1.
    float operator()(double phase) const {
        const double x = phase * kSize;
        const int i = static_cast<int>(x);
        const float f = static_cast<float>(x - i);
        return table_[i] + (table_[i + 1] - table_[i]) * f;
    }

private:
    static constexpr int kSize = 8192;
    float table_[kSize + 1];
};

double MidiToHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// Whole cycles over the loop nearest to the note's frequency: the tuning error is below a
// twentieth of a hertz, and the oscillator ends the loop exactly where it began.
int64_t LoopCycles(double hz) { return std::llround(hz * kMusicSeconds); }

// Phase (in cycles) of an oscillator of `cycles` per loop at sample n, exactly.
double LoopPhase(int64_t cycles, int64_t n) {
    return static_cast<double>((cycles * n) % kLoopSamples) / static_cast<double>(kLoopSamples);
}

struct Chord {
    int bass;
    int notes[5];
};
// Dmaj9, Bm9, Gmaj7(#11), Asus2: one chord every six seconds.
constexpr Chord kChords[4] = {
    {38, {50, 57, 64, 66, 73}},
    {35, {59, 62, 66, 69, 73}},
    {31, {55, 62, 66, 71, 73}},
    {33, {57, 64, 69, 71, 76}},
};

// Weight of chord c at time t: fades in over two seconds before its slot, holds, and fades out
// over two seconds; the windows of neighbours add up to one and wrap around the loop.
float ChordWeight(int c, float t) {
    const float loop = static_cast<float>(kMusicSeconds);
    float tau = std::fmod(t - c * kChordSeconds + kFadeSeconds / 2 + loop, loop);
    if (tau < kFadeSeconds) return 0.5f - 0.5f * std::cos(kPiF * tau / kFadeSeconds);
    if (tau < kChordSeconds) return 1.0f;
    tau -= kChordSeconds;
    if (tau < kFadeSeconds) return 0.5f + 0.5f * std::cos(kPiF * tau / kFadeSeconds);
    return 0.0f;
}

struct Bell {
    float start;
    double hz;
    float pan;  // -1 left .. 1 right
};

struct EncoderState {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    EncoderState() {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~EncoderState() {
        if (started) {
            ogg_stream_clear(&stream);
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    bool started = false;
};

bool WritePages(ogg_stream_state& stream, FILE* out, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        if (std::fwrite(page.header, 1, page.header_len, out) != size_t(page.header_len) ||
            std::fwrite(page.body, 1, page.body_len, out) != size_t(page.body_len))
            return false;
    }
    return true;
}

bool DrainBlocks(EncoderState& e, FILE* out) {
    ogg_packet packet;
    while (vorbis_analysis_blockout(&e.dsp, &e.block) == 1) {
        vorbis_analysis(&e.block, nullptr);
        vorbis_bitrate_addblock(&e.block);
        while (vorbis_bitrate_flushpacket(&e.dsp, &packet)) {
            ogg_stream_packetin(&e.stream, &packet);
            if (!WritePages(e.stream, out, false)) return false;
        }
    }
    return true;
}

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

}  // namespace

std::vector<float> ComposePadLoop() {
    static const SineTable sine;
    std::vector<float> out(static_cast<size_t>(kLoopSamples) * 2, 0.0f);

    // Bell notes from the chord of the moment, an octave up, every second and a half.
    std::vector<Bell> bells;
    Rng rng(301);
    for (int i = 0; i < 16; ++i) {
        const float start = 1.5f * i + 0.25f;
        const Chord& chord = kChords[static_cast<int>(start / kChordSeconds) % 4];
        const int note = chord.notes[1 + static_cast<int>(rng.Unit() * 4)] + 12;
        bells.push_back({start, MidiToHz(note), (i % 2 ? 0.55f : -0.55f) * rng.Range(0.4f, 1.0f)});
    }

    // Oscillators of each chord, in whole cycles per loop: the bass, then for every note three
    // partials, each as two slightly detuned copies spread across the stereo field.
    struct Voice {
        int64_t up, down;
        float amplitude;
    };
    std::vector<Voice> voices[4];
    int64_t bass_cycles[4];
    const float partial_weight[3] = {1.0f, 0.32f, 0.1f};
    for (int c = 0; c < 4; ++c) {
        bass_cycles[c] = LoopCycles(MidiToHz(kChords[c].bass));
        for (int note : kChords[c].notes) {
            for (int k = 0; k < 3; ++k) {
                const int64_t cycles = LoopCycles(MidiToHz(note) * (k + 1));
                const int64_t detune = std::max<int64_t>(1, cycles / 900);
                voices[c].push_back({cycles + detune, cycles - detune, 0.05f * partial_weight[k]});
            }
        }
    }

    for (int64_t n = 0; n < kLoopSamples; ++n) {
        const float t = static_cast<float>(n) / kMusicRate;
        float left = 0, right = 0;
        for (int c = 0; c < 4; ++c) {
            const float w = ChordWeight(c, t);
            if (w <= 0) continue;
            const float bass = 0.16f * sine(LoopPhase(bass_cycles[c], n));
            left += w * bass;
            right += w * bass;
            for (const Voice& v : voices[c]) {
                const float up = sine(LoopPhase(v.up, n));
                const float down = sine(LoopPhase(v.down, n));
                const float a = v.amplitude * w;
                left += a * (0.7f * up + 0.3f * down);
                right += a * (0.3f * up + 0.7f * down);
            }
        }
        for (const Bell& bell : bells) {
            float dt = t - bell.start;
            if (dt < 0) dt += static_cast<float>(kMusicSeconds);
            if (dt > 6.0f) continue;
            const double phase = bell.hz * dt;
            const float ring = sine(phase - std::floor(phase)) * std::exp(-dt / 1.6f) +
                               0.25f * sine(2.76 * phase - std::floor(2.76 * phase)) * std::exp(-dt / 0.5f);
            const float attack = std::min(1.0f, dt / 0.004f);
            const float v = 0.05f * ring * attack;
            left += v * (1.0f - bell.pan) * 0.5f;
            right += v * (1.0f + bell.pan) * 0.5f;
        }
        // A slow swell, six times per loop.
        const float swell = 1.0f + 0.1f * sine(LoopPhase(6, n));
        out[size_t(n) * 2] = left * swell;
        out[size_t(n) * 2 + 1] = right * swell;
    }

    float peak = 0;
    for (float s : out) peak = std::max(peak, std::fabs(s));
    const float gain = peak > 0 ? 0.6f / peak : 1.0f;
    for (float& s : out) s *= gain;
    return out;
}

bool WriteOggVorbis(const std::string& path, const std::vector<float>& stereo, float quality) {
    std::unique_ptr<FILE, FileCloser> out(std::fopen(path.c_str(), "wb"));
    if (!out) return false;
    EncoderState e;
    if (vorbis_encode_init_vbr(&e.info, 2, kMusicRate, quality) != 0) return false;
    vorbis_comment_add_tag(&e.comment, "TITLE", "Orvello demo loop");
    vorbis_analysis_init(&e.dsp, &e.info);
    vorbis_block_init(&e.dsp, &e.block);
    ogg_stream_init(&e.stream, 0x4F52564C);
    e.started = true;

    ogg_packet header, comment, codebooks;
    vorbis_analysis_headerout(&e.dsp, &e.comment, &header, &comment, &codebooks);
    ogg_stream_packetin(&e.stream, &header);
    ogg_stream_packetin(&e.stream, &comment);
    ogg_stream_packetin(&e.stream, &codebooks);
    if (!WritePages(e.stream, out.get(), true)) return false;

    const size_t frames = stereo.size() / 2;
    constexpr size_t kChunk = 4096;
    for (size_t at = 0; at < frames; at += kChunk) {
        const size_t n = std::min(kChunk, frames - at);
        float** buffer = vorbis_analysis_buffer(&e.dsp, static_cast<int>(n));
        for (size_t i = 0; i < n; ++i) {
            buffer[0][i] = stereo[(at + i) * 2];
            buffer[1][i] = stereo[(at + i) * 2 + 1];
        }
        vorbis_analysis_wrote(&e.dsp, static_cast<int>(n));
        if (!DrainBlocks(e, out.get())) return false;
    }
    vorbis_analysis_wrote(&e.dsp, 0);
    if (!DrainBlocks(e, out.get())) return false;
    if (!WritePages(e.stream, out.get(), true)) return false;
    return std::ferror(out.get()) == 0;
}

}  // namespace orv::content
