#include "synth/effects.h"

#include <cmath>

namespace kotonel::synth {

void ApplyEffect(std::vector<float>& samples, const VoiceParams& voice, int sampleRate) {
  if (voice.effect != VoiceEffect::kRing || voice.effectMix <= 0) return;
  // A rotating phasor instead of sin() per sample; renormalized now and then against drift.
  const double w = 2 * 3.14159265358979 * voice.effectFrequency / sampleRate;
  const double cw = std::cos(w), sw = std::sin(w);
  double re = 1, im = 0;
  const float mix = static_cast<float>(voice.effectMix);
  for (size_t i = 0; i < samples.size(); ++i) {
    float carrier = static_cast<float>(im);
    samples[i] = (1 - mix) * samples[i] + mix * 1.4f * samples[i] * carrier;
    double r = re * cw - im * sw;
    im = re * sw + im * cw;
    re = r;
    if ((i & 1023) == 0) {
      double n = std::sqrt(re * re + im * im);
      re /= n, im /= n;
    }
  }
}

}  // namespace kotonel::synth
