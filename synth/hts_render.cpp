#include "synth/hts_render.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

#include "synth/articulation.h"
#include "synth/hts_labels.h"
#include "synth/resampler.h"
#include "synth/wav_image.h"

namespace kotonel::synth {

namespace {

constexpr int kOutputRate = 8000;
// The silences around and between phrases, as the formant voices make them (seconds at speed 100).
constexpr double kLead = 0.020, kTail = 0.060, kReleaseAndOnset = 0.022;
constexpr double kEdgeFade = 0.003;
constexpr double kQuestionRise = 9.0;      // half tones over the last vowel
constexpr double kQuestionLengthen = 1.3;  // where a silence is cut in, so the cut does not click

const Resampler& ResamplerFor(int inRate) {
  static std::mutex mutex;
  static std::map<int, std::unique_ptr<Resampler>> resamplers;
  std::lock_guard<std::mutex> lock(mutex);
  auto& r = resamplers[inRate];
  if (!r) r = std::make_unique<Resampler>(inRate, kOutputRate);
  return *r;
}

void FadeTail(std::vector<float>& s, size_t length) {
  length = std::min(length, s.size());
  for (size_t i = 0; i < length; ++i) {
    double x = double(i + 1) / (length + 1);  // 1 -> 0 towards the end
    s[s.size() - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(M_PI * x));
  }
}

void FadeHead(std::vector<float>& s, size_t from, size_t length) {
  for (size_t i = 0; i < length && from + i < s.size(); ++i) {
    double x = double(i + 1) / (length + 1);
    s[from + i] *= static_cast<float>(0.5 - 0.5 * std::cos(M_PI * x));
  }
}

}  // namespace

bool RenderWithModel(HtsModel& model, const VoiceParams& voice, const Utterance& utterance,
                     int speed, Rendering& rendering, std::string& error) {
  std::vector<HtsLabel> labels = MakeHtsLabels(utterance);
  // The voices were trained on statements: a question gets its rise here, on the vowel of its
  // last mora, which is also held a little longer.
  for (size_t n = 0; n < labels.size(); ++n) {
    const HtsLabel& l = labels[n];
    if (l.mora < 0 || utterance.morae[l.mora].breakAfter != Break::kQuestion) continue;
    labels[n].lengthen = kQuestionLengthen;
    if (l.vowel) labels[n].riseHalfTones = kQuestionRise;
  }
  const double speedFactor = speed / 100.0 * voice.speedFactor;
  const double timeScale = 1.0 / speedFactor;
  HtsControls controls;
  controls.speed = speedFactor;
  controls.alpha = voice.modelAlpha;
  controls.halfTones = voice.modelHalfTones;
  controls.pitchRange = voice.modelPitchRange;
  HtsSpeech speech;
  if (!model.Speak(labels, controls, speech, error)) return false;

  const double rate = speech.sampleRate;
  const size_t fade = static_cast<size_t>(kEdgeFade * rate);
  std::vector<float> edited;
  edited.reserve(speech.samples.size());
  std::vector<size_t> start(labels.size()), end(labels.size());
  const Break finalBreak = utterance.morae.back().breakAfter;
  for (size_t n = 0; n < labels.size(); ++n) {
    const HtsLabel& l = labels[n];
    start[n] = edited.size();
    if (l.silence) {
      double seconds;
      if (n == 0) {
        seconds = kLead + std::min(PauseSeconds(utterance.leadingBreak), 0.4);
      } else if (n + 1 == labels.size()) {
        seconds = kTail;
        if (finalBreak != Break::kNone)
          seconds += std::min(PauseSeconds(finalBreak) + kReleaseAndOnset, kTail);
      } else {
        seconds = PauseSeconds(l.pause) + kReleaseAndOnset;
      }
      FadeTail(edited, fade);
      edited.resize(edited.size() + static_cast<size_t>(std::lround(seconds * timeScale * rate)));
    } else {
      const size_t from = speech.labelStarts[n], to = speech.labelStarts[n + 1];
      const bool afterSilence = n > 0 && labels[n - 1].silence;
      const size_t at = edited.size();
      for (size_t i = from; i < to; ++i) edited.push_back(speech.samples[i] / 32768.0f);
      if (afterSilence) FadeHead(edited, at, fade);
    }
    end[n] = edited.size();
  }

  rendering = Rendering{};
  rendering.utterance = utterance;
  rendering.spans.resize(utterance.morae.size());
  std::vector<bool> seen(utterance.morae.size(), false);
  for (size_t n = 0; n < labels.size(); ++n) {
    const HtsLabel& l = labels[n];
    if (l.mora < 0) continue;
    MoraSpan& s = rendering.spans[l.mora];
    if (!seen[l.mora]) s.start = start[n] / rate;
    if (l.vowel) s.vowelStart = start[n] / rate;
    s.end = end[n] / rate;
    seen[l.mora] = true;
  }
  rendering.samples = ResamplerFor(speech.sampleRate).Process(edited);
  NormalizeLevel(rendering.samples);
  FadeEnds(rendering.samples);
  return true;
}

}  // namespace kotonel::synth
