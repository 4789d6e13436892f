// Speech from a recorded-speaker model: the phonetic string becomes full-context labels, the
// model speaks them at its own rate, the silences are set to the lengths the formant voices use
// for the same marks (so pauses and the reader's timing do not depend on the voice), and the
// sound is brought down to 8000 Hz through the anti-aliasing resampler, levelled and faded like
// the formant voices' sound.
#pragma once

#include <string>

#include "synth/hts_voice.h"
#include "synth/synthesizer.h"

namespace kotonel::synth {

// utterance already parsed; speed 50..300. rendering.spans gives each mora's times in the result.
bool RenderWithModel(HtsModel& model, const VoiceParams& voice, const Utterance& utterance,
                     int speed, Rendering& rendering, std::string& error);

}  // namespace kotonel::synth
