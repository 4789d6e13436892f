// Voice effects applied to the rendered speech before its level is set. "ring" multiplies the
// sound by a sine carrier (effect_frequency) and mixes the product in (effect_mix): the
// metallic timbre of a machine voice. "none" leaves the samples alone.
#pragma once

#include <vector>

#include "synth/voice_params.h"

namespace kotonel::synth {

void ApplyEffect(std::vector<float>& samples, const VoiceParams& voice, int sampleRate = 8000);

}  // namespace kotonel::synth
