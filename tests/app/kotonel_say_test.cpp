#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_folder.h"

namespace {

struct SayResult {
  int status;
  std::string out;
};

// Runs kotonel-say from the build tree with the given arguments (shell-quoted by the caller).
// dict empty: the dictionaries and voices shipped beside the program.
SayResult Say(const std::string& args, const std::string& input = "",
              const std::string& dict = std::string(KOTONEL_TEST_DATA) + "engine") {
  std::string command = std::string("cd ") + KOTONEL_BIN_DIR + " && ";
  if (!input.empty()) command += "printf '%s' '" + input + "' | ";
  command += "./kotonel-say " + (dict.empty() ? std::string() : "--dict " + dict + " ") + args;
  if (command.find("2>") == std::string::npos) command += " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  std::array<char, 4096> buf;
  while (size_t n = fread(buf.data(), 1, buf.size(), pipe)) out.append(buf.data(), n);
  int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

TEST(KotonelSay, PrintsThePiecesOfEachLine) {
  SayResult r = Say("-m phonetic -p 'あ、い。う'");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "あ、い。う。\n");
  SayResult lines = Say("-m phonetic -p", "か\n\nき\n");
  EXPECT_EQ(lines.status, 0);
  EXPECT_EQ(lines.out, "か。\n\nき。\n");
}

TEST(KotonelSay, RejectsBadOptionsWithUsage) {
  for (const char* args : {"--bogus", "-t 8", "-s 49", "--volume 61", "-m loud", "-o"}) {
    SayResult r = Say(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.out.find("Usage: kotonel-say"), std::string::npos) << args;
  }
  SayResult help = Say("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--output"), std::string::npos);
}

TEST(KotonelSay, ReportsAnUnwritableRecording) {
  SayResult r = Say("-m phonetic -o /nonexistent-folder/x.wav 'あ'");
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.out.find("No such file or directory"), std::string::npos) << r.out;
}

// The small test dictionaries with the shipped first voice: quick to load, and it speaks.
std::string VoicedDictionary(const kotonel::test::TempFolder& dir) {
  namespace fs = std::filesystem;
  std::string dict = dir.File("dict");
  fs::create_directory(dict);
  for (const auto& e : fs::directory_iterator(std::string(KOTONEL_TEST_DATA) + "engine"))
    fs::create_symlink(e.path(), dict + "/" + e.path().filename().string());
  fs::create_directory_symlink(std::string(KOTONEL_BIN_DIR) + "dll/f1", dict + "/f1");
  return dict;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Le32(const std::string& b, size_t at) {
  auto u = [&](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(b[at + i])); };
  return u(0) | u(1) << 8 | u(2) << 16 | u(3) << 24;
}

TEST(KotonelSay, OutputKeepsModesWritesDevicesThroughAndChecksFirst) {
  kotonel::test::TempFolder dir;
  std::string dict = VoicedDictionary(dir);
  // A private recording stays private; nothing else is left in the folder.
  std::string wav = dir.File("p.wav");
  dir.Write("p.wav", "old");
  ASSERT_EQ(chmod(wav.c_str(), 0600), 0);
  SayResult r = Say("-m phonetic -o '" + wav + "' あ", "", dict);
  ASSERT_EQ(r.status, 0) << r.out;
  std::string data = Slurp(wav);
  ASSERT_GT(data.size(), 44u);
  EXPECT_EQ(data.substr(0, 4), "RIFF");
  EXPECT_EQ(Le32(data, 40), data.size() - 44);
  struct stat st;
  ASSERT_EQ(stat(wav.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Folder()), {}), 2);  // and dict

  // A read-only file is refused before anything is synthesized, with the reason.
  std::string ro = dir.File("ro.wav");
  dir.Write("ro.wav", "keep");
  ASSERT_EQ(chmod(ro.c_str(), 0444), 0);
  r = Say("-m phonetic -o '" + ro + "' あ", "", dict);
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.out.find("read-only"), std::string::npos) << r.out;
  EXPECT_EQ(Slurp(ro), "keep");

  // A FIFO is written through, not replaced by a file.
  std::string fifo = dir.File("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  r = Say("-m phonetic -o '" + fifo + "' あ & timeout 20 cat '" + fifo + "' | wc -c; wait $!", "",
          dict);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(std::stoul(r.out), data.size()) << r.out;
  ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));

  // "-" is standard output; a full one is a failure with the reason.
  r = Say("-m phonetic -o - あ 2>/dev/null | wc -c", "", dict);
  EXPECT_EQ(std::stoul(r.out), data.size()) << r.out;
  r = Say("-m phonetic -o - あ 2>&1 >/dev/full", "", dict);
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.out.find("No space left on device"), std::string::npos) << r.out;

  // An empty name is a usage error.
  r = Say("-o '' あ");
  EXPECT_EQ(r.status, 2);
  r = Say("--output= あ");
  EXPECT_EQ(r.status, 2);
}

TEST(KotonelSay, ListsTheVoicesAndTakesThemByName) {
  SayResult r = Say("--list-voices");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "0 女性１\n1 女性２\n2 男性１\n3 男性２\n4 ロボット\n5 中性\n6 機械\n7 特殊\n");
  EXPECT_EQ(Say("-t 男性２ -m phonetic -p あ").status, 0);
  EXPECT_EQ(Say("--voice=特殊 -m phonetic -p あ").status, 0);
  EXPECT_EQ(Say("-t 男性 -m phonetic -p あ").status, 2);
}

TEST(KotonelSay, StreamsWavOrRawPcmLineByLine) {
  kotonel::test::TempFolder dir;
  std::string dict = VoicedDictionary(dir);
  std::string wav = dir.File("a.wav");
  ASSERT_EQ(Say("-m phonetic -o '" + wav + "' あ、い", "", dict).status, 0);
  std::string file = Slurp(wav);
  ASSERT_GT(file.size(), 44u);

  // The stream holds what the file holds, under a header whose lengths are left open.
  std::string stream = dir.File("s.wav");
  SayResult r = Say("-m phonetic -o - あ、い 2>&1 > '" + stream + "'", "", dict);
  ASSERT_EQ(r.status, 0) << r.out;
  std::string streamed = Slurp(stream);
  ASSERT_EQ(streamed.size(), file.size());
  EXPECT_EQ(streamed.substr(0, 4), "RIFF");
  EXPECT_EQ(Le32(streamed, 4), 0xFFFFFFFFu);
  EXPECT_EQ(Le32(streamed, 40), 0xFFFFFFFFu);
  EXPECT_EQ(streamed.substr(8, 32), file.substr(8, 32));
  EXPECT_EQ(streamed.substr(44), file.substr(44));

  // --raw: the same samples without a header.
  std::string raw = dir.File("s.raw");
  r = Say("-m phonetic --raw あ、い 2>&1 > '" + raw + "'", "", dict);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(Slurp(raw), file.substr(44));
  EXPECT_EQ(Say("--raw -o '" + dir.File("x.raw") + "' あ").status, 2);

  // Each line leaves as it is made: a later line that fails does not take back the first.
  r = Say("-m phonetic --raw 2>&1 > '" + raw + "'", "あ、い\nかx\n", dict);
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.out.find("line 2 (かx)"), std::string::npos) << r.out;
  EXPECT_EQ(Slurp(raw), file.substr(44));

  // A player that cannot take the stream stops the reading, with the reason.
  r = Say("-m phonetic --raw あ 2>&1 >/dev/full", "", dict);
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.out.find("No space left on device"), std::string::npos) << r.out;
}

TEST(KotonelSay, AFailedWriteToStandardOutputIsAnError) {
  SayResult r = Say("-m phonetic -p あ 2>&1 >/dev/full");
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.out.find("No space left on device"), std::string::npos) << r.out;
  r = Say("--help 2>&1 >/dev/full");
  EXPECT_EQ(r.status, 4);
}

TEST(KotonelSay, PhoneticArgumentsAreJoinedByAPauseAndErrorsNameTheLine) {
  SayResult r = Say("-m phonetic -p あ い う");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "あ、い、う。\n");
  kotonel::test::TempFolder dir;
  std::string dict = VoicedDictionary(dir);
  r = Say("-m phonetic -o '" + dir.File("x.wav") + "' あ い", "", dict);
  EXPECT_EQ(r.status, 0) << r.out;
  r = Say("-m phonetic -o '" + dir.File("y.wav") + "'", "あ\nかx\n", dict);
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.out.find("line 2 (かx)"), std::string::npos) << r.out;
  EXPECT_FALSE(std::filesystem::exists(dir.File("y.wav")));
}

TEST(KotonelSay, AnInterruptedRecordingLeavesNothingBehind) {
  // Interrupted while the input is awaited, and with the signal already there when the wait
  // begins (held back until then): a signal that came just before the read once left the
  // program waiting for the end of its input.
  for (bool pendingAtStart : {false, true}) {
    SCOPED_TRACE(pendingAtStart ? "pending at start" : "while waiting");
    kotonel::test::TempFolder dir;
    std::string dict = VoicedDictionary(dir), wav = dir.File("x.wav");
    int input[2];
    ASSERT_EQ(pipe(input), 0);
    pid_t child = fork();
    if (child == 0) {
      dup2(input[0], 0);
      close(input[1]);
      if (pendingAtStart) {
        sigset_t term;
        sigemptyset(&term);
        sigaddset(&term, SIGTERM);
        sigprocmask(SIG_BLOCK, &term, nullptr);
        raise(SIGTERM);
      }
      std::string say = std::string(KOTONEL_BIN_DIR) + "kotonel-say";
      execl(say.c_str(), say.c_str(), "--dict", dict.c_str(), "-o", wav.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    close(input[0]);
    auto temporary = [&] {
      for (const auto& e : std::filesystem::directory_iterator(dir.Folder()))
        if (e.path().filename().string().find(".kotonel-") != std::string::npos) return true;
      return false;
    };
    int status = 0;
    pid_t ended = 0;
    if (!pendingAtStart) {
      // The recording's file is open (its temporary file is there) while the input is awaited.
      for (int i = 0; i < 1000 && !temporary(); ++i) usleep(10000);
      EXPECT_TRUE(temporary());
      kill(child, SIGTERM);
    }
    // The input stays open: only the signal may end the program.
    for (int i = 0; i < 1000 && ended == 0; ++i) {
      ended = waitpid(child, &status, WNOHANG);
      if (ended == 0) usleep(10000);
    }
    EXPECT_EQ(ended, child) << "still waiting for its input";
    close(input[1]);
    if (ended == 0) {
      ASSERT_EQ(waitpid(child, &status, 0), child);
    }
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_FALSE(temporary());
    EXPECT_FALSE(std::filesystem::exists(wav));
  }
}

}  // namespace
