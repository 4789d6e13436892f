#include "synth/klatt.h"

#include <algorithm>
#include <cmath>

namespace kotonel::synth {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kT = 1.0 / kSampleRate;
constexpr float kNasalPole = 270, kNasalBandwidth = 100;
constexpr float kMaxFrequency = 3750;  // parallel resonators stay clear of the 4 kHz edge
constexpr float kMaxCascade = 3550, kGoneCascade = 3700;
constexpr float kFricationGain = 2.0f;  // brings frication to its level against the cascade

// Coefficients cost an exp and a cos; within a quarter hertz of the last ones they are kept.
bool Unchanged(float f, float bw, float& setF, float& setBw) {
  if (std::fabs(f - setF) < 0.25f && std::fabs(bw - setBw) < 0.25f) return true;
  setF = f;
  setBw = bw;
  return false;
}

// Two-pole resonator with unity gain at 0 Hz (cascade branch). Near the 4 kHz edge such a
// resonator would boost its mirror image enormously, so above kMaxCascade it stays put and is
// faded out towards kGoneCascade (a female F4 does not fit into telephone bandwidth anyway);
// the fade keeps a formant that moves across the limit from switching with a click.
struct Resonator {
  float a = 1, b = 0, c = 0, y1 = 0, y2 = 0, mix = 1;
  float setF = -1, setBw = -1;
  void Set(float f, float bw) {
    if (Unchanged(f, bw, setF, setBw)) return;
    mix = std::clamp((kGoneCascade - f) / (kGoneCascade - kMaxCascade), 0.0f, 1.0f);
    f = std::clamp(f, 40.0f, kMaxCascade);
    bw = std::max(bw, 20.0f);
    double r = std::exp(-kPi * bw * kT);
    c = static_cast<float>(-r * r);
    b = static_cast<float>(2 * r * std::cos(2 * kPi * f * kT));
    a = 1 - b - c;
  }
  float Run(float x) {
    float y = a * x + b * y1 + c * y2;
    y2 = y1;
    y1 = y;
    return mix == 1 ? y : mix * y + (1 - mix) * x;
  }
};

// The matching zero pair, also unity gain at 0 Hz.
struct AntiResonator {
  float a = 1, b = 0, c = 0, x1 = 0, x2 = 0;
  float setF = -1, setBw = -1;
  void Set(float f, float bw) {
    if (Unchanged(f, bw, setF, setBw)) return;
    Resonator r;
    r.Set(f, bw);
    a = 1 / r.a;
    b = -r.b / r.a;
    c = -r.c / r.a;
  }
  float Run(float x) {
    float y = a * x + b * x1 + c * x2;
    x2 = x1;
    x1 = x;
    return y;
  }
};

// Band-pass resonator with unity gain at its centre and zeros at 0 Hz and 4 kHz (parallel bank).
struct BandPass {
  float g = 0, b = 0, c = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  float setF = -1, setBw = -1;
  void Set(float f, float bw) {
    if (Unchanged(f, bw, setF, setBw)) return;
    f = std::clamp(f, 100.0f, kMaxFrequency);
    bw = std::max(bw, 30.0f);
    double r = std::exp(-kPi * bw * kT);
    c = static_cast<float>(-r * r);
    b = static_cast<float>(2 * r * std::cos(2 * kPi * f * kT));
    g = static_cast<float>((1 - r * r) / 2);
  }
  float Run(float x) {
    float y = g * (x - x2) + b * y1 + c * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

// xorshift32: fast, and the same sequence on every machine.
struct Noise {
  uint32_t s;
  explicit Noise(uint32_t seed) : s(seed ? seed : 0x9E3779B9u) {}
  float Uniform() {  // -1 .. 1
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return static_cast<float>(static_cast<int32_t>(s)) * (1.0f / 2147483648.0f);
  }
  float Next() { return 0.5f * (Uniform() + Uniform()); }  // a little closer to Gaussian
};

}  // namespace

std::vector<float> RenderFrames(const std::vector<Frame>& frames, const VoiceParams& voice,
                                uint32_t seed) {
  std::vector<float> out;
  out.reserve(frames.size() * kFrameSamples);
  Noise noise(seed);
  Noise jitterNoise(seed * 2654435761u + 1);
  Resonator cascade[4], nasalPole;
  AntiResonator nasalZero;
  BandPass parallel[3];
  nasalPole.Set(kNasalPole, kNasalBandwidth);

  const double openQuotient = voice.openQuotient;
  const float tilt = static_cast<float>(voice.spectralTilt);
  const float breath = static_cast<float>(voice.breathiness);
  const double vibratoStep = 2 * kPi * voice.vibratoRate * kT;
  const double vibratoDepth = voice.vibratoDepth / 1200.0;  // octaves
  double vibratoPhase = 0;

  double pos = 0, period = kSampleRate / 100.0, open = period * openQuotient;
  float prevFlow = 0, tilted = 0, pulseGain = 1;
  float dcX = 0, dcY = 0;
  const float bwScale = static_cast<float>(voice.bandwidthScale);

  for (size_t i = 0; i < frames.size(); ++i) {
    const Frame& fr = frames[i];
    const Frame& nx = i + 1 < frames.size() ? frames[i + 1] : fr;
    for (int k = 0; k < 4; ++k) cascade[k].Set(fr.f[k], fr.b[k] * bwScale);
    nasalZero.Set(fr.fnz, kNasalBandwidth);
    for (int k = 0; k < 3; ++k) parallel[k].Set(fr.pf[k], fr.pb[k]);
    for (int n = 0; n < kFrameSamples; ++n) {
      const float w = static_cast<float>(n) / kFrameSamples;
      auto lerp = [w](float a, float b) { return a + (b - a) * w; };
      const float av = lerp(fr.av, nx.av), ah = lerp(fr.ah, nx.ah), af = lerp(fr.af, nx.af);

      // Voice source: a new glottal cycle takes its length from the pitch at its start.
      vibratoPhase += vibratoStep;
      if (pos >= period) {
        pos -= period;
        double f0 = std::clamp(lerp(fr.f0, nx.f0), 20.0f, 1000.0f);
        f0 *= std::exp2(vibratoDepth * std::sin(vibratoPhase));
        f0 *= 1.0 + voice.jitter * jitterNoise.Next() * 1.7;
        // Flutter: the slow wander of a human larynx (Klatt's three incommensurate sines).
        const double t = double(out.size()) * kT;
        f0 *= 1.0 + voice.jitter * 0.8 *
                        (std::sin(2 * kPi * 12.7 * t) + std::sin(2 * kPi * 7.1 * t) +
                         std::sin(2 * kPi * 4.7 * t));
        period = kSampleRate / f0;
        open = std::max(2.0, period * openQuotient);
        // The same voice power at any pitch, so consonants keep their balance with the vowels
        // in low and high voices alike; only pitch raised above the voice's base adds a little
        // effort, so that accents stand out in loudness too.
        pulseGain = static_cast<float>(std::sqrt(period * (150.0 / kSampleRate)) *
                                       std::clamp(std::sqrt(f0 / voice.pitch), 0.8, 1.5));
      }
      float flow = 0;
      if (pos < open) {
        double x = pos / open;
        flow = static_cast<float>(6.75 * x * x * (1 - x));
      }
      float source = (flow - prevFlow) * static_cast<float>(open / 6.75) * pulseGain;
      prevFlow = flow;
      pos += 1;
      tilted = (1 - tilt) * source + tilt * tilted;
      const float n1 = noise.Next();
      const float breathNoise = n1 * breath * (pos < open ? 0.12f : 0.04f);
      float excitation = av * (tilted + breathNoise) + ah * n1 * 0.2f;

      float y = nasalZero.Run(nasalPole.Run(excitation));
      for (int k = 3; k >= 0; --k) y = cascade[k].Run(y);

      if (af > 0 || fr.af > 0) {
        const float fric = noise.Next() * af * kFricationGain;
        float p = 0;
        for (int k = 0; k < 3; ++k) p += lerp(fr.pa[k], nx.pa[k]) * parallel[k].Run(fric);
        y += p + lerp(fr.ab, nx.ab) * fric;
      } else {
        for (int k = 0; k < 3; ++k) parallel[k].Run(0);
      }

      // Remove any slow drift so silences end at zero.
      float hp = y - dcX + 0.985f * dcY;
      dcX = y;
      dcY = hp;
      out.push_back(hp);
    }
  }
  return out;
}

}  // namespace kotonel::synth
