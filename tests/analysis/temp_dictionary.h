// A throw-away dictionary folder for loader tests: files are written in code page 932 exactly
// as given, line ends included, so a test controls every byte the loader sees.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"
#include "util/encoding.h"
#include "util/files.h"

namespace kotonel::test {

// A throw-away dictionary folder whose files are written in code page 932.
class TempDictionary : public TempFolder {
 public:
  void Write(const std::string& name, std::u32string_view content) const {
    ASSERT_TRUE(WriteFileAtomic(File(name), ToCp932(content)));
  }
};

}  // namespace kotonel::test
