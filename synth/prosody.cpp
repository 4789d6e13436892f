#include "synth/prosody.h"

#include <algorithm>
#include <cmath>

namespace kotonel::synth {

namespace {

constexpr double kAlpha = 3.0;      // phrase response, 1/s
constexpr double kBeta = 22.0;      // accent response, 1/s
constexpr double kBetaRise = 30.0;  // question rise and a fall before a pause, 1/s
constexpr double kGamma = 0.9;
constexpr double kAccent = 0.32;  // Aa of a first accent phrase
constexpr double kDownstep = 0.72;

double Gp(double t) {
  return t <= 0 ? 0 : kAlpha * kAlpha * t * std::exp(-kAlpha * t);
}
double Ga(double t, double beta) {
  return t <= 0 ? 0 : std::min(1 - (1 + beta * t) * std::exp(-beta * t), kGamma);
}

bool IsPause(Break b) {
  return b != Break::kNone && b != Break::kMinor;
}

class Contour {
 public:
  explicit Contour(size_t frames) : logF0_(frames, 0.0) {}
  void Phrase(double t0, double ap) {
    if (ap == 0) return;
    ForRange(t0, t0 + 4.0, [&](double t) { return ap * Gp(t - t0); });
  }
  void Accent(double t1, double t2, double aa, double beta = kBeta) {
    if (aa == 0 || t2 <= t1) return;
    ForRange(t1, t2 + 0.6, [&](double t) { return aa * (Ga(t - t1, beta) - Ga(t - t2, beta)); });
  }
  // A command that stays on until the end (the rise of a question).
  void Rise(double t1, double aa) {
    ForRange(t1, 1e9, [&](double t) { return aa * Ga(t - t1, kBetaRise); });
  }
  const std::vector<double>& Values() const { return logF0_; }

 private:
  template <typename F>
  void ForRange(double from, double to, F response) {
    long a = std::max(0L, static_cast<long>(std::floor(from / kFrameSeconds)));
    long b = std::min(static_cast<long>(logF0_.size()),
                      static_cast<long>(std::ceil(to / kFrameSeconds)) + 1);
    for (long i = a; i < b; ++i) logF0_[i] += response(i * kFrameSeconds);
  }
  std::vector<double> logF0_;
};

}  // namespace

void ApplyProsody(const Utterance& u, const std::vector<MoraSpan>& spans, const VoiceParams& voice,
                  std::vector<Frame>& frames) {
  Contour contour(frames.size());
  const auto& m = u.morae;
  const double range = voice.pitchRange;
  double step = 1.0;  // downstep within a stretch between pauses
  bool sentenceStart = true;
  for (size_t i = 0; i < m.size(); ++i) {
    bool stretchStart =
        i == 0 || IsPause(m[i - 1].breakAfter) || m[i - 1].breakAfter == Break::kMinor;
    if (stretchStart) {
      double ap = sentenceStart                                   ? 0.25
                  : i > 0 && m[i - 1].breakAfter == Break::kMinor ? 0.10
                                                                  : 0.20;
      contour.Phrase(spans[i].start - 0.25, ap * range);
      if (i == 0 || m[i - 1].breakAfter != Break::kMinor) step = 1.0;
      sentenceStart = false;
    }
    if (i > 0 && (m[i - 1].breakAfter == Break::kPeriod || m[i - 1].breakAfter == Break::kQuestion))
      sentenceStart = true;
    if (!m[i].phraseStart) continue;

    // One accent phrase: morae i .. j-1.
    size_t j = i + 1;
    while (j < m.size() && !m[j].phraseStart) ++j;
    size_t nucleus = 0;  // 1-based within the phrase, 0 = flat
    for (size_t k = i; k < j; ++k)
      if (m[k].accentNucleus) {
        nucleus = k - i + 1;
        break;
      }
    const double aa = kAccent * range * step;
    // The fall comes after the nucleus; with nothing after it before a pause, it comes within
    // the nucleus itself, so that 橋 (はし') still differs from 端 (はし) on its own.
    double fall = 0, beta = kBeta;
    if (nucleus) {
      size_t k = i + nucleus - 1;
      bool nothingAfter = k + 1 == m.size() || IsPause(m[k].breakAfter);
      fall = spans[k].end - 0.03;
      if (nothingAfter) {
        fall = spans[k].vowelStart + 0.2 * (spans[k].end - spans[k].vowelStart);
        beta = kBetaRise;
      }
    }
    if (nucleus == 1) {
      contour.Accent(spans[i].start - 0.05, fall, aa, beta);
    } else if (j - i >= 2) {
      double t1 = spans[i + 1].start - 0.04;
      contour.Accent(t1, nucleus ? fall : spans[j - 1].end, aa, beta);
    }
    if (nucleus) step *= kDownstep;
  }
  if (!m.empty()) {
    const Mora& lastMora = m.back();
    const MoraSpan& last = spans.back();
    if (lastMora.breakAfter == Break::kQuestion) {
      double t = last.vowelStart + 0.1 * (last.end - last.vowelStart);
      contour.Rise(t, 0.55 * std::max(range, 0.5));
    } else if (lastMora.breakAfter == Break::kPeriod) {
      contour.Phrase(last.start - 0.1, -0.22 * range);
    }
  }
  // Sentences inside the string end the same way, with a rise or fall that is over before
  // the next sentence starts.
  for (size_t i = 0; i + 1 < m.size(); ++i) {
    if (m[i].breakAfter == Break::kQuestion) {
      double t1 = spans[i].vowelStart + 0.1 * (spans[i].end - spans[i].vowelStart);
      contour.Accent(t1, spans[i].end + 0.05, 0.55 * std::max(range, 0.5), kBetaRise);
    } else if (m[i].breakAfter == Break::kPeriod) {
      contour.Accent(spans[i].start - 0.1, spans[i].end + 0.05, -0.2 * range);
    }
  }
  const double base = std::log(voice.pitch);
  const auto& v = contour.Values();
  for (size_t k = 0; k < frames.size(); ++k)
    frames[k].f0 = static_cast<float>(std::exp(base + v[k]));
}

}  // namespace kotonel::synth
