// What a dictionary that cannot be loaded tells the user: which file, which line and why.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include "analysis/EnjConv.h"
#include "analysis/Intonation.h"
#include "analysis/NumConv.h"
#include "analysis/RevConv.h"
#include "analysis/Separate.h"
#include "support/engine_rig.h"
#include "temp_dictionary.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

using Loader = std::function<void(const std::string& folder)>;

struct DictionaryFile {
  const char* name;
  const char* subject;  // what the file's message is about
  Loader load;
};

const DictionaryFile kFiles[] = {
    {"eng.ktn", "英語ファイル", [](const std::string& f) { EnjConv c(f); }},
    {"num.ktn", "助数詞ファイル", [](const std::string& f) { NumConv c(f); }},
    {"dic.ktn", "辞書ファイル", [](const std::string& f) { RevConv c(f); }},
    {"acc.ktn", "アクセントファイル", [](const std::string& f) { Intonation c(f); }},
};

DictionaryError ErrorOf(const Loader& load, const std::string& folder) {
  try {
    load(folder);
  } catch (const DictionaryError& e) {
    return e;
  }
  ADD_FAILURE() << folder << " loaded";
  return DictionaryError(U"", U"");
}

// A missing file, or a folder where the file should be, is named with the system's reason; it
// never escapes as another kind of exception.
TEST(DictionaryErrors, UnreadableFilesAreNamedWithTheirReason) {
  for (const DictionaryFile& file : kFiles) {
    SCOPED_TRACE(file.name);
    test::TempDictionary dict;
    std::string path = dict.File(file.name);
    DictionaryError missing = ErrorOf(file.load, dict.Folder());
    EXPECT_EQ(missing.File(), path);
    EXPECT_EQ(ToUtf8(missing.Text()), std::string(file.subject) +
                                          "を読み込めませんでした。\r\n\r\n" + path + "\r\n" +
                                          std::strerror(ENOENT));

    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    DictionaryError folder = ErrorOf(file.load, dict.Folder());
    EXPECT_EQ(ToUtf8(folder.Text()), std::string(file.subject) +
                                         "を読み込めませんでした。\r\n\r\n" + path + "\r\n" +
                                         std::strerror(EISDIR));
  }
}

// A refused line keeps the file's own message and the line, and adds the file and the line's
// number, counted as an editor counts (CR LF, CR and LF each end a line).
TEST(DictionaryErrors, RefusedLinesNameTheFileAndTheLineNumber) {
  struct Case {
    const DictionaryFile& file;
    std::u32string content;
    std::u32string line;
    int64_t number;
  };
  const Case cases[] = {
      {kFiles[0], U"0 a あ\r\n0 b び\r\n0 c\r\n", U"0 c", 3},
      {kFiles[0], U"0 a あ\n9 b び\n", U"9 b び", 2},  // refused by the loader, not by the reader
      {kFiles[1], U"本 ほん 3\r\n\r\nつ つ 0\r\n", U"", 2},
      {kFiles[2], U"日 ひ 5\r本 ほん 5\n月 つき\r\n", U"月 つき", 3},
      {kFiles[2], U"日 ひ 5\r\n本 ほん 5\r\n日 にち 5\r\n", U"日 にち 5", 3},
      {kFiles[3], U"4 0 a b 0\r\n4 0 b\r\n", U"4 0 b", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.content));
    test::TempDictionary dict;
    dict.Write(c.file.name, c.content);
    DictionaryError e = ErrorOf(c.file.load, dict.Folder());
    std::u32string message = U32(c.file.subject) + U"の以下の行でエラーが発生しました。";
    EXPECT_EQ(e.Message(), message);
    EXPECT_EQ(e.Line(), c.line);
    EXPECT_EQ(e.LineNumber(), c.number);
    EXPECT_EQ(ToUtf8(e.Text()),
              ToUtf8(message + U"\r\n\r\n" + c.line + U"\r\n\r\n" + U32(dict.File(c.file.name)) +
                     U" " + U32(std::to_string(c.number)) + U"行目"));
  }
}

// A dictionary folder that is not there is named as such, not as its first file.
TEST(DictionaryErrors, AMissingDictionaryFolderIsNamed) {
  try {
    test::EngineRig rig(1600, false, "/nonexistent/");
    ADD_FAILURE() << "the engine started without dictionaries";
  } catch (const DictionaryError& e) {
    EXPECT_EQ(ToUtf8(e.Text()),
              std::string("辞書フォルダを読み込めませんでした。\r\n\r\n/nonexistent/\r\n") +
                  std::strerror(ENOENT));
  }
}

}  // namespace
}  // namespace kotonel
