#include "synth/voice_params.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "synth/synthesizer.h"
#include "util/encoding.h"

namespace kotonel::synth {
namespace {

TEST(VoiceParams, ParsesCommentsDefaultsAndRejectsBadLines) {
  VoiceParams v;
  std::string error;
  ASSERT_TRUE(
      ParseVoiceParams("\xEF\xBB\xBF# a voice\n\nname = テスト\npitch = 220  # Hz\r\n"
                       "effect = ring\neffect_frequency=90\n",
                       "voice.txt", v, error))
      << error;
  EXPECT_DOUBLE_EQ(v.pitch, 220);
  EXPECT_EQ(v.effect, VoiceEffect::kRing);
  EXPECT_DOUBLE_EQ(v.effectFrequency, 90);
  EXPECT_DOUBLE_EQ(v.formantScale, VoiceParams{}.formantScale);  // left out: default

  struct Bad {
    const char* text;
    const char* mention;
  } bad[] = {{"pitch = abc\n", "1 行目"},
             {"\npitch = 20\n", "2 行目"},
             {"pitch 120\n", "1 行目"},
             {"loudness = 3\n", "loudness"},
             {"effect = echo\n", "effect"},
             {"jitter = 0.5x\n", "jitter"},
             {"formant_scale = nan\n", "formant_scale"}};
  for (const Bad& b : bad) {
    VoiceParams kept;
    kept.pitch = 123;
    error.clear();
    EXPECT_FALSE(ParseVoiceParams(b.text, "voice.txt", kept, error)) << b.text;
    EXPECT_NE(error.find(b.mention), std::string::npos) << error;
    EXPECT_NE(error.find("voice.txt"), std::string::npos) << error;
    EXPECT_DOUBLE_EQ(kept.pitch, 123);  // a failed parse leaves the voice alone
  }
}

TEST(VoiceParams, MissingOrBrokenVoiceFolderFailsSynthesis) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("kotonel_voice_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  std::vector<uint8_t> image;
  std::string error;
  std::string koe = ToCp932(U"あ");
  EXPECT_FALSE(Synthesize(dir.string() + "/", koe, 100, image, error));
  EXPECT_NE(error.find(dir.string()), std::string::npos) << error;

  fs::create_directories(dir);
  EXPECT_FALSE(Synthesize(dir.string() + "/", koe, 100, image, error));
  EXPECT_NE(error.find("voice.txt"), std::string::npos) << error;

  std::ofstream(dir / "voice.txt") << "pitch = 2000\n";
  EXPECT_FALSE(Synthesize(dir.string() + "/", koe, 100, image, error));
  EXPECT_NE(error.find("pitch"), std::string::npos) << error;
  EXPECT_TRUE(image.empty());

  // A copied and edited folder is a new voice.
  std::ofstream(dir / "voice.txt") << "pitch = 150\nformant_scale = 1.1\n";
  EXPECT_TRUE(Synthesize(dir.string() + "/", koe, 100, image, error)) << error;
  EXPECT_GT(image.size(), 44u);
  EXPECT_TRUE(Synthesize(dir.string(), koe, 100, image, error)) << error;
  fs::remove_all(dir);

  // Every shipped voice loads.
  for (const char* name : {"f1", "f2", "m1", "m2", "r1", "imd1", "dvd", "jgr"}) {
    VoiceParams v;
    EXPECT_TRUE(LoadVoiceParams(std::string(KOTONEL_SOURCE_DIR) + "dll/" + name + "/", v, error))
        << name << ": " << error;
  }
}

TEST(VoiceParams, ExtremeButValidVoicesStillGiveCleanSound) {
  const char* extremes[] = {
      "pitch = 40\npitch_range = 3\nformant_scale = 0.6\nbandwidth_scale = 0.3\n"
      "open_quotient = 0.2\nspectral_tilt = 0\njitter = 0.2\nspeed_factor = 0.5\n",
      "pitch = 600\npitch_range = 3\nformant_scale = 1.6\nbandwidth_scale = 4\n"
      "open_quotient = 0.95\nspectral_tilt = 0.95\nbreathiness = 1\nvibrato_rate = 20\n"
      "vibrato_depth = 300\nspeed_factor = 2\neffect = ring\neffect_frequency = 2000\n"
      "effect_mix = 1\n",
  };
  for (const char* text : extremes) {
    VoiceParams v;
    std::string error;
    ASSERT_TRUE(ParseVoiceParams(text, "voice.txt", v, error)) << error;
    Rendering r;
    ASSERT_TRUE(Render(v, U"きょうわ/いい'/てんきですね？さんぽ、しましょう。", 300, r, error))
        << error;
    ASSERT_FALSE(r.samples.empty());
    float peak = 0;
    for (float x : r.samples) {
      ASSERT_TRUE(std::isfinite(x));
      peak = std::max(peak, std::fabs(x));
    }
    EXPECT_GT(peak, 0.1f);
    EXPECT_LT(peak, 0.71f);  // below -3 dBFS
  }
}

}  // namespace
}  // namespace kotonel::synth
