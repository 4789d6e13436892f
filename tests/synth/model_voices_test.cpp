// The recorded-speaker voices (女性１ f1, 男性１ m1 and the voices made from their models),
// checked on the sound they make at 8000 Hz.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "sound_analysis.h"
#include "synth/hts_voice.h"
#include "synth/resampler.h"
#include "synth/synthesizer.h"
#include "util/encoding.h"

namespace kotonel::synth {
namespace {

using test::PitchAt;
using test::Semitones;

// 女性１, 男性１ and the two voices made from their models by the engine's controls.
const char* const kModelVoices[] = {"f1", "m1", "f2", "m2"};

std::string VoiceFolder(const std::string& name) {
  return std::string(KOTONEL_SOURCE_DIR) + "dll/" + name + "/";
}

Rendering Say(const std::string& voice, const char* koe, int speed = 100) {
  VoiceParams params;
  std::string error;
  EXPECT_TRUE(LoadVoiceParams(VoiceFolder(voice), params, error)) << error;
  Rendering r;
  EXPECT_TRUE(RenderVoice(VoiceFolder(voice), params, FromUtf8(koe), speed, r, error)) << error;
  return r;
}

double SpeedFactor(const char* voice) {
  VoiceParams params;
  std::string error;
  EXPECT_TRUE(LoadVoiceParams(VoiceFolder(voice), params, error)) << error;
  return params.speedFactor;
}

double VowelPitch(const Rendering& r, size_t mora, double from = 0.2, double to = 0.8) {
  const MoraSpan& s = r.spans.at(mora);
  const double p = test::StretchPitch(r.samples, s.vowelStart, s.end, from, to);
  EXPECT_GT(p, 0) << "no pitch in mora " << mora;
  return p > 0 ? p : 1;
}

TEST(ModelVoices, VoicesOneHaveTheirModelsAndLoadThem) {
  for (const char* voice : kModelVoices) {
    VoiceParams params;
    std::string error;
    ASSERT_TRUE(LoadVoiceParams(VoiceFolder(voice), params, error)) << error;
    ASSERT_FALSE(params.model.empty()) << voice;
    EXPECT_NE(HtsModel::Load(ModelPath(VoiceFolder(voice), params), error), nullptr) << error;
  }
}

TEST(ModelVoices, AccentNucleusFallsAndAFlatPhraseStaysUp) {
  // 雨が (あ'めが: high, then low after the nucleus) against 飴が (あめが: low, then high to the
  // end of the phrase). The slope from め to が tells them apart.
  for (const char* voice : kModelVoices) {
    Rendering ame = Say(voice, "あ'めが/あります。");
    Rendering candy = Say(voice, "あめが/あります。");
    const double rain = Semitones(VowelPitch(ame, 1), VowelPitch(ame, 2));
    const double sweet = Semitones(VowelPitch(candy, 1), VowelPitch(candy, 2));
    const double firstMora = Semitones(VowelPitch(candy, 0), VowelPitch(ame, 0));
    std::printf(
        "%s: め→が %+.1f st in あ'めが, %+.1f st in あめが; あ %+.1f st higher in あ'めが\n", voice,
        rain, sweet, firstMora);
    EXPECT_LT(rain, -1.5) << voice;
    EXPECT_GT(sweet, -2.0) << voice;
    EXPECT_GT(sweet - rain, 3.0) << voice;
    EXPECT_GT(firstMora, 1.5) << voice;
  }
}

TEST(ModelVoices, QuestionRisesAndStatementFalls) {
  for (const char* voice : kModelVoices) {
    Rendering question = Say(voice, "あめ'が/ふるの？");
    Rendering statement = Say(voice, "あめ'が/ふるの。");
    const size_t last = question.spans.size() - 1;
    // The last vowel: its end against its start.
    const double q =
        Semitones(VowelPitch(question, last, 0.05, 0.3), VowelPitch(question, last, 0.5, 0.75));
    const double s =
        Semitones(VowelPitch(statement, last, 0.05, 0.3), VowelPitch(statement, last, 0.5, 0.75));
    const double ends =
        Semitones(VowelPitch(statement, last, 0.5, 0.75), VowelPitch(question, last, 0.5, 0.75));
    std::printf(
        "%s: last vowel of a question %+.1f st, of a statement %+.1f st; ends %+.1f st "
        "apart\n",
        voice, q, s, ends);
    EXPECT_GT(q, 2.0) << voice;
    EXPECT_LT(s, 1.5) << voice;
    EXPECT_GT(ends, 4.0) << voice;
  }
}

TEST(ModelVoices, DurationsScaleWithSpeed) {
  const char* koe = "とーきょーえきから/しんかんせんで/おおさかまで/いきます。";
  for (const char* voice : kModelVoices) {
    const double at100 = test::SoundingLength(Say(voice, koe, 100).samples);
    const double at50 = test::SoundingLength(Say(voice, koe, 50).samples);
    const double at200 = test::SoundingLength(Say(voice, koe, 200).samples);
    const double at300 = test::SoundingLength(Say(voice, koe, 300).samples);
    std::printf("%s: %.2f s at 100, x%.2f at 50, x%.2f at 200, x%.2f at 300\n", voice, at100,
                at50 / at100, at200 / at100, at300 / at100);
    EXPECT_NEAR(at50 / at100, 2.0, 0.2) << voice;
    EXPECT_NEAR(at200 / at100, 0.5, 0.06) << voice;
    EXPECT_NEAR(at300 / at100, 1 / 3.0, 0.05) << voice;
  }
}

TEST(ModelVoices, PausesLastAsLongAsTheFormantVoicesMakeThem) {
  for (const char* voice : kModelVoices) {
    for (auto [koe, pause] : {std::pair{"あめ、あめ。", 0.250}, std::pair{"あめ,あめ。", 0.100},
                              std::pair{"あめ。あめ。", 0.400}}) {
      Rendering r = Say(voice, koe);
      // The silence between the two words, from the end of the first to the start of the second.
      const double gap = r.spans[2].start - r.spans[1].end;
      EXPECT_NEAR(gap, (pause + 0.022) / SpeedFactor(voice), 0.002) << voice << " " << koe;
      auto silent = test::SilentStretches(r.samples, 0.05, 40);
      bool found = false;
      for (auto [a, b] : silent) found |= a < r.spans[2].start && b > r.spans[1].end;
      EXPECT_TRUE(found) << voice << " " << koe;
    }
    // The speed shortens pauses too.
    Rendering fast = Say(voice, "あめ、あめ。", 200);
    EXPECT_NEAR(fast.spans[2].start - fast.spans[1].end, (0.250 + 0.022) / 2 / SpeedFactor(voice),
                0.002)
        << voice;
  }
}

TEST(ModelVoices, LongStringsAreSpokenInPiecesThatMeetAtTheirPauses) {
  // 170 morae: two pieces, the first ending at the pause after 160. Every pause keeps its length,
  // wherever the pieces meet.
  std::string koe;
  for (int i = 0; i < 17; ++i) koe += "かきくけこ/さしすせそ、";
  Rendering r = Say("m1", koe.c_str());
  ASSERT_EQ(r.spans.size(), 170u);
  for (size_t i = 9; i + 1 < r.spans.size(); i += 10)
    EXPECT_NEAR(r.spans[i + 1].start - r.spans[i].end, 0.250 + 0.022, 0.002) << "pause " << i;
  for (size_t i = 0; i + 1 < r.spans.size(); ++i) EXPECT_LE(r.spans[i].end, r.spans[i + 1].start);
  EXPECT_NEAR(r.samples.size() / test::kRate, r.spans.back().end + 0.06 + 0.06, 0.01);
}

TEST(ModelVoices, SameInputGivesTheSameBytes) {
  const std::string koe = ToCp932(U"きょ'ーわ/いい'/てんきですね、さんぽに/いきましょ'ーか？");
  for (const char* voice : kModelVoices) {
    std::vector<uint8_t> a, b, other;
    std::string error;
    ASSERT_TRUE(Synthesize(VoiceFolder(voice), koe, 100, a, error)) << error;
    ASSERT_TRUE(Synthesize(VoiceFolder(voice), ToCp932(U"さようなら。"), 100, other, error));
    ASSERT_TRUE(Synthesize(VoiceFolder(voice), koe, 100, b, error)) << error;
    EXPECT_EQ(a, b) << voice;
    ASSERT_GT(a.size(), 44u + 8000u);
  }
}

double MedianPitch(const Rendering& r) {
  std::vector<double> f;
  for (const MoraSpan& s : r.spans)
    for (double t = s.vowelStart + 0.01; t < s.end - 0.01; t += 0.01)
      if (double p = PitchAt(r.samples, t, 0.030); p > 0) f.push_back(p);
  std::sort(f.begin(), f.end());
  return f.empty() ? 0 : f[f.size() / 2];
}

TEST(ModelVoices, VoicesMadeFromAModelAreHigherOrDeeperSpeakers) {
  // 女性２ is higher and has a shorter vocal tract than 女性１; 男性２ is lower and longer than
  // 男性１: pitch and the spectrum of held vowels move the same way.
  const char* koe = "あーーえーーいーーおーーうーー。";
  struct Pair {
    const char* base;
    const char* derived;
    double direction;  // +1: higher, -1: lower
  };
  for (Pair p : {Pair{"f1", "f2", 1}, Pair{"m1", "m2", -1}}) {
    Rendering base = Say(p.base, koe), derived = Say(p.derived, koe);
    const double pitch = Semitones(MedianPitch(base), MedianPitch(derived));
    double centroidBase = 0, centroidDerived = 0;
    for (size_t m = 0; m < base.spans.size(); m += 3) {
      centroidBase += test::SpectralCentroid(base.samples, base.spans[m].vowelStart + 0.03,
                                             base.spans[m + 2].end - 0.03);
      centroidDerived += test::SpectralCentroid(derived.samples, derived.spans[m].vowelStart + 0.03,
                                                derived.spans[m + 2].end - 0.03);
    }
    const double spectrum = centroidDerived / centroidBase;
    std::printf("%s against %s: pitch %+.1f st, spectral centroid of the vowels x%.3f\n", p.derived,
                p.base, pitch, spectrum);
    EXPECT_GT(pitch * p.direction, 2.0) << p.derived;
    EXPECT_GT((spectrum - 1) * p.direction, 0.03) << p.derived;
  }
}

TEST(ModelVoices, MissingOrBrokenModelFallsBackToTheFormantVoiceAndSaysWhichFile) {
  namespace fs = std::filesystem;
  const fs::path dir =
      fs::temp_directory_path() / ("kotonel-model-test-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  { std::ofstream(dir / "voice.txt") << "pitch = 150\nmodel = missing.htsvoice\n"; }
  const std::string koe = ToCp932(U"あめ。");
  std::vector<uint8_t> image, formant;
  std::string error;
  testing::internal::CaptureStderr();
  EXPECT_TRUE(Synthesize(dir.string(), koe, 100, image, error)) << error;
  std::string told = testing::internal::GetCapturedStderr();
  EXPECT_NE(told.find((dir / "missing.htsvoice").string()), std::string::npos) << told;
  VoiceParams plain;
  plain.pitch = 150;
  Rendering r;
  ASSERT_TRUE(Render(plain, U"あめ。", 100, r, error));
  EXPECT_EQ(image.size(), 44 + 2 * r.samples.size());

  {
    std::ofstream(dir / "voice.txt") << "pitch = 150\nmodel = broken.htsvoice\n";
    std::ofstream(dir / "broken.htsvoice") << "[GLOBAL]\nHTS_VOICE_VERSION:1.0\nnonsense\n";
  }
  testing::internal::CaptureStderr();
  EXPECT_TRUE(Synthesize(dir.string(), koe, 100, image, error)) << error;
  told = testing::internal::GetCapturedStderr();
  EXPECT_NE(told.find((dir / "broken.htsvoice").string()), std::string::npos) << told;
  EXPECT_EQ(image.size(), 44 + 2 * r.samples.size());
  fs::remove_all(dir);
}

double ToneRmsAfterResampling(double frequency, int inRate) {
  std::vector<float> tone(inRate);  // one second
  for (size_t i = 0; i < tone.size(); ++i)
    tone[i] = static_cast<float>(std::sin(2 * M_PI * frequency * i / inRate));
  std::vector<float> out = Resampler(inRate, 8000).Process(tone);
  double e = 0;
  for (size_t i = 1000; i < 7000; ++i) e += double(out[i]) * out[i];
  return 20 * std::log10(std::sqrt(e / 6000) * std::sqrt(2.0));  // dB against the input tone
}

TEST(ModelVoices, ResamplerKeepsTheBandAndLetsNothingFoldBack) {
  for (int rate : {48000, 16000, 22050, 44100}) {
    for (double f : {200.0, 1000.0, 3000.0, 3300.0})
      EXPECT_NEAR(ToneRmsAfterResampling(f, rate), 0.0, 0.05) << rate << " Hz, tone " << f;
    // Tones above 4 kHz would fold back into the band: they must be gone.
    for (double f : {4000.0, 4500.0, 6000.0, 7900.0})
      if (f < rate / 2.0) {
        EXPECT_LT(ToneRmsAfterResampling(f, rate), -70.0) << rate << ", " << f;
      }
  }
  // Output length follows the rate ratio.
  EXPECT_EQ(Resampler(48000, 8000).Process(std::vector<float>(4800)).size(), 800u);
}

}  // namespace
}  // namespace kotonel::synth
