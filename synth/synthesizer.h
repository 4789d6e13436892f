// The program's own speech synthesizer: one phonetic string in, one RIFF WAVE image out
// (44-byte header, 8000 Hz, 16-bit mono). The voice is described by the file voice.txt in
// the voice folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "synth/articulation.h"
#include "synth/phonemes.h"
#include "synth/voice_params.h"

namespace kotonel::synth {

// koe: the phonetic string in code page 932; speed: 50..300 (100 is normal).
// Returns false and sets error (a message for the user, in UTF-8) when the voice folder or
// its description cannot be used or the string holds a character outside the alphabet.
bool Synthesize(const std::string& voiceFolder, std::string_view koe, int speed,
                std::vector<uint8_t>& wavImage, std::string& error);

// Everything one synthesis produced, for analysis: the morae, their times (seconds) and the
// finished samples (-1..1, level set, ends faded) before they become 16-bit integers.
struct Rendering {
  Utterance utterance;
  std::vector<MoraSpan> spans;
  std::vector<float> samples;
};

// The same synthesis with the voice given directly; koe is already decoded.
bool Render(const VoiceParams& voice, std::u32string_view koe, int speed, Rendering& rendering,
            std::string& error);

// The synthesis Synthesize does, for a voice already read from voiceFolder: with its model when
// voice.txt names one that loads, else with the formant synthesizer.
bool RenderVoice(const std::string& voiceFolder, const VoiceParams& voice, std::u32string_view koe,
                 int speed, Rendering& rendering, std::string& error);

// Where the voice's model file is: model names are relative to the voice folder.
std::string ModelPath(const std::string& voiceFolder, const VoiceParams& voice);

}  // namespace kotonel::synth
