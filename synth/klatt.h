// The formant synthesizer proper, in the manner of Klatt: a glottal flow-derivative pulse
// (KLGLOTT88 shape) with jitter, flutter, vibrato and breath noise drives a cascade of a nasal
// pole-zero pair and four formant resonators; shaped noise drives a parallel bank of three
// resonators and a bypass for frication and bursts. Input: one Frame of targets per 2 ms; output:
// float samples at 8000 Hz (16 per frame), amplitudes interpolated sample by sample so nothing
// clicks.
#pragma once

#include <cstdint>
#include <vector>

#include "synth/voice_params.h"

namespace kotonel::synth {

inline constexpr int kSampleRate = 8000;
inline constexpr int kFrameSamples = 16;  // 2 ms
inline constexpr double kFrameSeconds = double(kFrameSamples) / kSampleRate;

struct Frame {
  float f0 = 100;                        // Hz
  float av = 0;                          // voicing into the cascade
  float ah = 0;                          // aspiration noise into the cascade
  float af = 0;                          // frication noise into the parallel bank
  float f[4] = {500, 1500, 2500, 3300};  // cascade formants, Hz
  float b[4] = {80, 100, 150, 250};      // their bandwidths, Hz
  float fnz = 270;                       // nasal zero, Hz (270 cancels the nasal pole)
  float pf[3] = {1500, 2500, 3600};      // parallel resonators, Hz
  float pb[3] = {200, 300, 400};
  float pa[3] = {0, 0, 0};  // their gains
  float ab = 0;             // bypass gain
};

// Renders frames with the voice's source settings. The seed fixes all noise, so the same
// frames and seed always give the same samples.
std::vector<float> RenderFrames(const std::vector<Frame>& frames, const VoiceParams& voice,
                                uint32_t seed);

}  // namespace kotonel::synth
