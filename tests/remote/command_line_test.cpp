// Real Kotonel processes driving each other through the command line: offscreen, on the silent
// audio device that logs every piece it plays, each test in its own writable folder.
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

namespace kotonel {
namespace {

namespace fs = std::filesystem;

// Long enough for anything to happen; a test that waits this long has failed.
constexpr int kPatienceMs = 60000;

bool WaitUntil(const std::function<bool()>& done, int ms = kPatienceMs) {
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
pid_t Spawn(const std::string& program, std::vector<std::string> args, const std::string& folder,
            std::vector<std::string> env, const std::string& out) {
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
  Process Start(const std::vector<std::string>& args, std::string folder = "") const {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      std::string var(*e);
      if (var.rfind("KOTONEL_", 0) != 0 && var.rfind("QT_QPA_PLATFORM=", 0) != 0)
        env.push_back(var);
    }
    env.push_back("KOTONEL_CONFIG_DIR=" + Config());
    env.push_back("KOTONEL_AUDIO=null");
    env.push_back("KOTONEL_AUDIO_LOG=" + (root_ / "audio.log").string());
    env.push_back("QT_QPA_PLATFORM=offscreen");
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

  std::string SettingsText() const {
    std::string data;
    ReadWholeFile(Config("Kotonel.ini"), data);
    return ToUtf8(FromCp932(data));
  }

 private:
  fs::path root_;
};

// Lines of kana that take a while to read, each one recognisable in the log.
std::string LongText(int lines) {
  static const char* kRows[] = {"あいうえおあいうえお", "かきくけこかきくけこ",
                                "さしすせそさしすせそ", "たちつてとたちつてと",
                                "なにぬねのなにぬねの", "はひふへほはひふへほ",
                                "まみむめもまみむめも", "やゆよやゆよやゆよ"};
  std::string text;
  for (int i = 0; i < lines; ++i) text += std::string(kRows[i % 8]) + "\n";
  return text;
}

TEST(CommandLine, ASecondStartHandsItsTextOverAndLeavesTheHandleFile) {
  World w;
  w.Settings(false, false);
  Process first = w.StartFirst();
  std::string handle;
  ReadWholeFile(w.HandleFile(), handle);

  // With argument interpretation off, "/play" is text like any other.
  w.Send({"/play"});
  ASSERT_TRUE(WaitUntil([&] { return w.Played().size() == 1; }));
  EXPECT_EQ(w.Played()[0], w.Reading("/play"));
  std::string after;
  ReadWholeFile(w.HandleFile(), after);
  EXPECT_EQ(after, handle);  // a sender never touches the handle file
  EXPECT_TRUE(first.Running());

  // A second start with an empty command line ends at once, with nothing handed over.
  Process empty = w.Start({});
  EXPECT_EQ(empty.Wait(), 0);
  w.Send({"こんにちは"});
  ASSERT_TRUE(WaitUntil([&] { return w.Played().size() == 2; }));
  EXPECT_EQ(w.Played()[1], w.Reading("こんにちは"));  // nothing came from the empty start

  // The handle file goes with the first instance.
  first.Signal(SIGTERM);
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_FALSE(FileExists(w.HandleFile()));
  EXPECT_FALSE(fs::exists(after.substr(0, after.find('\r'))));  // nor is its socket left
}

TEST(CommandLine, FileOptionsAndTextWithInterpretationOn) {
  World w;
  w.Settings(true, false);
  w.WriteWork("note.txt", "いちぎょうめ\nにぎょうめ\n");
  // Started elsewhere: the file is found in the sender's folder.
  Process first = w.StartFirst({}, w.Config());

  w.Send({"note.txt", "/s:150", "/t:3", "/w:hello/world"});
  ASSERT_TRUE(WaitUntil([&] { return w.Played().size() == 3; }));
  EXPECT_EQ(w.Played(),
            (std::vector<std::string>{w.Reading("hello/world"), w.Reading("いちぎょうめ"),
                                      w.Reading("にぎょうめ")}));

  // Values outside the controls: volume clamped, voice ignored (3 stays); the reading is
  // recorded into the sender's folder.
  w.Send({"/v:80", "/t:9", "/r:rec.wav", "/w:おわり"});
  EXPECT_TRUE(WaitUntil([&] { return FileExists(w.Work("rec.wav")); }));
  EXPECT_TRUE(w.Heard("おわり"));

  // "/close2" shows the window before closing, so the settings are saved.
  w.Send({"/close2"});
  EXPECT_EQ(first.Wait(), 0);
  std::string settings = w.SettingsText();
  EXPECT_NE(settings.find("lblW読速度\t\t150\r\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("lblW読音量\t\t60\r\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("opt声色\t3\tTrue\r\n"), std::string::npos) << settings;
  EXPECT_FALSE(FileExists(w.HandleFile()));
}

TEST(CommandLine, StopInCapitalsWithBlanksIsObeyed) {
  World w;
  w.Settings(true, true);
  w.WriteWork("long.txt", LongText(8));
  Process first = w.StartFirst({"long.txt"});
  ASSERT_TRUE(w.WaitHeard("あいうえお"));
  w.Send({"/STOP "});
  w.Send({"/w:おわり"});  // read only once nothing else is
  EXPECT_TRUE(w.WaitHeard("おわり"));
  EXPECT_FALSE(w.Heard("やゆよ"));
  EXPECT_TRUE(first.Running());
}

TEST(CommandLine, CloseWaitsForTheReadingCloseNowDoesNot) {
  World w;
  w.Settings(true, true);
  w.WriteWork("long.txt", LongText(3));
  std::string before = w.SettingsText();
  Process first = w.StartFirst({"long.txt"});
  ASSERT_TRUE(w.WaitHeard("あいうえお"));
  w.Send({"/pause"});  // holds the reading for as long as the test needs
  w.Send({"/close"});
  w.Send({"/w:まだ"});  // taken: the first instance is still there, the close still waiting
  EXPECT_TRUE(first.Running());
  w.Send({"/resume_now"});
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_TRUE(w.Heard("さしすせそ"));   // the whole text was read first
  EXPECT_FALSE(w.Heard("まだ"));        // queued behind the close
  EXPECT_EQ(w.SettingsText(), before);  // "/close" hides the window: nothing saved
  EXPECT_FALSE(FileExists(w.HandleFile()));

  World now;
  now.Settings(true, true);
  now.WriteWork("long.txt", LongText(3));
  Process second = now.StartFirst({"long.txt"});
  ASSERT_TRUE(now.WaitHeard("あいうえお"));
  now.Send({"/pause"});
  now.Send({"/close_now"});
  EXPECT_EQ(second.Wait(), 0);
  EXPECT_FALSE(now.Heard("さしすせそ"));
  EXPECT_FALSE(FileExists(now.HandleFile()));
}

TEST(CommandLine, ClearEmptiesTheQueue) {
  World w;
  w.Settings(true, true);
  w.WriteWork("long.txt", LongText(3));
  Process first = w.StartFirst({"long.txt"});
  ASSERT_TRUE(w.WaitHeard("あいうえお"));
  w.Send({"/pause"});
  // Queued while the text is read: "/clear_now" takes them all away at once.
  w.Send({"/w:いちいち"});
  w.Send({"/w:ににに"});
  w.Send({"/clear_now"});
  // A plain "/clear" waits its turn, then takes away what came after it.
  w.Send({"/w:さんさん"});
  w.Send({"/clear"});
  w.Send({"/w:よんよん"});
  w.Send({"/stop_now"});
  ASSERT_TRUE(w.WaitHeard("さんさん"));
  w.Send({"/w:おわり"});
  ASSERT_TRUE(w.WaitHeard("おわり"));
  EXPECT_FALSE(w.Heard("かきくけこ"));  // stopped on the first line
  EXPECT_FALSE(w.Heard("いちいち"));
  EXPECT_FALSE(w.Heard("ににに"));
  EXPECT_FALSE(w.Heard("よんよん"));
}

TEST(CommandLine, TwoSendersStartedTogetherBothGetThrough) {
  World w;
  w.Settings(false, true);
  Process first = w.StartFirst();
  std::vector<Process> senders;
  for (const char* text : {"あいうえお", "かきくけこ", "さしすせそ"})
    senders.push_back(w.Start({text}));
  for (Process& s : senders) EXPECT_EQ(s.Wait(), 0);
  EXPECT_TRUE(WaitUntil([&] { return w.Played().size() == 3; }));
  for (const char* text : {"あいうえお", "かきくけこ", "さしすせそ"}) EXPECT_TRUE(w.Heard(text));
}

TEST(CommandLine, AStaleHandleFileDoesNotBlockANewFirstInstance) {
  World w;
  w.Settings(false, true);
  {
    Process crashed = w.StartFirst();
    crashed.Signal(SIGKILL);
    crashed.Wait();
  }
  std::string stale = ReadHandleFile(w.HandleFile());
  ASSERT_FALSE(stale.empty());

  Process first = w.Start({"あいうえお"}, w.Config());
  ASSERT_TRUE(w.WaitHeard("あいうえお"));  // it read its own command line: not a sender
  std::string fresh = ReadHandleFile(w.HandleFile());
  EXPECT_NE(fresh, stale);
  w.Send({"かきくけこ"});
  EXPECT_TRUE(w.WaitHeard("かきくけこ"));
}

}  // namespace
}  // namespace kotonel
