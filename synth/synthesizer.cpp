#include "synth/synthesizer.h"

#include <new>

#include "synth/effects.h"
#include "synth/klatt.h"
#include "synth/prosody.h"
#include "synth/wav_image.h"
#include "util/encoding.h"

namespace kotonel::synth {

namespace {
constexpr uint32_t kNoiseSeed = 0x4B6F746Fu;  // fixed: the same input always gives the same bytes
}

bool Render(const VoiceParams& voice, std::u32string_view koe, int speed, Rendering& rendering,
            std::string& error) {
  rendering = Rendering{};
  if (speed < 50 || speed > 300) {
    error = "話す速さは 50 から 300 までです: " + std::to_string(speed);
    return false;
  }
  if (!ParseKoe(koe, rendering.utterance, error)) return false;
  const double timeScale = 100.0 / (speed * voice.speedFactor);
  Articulation art = Articulate(rendering.utterance, voice, timeScale);
  ApplyProsody(rendering.utterance, art.spans, voice, art.frames);
  rendering.samples = RenderFrames(art.frames, voice, kNoiseSeed);
  ApplyEffect(rendering.samples, voice);
  NormalizeLevel(rendering.samples);
  FadeEnds(rendering.samples);
  rendering.spans = std::move(art.spans);
  return true;
}

bool Synthesize(const std::string& voiceFolder, std::string_view koe, int speed,
                std::vector<uint8_t>& wavImage, std::string& error) {
  wavImage.clear();
  error.clear();
  VoiceParams voice;
  if (!LoadVoiceParams(voiceFolder, voice, error)) return false;
  try {
    Rendering rendering;
    if (!Render(voice, FromCp932(koe), speed, rendering, error)) return false;
    wavImage = MakeWavImage(rendering.samples);
  } catch (const std::bad_alloc&) {
    // The reader must survive a string too long for the memory left: it is a failure like any.
    wavImage.clear();
    error = "音声を合成するメモリが足りません";
    return false;
  }
  return true;
}

}  // namespace kotonel::synth
