// Every voice, the recorded-speaker ones and the formant ones, does what the accent marks say:
// the pitch falls after a nucleus and not inside a flat phrase, and an accented phrase lowers
// the peak of the phrase after it (downstep).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "sound_analysis.h"
#include "synth/synthesizer.h"
#include "synth/voice_params.h"
#include "util/encoding.h"

namespace kotonel::synth {
namespace {

using test::PitchAt;
using test::Semitones;

const char* const kVoices[] = {"f1", "f2", "m1", "m2", "r1", "imd1", "dvd", "jgr"};

Rendering Say(const std::string& voice, const char* koe) {
  const std::string folder = std::string(KOTONEL_SOURCE_DIR) + "dll/" + voice + "/";
  VoiceParams params;
  std::string error;
  EXPECT_TRUE(LoadVoiceParams(folder, params, error)) << error;
  // Ring modulation (機械) hides the pitch from the tracker; the pitch under it is the same.
  params.effect = VoiceEffect::kNone;
  Rendering r;
  EXPECT_TRUE(RenderVoice(folder, params, FromUtf8(koe), 100, r, error)) << error;
  return r;
}

// Median pitch over the middle of a mora's vowel; 0 when there is none (a whispered last vowel).
double MoraPitch(const Rendering& r, size_t mora) {
  const MoraSpan& s = r.spans.at(mora);
  return test::StretchPitch(r.samples, s.vowelStart, s.end);
}

bool Monotone(const std::string& voice) {
  VoiceParams params;
  std::string error;
  EXPECT_TRUE(
      LoadVoiceParams(std::string(KOTONEL_SOURCE_DIR) + "dll/" + voice + "/", params, error));
  return params.model.empty() && params.pitchRange == 0;
}

// The higher of two neighbouring morae: the recorded voices reach a peak a little late.
double PeakPitch(const Rendering& r, size_t mora) {
  return std::max(MoraPitch(r, mora), MoraPitch(r, mora + 1));
}

TEST(AccentPitch, EveryVoiceFallsAfterTheNucleusStaysUpWhenFlatAndStepsDown) {
  for (const char* voice : kVoices) {
    // なが'いの (rise, fall after が) against ながいの (rise, level to the end); the fall is
    // measured from the nucleus to the mora after next, as a speaker's fall may start late.
    // Then the same second phrase なが'い after each.
    Rendering accented = Say(voice, "なが'いの/なが'い。");
    Rendering flat = Say(voice, "ながいの/なが'い。");
    const double fall = Semitones(PeakPitch(accented, 1), MoraPitch(accented, 3));
    const double level = Semitones(MoraPitch(flat, 1), MoraPitch(flat, 3));
    const double apart = Semitones(MoraPitch(flat, 3), MoraPitch(accented, 3));
    const double downstep = Semitones(PeakPitch(flat, 5), PeakPitch(accented, 5));
    // three accented phrases: each peak below the one before
    Rendering chain = Say(voice, "なが'い/なが'い/なが'い。");
    const double p1 = PeakPitch(chain, 1), p2 = PeakPitch(chain, 4), p3 = PeakPitch(chain, 7);
    std::printf(
        "%-4s fall after the nucleus %+.1f st, flat phrase %+.1f st (%+.1f st apart); "
        "downstep %+.1f st; chain %+.1f / %+.1f st\n",
        voice, fall, level, apart, downstep, Semitones(p1, p2), Semitones(p2, p3));
    if (Monotone(voice)) {
      // the robot speaks on one pitch by design
      EXPECT_NEAR(fall, 0, 0.5) << voice;
      EXPECT_NEAR(downstep, 0, 0.5) << voice;
      continue;
    }
    EXPECT_LT(fall, -1.0) << voice;
    EXPECT_GT(level, -1.0) << voice;
    EXPECT_LT(apart, -1.5) << voice;
    EXPECT_LT(downstep, -0.5) << voice;
    EXPECT_LT(Semitones(p1, p2), -0.5) << voice;
    EXPECT_LT(Semitones(p2, p3), -0.3) << voice;
  }
}

}  // namespace
}  // namespace kotonel::synth
