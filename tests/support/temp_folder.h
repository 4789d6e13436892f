// A folder of its own for one test, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kotonel::test {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = ::testing::TempDir() + "kotonel_XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed for " << pattern;
    folder_ = pattern + "/";
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, ending in '/'.
  const std::string& Folder() const { return folder_; }
  std::string File(const std::string& name) const { return folder_ + name; }
  // Writes bytes exactly as given.
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder_ + name, std::ios::binary) << bytes;
  }

 private:
  std::string folder_;
};

}  // namespace kotonel::test
