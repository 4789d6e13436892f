#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "support/temp_folder.h"
#include "util/files.h"
#include "util/lists.h"

namespace kotonel {
namespace {

// Whatever the path names, a read answers false with the system's reason and never throws.
TEST(FileReads, FoldersAndMissingFilesFailWithTheirReason) {
  test::TempFolder dir;
  std::string folder = dir.Folder() + "sub";
  ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
  const std::string isDir = std::strerror(EISDIR), missing = std::strerror(ENOENT);

  for (const std::string& path : {folder, folder + "/", dir.Folder() + "sub/..", dir.Folder()}) {
    SCOPED_TRACE(path);
    std::string data = "kept", why;
    EXPECT_NO_THROW(EXPECT_FALSE(ReadWholeFile(path, data, &why)));
    EXPECT_EQ(why, isDir);
    StringList lines{U"old"};
    EXPECT_NO_THROW(EXPECT_FALSE(ReadLines(path, lines, &why)));
    EXPECT_EQ(why, isDir);
    EXPECT_EQ(lines.Count(), 1);
    Bytes bytes;
    EXPECT_NO_THROW(EXPECT_FALSE(ReadBytes(path, bytes, 0, &why)));
    EXPECT_EQ(why, isDir);
  }

  std::string data, why;
  EXPECT_FALSE(ReadWholeFile(dir.File("none.txt"), data, &why));
  EXPECT_EQ(why, missing);
  EXPECT_FALSE(ReadWholeFile("", data, &why));
  EXPECT_EQ(why, missing);
  StringList lines;
  EXPECT_FALSE(ReadLines(dir.File("none.txt"), lines, &why));
  EXPECT_EQ(why, missing);

  // A file that cannot be opened gives the reason too (root reads everything, so only when
  // the permission holds).
  dir.Write("secret.txt", "x");
  ASSERT_EQ(::chmod(dir.File("secret.txt").c_str(), 0), 0);
  if (::access(dir.File("secret.txt").c_str(), R_OK) != 0) {
    EXPECT_FALSE(ReadWholeFile(dir.File("secret.txt"), data, &why));
    EXPECT_EQ(why, std::strerror(EACCES));
  }

  // A named pipe is refused at once instead of waiting for a writer.
  std::string fifo = dir.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(ReadWholeFile(fifo, data, &why));
  EXPECT_FALSE(why.empty());

  // Success clears the reason.
  dir.Write("ok.txt", "abc");
  EXPECT_TRUE(ReadWholeFile(dir.File("ok.txt"), data, &why));
  EXPECT_EQ(data, "abc");
  EXPECT_EQ(why, "");
}

}  // namespace
}  // namespace kotonel
