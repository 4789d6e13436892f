// The formant voices' consonant and tune contrasts, measured on their sound: word-initial
// voiceless stops start from silence and leave a gap of aspiration before the voice (voice
// onset time), voiced ones are voiced through their closure; a nasal's murmur is louder than a
// voiced closure; the peaks of accented phrases step down one after another.
#include <gtest/gtest.h>

#include <algorithm>

#include "sound_analysis.h"
#include "synth/synthesizer.h"
#include "util/encoding.h"

namespace kotonel::synth {
namespace {

using test::RmsDb;

Rendering Say(const char* koe) {
  VoiceParams voice;  // the formant description of 中性
  std::string error;
  EXPECT_TRUE(LoadVoiceParams(std::string(KOTONEL_SOURCE_DIR) + "dll/imd1/", voice, error));
  EXPECT_TRUE(voice.model.empty());
  Rendering r;
  EXPECT_TRUE(Render(voice, FromUtf8(koe), 100, r, error)) << error;
  return r;
}

double Loudest(const Rendering& r) {
  double top = -200;
  for (double t = 0; t + 0.01 < r.samples.size() / test::kRate; t += 0.005)
    top = std::max(top, RmsDb(r.samples, t, t + 0.01));
  return top;
}

struct Onset {
  double closure;  // level of the closure's middle, dB under the loudest
  double burst;    // time of the release
  double voicing;  // time the voice reaches full strength
};

Onset Measure(const Rendering& r) {
  const double top = Loudest(r);
  const double start = r.spans[0].start;
  Onset o;
  o.closure = RmsDb(r.samples, start + 0.005, start + 0.025) - top;
  o.burst = o.voicing = -1;
  for (double t = start + 0.02; t < r.spans[0].end; t += 0.002) {
    const double level = RmsDb(r.samples, t, t + 0.004) - top;
    if (o.burst < 0 && level > o.closure + 8 && level > -45) o.burst = t;
    if (o.burst >= 0 && level > -10) {
      o.voicing = t;
      break;
    }
  }
  return o;
}

TEST(FormantContrasts, StopsDifferInVoicingThroughTheClosureAndInVoiceOnsetTime) {
  struct Pair {
    const char* voiceless;
    const char* voiced;
    double minVot;  // seconds
  };
  for (Pair p : {Pair{"かあ。", "があ。", 0.025}, Pair{"たあ。", "だあ。", 0.018},
                 Pair{"ぱあ。", "ばあ。", 0.014}}) {
    const Onset vl = Measure(Say(p.voiceless)), vd = Measure(Say(p.voiced));
    std::printf("%s closure %.0f dB, VOT %.0f ms; %s closure %.0f dB, VOT %.0f ms\n", p.voiceless,
                vl.closure, (vl.voicing - vl.burst) * 1000, p.voiced, vd.closure,
                (vd.voicing - vd.burst) * 1000);
    EXPECT_LT(vl.closure, -60) << p.voiceless;  // silent closure
    EXPECT_GT(vd.closure, -35) << p.voiced;     // voice bar
    ASSERT_GE(vl.burst, 0) << p.voiceless;
    ASSERT_GE(vl.voicing, 0) << p.voiceless;
    EXPECT_GE(vl.voicing - vl.burst, p.minVot) << p.voiceless;
    // A voiced stop's voice runs on through its release: full strength follows at once.
    if (vd.burst >= 0 && vd.voicing >= 0) {
      EXPECT_LT(vd.voicing - vd.burst, 0.012) << p.voiced;
    }
  }
}

TEST(FormantContrasts, NasalMurmurIsLouderThanAVoicedClosure) {
  for (auto [nasal, stop] : {std::pair{"なあ。", "だあ。"}, std::pair{"まあ。", "ばあ。"}}) {
    const double murmur = Measure(Say(nasal)).closure, bar = Measure(Say(stop)).closure;
    std::printf("%s murmur %.0f dB, %s voice bar %.0f dB\n", nasal, murmur, stop, bar);
    EXPECT_GT(murmur, bar + 5) << nasal;
    EXPECT_GT(murmur, -25) << nasal;
  }
}

TEST(FormantContrasts, AccentedPhrasesStepDown) {
  // Three accented phrases in one breath: each peak (the nucleus あ) lower than the one before.
  Rendering r = Say("あ'めが/あ'めが/あ'めが。");
  double peak[3];
  for (int k = 0; k < 3; ++k) {
    const MoraSpan& s = r.spans[3 * k];
    peak[k] = test::PitchAt(r.samples, (s.vowelStart + s.end) / 2, 0.035);
    ASSERT_GT(peak[k], 0);
  }
  std::printf("peaks %.0f %.0f %.0f Hz\n", peak[0], peak[1], peak[2]);
  EXPECT_LT(test::Semitones(peak[0], peak[1]), -0.7);
  EXPECT_LT(test::Semitones(peak[1], peak[2]), -0.7);
}

}  // namespace
}  // namespace kotonel::synth
