#include "synth/articulation.h"

#include <algorithm>
#include <cmath>

namespace kotonel::synth {

namespace {

using C = Consonant;

struct VowelTarget {
  float f[4], b[4], av;
};

// Index by Vowel: a i u e o.
constexpr VowelTarget kVowels[] = {
    {{750, 1250, 2500, 3400}, {110, 110, 150, 250}, 1.0f},
    {{300, 2200, 2950, 3500}, {90, 110, 180, 250}, 0.85f},
    {{340, 1400, 2350, 3350}, {90, 110, 150, 250}, 0.9f},
    {{480, 1900, 2500, 3400}, {90, 110, 150, 250}, 0.95f},
    {{470, 880, 2450, 3350}, {100, 100, 150, 250}, 1.0f},
};

// Durations in seconds at speed 100.
constexpr double kMora = 0.130;
constexpr double kVowelOnlyMora = 0.120;
constexpr double kMinVowel = 0.050;
constexpr double kHeld = 0.105;  // っ ー ん
constexpr double kLead = 0.020, kTail = 0.060;
constexpr double kReleaseAndOnset = 0.022;

struct Seg {
  double dur;
  Frame t;
  bool pause = false;  // silence between phrases: the voice dies away into it
};

Frame VowelFrame(Vowel v) {
  const VowelTarget& vt = kVowels[static_cast<int>(v)];
  Frame f;
  for (int k = 0; k < 4; ++k) {
    f.f[k] = vt.f[k];
    f.b[k] = vt.b[k];
  }
  f.av = vt.av;
  return f;
}

Frame Quiet(Frame f) {
  f.av = f.ah = f.af = f.ab = 0;
  f.pa[0] = f.pa[1] = f.pa[2] = 0;
  return f;
}

Frame WithFormants(Frame f, float f1, float f2, float f3) {
  f.f[0] = f1;
  f.f[1] = f2;
  f.f[2] = f3;
  return f;
}

void SetSpectrum(Frame& f, float p1, float p2, float p3, float a1, float a2, float a3,
                 float bypass = 0) {
  f.pf[0] = p1, f.pf[1] = p2, f.pf[2] = p3;
  f.pa[0] = a1, f.pa[1] = a2, f.pa[2] = a3;
  f.pb[0] = 300, f.pb[1] = 350, f.pb[2] = 400;
  f.ab = bypass;
}

bool Front(Vowel v) {
  return v == Vowel::kI || v == Vowel::kE;
}

// Where the formants point during a consonant (F1, F2, F3), given the vowel that follows.
void Locus(C c, bool palatal, Vowel v, float& f1, float& f2, float& f3) {
  const VowelTarget& vt = kVowels[static_cast<int>(v)];
  f1 = 280;
  if (palatal || c == C::kY) {
    f2 = 2150, f3 = 2950;
    return;
  }
  switch (c) {
    case C::kP:
    case C::kB:
    case C::kM:
    case C::kF:
      f2 = 900, f3 = 2200;
      return;
    case C::kW:
      f1 = 320, f2 = 800, f3 = 2300;
      return;
    case C::kK:
    case C::kG:
      f2 = Front(v) ? 2300 : v == Vowel::kA ? 1700 : 1150;
      f3 = Front(v) ? 2950 : v == Vowel::kA ? 2200 : 2300;
      return;
    case C::kH:
      f1 = vt.f[0] * 0.8f, f2 = vt.f[1], f3 = vt.f[2];
      return;
    case C::kR:
      f1 = 320, f2 = 1550, f3 = 2500;
      return;
    default:  // alveolars
      f2 = 1700, f3 = 2600;
      return;
  }
}

enum class Fric { kS, kSh, kC, kF, kH };

void FricationSpectrum(Frame& f, Fric kind, float level) {
  f.af = level;
  switch (kind) {
    case Fric::kS:
      SetSpectrum(f, 2900, 3350, 3700, 0.08f, 0.35f, 1.0f);
      break;
    case Fric::kSh:
      SetSpectrum(f, 2300, 2800, 3500, 0.45f, 1.0f, 0.45f);
      break;
    case Fric::kC:
      SetSpectrum(f, 2600, 3100, 3600, 0.3f, 0.8f, 0.4f);
      break;
    case Fric::kF:
      SetSpectrum(f, 900, 1600, 3000, 0.2f, 0.2f, 0.15f, 0.35f);
      break;
    case Fric::kH:
      SetSpectrum(f, 1500, 2500, 3500, 0, 0, 0);
      break;
  }
}

void BurstSpectrum(Frame& f, C c, bool palatal, Vowel v, float level) {
  f.af = level;
  switch (c) {
    case C::kP:
    case C::kB:
      SetSpectrum(f, 800, 1500, 2500, 0.3f, 0.2f, 0.1f, 0.5f);
      break;
    case C::kK:
    case C::kG:
      if (palatal || Front(v))
        SetSpectrum(f, 2500, 3000, 3500, 1.0f, 0.5f, 0.2f);
      else
        SetSpectrum(f, 1500, 2400, 3300, 1.0f, 0.3f, 0.15f);
      break;
    default:
      SetSpectrum(f, 1800, 3000, 3700, 0.1f, 0.5f, 1.0f);
      break;
  }
}

// Nasal murmur for a place: m, n, ny, ŋ, or the uvular/nasalized ん before vowels and pauses.
Frame NasalFrame(int place) {
  Frame f;
  static const float kF2[] = {1100, 1500, 2000, 1900, 1150};
  static const float kF3[] = {2150, 2500, 2900, 2700, 2400};
  f.f[0] = 480, f.f[1] = kF2[place], f.f[2] = kF3[place], f.f[3] = 3300;
  f.b[0] = 40, f.b[1] = 250, f.b[2] = 250, f.b[3] = 300;
  f.fnz = place == 4 ? 400 : 450;
  f.av = 0.6f;
  return f;
}

enum Place { kLabial, kAlveolar, kPalatalNasal, kVelar, kUvular };

int NasalPlace(const Mora* next) {
  if (!next || next->kind != MoraKind::kSyllable) return kUvular;
  switch (next->consonant) {
    case C::kP:
    case C::kB:
    case C::kM:
      return kLabial;
    case C::kK:
    case C::kG:
      return kVelar;
    case C::kT:
    case C::kD:
    case C::kN:
    case C::kR:
    case C::kTs:
    case C::kZ:
      return next->palatal ? kPalatalNasal : kAlveolar;
    default:
      return kUvular;
  }
}

bool IsStop(C c) {
  return c == C::kK || c == C::kG || c == C::kT || c == C::kD || c == C::kP || c == C::kB;
}

// A fricative's noise grows over its first fifth and eases a little before the vowel; a
// sudden start would sound like an affricate (さ heard as つぁ).
void Swell(const Frame& f, double dur, std::vector<Seg>& out) {
  static const float kShape[] = {0.3f, 0.65f, 1.0f, 1.0f, 0.85f};
  for (float g : kShape) {
    Frame part = f;
    part.af *= g;
    part.ah *= g;
    out.push_back({dur / 5, part});
  }
}

// The onset of a syllable as segments; returns them in order.
void Onset(const Mora& m, const Frame& vowel, std::vector<Seg>& out) {
  const C c = m.consonant;
  float l1, l2, l3;
  Locus(c, m.palatal, m.vowel, l1, l2, l3);
  const Frame locus = WithFormants(Quiet(vowel), l1, l2, l3);
  const bool voiced = !IsVoiceless(c);
  auto closure = [&](double dur) {
    Frame f = locus;
    if (voiced) {
      f.av = 0.12f;  // voice bar
      f.f[0] = 200;
    }
    out.push_back({dur, f});
  };
  auto palatalGlide = [&]() {
    // き に み...: the vowel い is itself the glide; きゃ にょ...: [j] leads into the vowel.
    if (m.palatal && m.vowel != Vowel::kI && c != C::kS && c != C::kZ && c != C::kT && c != C::kH) {
      Frame g = WithFormants(vowel, 290, 2150, 2950);
      out.push_back({0.030, g});
    }
  };
  switch (c) {
    case C::kNone:
      return;
    case C::kK:
    case C::kT:
    case C::kP: {
      if (c == C::kT && m.palatal) {  // ち [tɕ]
        closure(0.030);
        Frame f = locus;
        FricationSpectrum(f, Fric::kSh, 0.55f);
        out.push_back({0.055, f});
        return;
      }
      closure(c == C::kP ? 0.040 : 0.035);
      Frame b = locus;
      BurstSpectrum(b, c, m.palatal, m.vowel, c == C::kP ? 0.35f : 0.7f);
      out.push_back({0.006, b});
      Frame a = locus;
      for (int k = 0; k < 3; ++k) a.f[k] = (locus.f[k] + vowel.f[k]) / 2;
      a.ah = 0.35f;
      out.push_back({c == C::kK ? 0.028 : 0.016, a});
      palatalGlide();
      return;
    }
    case C::kG:
    case C::kD:
    case C::kB: {
      closure(0.030);
      Frame b = locus;
      BurstSpectrum(b, c, m.palatal, m.vowel, 0.3f);
      b.av = 0.25f;
      out.push_back({0.006, b});
      palatalGlide();
      return;
    }
    case C::kS: {
      Frame f = locus;
      FricationSpectrum(f, m.palatal ? Fric::kSh : Fric::kS, m.palatal ? 0.62f : 0.6f);
      Swell(f, m.palatal ? 0.080 : 0.075, out);
      return;
    }
    case C::kZ: {
      closure(0.012);
      Frame f = locus;
      FricationSpectrum(f, m.palatal ? Fric::kSh : Fric::kS, 0.3f);
      f.av = 0.45f;
      out.push_back({0.050, f});
      return;
    }
    case C::kTs: {
      closure(0.030);
      Frame f = locus;
      FricationSpectrum(f, Fric::kS, 0.5f);
      out.push_back({0.055, f});
      return;
    }
    case C::kH: {
      Frame f = locus;
      f.ah = 0.5f;
      if (m.palatal) FricationSpectrum(f, Fric::kC, 0.25f);
      Swell(f, 0.060, out);
      return;
    }
    case C::kF: {
      Frame f = locus;
      f.ah = 0.12f;
      FricationSpectrum(f, Fric::kF, 0.2f);
      Swell(f, 0.055, out);
      return;
    }
    case C::kN:
    case C::kM: {
      Frame f = NasalFrame(c == C::kM ? kLabial : m.palatal ? kPalatalNasal : kAlveolar);
      out.push_back({0.050, f});
      palatalGlide();
      return;
    }
    case C::kR: {
      Frame f = locus;
      f.av = 0.45f;
      out.push_back({0.022, f});
      palatalGlide();
      return;
    }
    case C::kY:
    case C::kW: {
      Frame f = WithFormants(vowel, l1, l2, l3);
      f.av *= 0.85f;
      out.push_back({0.045, f});
      return;
    }
  }
}

// What っ holds before the next syllable: its closure or its frication; otherwise a glottal stop.
Frame HeldOnset(const Mora* next, const Frame& previous) {
  if (!next || next->kind != MoraKind::kSyllable || next->consonant == C::kNone)
    return Quiet(previous);
  std::vector<Seg> segs;
  Onset(*next, VowelFrame(next->vowel), segs);
  if (segs.empty()) return Quiet(previous);
  Frame f = segs.front().t;
  for (const Seg& s : segs)  // the full strength of a swelling fricative
    if (s.t.af > f.af || s.t.ah > f.ah) f = s.t;
  C c = next->consonant;
  if (IsStop(c) || c == C::kTs || c == C::kZ || (c == C::kT && next->palatal)) {
    f = Quiet(f);  // closure held
  } else if (c == C::kN || c == C::kM || c == C::kR || c == C::kY || c == C::kW) {
    return Quiet(previous);
  }
  return f;
}

void Smooth(std::vector<Frame>& frames, float Frame::*field, double k) {
  if (frames.empty()) return;
  float y = frames.front().*field;
  for (Frame& f : frames) y = f.*field = static_cast<float>(y + k * (f.*field - y));
  y = frames.back().*field;
  for (auto it = frames.rbegin(); it != frames.rend(); ++it)
    y = (*it).*field = static_cast<float>(y + k * ((*it).*field - y));
}

template <size_t N>
void SmoothArray(std::vector<Frame>& frames, float (Frame::*field)[N], double k) {
  if (frames.empty()) return;
  for (size_t j = 0; j < N; ++j) {
    float y = (frames.front().*field)[j];
    for (Frame& f : frames) y = (f.*field)[j] = static_cast<float>(y + k * ((f.*field)[j] - y));
    y = (frames.back().*field)[j];
    for (auto it = frames.rbegin(); it != frames.rend(); ++it)
      y = ((*it).*field)[j] = static_cast<float>(y + k * (((*it).*field)[j] - y));
  }
}

}  // namespace

void VowelFormants(Vowel v, double& f1, double& f2) {
  f1 = kVowels[static_cast<int>(v)].f[0];
  f2 = kVowels[static_cast<int>(v)].f[1];
}

double PauseSeconds(Break b) {
  switch (b) {
    case Break::kNone:
      return 0;
    case Break::kMinor:
      return 0.040;
    case Break::kComma:
      return 0.100;
    case Break::kTouten:
      return 0.250;
    case Break::kPeriod:
    case Break::kQuestion:
      return 0.400;
  }
  return 0;
}

Articulation Articulate(const Utterance& u, const VoiceParams& voice, double timeScale) {
  Articulation result;
  std::vector<Seg> segs;
  double now = 0;
  auto add = [&](double dur, const Frame& f, bool pause = false) {
    segs.push_back({dur * timeScale, f, pause});
    now += dur * timeScale;
  };
  const auto& morae = u.morae;
  Frame last = morae.empty() ? VowelFrame(Vowel::kA) : VowelFrame(morae.front().vowel);
  add(kLead + std::min(PauseSeconds(u.leadingBreak), 0.4), Quiet(last), true);
  result.spans.resize(morae.size());

  for (size_t i = 0; i < morae.size(); ++i) {
    const Mora& m = morae[i];
    const Mora* next = i + 1 < morae.size() ? &morae[i + 1] : nullptr;
    MoraSpan& span = result.spans[i];
    span.start = now;
    double lengthen = 1.0;
    if (m.breakAfter == Break::kQuestion)
      lengthen = 1.4;
    else if (m.breakAfter != Break::kNone && m.breakAfter != Break::kMinor)
      lengthen = 1.2;
    else if (!next)
      lengthen = 1.15;

    switch (m.kind) {
      case MoraKind::kSyllable: {
        Frame vowel = VowelFrame(m.vowel);
        // う after s, ts, z is said further forward.
        if (m.vowel == Vowel::kU && !m.palatal &&
            (m.consonant == C::kS || m.consonant == C::kTs || m.consonant == C::kZ))
          vowel.f[1] = 1550;
        std::vector<Seg> onset;
        Onset(m, vowel, onset);
        double onsetDur = 0;
        for (const Seg& s : onset) {
          add(s.dur, s.t);
          onsetDur += s.dur;
        }
        // Open vowels are a little longer than close ones.
        static const double kIntrinsic[] = {1.08, 0.9, 0.88, 1.0, 1.05};
        double vowelDur =
            std::max(kMinVowel, (m.consonant == C::kNone ? kVowelOnlyMora : kMora) - onsetDur) *
            kIntrinsic[static_cast<int>(m.vowel)];
        span.vowelStart = now;
        if (m.devoiced) {
          // Whispered: the tract shapes breath instead of voice, and the vowel is shorter.
          Frame w = Quiet(vowel);
          w.ah = 0.22f;
          if (!onset.empty() && onset.back().t.af > 0 && onset.back().t.av == 0) {
            Frame fr = onset.back().t;
            w.af = fr.af * 0.5f;
            for (int k = 0; k < 3; ++k) w.pf[k] = fr.pf[k], w.pa[k] = fr.pa[k];
            w.ab = fr.ab;
          }
          add(vowelDur * 0.8 * lengthen, w);
          last = vowel;
        } else {
          last = vowel;
          if (m.breakAfter == Break::kPeriod) {
            vowel.av *= 0.8f;  // a statement trails off, a little breathy
            vowel.ah = 0.05f;
          }
          add(vowelDur * lengthen, vowel);
        }
        break;
      }
      case MoraKind::kMoraicNasal: {
        last = NasalFrame(NasalPlace(next));
        span.vowelStart = now;
        add(kHeld * lengthen, last);
        break;
      }
      case MoraKind::kLong: {  // last is the vowel or nasal being held
        span.vowelStart = now;
        add(kHeld * lengthen, last);
        break;
      }
      case MoraKind::kGeminate: {
        span.vowelStart = now;
        add(kHeld * (next ? 1.0 : 0.6),
            HeldOnset(next && m.breakAfter == Break::kNone ? next : nullptr, last));
        break;
      }
    }
    span.end = now;
    if (m.breakAfter != Break::kNone) {
      // The voice takes a moment to die away and to start again; the silence heard between
      // them is what the mark asks for.
      double pause = PauseSeconds(m.breakAfter) + kReleaseAndOnset;
      if (!next) pause = std::min(pause, kTail);
      add(pause, Quiet(last), true);
    }
  }
  add(kTail, Quiet(last), true);

  // Segments to frames, rounding the running time so that no drift builds up.
  size_t frameCount = static_cast<size_t>(std::lround(now / kFrameSeconds)) + 1;
  result.frames.resize(frameCount);
  std::vector<bool> pauseFrame(frameCount, true);
  double t = 0;
  for (const Seg& s : segs) {
    size_t a = static_cast<size_t>(std::lround(t / kFrameSeconds));
    t += s.dur;
    size_t b = std::min(frameCount, static_cast<size_t>(std::lround(t / kFrameSeconds)));
    for (size_t k = a; k < b; ++k) {
      result.frames[k] = s.t;
      pauseFrame[k] = s.pause;
    }
  }
  result.frames.back() = Quiet(segs.back().t);

  const double formantTau = std::clamp(0.012 * timeScale, 0.006, 0.020);
  const double kf = 1 - std::exp(-kFrameSeconds / formantTau);
  const double ka = 1 - std::exp(-kFrameSeconds / 0.0015);
  auto& fr = result.frames;
  SmoothArray(fr, &Frame::f, kf);
  SmoothArray(fr, &Frame::b, kf);
  Smooth(fr, &Frame::fnz, kf);
  SmoothArray(fr, &Frame::pf, kf);
  SmoothArray(fr, &Frame::pb, kf);
  Smooth(fr, &Frame::av, ka);
  Smooth(fr, &Frame::ah, ka);
  Smooth(fr, &Frame::af, ka);
  Smooth(fr, &Frame::ab, ka);
  SmoothArray(fr, &Frame::pa, ka);
  // Before a pause the voice dies away over some 16 ms (raised cosine) instead of stopping dead.
  const int releaseFrames = std::max(2, static_cast<int>(std::lround(0.016 / kFrameSeconds)));
  float fromAv = 0, fromAh = 0;
  int into = 0;
  for (size_t k = 1; k < fr.size(); ++k) {
    if (!pauseFrame[k]) {
      into = 0;
      continue;
    }
    if (into == 0) fromAv = fr[k - 1].av, fromAh = fr[k - 1].ah;
    if (into < releaseFrames) {
      float w =
          static_cast<float>(0.5 + 0.5 * std::cos(3.14159265358979 * (into + 1) / releaseFrames));
      fr[k].av = std::max(fr[k].av, fromAv * w);
      fr[k].ah = std::max(fr[k].ah, fromAh * w);
    }
    ++into;
  }
  // After a pause the voice starts softly over 10 ms rather than with a hard glottal attack.
  const int attackFrames = std::max(2, static_cast<int>(std::lround(0.010 / kFrameSeconds)));
  int since = attackFrames;
  for (size_t k = 0; k < fr.size(); ++k) {
    if (pauseFrame[k]) {
      since = 0;
      continue;
    }
    if (since < attackFrames)
      fr[k].av *=
          static_cast<float>(0.5 - 0.5 * std::cos(3.14159265358979 * (since + 1) / attackFrames));
    ++since;
  }
  const float scale = static_cast<float>(voice.formantScale);
  for (Frame& f : fr) {
    for (float& x : f.f) x *= scale;
    for (float& x : f.pf) x *= scale;
  }
  return result;
}

}  // namespace kotonel::synth
