// One engine on the dictionaries shipped in dll/ for a whole test suite: loading the full word
// dictionary takes a moment.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/engine_rig.h"
#include "util/encoding.h"

namespace kotonel::test {

class Shipped : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    rig_ = std::make_unique<EngineRig>(16, false, std::string(KOTONEL_SOURCE_DIR) + "dll/");
  }
  static void TearDownTestSuite() { rig_.reset(); }

  // What the synthesizer is given for a line, as `kotonel-say -p` prints it.
  static std::string Read(const std::u32string& line, bool intonation = true) {
    size_t before = rig_->device->Pieces().size();
    rig_->engine->CONV(true);
    rig_->engine->Intonation(intonation);
    EXPECT_EQ(rig_->engine->Speech(0, line), 0);
    std::u32string out;
    for (size_t i = before; i < rig_->device->Pieces().size(); ++i) out += rig_->PieceText(i);
    rig_->engine->Intonation(true);
    return ToUtf8(out);
  }

  // The reading alone: accent marks and phrase boundaries taken out.
  static std::string Kana(const std::u32string& line) {
    std::string out;
    for (char c : Read(line))
      if (c != '\'' && c != '/') out += c;
    return out;
  }

  static inline std::unique_ptr<EngineRig> rig_;
};

}  // namespace kotonel::test
