#include "util/commands.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "util/encoding.h"

namespace kotonel {
namespace {

namespace fs = std::filesystem;

TEST(CommandOf, WholeWordsWithoutCaseOrOuterBlanks) {
  EXPECT_EQ(CommandOf(U"/play", false), Command::Play);
  EXPECT_EQ(CommandOf(U"/STOP ", false), Command::Stop);
  EXPECT_EQ(CommandOf(U" \t/Stop", false), Command::Stop);
  EXPECT_EQ(CommandOf(U"/pause", false), Command::Pause);
  EXPECT_EQ(CommandOf(U"/resume", false), Command::Resume);
  EXPECT_EQ(CommandOf(U"/next", false), Command::Next);
  EXPECT_EQ(CommandOf(U"/previous", false), Command::Previous);
  EXPECT_EQ(CommandOf(U"/clear", false), Command::Clear);
  EXPECT_EQ(CommandOf(U"/close", false), Command::Close);
  EXPECT_EQ(CommandOf(U"/close2", false), Command::Close2);
  EXPECT_EQ(CommandOf(U"/Close2_NOW ", true), Command::Close2);
  EXPECT_EQ(CommandOf(U"/stop_now", true), Command::Stop);
  // The plain pass does not know "_now", the "_now" pass not the plain words.
  EXPECT_EQ(CommandOf(U"/stop_now", false), Command::None);
  EXPECT_EQ(CommandOf(U"/stop", true), Command::None);
  EXPECT_EQ(CommandOf(U"/stop now", false), Command::None);
  EXPECT_EQ(CommandOf(U"/ stop", false), Command::None);
  EXPECT_EQ(CommandOf(U"stop", false), Command::None);
  EXPECT_EQ(CommandOf(U"／ｓｔｏｐ", false), Command::None);
  EXPECT_EQ(CommandOf(U"", false), Command::None);
}

TEST(NumericValue, LeadingNumberWithBlanksSkipped) {
  EXPECT_EQ(NumericValue(U"150"), 150);
  EXPECT_EQ(NumericValue(U"  150 abc"), 150);
  EXPECT_EQ(NumericValue(U"1 50"), 150);
  EXPECT_DOUBLE_EQ(NumericValue(U"2.5x"), 2.5);
  EXPECT_EQ(NumericValue(U"-7"), -7);
  EXPECT_EQ(NumericValue(U""), 0);
  EXPECT_EQ(NumericValue(U"fast"), 0);
  EXPECT_EQ(NumericValue(U"1-2"), 1);
  EXPECT_EQ(NumericValue(U"1.2.3"), 1.2);
}

// A file that cannot be read is told about by name and reason; the "/w:" text still stands.
TEST(ParseEntry, AFileThatCannotBeReadIsReported) {
  test::TempFolder temp;
  const std::string& folder = temp.Folder();
  fs::create_directory(folder + "sub");
  ParsedEntry p = ParseEntry(U"missing.txt /w:あ", folder);
  EXPECT_EQ(p.text, U"あ\n");
  EXPECT_NE(p.fileError.find("ファイルが見つかりません。"), std::string::npos);
  EXPECT_NE(p.fileError.find(folder + "missing.txt"), std::string::npos);
  for (const char32_t* name : {U"sub", U".."}) {
    p = ParseEntry(name, folder);
    EXPECT_EQ(p.text, U"");
    EXPECT_NE(p.fileError.find("ファイルを読み込めませんでした。"), std::string::npos);
  }
  std::ofstream(folder + "ok.txt") << "い\n";
  p = ParseEntry(U"ok.txt", folder);
  EXPECT_EQ(p.text, U"い\n");
  EXPECT_EQ(p.fileError, "");
}

TEST(ParseEntry, FileOptionsAndText) {
  test::TempFolder dir;
  dir.Write("note.txt", "一行目\r\n二行目\n");
  std::string folder = dir.Folder();

  ParsedEntry p = ParseEntry(U"note.txt /s:150 /w:hello/world", folder);
  EXPECT_EQ(p.text, U"hello/world\n一行目\n二行目\n");
  EXPECT_EQ(p.options.speed, 150);
  EXPECT_FALSE(p.options.volume || p.options.voice || p.options.recordPath);
  EXPECT_EQ(p.fileName, folder + "note.txt");

  // "/w:" in any letter case; everything after it is text, options included.
  p = ParseEntry(U"/v:30/W: a /s:100", folder);
  EXPECT_EQ(p.text, U" a /s:100\n");
  EXPECT_EQ(p.options.volume, 30);
  EXPECT_FALSE(p.options.speed);

  // Only "/w:": the empty text. A slash entry that is no command: empty text as well.
  EXPECT_EQ(ParseEntry(U"/w:", folder).text, U"");
  p = ParseEntry(U"/hello", folder);
  EXPECT_EQ(p.text, U"");
  EXPECT_EQ(p.fileName, "");

  // A missing file contributes nothing; the "/w:" text stays. A quoted name is not found.
  EXPECT_EQ(ParseEntry(U"gone.txt/w:still", folder).text, U"still\n");
  EXPECT_EQ(ParseEntry(U"\"note.txt\"", folder).text, U"");
  // Only plain files are read: not a folder, and not a named pipe that would wait for a writer.
  fs::create_directory(folder + "sub");
  EXPECT_EQ(ParseEntry(U"sub/w:x", folder).text, U"x\n");
  ASSERT_EQ(::mkfifo((folder + "pipe").c_str(), 0600), 0);
  EXPECT_EQ(ParseEntry(U"pipe/w:x", folder).text, U"x\n");
  // Blanks at the end of the name are not part of it. Names are the sender's: relative to its
  // folder, and without "/" (that starts an option).
  EXPECT_EQ(ParseEntry(U"note.txt   ", folder).text, U"一行目\n二行目\n");
  EXPECT_EQ(ParseEntry(U"note.txt", "/elsewhere/").text, U"");
  p = ParseEntry(FromUtf8(folder) + U"note.txt", folder);
  EXPECT_EQ(p.text, U"");
  EXPECT_EQ(p.fileName, "");

  // A Shift_JIS file and a UTF-8 file with a BOM.
  dir.Write("sjis.txt", ToCp932(U"かな\r\n"));
  dir.Write("bom.txt",
            "\xEF\xBB\xBF"
            "abc");
  EXPECT_EQ(ParseEntry(U"sjis.txt/w:x", folder).text, U"x\nかな\n");
  EXPECT_EQ(ParseEntry(U"bom.txt", folder).text, U"abc\n");
}

TEST(ParseEntry, OptionValuesFitTheControls) {
  auto options = [](std::u32string_view entry) { return ParseEntry(entry, "/tmp/").options; };
  EXPECT_EQ(options(U"/s:20").speed, 50);
  EXPECT_EQ(options(U"/s:999999999999").speed, 300);
  EXPECT_EQ(options(U"/S: 120.5").speed, 120);  // halves to even
  EXPECT_EQ(options(U"/s:fast").speed, 50);     // no number reads 0
  EXPECT_EQ(options(U"/v:-4").volume, 0);
  EXPECT_EQ(options(U"/v:80").volume, 60);
  EXPECT_EQ(options(U"/V:45").volume, 45);
  EXPECT_EQ(options(U"/t:3").voice, 3);
  EXPECT_EQ(options(U"/t:6.6").voice, 7);
  EXPECT_EQ(options(U"/t:").voice, 0);
  EXPECT_FALSE(options(U"/t:8").voice);
  EXPECT_FALSE(options(U"/t:7.5").voice);
  EXPECT_FALSE(options(U"/t:-1").voice);
  EXPECT_EQ(options(U"/t:2/t:9").voice, 2);  // an ignored value leaves the earlier one
  EXPECT_EQ(options(U"/s:100/s:200").speed, 200);
  EXPECT_FALSE(options(U"/x:1/speed/s").speed);

  // The recording path: relative to the sender's folder, blanks before the next option dropped.
  EXPECT_EQ(options(U"/r:out.wav /w:hi").recordPath, "/tmp/out.wav");
  EXPECT_EQ(options(U"/R:a b.wav").recordPath, "/tmp/a b.wav");
  EXPECT_EQ(options(U"/r:ろく.wav").recordPath, "/tmp/ろく.wav");
  EXPECT_FALSE(options(U"/r:ろく.wav").recordPathMissing);
  // A path the entry cannot hold (cut at its "/") or none at all leaves recording off, and says
  // so; a later good "/r:" still counts.
  for (std::u32string_view entry : {U"/r:/var/a.wav", U"/r:", U"/r:  /w:x"}) {
    EXPECT_FALSE(options(entry).recordPath) << ToUtf8(std::u32string(entry));
    EXPECT_TRUE(options(entry).recordPathMissing) << ToUtf8(std::u32string(entry));
  }
  EXPECT_EQ(options(U"/r:/r:b.wav").recordPath, "/tmp/b.wav");
  EXPECT_FALSE(options(U"/r:/r:b.wav").recordPathMissing);
}

// Records what it is told; Play may run a nested reading that takes up more commands.
class FakeTarget : public CommandTarget {
 public:
  bool reading = false;
  std::vector<Command> obeyed;
  std::function<void(Command)> during;
  bool Reading() const override { return reading; }
  void Obey(Command command) override {
    obeyed.push_back(command);
    if (during) during(command);
  }
};

std::deque<MailItem> Queue(std::initializer_list<std::u32string> texts) {
  std::deque<MailItem> queue;
  for (const auto& t : texts) queue.push_back({t, ""});
  return queue;
}

std::vector<std::u32string> Texts(const std::deque<MailItem>& queue) {
  std::vector<std::u32string> texts;
  for (const auto& item : queue) texts.push_back(item.text);
  return texts;
}

TEST(ProcessCommands, HeadCommandsTailNowCommandsAndClose) {
  FakeTarget t;
  std::deque<MailItem> q;
  EXPECT_FALSE(ProcessCommands(q, t));

  // A plain command waits behind the text before it; a "_now" command at the tail does not.
  q = Queue({U"text", U"/stop"});
  EXPECT_FALSE(ProcessCommands(q, t));
  EXPECT_EQ(Texts(q), (std::vector<std::u32string>{U"text", U"/stop"}));
  q = Queue({U" /PAUSE", U"text"});
  EXPECT_TRUE(ProcessCommands(q, t));
  EXPECT_EQ(Texts(q), std::vector<std::u32string>{U"text"});
  q = Queue({U"text", U"more", U"/next_now"});
  EXPECT_TRUE(ProcessCommands(q, t));
  EXPECT_EQ(Texts(q), (std::vector<std::u32string>{U"text", U"more"}));
  q = Queue({U"/resume_now"});  // one entry is head and tail
  EXPECT_TRUE(ProcessCommands(q, t));
  EXPECT_TRUE(q.empty());
  EXPECT_EQ(t.obeyed, (std::vector<Command>{Command::Pause, Command::Next, Command::Resume}));

  // Clear empties the whole queue, from the head or as "_now" from the tail.
  t.obeyed.clear();
  q = Queue({U"/clear", U"a", U"b"});
  EXPECT_TRUE(ProcessCommands(q, t));
  EXPECT_TRUE(q.empty());
  q = Queue({U"a", U"b", U"/CLEAR_now"});
  EXPECT_TRUE(ProcessCommands(q, t));
  EXPECT_TRUE(q.empty());
  EXPECT_TRUE(t.obeyed.empty());

  // A plain close waits for the reading; its "_now" form does not.
  t.reading = true;
  q = Queue({U"/close", U"x"});
  EXPECT_FALSE(ProcessCommands(q, t));
  EXPECT_EQ(q.size(), 2u);
  q = Queue({U"/close2", U"/close_now"});
  EXPECT_TRUE(ProcessCommands(q, t));
  EXPECT_EQ(Texts(q), std::vector<std::u32string>{U"/close2"});
  t.reading = false;
  EXPECT_TRUE(ProcessCommands(q, t));
  EXPECT_TRUE(q.empty());
  EXPECT_EQ(t.obeyed, (std::vector<Command>{Command::Close, Command::Close2}));
}

TEST(ProcessCommands, ANestedReadingTakesUpTheNextCommand) {
  FakeTarget t;
  std::deque<MailItem> q = Queue({U"/play", U"/stop", U"after"});
  t.during = [&](Command c) {
    if (c != Command::Play) return;
    t.reading = true;
    EXPECT_TRUE(ProcessCommands(q, t));  // as the engine's Wait would, mid-reading
    t.reading = false;
  };
  EXPECT_TRUE(ProcessCommands(q, t));
  EXPECT_EQ(t.obeyed, (std::vector<Command>{Command::Play, Command::Stop}));
  EXPECT_EQ(Texts(q), std::vector<std::u32string>{U"after"});
}

}  // namespace
}  // namespace kotonel
