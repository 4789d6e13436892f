// A recording goes to disk as it is made, and its file appears complete or not at all.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "audio/clsWAVE.h"
#include "audio/virtual_audio_device.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "util/clock.h"
#include "util/files.h"

namespace kotonel {
namespace {

namespace fs = std::filesystem;

struct Rig {
  VirtualClock clock;
  std::unique_ptr<clsWAVE> wave;
  explicit Rig(size_t sampleBytes = 1000) {
    wave = std::make_unique<clsWAVE>(std::make_unique<VirtualAudioDevice>(clock),
                                     std::make_unique<test::FakeVoiceLibrary>(sampleBytes));
  }
  int32_t Say(const std::u32string& word) {
    wave->WORD(word);
    return wave->PLAY();
  }
};

uint32_t Le32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// Our temporary files in folder, with their sizes.
std::vector<uintmax_t> TemporarySizes(const std::string& folder) {
  std::vector<uintmax_t> sizes;
  for (const auto& e : fs::directory_iterator(folder))
    if (IsOurTemporaryName(e.path().filename())) sizes.push_back(e.file_size());
  return sizes;
}

TEST(Recording, StreamsToItsFolderAndAppearsOnlyWhenSaved) {
  test::TempFolder dir;
  std::string path = dir.File("talk.wav");
  dir.Write("talk.wav", "an older recording");
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  Rig rig;
  rig.wave->RecordingPath(path);
  rig.wave->RECORD(true);
  ASSERT_EQ(rig.Say(U"あ。"), 0);
  ASSERT_EQ(rig.Say(U"い、"), 0);
  // The samples are on disk already, beside the target; the target is untouched meanwhile.
  size_t total = 44 + 1000 + 6400 + 1000 + 4800;
  EXPECT_EQ(TemporarySizes(dir.Folder()), std::vector<uintmax_t>{total});
  EXPECT_EQ(rig.wave->RecordingLength(), total);
  Bytes file;
  ASSERT_TRUE(ReadBytes(path, file));
  EXPECT_EQ(std::string(file.begin(), file.end()), "an older recording");

  ASSERT_TRUE(rig.wave->SAVE(path));
  ASSERT_TRUE(ReadBytes(path, file));
  ASSERT_EQ(file.size(), total);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
  EXPECT_EQ(Le32(file, 4), total - 8);
  EXPECT_EQ(Le32(file, 40), total - 44);
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_TRUE(TemporarySizes(dir.Folder()).empty());

  // Saved somewhere else than announced: the same bytes arrive there.
  rig.wave->RECORD(true);
  ASSERT_EQ(rig.Say(U"う"), 0);
  ASSERT_TRUE(rig.wave->SAVE(dir.File("moved.wav")));
  ASSERT_TRUE(ReadBytes(dir.File("moved.wav"), file));
  EXPECT_EQ(file.size(), 44u + 1000 + 800);
  EXPECT_EQ(Le32(file, 40), 1000u + 800);
  EXPECT_TRUE(TemporarySizes(dir.Folder()).empty());

  // Discarded (RECORD false, or the player going away): no file, no leftover.
  rig.wave->RECORD(true);
  rig.wave->RecordingPath(dir.File("dropped.wav"));
  ASSERT_EQ(rig.Say(U"え"), 0);
  EXPECT_EQ(TemporarySizes(dir.Folder()).size(), 1u);
  rig.wave->RECORD(false);
  EXPECT_TRUE(TemporarySizes(dir.Folder()).empty());
  rig.wave->RECORD(true);
  ASSERT_EQ(rig.Say(U"お"), 0);
  rig.wave.reset();
  EXPECT_TRUE(TemporarySizes(dir.Folder()).empty());
  EXPECT_FALSE(fs::exists(dir.File("dropped.wav")));
}

TEST(Recording, StopsBeforeTheSizeLimitAndKeepsWhatFits) {
  test::TempFolder dir;
  std::string path = dir.File("long.wav");
  Rig rig;
  rig.wave->RecordingPath(path);
  rig.wave->RECORD(true);
  rig.wave->RecordingLimit(44 + 2 * (1000 + 6400) + 100);
  ASSERT_EQ(rig.Say(U"あ。"), 0);
  ASSERT_EQ(rig.Say(U"い。"), 0);
  EXPECT_EQ(rig.Say(U"う。"), kRecordingFull);
  EXPECT_NE(rig.wave->LastError().find("largest size"), std::string::npos);
  EXPECT_TRUE(rig.wave->IsRecording());
  ASSERT_TRUE(rig.wave->SAVE(path));
  Bytes file;
  ASSERT_TRUE(ReadBytes(path, file));
  size_t total = 44 + 2 * (1000 + 6400);
  ASSERT_EQ(file.size(), total);
  EXPECT_EQ(Le32(file, 4), total - 8);
  EXPECT_EQ(Le32(file, 40), total - 44);
  EXPECT_EQ(SpeechErrorText(kRecordingFull).find(U"4 GiB") != std::u32string::npos, true);
  // The real limit keeps both length fields within 32 bits, in whole samples.
  EXPECT_LE(kMaxRecordingBytes - 8, 0xFFFFFFFFu);
  EXPECT_EQ(kMaxRecordingBytes % 2, 0u);
}

TEST(Recording, AFailingDiskStopsTheReadingWithTheReason) {
  test::TempFolder dir;
  std::string path = dir.File("full.wav");
  Rig rig;
  rig.wave->RecordingPath(path);
  rig.wave->RECORD(true);
  ASSERT_EQ(rig.Say(U"あ"), 0);
  // The file may grow no further, as on a full disk.
  struct rlimit old;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  struct rlimit small = old;
  small.rlim_cur = 4000;
  auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  int32_t rc = 0;
  for (int i = 0; i < 5 && rc == 0; ++i) rc = rig.Say(U"い");
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(rc, kRecordingFailed);
  EXPECT_NE(rig.wave->LastError().find("too large"), std::string::npos) << rig.wave->LastError();
  rig.wave->RECORD(false);
  EXPECT_TRUE(fs::is_empty(dir.Folder()));
}

TEST(Recording, ATargetThatCannotBeWrittenIsKnownBeforeSpeaking) {
  test::TempFolder dir;
  Rig rig;
  rig.wave->RecordingPath(dir.File("missing/x.wav"));
  rig.wave->RECORD(true);
  EXPECT_FALSE(rig.wave->OpenRecording());
  EXPECT_NE(rig.wave->RecordingError().find("No such file or directory"), std::string::npos);
  // A device takes the finished recording through; it is never replaced by a file. Private
  // copies of /dev/null and /dev/full, so that a fault can never harm the real ones.
  std::string null = dir.File("null"), full = dir.File("full");
  if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
      ::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
    GTEST_SKIP() << "no device nodes here";
  rig.wave->RecordingPath(null);
  rig.wave->RECORD(true);
  EXPECT_TRUE(rig.wave->OpenRecording());
  ASSERT_EQ(rig.Say(U"あ"), 0);
  EXPECT_TRUE(rig.wave->SAVE(null));
  struct stat st;
  ASSERT_EQ(::stat(null.c_str(), &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  rig.wave->RecordingPath(full);
  rig.wave->RECORD(true);
  ASSERT_EQ(rig.Say(U"あ"), 0);
  EXPECT_FALSE(rig.wave->SAVE(full));
  EXPECT_NE(rig.wave->RecordingError().find("No space left"), std::string::npos);
  ASSERT_EQ(::stat(full.c_str(), &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
}

}  // namespace
}  // namespace kotonel
