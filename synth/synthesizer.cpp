#include "synth/synthesizer.h"

#include <iostream>
#include <mutex>
#include <new>
#include <set>

#include "synth/effects.h"
#include "synth/hts_render.h"
#include "synth/klatt.h"
#include "synth/prosody.h"
#include "synth/wav_image.h"
#include "util/encoding.h"

namespace kotonel::synth {

namespace {
constexpr uint32_t kNoiseSeed = 0x4B6F746Fu;  // fixed: the same input always gives the same bytes

// A voice whose model is missing or broken still speaks, with its formant description; the
// cause is told once per file on the standard error, which is where the reader's own problems go.
void WarnOnce(const std::string& path, const std::string& message) {
  static std::mutex mutex;
  static std::set<std::string> told;
  std::lock_guard<std::mutex> lock(mutex);
  if (told.insert(path).second)
    std::cerr << message << "（この声は代わりの合成音で話します）" << std::endl;
}
}  // namespace

std::string ModelPath(const std::string& voiceFolder, const VoiceParams& voice) {
  if (voice.model.empty() || voice.model.front() == '/') return voice.model;
  return voiceFolder + (voiceFolder.empty() || voiceFolder.back() == '/' ? "" : "/") + voice.model;
}

bool RenderVoice(const std::string& voiceFolder, const VoiceParams& voice, std::u32string_view koe,
                 int speed, Rendering& rendering, std::string& error) {
  if (!voice.model.empty()) {
    std::string modelError;
    const std::string path = ModelPath(voiceFolder, voice);
    std::shared_ptr<HtsModel> model = HtsModel::Load(path, modelError);
    if (model) {
      if (speed < 50 || speed > 300) {
        error = "話す速さは 50 から 300 までです: " + std::to_string(speed);
        return false;
      }
      Utterance utterance;
      if (!ParseKoe(koe, utterance, error)) return false;
      // Marks alone make no phonemes: the formant synthesizer's short silence serves.
      if (utterance.morae.empty()) return Render(voice, koe, speed, rendering, error);
      if (RenderWithModel(*model, voice, utterance, speed, rendering, modelError)) return true;
    }
    WarnOnce(path, modelError);
  }
  return Render(voice, koe, speed, rendering, error);
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
    if (!RenderVoice(voiceFolder, voice, FromCp932(koe), speed, rendering, error)) return false;
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
