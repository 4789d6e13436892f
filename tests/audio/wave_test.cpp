#include <gtest/gtest.h>

#include <filesystem>

#include "audio/clsWAVE.h"
#include "audio/virtual_audio_device.h"
#include "support/fakes.h"
#include "util/clock.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

struct WaveRig {
  VirtualClock clock;
  VirtualAudioDevice* device = nullptr;
  test::FakeVoiceLibrary* voices = nullptr;
  std::unique_ptr<clsWAVE> wave;

  explicit WaveRig(size_t sampleBytes = 1000, int16_t value = 1000, bool openFails = false) {
    auto dev = std::make_unique<VirtualAudioDevice>(clock);
    dev->failOpen = openFails;
    device = dev.get();
    auto lib = std::make_unique<test::FakeVoiceLibrary>(sampleBytes, value);
    voices = lib.get();
    wave = std::make_unique<clsWAVE>(std::move(dev), std::move(lib));
  }
  int16_t Sample(size_t piece, size_t index) const {
    const auto& b = device->Pieces().at(piece).bytes;
    return static_cast<int16_t>(b[2 * index] | b[2 * index + 1] << 8);
  }
};

uint32_t Le32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(Wave, SpeedIsClampedVoiceAndVolumeAreNot) {
  WaveRig rig;
  rig.wave->SPEED(10);
  EXPECT_EQ(rig.wave->SPEED(), 50);
  rig.wave->SPEED(1000);
  EXPECT_EQ(rig.wave->SPEED(), 300);
  rig.wave->VOLUME(99);
  EXPECT_EQ(rig.wave->VOLUME(), 99);
  rig.wave->VOICE(12);
  rig.wave->SPEED(150);
  rig.wave->WORD(U"あ。");
  ASSERT_EQ(rig.wave->PLAY(), 0);
  EXPECT_EQ(rig.voices->calls.back().voice, 12);
  EXPECT_EQ(rig.voices->calls.back().speed, 150);
  EXPECT_EQ(rig.voices->calls.back().koe, ToCp932(U"あ。"));
  EXPECT_EQ(rig.voices->outstanding, 0);  // every image was given back
}

TEST(Wave, VolumeScalesWithHalfEvenRoundingAndClamps) {
  Bytes image(44, 0);
  for (int16_t v : {20000, -20000, 1, 3, -3, 7}) {
    image.push_back(static_cast<uint8_t>(v & 0xFF));
    image.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  image.push_back(0x55);  // a trailing odd byte is not a sample and stays
  auto sample = [&](const Bytes& b, size_t i) {
    return static_cast<int16_t>(b[44 + 2 * i] | b[45 + 2 * i] << 8);
  };
  Bytes doubled = image;
  clsWAVE::ApplyVolume(doubled, 40);
  EXPECT_EQ(sample(doubled, 0), 32767);
  EXPECT_EQ(sample(doubled, 1), -32768);
  EXPECT_EQ(sample(doubled, 2), 2);
  Bytes halved = image;
  clsWAVE::ApplyVolume(halved, 10);
  EXPECT_EQ(sample(halved, 2), 0);   // 0.5 -> 0
  EXPECT_EQ(sample(halved, 3), 2);   // 1.5 -> 2
  EXPECT_EQ(sample(halved, 4), -2);  // -1.5 -> -2
  EXPECT_EQ(sample(halved, 5), 4);   // 3.5 -> 4
  EXPECT_EQ(halved.back(), 0x55);
  Bytes silent = image;
  clsWAVE::ApplyVolume(silent, 0);
  EXPECT_EQ(sample(silent, 0), 0);
  Bytes same = image;
  clsWAVE::ApplyVolume(same, 20);
  EXPECT_EQ(same, image);

  WaveRig rig(4, 20000);
  rig.wave->VOLUME(40);
  rig.wave->WORD(U"あ");
  ASSERT_EQ(rig.wave->PLAY(), 0);
  EXPECT_EQ(rig.Sample(0, 0), 32767);
}

TEST(Wave, RecordingGrowsBySamplesAndSilenceAndSavesValidHeader) {
  auto dir =
      std::filesystem::temp_directory_path() / ("kotonel-wave-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string path = (dir / "rec.wav").string();

  WaveRig rig(1000);
  rig.wave->RECORD(true);
  rig.wave->WORD(U"あ。");
  ASSERT_EQ(rig.wave->PLAY(), 0);
  rig.wave->WORD(U"い、");
  ASSERT_EQ(rig.wave->PLAY(), 0);
  ASSERT_TRUE(rig.wave->SAVE(path));
  Bytes file;
  ASSERT_TRUE(ReadBytes(path, file));
  size_t total = 44 + 1000 + 6400 + 1000 + 4800;
  ASSERT_EQ(file.size(), total);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
  EXPECT_EQ(Le32(file, 4), total - 8);
  EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(Le32(file, 16), 16u);
  EXPECT_EQ(file[20], 1);
  EXPECT_EQ(file[22], 1);
  EXPECT_EQ(Le32(file, 24), 8000u);
  EXPECT_EQ(Le32(file, 28), 16000u);
  EXPECT_EQ(file[32], 2);
  EXPECT_EQ(file[34], 16);
  EXPECT_EQ(std::string(file.begin() + 36, file.begin() + 40), "data");
  EXPECT_EQ(Le32(file, 40), total - 44);
  EXPECT_EQ(file[44 + 1000 + 100], 0);  // silence after the first piece

  // A second SAVE, or one without RECORD, writes nothing.
  std::filesystem::remove(path);
  EXPECT_TRUE(rig.wave->SAVE(path));
  EXPECT_FALSE(std::filesystem::exists(path));

  // Silence by the last character.
  EXPECT_EQ(clsWAVE::SilenceAfter(U'？'), 6400u);
  EXPECT_EQ(clsWAVE::SilenceAfter(U'/'), 4800u);
  EXPECT_EQ(clsWAVE::SilenceAfter(U','), 1600u);
  EXPECT_EQ(clsWAVE::SilenceAfter(U'あ'), 800u);

  // RECORD false discards; a recording that cannot be written is reported, not lost silently.
  rig.wave->RECORD(true);
  rig.wave->WORD(U"あ");
  ASSERT_EQ(rig.wave->PLAY(), 0);
  EXPECT_FALSE(rig.wave->SAVE((dir / "missing-folder" / "x.wav").string()));
  EXPECT_FALSE(std::filesystem::exists(dir / "missing-folder" / "x.wav.tmp"));
  std::filesystem::remove_all(dir);
}

TEST(Wave, FailureCodes) {
  WaveRig rig;
  rig.wave->WORD(U"");
  EXPECT_EQ(rig.wave->PLAY(), kEmptyWord);
  EXPECT_FALSE(rig.wave->IsPLAY());
  EXPECT_FALSE(rig.wave->CANCEL());  // nothing prepared

  rig.voices->failOn.push_back(ToCp932(U"だめ"));
  rig.wave->WORD(U"だめ");
  EXPECT_EQ(rig.wave->PLAY(), kSynthesisFailed);
  EXPECT_EQ(rig.wave->LastError(), "fake failure");

  rig.wave->WORD(U"あ");
  rig.device->failPrepare = true;
  EXPECT_EQ(rig.wave->PLAY(), kPrepareFailed);
  rig.device->failPrepare = false;
  rig.device->failWrite = true;
  EXPECT_EQ(rig.wave->PLAY(), kWriteFailed);

  WaveRig closed(1000, 1000, true);
  closed.wave->WORD(U"あ");
  EXPECT_EQ(closed.wave->PLAY(), kDeviceNotOpen);
  EXPECT_FALSE(closed.wave->PAUSE());
  EXPECT_FALSE(closed.wave->RESTART());
  EXPECT_FALSE(closed.wave->CANCEL());
  EXPECT_FALSE(closed.wave->IsPLAY());
}

TEST(Wave, PlaybackRunsAtTheRealRatePausesAndCancels) {
  WaveRig rig(1600);  // 100 ms of sound
  rig.wave->WORD(U"あ");
  ASSERT_EQ(rig.wave->PLAY(), 0);
  EXPECT_TRUE(rig.wave->IsPLAY());
  rig.clock.Advance(60);
  EXPECT_TRUE(rig.wave->PAUSE());
  rig.clock.Advance(1000);
  EXPECT_TRUE(rig.wave->IsPLAY());  // paused counts as running
  EXPECT_TRUE(rig.wave->RESTART());
  rig.clock.Advance(39);
  EXPECT_TRUE(rig.wave->IsPLAY());
  rig.clock.Advance(1);
  EXPECT_FALSE(rig.wave->IsPLAY());

  ASSERT_EQ(rig.wave->PLAY(), 0);
  EXPECT_TRUE(rig.wave->CANCEL());
  EXPECT_FALSE(rig.wave->IsPLAY());
  EXPECT_FALSE(rig.wave->CANCEL());
}

TEST(Wave, ErrorMessages) {
  EXPECT_EQ(SpeechErrorMessage(101), U"読み上げエラー「101:音声デバイスを開けませんでした」");
  EXPECT_EQ(SpeechErrorMessage(201), U"読み上げエラー「201:読み上げる音声記号がありません」");
  EXPECT_EQ(SpeechErrorText(301), U"文中に漢字等が含まれている／文字列の冗長");
  EXPECT_EQ(SpeechErrorText(401), U"音声データを再生装置に渡せませんでした");
  EXPECT_EQ(SpeechErrorText(501), U"音声データを再生装置に渡せませんでした");
  EXPECT_EQ(SpeechErrorText(105), U"音声記号列に未定義の読み記号が指定された");
  EXPECT_EQ(std::string(VoiceFolderName(0)), "f1");
  EXPECT_EQ(std::string(VoiceFolderName(6)), "dvd");
  EXPECT_EQ(std::string(VoiceFolderName(7)), "jgr");
  EXPECT_EQ(std::string(VoiceFolderName(-1)), "jgr");
}

}  // namespace
}  // namespace kotonel
