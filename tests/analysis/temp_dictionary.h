// A throw-away dictionary folder for loader tests: files are written in code page 932 exactly
// as given, line ends included, so a test controls every byte the loader sees.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "util/encoding.h"
#include "util/files.h"

namespace kotonel::test {

class TempDictionary {
 public:
  TempDictionary() {
    std::string pattern = ::testing::TempDir() + "kotonel_dict_XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed for " << pattern;
    folder_ = pattern + "/";
  }
  ~TempDictionary() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  TempDictionary(const TempDictionary&) = delete;
  TempDictionary& operator=(const TempDictionary&) = delete;

  // The folder, ending in '/'.
  const std::string& Folder() const { return folder_; }

  void Write(const std::string& name, std::u32string_view content) const {
    ASSERT_TRUE(WriteFileAtomic(folder_ + name, ToCp932(content)));
  }

 private:
  std::string folder_;
};

}  // namespace kotonel::test
