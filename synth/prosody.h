// The pitch contour, after the command-response model of Fujisaki:
//   ln F0(t) = ln Fb + sum Ap Gp(t - T0) + sum Aa [Ga(t - T1) - Ga(t - T2)]
// with Gp(t) = a^2 t e^(-a t) (phrase) and Ga(t) = min(1 - (1 + b t) e^(-b t), 0.9) (accent).
// Input: the utterance, the mora times and the voice (pitch = Fb, pitch_range scales every
// amplitude). A phrase command starts each stretch between pauses; each accent phrase gets one
// accent command in the Tokyo pattern: the first mora low unless it carries the nucleus, high up
// to and including the nucleus, low after it (a nucleus right before a pause falls within
// itself); a phrase without a nucleus rises and stays high.
// Accent commands after an accented phrase are lowered (downstep) until the next pause. "。"
// adds a final fall, "？" a rise over the last mora. Output: the f0 field of every frame.
#pragma once

#include <vector>

#include "synth/articulation.h"
#include "synth/phonemes.h"
#include "synth/voice_params.h"

namespace kotonel::synth {

void ApplyProsody(const Utterance& utterance, const std::vector<MoraSpan>& spans,
                  const VoiceParams& voice, std::vector<Frame>& frames);

}  // namespace kotonel::synth
