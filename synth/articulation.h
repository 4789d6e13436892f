// From morae to sound targets over time. Input: the parsed utterance, the voice and a time
// scale (1 at speed 100; every duration is multiplied by it). Output: one Frame of targets per
// 2 ms (pitch left for the prosody), and for each mora its start, the start of its vowel (or
// nasal/held part) and its end, in seconds. Each phoneme has targets (formants, source
// amplitudes, frication spectrum); the tracks are smoothed so that formants glide between
// neighbours (coarticulation) while sources switch within a few milliseconds.
//
// Vowel targets (adult male, formant_scale 1; a voice multiplies them by its formant_scale),
// after published averages for Tokyo speakers:
//   あ F1 750 F2 1250   い F1 300 F2 2200   う F1 340 F2 1400   え F1 480 F2 1900
//   お F1 470 F2 880   (う after s, ts, z: F2 1550)
// A mora lasts about 130 ms at speed 100 (7.5-8 morae per second); silent pauses: "," 100 ms,
// "、" 250 ms, "。" and "？" 400 ms, ";" 40 ms; at the very end a pause is cut to 60 ms
// because the reader waits after every piece anyway. The voice dies away into a pause over
// about 16 ms and starts again over 10 ms.
#pragma once

#include <vector>

#include "synth/klatt.h"
#include "synth/phonemes.h"
#include "synth/voice_params.h"

namespace kotonel::synth {

struct MoraSpan {
  double start = 0, vowelStart = 0, end = 0;  // seconds
};

struct Articulation {
  std::vector<Frame> frames;
  std::vector<MoraSpan> spans;  // parallel to Utterance::morae
};

// Male formant targets of a vowel: F1, F2 (Hz).
void VowelFormants(Vowel v, double& f1, double& f2);

// Length of the pause a mark makes at speed 100, in seconds (0 for Break::kNone).
double PauseSeconds(Break b);

Articulation Articulate(const Utterance& utterance, const VoiceParams& voice, double timeScale);

}  // namespace kotonel::synth
