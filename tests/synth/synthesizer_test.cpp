#include "synth/synthesizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "sound_analysis.h"
#include "util/encoding.h"

namespace kotonel::synth {
namespace {

using test::PitchAt;
using test::RmsDb;
using test::Semitones;

std::string VoiceFolder(const std::string& name) {
  return std::string(KOTONEL_SOURCE_DIR) + "dll/" + name + "/";
}

VoiceParams Voice(const std::string& name) {
  VoiceParams v;
  std::string error;
  EXPECT_TRUE(LoadVoiceParams(VoiceFolder(name), v, error)) << error;
  return v;
}

Rendering Say(const std::string& voice, const char* koe, int speed = 100) {
  Rendering r;
  std::string error;
  EXPECT_TRUE(Render(Voice(voice), U32(koe), speed, r, error)) << error;
  return r;
}

double VowelMiddle(const MoraSpan& s) {
  return (s.vowelStart + s.end) / 2;
}

double PitchOfMora(const Rendering& r, size_t i) {
  return PitchAt(r.samples, VowelMiddle(r.spans[i]), 0.035);
}

// The first two formants over the steady middle of a held vowel.
std::pair<double, double> SteadyF1F2(const Rendering& r) {
  std::vector<double> f =
      test::FormantsOver(r.samples, r.spans[0].vowelStart + 0.06, r.spans.back().end - 0.06);
  if (f.size() < 2) return {0, 0};
  return {f[0], f[1]};
}

TEST(Synthesizer, SteadyVowelsHitTheirFormants) {
  const char* vowels[] = {"あーー", "いーー", "うーー", "えーー", "おーー"};
  const Vowel ids[] = {Vowel::kA, Vowel::kI, Vowel::kU, Vowel::kE, Vowel::kO};
  for (const char* voice : {"m1", "f1"}) {
    const double scale = Voice(voice).formantScale;
    for (int v = 0; v < 5; ++v) {
      double f1, f2;
      VowelFormants(ids[v], f1, f2);
      auto [m1, m2] = SteadyF1F2(Say(voice, vowels[v]));
      EXPECT_NEAR(m1, f1 * scale, 0.15 * f1 * scale) << voice << " " << vowels[v] << " F1";
      EXPECT_NEAR(m2, f2 * scale, 0.15 * f2 * scale) << voice << " " << vowels[v] << " F2";
    }
  }
}

TEST(Synthesizer, VowelsStayRecognizableBetweenConsonants) {
  // Every voiced vowel, measured over the middle of its stretch, lies nearest to its own
  // target (log F1/F2 distance): the transitions never blur one vowel into another.
  const char* koe =
      "かきくけこ/なにぬねの/まみむめも/らりるれろ/がぎぐげご/ばびぶべぼ/たちつてと/さしすせそ/"
      "やゆよ/わ";
  for (const char* voice : {"m1", "f1", "m2", "imd1"}) {
    Rendering r = Say(voice, koe);
    const double scale = Voice(voice).formantScale;
    int heard = 0;
    for (size_t i = 0; i < r.spans.size(); ++i) {
      const Mora& m = r.utterance.morae[i];
      if (m.kind != MoraKind::kSyllable || m.devoiced) continue;
      const MoraSpan& s = r.spans[i];
      const double len = s.end - s.vowelStart;
      auto f = test::FormantsOver(r.samples, s.vowelStart + 0.2 * len, s.end - 0.2 * len, 0.025);
      ASSERT_GE(f.size(), 2u) << voice << " mora " << i;
      int nearest = -1;
      double best = 1e9;
      for (int k = 0; k < 5; ++k) {
        double f1, f2;
        VowelFormants(Vowel(k), f1, f2);
        double d =
            std::pow(std::log(f[0] / (f1 * scale)), 2) + std::pow(std::log(f[1] / (f2 * scale)), 2);
        if (d < best) best = d, nearest = k;
      }
      EXPECT_EQ(nearest, int(m.vowel)) << voice << " mora " << i;
      ++heard;
    }
    EXPECT_GE(heard, 38) << voice;  // all but the few devoiced ones
  }
}

TEST(Synthesizer, ConsonantsKeepTheirPlacesApart) {
  for (const char* voice : {"m1", "f1"}) {
    // Centre of gravity of the consonant's noise (the second mora's onset) and its level
    // against the vowel before it.
    auto onset = [&](const char* koe, double* level = nullptr) {
      Rendering r = Say(voice, koe);
      const MoraSpan& c = r.spans[1];
      if (level)
        *level = RmsDb(r.samples, c.start, c.vowelStart) -
                 RmsDb(r.samples, r.spans[0].vowelStart, r.spans[0].end);
      return test::SpectralCentroid(r.samples, c.start, c.vowelStart);
    };
    double sLevel = 0, hLevel = 0;
    double s = onset("あさ", &sLevel), sh = onset("あしゃ"), h = onset("あは", &hLevel);
    EXPECT_GT(s, sh + 150) << voice;  // [s] above [ɕ]
    EXPECT_GT(sh, h + 800) << voice;  // [ɕ] above the vowel-coloured [h]
    EXPECT_GT(onset("あつ"), onset("あちゃ") + 150) << voice;
    EXPECT_GT(onset("あた"), onset("あか") + 500) << voice;  // alveolar burst above velar
    // Frication is softer than the vowel, but not buried: [s] 4-14 dB down, [h] more.
    EXPECT_LT(sLevel, -4) << voice;
    EXPECT_GT(sLevel, -14) << voice;
    EXPECT_LT(hLevel, sLevel) << voice;
  }
}

TEST(Synthesizer, PitchAccentFollowsTheNucleus) {
  for (const char* voice : {"m1", "f1"}) {
    // 箸が: high-low-low.
    Rendering a = Say(voice, "は'しが");
    double a1 = PitchOfMora(a, 0), a2 = PitchOfMora(a, 1), a3 = PitchOfMora(a, 2);
    EXPECT_GT(Semitones(a2, a1), 2.0) << voice;
    EXPECT_LT(Semitones(a2, a3), 0.5) << voice;
    // 橋が: low-high-low.
    Rendering b = Say(voice, "はし'が");
    double b1 = PitchOfMora(b, 0), b2 = PitchOfMora(b, 1), b3 = PitchOfMora(b, 2);
    EXPECT_GT(Semitones(b1, b2), 2.0) << voice;
    EXPECT_GT(Semitones(b3, b2), 2.0) << voice;
    // 端が: low-high-high.
    Rendering c = Say(voice, "はしが");
    double c1 = PitchOfMora(c, 0), c2 = PitchOfMora(c, 1), c3 = PitchOfMora(c, 2);
    EXPECT_GT(Semitones(c1, c2), 2.0) << voice;
    EXPECT_GT(Semitones(c2, c3), -1.0) << voice;
    EXPECT_GT(Semitones(b3, c3), 2.0) << voice;  // the particle stays up only without a nucleus
    // On their own: は'し high-low; はし' low-high falling at its end; はし low-high and level.
    auto endOfSecond = [](const Rendering& r) {
      const MoraSpan& s = r.spans[1];
      return PitchAt(r.samples, s.end - 0.15 * (s.end - s.vowelStart), 0.03);
    };
    Rendering e = Say(voice, "は'し"), f = Say(voice, "はし'"), g = Say(voice, "はし");
    EXPECT_GT(Semitones(PitchOfMora(e, 1), PitchOfMora(e, 0)), 2.0) << voice;
    EXPECT_GT(Semitones(PitchOfMora(f, 0), PitchOfMora(f, 1)), 2.0) << voice;
    EXPECT_LT(Semitones(PitchOfMora(f, 1), endOfSecond(f)), -0.5) << voice;
    EXPECT_GT(Semitones(PitchOfMora(g, 0), PitchOfMora(g, 1)), 2.0) << voice;
    EXPECT_GT(Semitones(PitchOfMora(g, 1), endOfSecond(g)), -0.2) << voice;
    // "/" starts a new phrase: its first mora is low again, lower than the high before it.
    Rendering d = Say(voice, "はしが/はしが");
    EXPECT_GT(Semitones(PitchOfMora(d, 3), PitchOfMora(d, 2)), 1.0) << voice;
  }
}

TEST(Synthesizer, QuestionRisesAndStatementFalls) {
  for (const char* voice : {"m1", "f1", "m2", "f2"}) {
    Rendering q = Say(voice, "そうですか？");
    const MoraSpan& last = q.spans.back();
    double len = last.end - last.vowelStart;
    double start = PitchAt(q.samples, last.vowelStart + 0.2 * len, 0.03);
    double end = PitchAt(q.samples, last.end - 0.12 * len, 0.03);
    ASSERT_GT(start, 0) << voice;
    ASSERT_GT(end, 0) << voice;
    EXPECT_GE(Semitones(start, end), 3.0) << voice;

    Rendering s = Say(voice, "そうですか。");
    const MoraSpan& sl = s.spans.back();
    double sEnd = PitchAt(s.samples, sl.end - 0.12 * (sl.end - sl.vowelStart), 0.03);
    EXPECT_LT(Semitones(end, sEnd), -3.0) << voice;

    // Inside a string too: a sentence end falls below a mere pause.
    auto endOfKa = [&](const char* koe) {
      Rendering r = Say(voice, koe);
      const MoraSpan& k = r.spans[4];  // か
      return PitchAt(r.samples, k.end - 0.15 * (k.end - k.vowelStart), 0.03);
    };
    EXPECT_LT(Semitones(endOfKa("そうですか、はい"), endOfKa("そうですか。はい")), -1.5) << voice;
    EXPECT_GT(Semitones(endOfKa("そうですか、はい"), endOfKa("そうですか？はい")), 3.0) << voice;
  }
}

TEST(Synthesizer, SpeedScalesEveryDuration) {
  const char* koe = "こんにちわ/きょうわ/いい'/てんきですね";
  double at100 = test::SoundingLength(Say("m1", koe, 100).samples);
  double at50 = test::SoundingLength(Say("m1", koe, 50).samples);
  double at200 = test::SoundingLength(Say("m1", koe, 200).samples);
  EXPECT_NEAR(at50 / at100, 2.0, 0.2);
  EXPECT_NEAR(at200 / at100, 0.5, 0.05);
  // Speed 100 is about 7-8 morae per second.
  Rendering r = Say("m1", koe);
  double morae = double(r.spans.size());
  double rate = morae / (r.spans.back().end - r.spans.front().start);
  EXPECT_GT(rate, 6.5);
  EXPECT_LT(rate, 9.0);
  // Speed 300 and 50 both work and keep the order of the sound.
  EXPECT_LT(test::SoundingLength(Say("m1", koe, 300).samples), at200);
}

TEST(Synthesizer, PausesHaveTheirLengths) {
  struct Case {
    const char* koe;
    double seconds;
  } cases[] = {
      {"あ,あ", 0.100}, {"あ、あ", 0.250}, {"あ;あ", 0.040}, {"あ。あ", 0.400}, {"あ？あ", 0.400}};
  for (const Case& c : cases) {
    Rendering r = Say("m1", c.koe);
    auto gaps = test::SilentStretches(r.samples, 0.01);
    // The stretch between the two vowels (the ones at the very ends do not count).
    double gap = 0;
    for (auto [from, to] : gaps)
      if (from > r.spans[0].vowelStart && to < r.spans[1].end) gap = to - from;
    EXPECT_NEAR(gap, c.seconds, 0.012 + 0.05 * c.seconds) << c.koe;
    // No pause, no gap: the accent phrase mark "/" only restarts the tune.
    Rendering slash = Say("m1", "あ/あ");
    EXPECT_TRUE(test::SilentStretches(slash.samples, 0.02).size() <= 2u);
  }
  // A pause scales with the speed too.
  Rendering slow = Say("m1", "あ、あ", 50);
  double gap = 0;
  for (auto [from, to] : test::SilentStretches(slow.samples, 0.02))
    if (from > slow.spans[0].vowelStart && to < slow.spans[1].end) gap = to - from;
  EXPECT_NEAR(gap, 0.5, 0.06);
}

TEST(Synthesizer, VoicesDifferInPitchAsDesigned) {
  const char* koe = "こんにちわ、きょうわ/いい'/てんきですね。";
  // Median pitch of the voiced 10 ms steps; spread: the interquartile range in semitones.
  auto meanPitch = [&](const char* voice, double* spread = nullptr) {
    Rendering r = Say(voice, koe);
    std::vector<double> p;
    for (double t = 0; t < r.samples.size() / test::kRate; t += 0.01) {
      if (RmsDb(r.samples, t - 0.02, t + 0.02) < -40) continue;  // pauses are not voice
      double f = PitchAt(r.samples, t, 0.04);
      if (f > 0) p.push_back(f);
    }
    std::sort(p.begin(), p.end());
    if (p.empty()) return 0.0;
    if (spread) *spread = Semitones(p[p.size() / 4], p[p.size() * 3 / 4]);
    return p[p.size() / 2];
  };
  double m2 = meanPitch("m2"), m1 = meanPitch("m1"), imd1 = meanPitch("imd1");
  double f1 = meanPitch("f1"), f2 = meanPitch("f2"), jgr = meanPitch("jgr");
  EXPECT_LT(m2, m1);
  EXPECT_LT(m1, imd1);
  EXPECT_LT(imd1, f1);
  EXPECT_LT(f1, f2);
  EXPECT_LT(f2, jgr);
  // Each sits above its base pitch by the lift of phrases and accents, not more than an octave.
  for (const char* voice : {"m2", "m1", "imd1", "f1", "f2", "jgr", "r1"}) {
    double mean = meanPitch(voice), base = Voice(voice).pitch;
    EXPECT_GT(mean, base * 0.97) << voice;
    EXPECT_LT(mean, base * 2.0) << voice;
  }
  // The robot is monotone; the others move.
  double robotSpread = 0, humanSpread = 0;
  meanPitch("r1", &robotSpread);
  meanPitch("m1", &humanSpread);
  EXPECT_LT(robotSpread, 0.5);
  EXPECT_GT(humanSpread, 2.0);
}

TEST(Synthesizer, LevelFadesAndDeterminism) {
  for (const char* voice : {"f1", "f2", "m1", "m2", "r1", "imd1", "dvd", "jgr"}) {
    std::vector<uint8_t> a, b;
    std::string error;
    std::string koe = ToCp932(U"こんにちわ。きょうわ/いい'/てんきですね？");
    ASSERT_TRUE(Synthesize(VoiceFolder(voice), koe, 100, a, error)) << error;
    ASSERT_TRUE(Synthesize(VoiceFolder(voice), koe, 100, b, error)) << error;
    EXPECT_EQ(a, b) << voice;
    // RIFF WAVE, PCM, mono, 8000 Hz, 16 bits, data from byte 44.
    ASSERT_GT(a.size(), 44u + 8000u);
    EXPECT_EQ(std::string(a.begin(), a.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(a.begin() + 8, a.begin() + 16), "WAVEfmt ");
    auto u16 = [&](size_t at) { return a[at] | a[at + 1] << 8; };
    auto u32 = [&](size_t at) { return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16; };
    EXPECT_EQ(u16(20), 1);
    EXPECT_EQ(u16(22), 1);
    EXPECT_EQ(u32(24), 8000u);
    EXPECT_EQ(u16(34), 16);
    EXPECT_EQ(std::string(a.begin() + 36, a.begin() + 40), "data");
    EXPECT_EQ(u32(40), a.size() - 44);
    EXPECT_EQ(u32(4), a.size() - 8);

    std::vector<float> s;
    for (size_t i = 44; i + 1 < a.size(); i += 2)
      s.push_back(static_cast<int16_t>(u16(i)) / 32768.0f);
    double peak = 0;
    for (float x : s) peak = std::max(peak, double(std::fabs(x)));
    EXPECT_LT(20 * std::log10(peak), -3.0) << voice;
    // RMS of the sounding part (10 ms windows within 40 dB of the loudest).
    double sum = 0, loud = 0;
    std::vector<double> e;
    for (size_t i = 0; i + 80 <= s.size(); i += 80) {
      double x = 0;
      for (size_t k = i; k < i + 80; ++k) x += double(s[k]) * s[k];
      e.push_back(x / 80);
      loud = std::max(loud, x / 80);
    }
    size_t n = 0;
    for (double x : e)
      if (x >= loud * 1e-4) sum += x, ++n;
    EXPECT_NEAR(10 * std::log10(sum / double(n)), -18.0, 1.5) << voice;
    // Silent, faded ends: no click when the image starts or stops.
    EXPECT_EQ(s.front(), 0.0f);
    EXPECT_LT(std::fabs(s.back()), 1e-3f);
    EXPECT_LT(RmsDb(s, 0, 0.01), -60) << voice;
    EXPECT_LT(RmsDb(s, s.size() / test::kRate - 0.01, s.size() / test::kRate), -60) << voice;
  }
  // Into and out of a pause the sound dies away and grows over milliseconds: no hard cut.
  Rendering p = Say("m1", "あ、あ");
  const double end = p.spans[0].end, start = p.spans[1].start;
  const double ref = RmsDb(p.samples, end - 0.03, end - 0.01);
  auto level = [&](double t) { return RmsDb(p.samples, t, t + 0.002) - ref; };
  double lastLoud = end, firstQuiet = end;
  for (double t = end - 0.01; t < end + 0.06; t += 0.002) {
    if (level(t) > -6) lastLoud = t;
    if (level(t) < -40 && firstQuiet == end) firstQuiet = t;
  }
  EXPECT_GE(firstQuiet - lastLoud, 0.008);
  double lastQuiet = start, firstLoud = start;
  for (double t = start - 0.03; t < start + 0.03; t += 0.002) {
    if (level(t) < -40 && t < start + 0.005) lastQuiet = t;
    if (level(t) > -6 && firstLoud == start) firstLoud = t;
  }
  EXPECT_GE(firstLoud - lastQuiet, 0.004);

  std::vector<uint8_t> f1, m1;
  std::string error;
  ASSERT_TRUE(Synthesize(VoiceFolder("f1"), ToCp932(U"あ"), 100, f1, error));
  ASSERT_TRUE(Synthesize(VoiceFolder("m1"), ToCp932(U"あ"), 100, m1, error));
  EXPECT_NE(f1, m1);
}

TEST(Synthesizer, WholeAlphabetSynthesizesAndStrangersFail) {
  const std::u32string base =
      U"あいうえおかがきぎくぐけげこごさざしじすずせぜそぞただちっつてでとどなにぬねのはばぱひびぴ"
      U"ふぶぷへべぺほぼぽまみむめもやゆよらりるれろわをんー";
  const std::u32string pairs =
      U"いぇきゃきゅきぇきょしゃしゅしぇしょじゃじゅじぇじょちゃちゅちぇちょにゃにゅにぇにょひゃひ"
      U"ゅひぇひょみゃ"
      U"みゅみぇみょりゃりゅりぇりょぎゃぎゅぎぇぎょうぃうぇうぉつぁつぃつぇつぉふぁふぃふぇふぉび"
      U"ゃびゅびぇびょ"
      U"ぴゃぴゅぴぇぴょすぃてぃずぃでぃとぅどぅでゅてゅ";
  ASSERT_EQ(base.size(), 71u);
  ASSERT_EQ(pairs.size(), 128u);
  const std::string folder = VoiceFolder("f1");
  auto ok = [&](const std::u32string& koe) {
    std::vector<uint8_t> image;
    std::string error;
    bool done = Synthesize(folder, ToCp932(koe), 100, image, error);
    EXPECT_TRUE(done) << ToUtf8(koe) << ": " << error;
    EXPECT_GT(image.size(), 44u) << ToUtf8(koe);
  };
  auto toKatakana = [](std::u32string s) {
    for (char32_t& c : s)
      if (c >= U'ぁ' && c <= U'ゖ') c += 0x60;
    return s;
  };
  for (char32_t c : base) {
    ok(U"あ" + std::u32string(1, c));
    ok(toKatakana(U"あ" + std::u32string(1, c)));
  }
  for (size_t i = 0; i < pairs.size(); i += 2) {
    ok(pairs.substr(i, 2));
    ok(toKatakana(pairs.substr(i, 2)));
  }
  for (const char32_t* koe : {U"あ,い", U"あ、い", U"あ。い", U"あ？い", U"は'し", U"は/し",
                              U"は;し", U"か+し", U"、あ", U"あ。", U"っ", U"ん", U"、", U"かっ。"})
    ok(koe);
  // A sentence as long as the reader may send uncut, and far longer.
  std::u32string longKoe;
  while (longKoe.size() < 9990) longKoe += U"きょうわ/いい'/てんきですね、";
  ok(longKoe.substr(0, 9990));

  auto fails = [&](const std::u32string& koe) {
    std::vector<uint8_t> image{1, 2, 3};
    std::string error;
    EXPECT_FALSE(Synthesize(folder, ToCp932(koe), 100, image, error)) << ToUtf8(koe);
    EXPECT_TRUE(image.empty());
    EXPECT_FALSE(error.empty());
  };
  fails(U"");
  fails(U"漢字");
  fails(U"あa");
  fails(U"ぁ");    // a small kana outside its pairs
  fails(U"かゃ");  // not one of the pairs
  fails(U"ヴ");
  fails(U"ぢ");
  fails(U"あ?");  // ASCII question mark is not a mark of the alphabet
  fails(std::u32string(10001, U'あ'));
  std::vector<uint8_t> image;
  std::string error;
  EXPECT_FALSE(Synthesize(folder, ToCp932(U"あ"), 49, image, error));
  EXPECT_FALSE(Synthesize(folder, ToCp932(U"あ"), 301, image, error));
}

TEST(Synthesizer, DevoicingGeminatesAndLengthMarks) {
  auto voiced = [](const Rendering& r, size_t i) { return PitchOfMora(r, i) > 0; };
  // High vowels between voiceless consonants lose their voice; final す before a pause too.
  Rendering r = Say("m1", "きくち");
  EXPECT_TRUE(r.utterance.morae[0].devoiced);
  EXPECT_FALSE(r.utterance.morae[1].devoiced);  // never two in a row
  EXPECT_FALSE(voiced(r, 0));
  EXPECT_TRUE(voiced(r, 1));
  Rendering d = Say("m1", "です。");
  EXPECT_TRUE(d.utterance.morae[1].devoiced);
  EXPECT_FALSE(voiced(d, 1));
  EXPECT_TRUE(voiced(d, 0));
  EXPECT_TRUE(Say("m1", "ですか？").utterance.morae[1].devoiced);  // す before か
  EXPECT_FALSE(Say("m1", "です？").utterance.morae[1].devoiced);   // a question keeps it
  EXPECT_FALSE(Say("m1", "きが").utterance.morae[0].devoiced);     // before a voiced onset: no
  // "+" devoices whatever precedes it.
  Rendering plus = Say("m1", "あ+い");
  EXPECT_TRUE(plus.utterance.morae[0].devoiced);
  EXPECT_FALSE(voiced(plus, 0));

  // っ holds the closure one mora longer; ー holds the vowel one mora longer.
  auto longestGap = [](const Rendering& x) {
    double g = 0;
    for (auto [a, b] : test::SilentStretches(x.samples, 0.01))
      if (a > x.spans[0].vowelStart && b < x.spans.back().vowelStart) g = std::max(g, b - a);
    return g;
  };
  double plain = longestGap(Say("m1", "あた")), held = longestGap(Say("m1", "あった"));
  EXPECT_NEAR(held - plain, 0.105, 0.03);
  double shortA = test::SoundingLength(Say("m1", "か").samples);
  double longA = test::SoundingLength(Say("m1", "かー").samples);
  EXPECT_NEAR(longA - shortA, 0.105, 0.03);
  // ん takes its place from the next onset: lips before p, tongue tip before t, back before k.
  auto nasalF2 = [](const char* koe) {
    Rendering x = Say("m1", koe);
    auto f = test::FormantsOver(x.samples, x.spans[1].start + 0.02, x.spans[1].end - 0.02, 0.025);
    return f.size() >= 2 ? f[1] : 0.0;
  };
  double beforeP = nasalF2("あんぱ"), beforeT = nasalF2("あんた"), beforeK = nasalF2("あんか");
  EXPECT_GT(beforeT, beforeP + 250);
  EXPECT_GT(beforeK, beforeT + 250);
  // ん is a voiced mora of its own.
  Rendering n = Say("m1", "あんあ");
  EXPECT_TRUE(voiced(n, 1));
  EXPECT_GT(RmsDb(n.samples, n.spans[1].start, n.spans[1].end),
            RmsDb(n.samples, n.spans[0].vowelStart, n.spans[0].end) - 15);
}

}  // namespace
}  // namespace kotonel::synth
