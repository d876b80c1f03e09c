// The demo's music: a soft pad of four chords with a few bell notes, made to loop without a
// seam, encoded as Ogg Vorbis.
#pragma once

#include <string>
#include <vector>

namespace orv::content {

constexpr int kMusicRate = 44100;
constexpr int kMusicSeconds = 24;

// Interleaved stereo samples, -1..1, exactly kMusicSeconds long. The end runs into the start:
// every oscillator completes whole cycles over the loop and every envelope wraps around.
std::vector<float> ComposePadLoop();

// Encodes interleaved stereo samples at kMusicRate (variable bit rate, fixed stream serial,
// so the same samples always give the same bytes).
bool WriteOggVorbis(const std::string& path, const std::vector<float>& stereo, float quality);

}  // namespace orv::content
