// The finished sound: level, fades and the RIFF WAVE image. Input: float samples at 8000 Hz of
// any scale. NormalizeLevel brings the speech (10 ms windows within 40 dB of the loudest) to
// an RMS of -18 dBFS and rounds peaks off softly so none reaches -3 dBFS; FadeEnds ramps the
// first and last 5 ms. MakeWavImage gives the 44-byte header and 16-bit mono PCM.
#pragma once

#include <cstdint>
#include <vector>

namespace kotonel::synth {

inline constexpr double kTargetRmsDb = -18.0;
inline constexpr double kPeakCeilingDb = -3.2;

void NormalizeLevel(std::vector<float>& samples);
void FadeEnds(std::vector<float>& samples, int fadeSamples = 40);
// Samples in -1..1 become 16-bit integers (rounded, clipped).
std::vector<uint8_t> MakeWavImage(const std::vector<float>& samples, int sampleRate = 8000);

}  // namespace kotonel::synth
