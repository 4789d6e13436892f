#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct SayResult {
  int status;
  std::string out;
};

// Runs kotonel-say from the build tree with the given arguments (shell-quoted by the caller).
SayResult Say(const std::string& args, const std::string& input = "") {
  std::string command = std::string("cd ") + KOTONEL_BIN_DIR + " && ";
  if (!input.empty()) command += "printf '%s' '" + input + "' | ";
  command += "./kotonel-say --dict " + std::string(KOTONEL_TEST_DATA) + "engine " + args + " 2>&1";
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
}

}  // namespace
