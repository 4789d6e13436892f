// Real Kotonel processes for the tests: one user's world of folders, starting the program in
// it and watching what it plays.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "util/encoding.h"
#include "util/files.h"
#include "util/mailbox.h"

extern char** environ;

namespace kotonel::remote {

namespace fs = std::filesystem;

// Long enough for anything to happen; a test that waits this long has failed.
constexpr int kPatienceMs = 60000;

inline bool WaitUntil(const std::function<bool()>& done, int ms = kPatienceMs) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

class Process {
 public:
  Process() = default;
  Process(pid_t pid) : pid_(pid) {}
  Process(Process&& o) noexcept : pid_(o.pid_), status_(o.status_) { o.pid_ = -1; }
  // Closes what is still running as a desktop session's end would, so it tidies up after itself.
  ~Process() {
    if (!Running()) return;
    Signal(SIGTERM);
    if (Wait(10000) < 0 && Running()) {
      Signal(SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  bool Running() {
    if (pid_ <= 0 || status_ >= 0) return false;
    int status;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
    return status_ < 0;
  }
  // Waits for the end; the exit status, or -1 when it did not end in time or was killed.
  int Wait(int ms = kPatienceMs) {
    if (!WaitUntil([&] { return !Running(); }, ms)) return -1;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
  }
  void Signal(int sig) { ::kill(pid_, sig); }

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

// Starts program with args in folder, with environment env and the output appended to out.
inline pid_t Spawn(const std::string& program, std::vector<std::string> args,
                   const std::string& folder, std::vector<std::string> env,
                   const std::string& out) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = -1;
  int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  EXPECT_EQ(rc, 0) << program;
  return rc == 0 ? pid : -1;
}

// One user's world: a program folder of its own (the program beside the test dictionaries and
// the voices), the writable folder, a folder the senders run in, and the audio log.
class World {
 public:
  World() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::temp_directory_path() /
            ("kotonel-remote-" + std::to_string(::getpid()) + "-" + test->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "config");
    fs::create_directories(root_ / "work");
    fs::path dll = root_ / "program" / "dll";
    fs::create_directories(dll);
    fs::copy_file(fs::path(KOTONEL_BIN_DIR) / "Kotonel", root_ / "program" / "Kotonel");
    for (const auto& e : fs::directory_iterator(fs::path(KOTONEL_TEST_DATA) / "engine"))
      if (e.path().extension() == ".ktn") fs::copy_file(e.path(), dll / e.path().filename());
    for (const auto& e : fs::directory_iterator(fs::path(KOTONEL_SOURCE_DIR) / "dll"))
      if (e.is_directory()) fs::copy(e.path(), dll / e.path().filename());
  }
  ~World() { fs::remove_all(root_); }

  std::string Config(const std::string& name = "") const { return (root_ / "config" / name); }
  std::string Work(const std::string& name = "") const { return (root_ / "work" / name); }
  std::string HandleFile() const { return Config("Kotonel.hwnd"); }

  // The settings the first instance starts with: argument interpretation, conversion mode.
  void Settings(bool fileOption, bool phonetic) const {
    std::u32string text = U"Kotonel\t3\r\nchkFILE\t\t" + std::u32string(fileOption ? U"1" : U"0");
    if (phonetic) text += U"\r\nopt変換\t2\tTrue";
    WriteFileAtomic(Config("Kotonel.ini"), ToCp932(text + U"\r\n"));
  }
  void WriteWork(const std::string& name, const std::string& text) const {
    std::ofstream(Work(name), std::ios::binary) << text;
  }

  // Starts Kotonel with args, in folder (the work folder by default).
  // Without a display (headless), as from ssh or cron: the window system cannot be reached.
  // configDir replaces the writable folder.
  Process Start(const std::vector<std::string>& args, std::string folder = "",
                bool headless = false, const std::string& configDir = "") const {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      std::string var(*e);
      // The start gate is the one setting a test hands down through its own environment.
      bool gate = var.rfind("KOTONEL_START_GATE=", 0) == 0;
      if ((gate || var.rfind("KOTONEL_", 0) != 0) && var.rfind("QT_QPA_PLATFORM=", 0) != 0 &&
          var.rfind("DISPLAY=", 0) != 0 && var.rfind("WAYLAND_DISPLAY=", 0) != 0)
        env.push_back(var);
    }
    env.push_back("KOTONEL_CONFIG_DIR=" + (configDir.empty() ? Config() : configDir));
    env.push_back("KOTONEL_AUDIO=null");
    env.push_back("KOTONEL_AUDIO_LOG=" + (root_ / "audio.log").string());
    env.push_back(headless ? "QT_QPA_PLATFORM=xcb" : "QT_QPA_PLATFORM=offscreen");
    return Process(Spawn((root_ / "program" / "Kotonel").string(), args,
                         folder.empty() ? Work() : folder, env, (root_ / "output.txt").string()));
  }

  // What the program plays for one line of text with full conversion, as kotonel-say prints it.
  std::string Reading(const std::string& line) const {
    std::string out = (root_ / "reading.txt").string();
    fs::remove(out);
    Process say(Spawn(std::string(KOTONEL_BIN_DIR) + "kotonel-say",
                      {"--dict", (root_ / "program" / "dll").string(), "-p", line}, Work(), {},
                      out));
    EXPECT_EQ(say.Wait(), 0);
    std::string data;
    ReadWholeFile(out, data);
    while (!data.empty() && (data.back() == '\n' || data.back() == '\r')) data.pop_back();
    return data;
  }

  // Starts the first instance and waits until it has published its mailbox.
  Process StartFirst(const std::vector<std::string>& args = {}, std::string folder = "") const {
    Process first = Start(args, folder);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(HandleFile()); }));
    return first;
  }

  // Starts a sender and waits for it to hand its command line over and end.
  void Send(const std::vector<std::string>& args) const {
    Process sender = Start(args);
    EXPECT_EQ(sender.Wait(), 0) << "sending " << (args.empty() ? "" : args[0]);
  }

  // The phonetic strings played so far, one per piece.
  std::vector<std::string> Played() const {
    std::string data;
    ReadWholeFile((root_ / "audio.log").string(), data);
    std::vector<std::string> pieces;
    for (const std::u32string& line : SplitLines(FromUtf8(data))) pieces.push_back(ToUtf8(line));
    return pieces;
  }
  // Position of the first piece holding text, or -1.
  int IndexOf(const std::string& text) const {
    std::vector<std::string> pieces = Played();
    for (size_t i = 0; i < pieces.size(); ++i)
      if (pieces[i].find(text) != std::string::npos) return static_cast<int>(i);
    return -1;
  }
  bool Heard(const std::string& text) const { return IndexOf(text) >= 0; }
  bool WaitHeard(const std::string& text) const {
    return WaitUntil([&] { return Heard(text); });
  }

  std::string Output() const {
    std::string data;
    ReadWholeFile((root_ / "output.txt").string(), data);
    return data;
  }
  std::string Dictionaries(const std::string& name = "") const {
    return (root_ / "program" / "dll" / name).string();
  }

  std::string SettingsText() const {
    std::string data;
    ReadWholeFile(Config("Kotonel.ini"), data);
    return ToUtf8(FromCp932(data));
  }

 private:
  fs::path root_;
};

}  // namespace kotonel::remote
