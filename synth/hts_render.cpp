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
constexpr double kQuestionRise = 9.0;  // half tones over the last vowel
constexpr double kQuestionLengthen = 1.3;
// Each accented phrase lowers the phrases after it up to the next pause (downstep); the
// models, trained phrase by phrase, hardly do it themselves.
constexpr double kDownstepHalfTones = -1.5;
constexpr double kDownstepFloor = -4.5;
constexpr size_t kPieceMorae = 150;  // a piece ends at the first pause after this many morae  //
                                     // where a silence is cut in, so the cut does not click

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

// Speaks morae [first, last) of the utterance as one utterance of their own and appends the
// sound (at the vocoder's rate) to edited; mora times go to spans in seconds.
bool SpeakPiece(HtsModel& model, const HtsControls& controls, const Utterance& whole, size_t first,
                size_t last, double timeScale, std::vector<float>& edited, int& rate,
                std::vector<MoraSpan>& spans, std::string& error) {
  Utterance piece;
  piece.leadingBreak = first == 0 ? whole.leadingBreak : Break::kNone;
  piece.morae.assign(whole.morae.begin() + first, whole.morae.begin() + last);
  piece.morae.front().phraseStart = true;
  std::vector<HtsLabel> labels = MakeHtsLabels(piece);
  // The voices were trained on statements: a question gets its rise here, on the vowel of its
  // last mora, which is also held a little longer.
  for (HtsLabel& l : labels) {
    if (l.mora < 0 || piece.morae[l.mora].breakAfter != Break::kQuestion) continue;
    l.lengthen = kQuestionLengthen;
    if (l.vowel) l.riseHalfTones = kQuestionRise;
  }
  // Downstep: the number of accented phrases since the last pause, for each mora.
  std::vector<double> step(piece.morae.size(), 0.0);
  double level = 0;
  bool accented = false;
  for (size_t i = 0; i < piece.morae.size(); ++i) {
    const Mora& m = piece.morae[i];
    if (m.phraseStart && accented) level = std::max(kDownstepFloor, level + kDownstepHalfTones);
    if (m.phraseStart) accented = false;
    accented = accented || m.accentNucleus;
    step[i] = level;
    const Break b = m.breakAfter;
    if (b == Break::kComma || b == Break::kTouten || b == Break::kPeriod || b == Break::kQuestion ||
        b == Break::kMinor) {
      level = 0;
      accented = false;
    }
  }
  for (HtsLabel& l : labels)
    if (l.mora >= 0) l.shiftHalfTones = step[l.mora];
  HtsSpeech speech;
  if (!model.Speak(labels, controls, speech, error)) return false;
  if (rate != 0 && rate != speech.sampleRate) {
    error = "声のモデルの標本化周波数が途中で変わりました: " + model.Path();
    return false;
  }
  rate = speech.sampleRate;

  const size_t fade = static_cast<size_t>(kEdgeFade * rate);
  std::vector<size_t> start(labels.size()), end(labels.size());
  const Break finalBreak = piece.morae.back().breakAfter;
  const bool atEnd = last == whole.morae.size();
  for (size_t n = 0; n < labels.size(); ++n) {
    const HtsLabel& l = labels[n];
    start[n] = edited.size();
    if (l.silence) {
      double seconds;
      if (n == 0) {
        // A later piece follows the pause that ended the one before.
        seconds = first > 0 ? 0 : kLead + std::min(PauseSeconds(piece.leadingBreak), 0.4);
      } else if (n + 1 == labels.size() && atEnd) {
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
  std::vector<bool> seen(piece.morae.size(), false);
  for (size_t n = 0; n < labels.size(); ++n) {
    const HtsLabel& l = labels[n];
    if (l.mora < 0) continue;
    MoraSpan& span = spans[first + l.mora];
    if (!seen[l.mora]) span.start = double(start[n]) / rate;
    if (l.vowel) span.vowelStart = double(start[n]) / rate;
    span.end = double(end[n]) / rate;
    seen[l.mora] = true;
  }
  return true;
}

}  // namespace

bool RenderWithModel(HtsModel& model, const VoiceParams& voice, const Utterance& utterance,
                     int speed, Rendering& rendering, std::string& error) {
  const double speedFactor = speed / 100.0 * voice.speedFactor;
  const double timeScale = 1.0 / speedFactor;
  HtsControls controls;
  controls.speed = speedFactor;
  controls.alpha = voice.modelAlpha;
  controls.halfTones = voice.modelHalfTones;
  controls.pitchRange = voice.modelPitchRange;

  rendering = Rendering{};
  rendering.utterance = utterance;
  rendering.spans.resize(utterance.morae.size());
  std::vector<float> edited;
  int rate = 0;
  // A long string is spoken a few breath groups at a time: the engine's work and memory grow
  // faster than the length of what it speaks, and the pieces meet at pauses anyway.
  const auto& morae = utterance.morae;
  size_t first = 0;
  for (size_t i = 0; i < morae.size(); ++i) {
    const Break b = morae[i].breakAfter;
    const bool pause =
        b == Break::kComma || b == Break::kTouten || b == Break::kPeriod || b == Break::kQuestion;
    if (i + 1 == morae.size() || (pause && i + 1 - first >= kPieceMorae)) {
      if (!SpeakPiece(model, controls, utterance, first, i + 1, timeScale, edited, rate,
                      rendering.spans, error))
        return false;
      first = i + 1;
    }
  }
  rendering.samples = ResamplerFor(rate).Process(edited);
  NormalizeLevel(rendering.samples);
  FadeEnds(rendering.samples);
  return true;
}

}  // namespace kotonel::synth
