// Everyday words read with the shipped dictionaries, grouped by the kind of mistake they
// once triggered: each group fails when its class of misreading comes back.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/engine_rig.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

using test::EngineRig;

class Lexicon : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    rig_ = std::make_unique<EngineRig>(16, false, std::string(KOTONEL_SOURCE_DIR) + "dll/");
  }
  static void TearDownTestSuite() { rig_.reset(); }

  // The phonetic string for a line, with or without intonation.
  static std::string Read(const std::u32string& line, bool accents = true) {
    size_t before = rig_->device->Pieces().size();
    rig_->engine->CONV(true);
    rig_->engine->Intonation(accents);
    EXPECT_EQ(rig_->engine->Speech(0, line), 0);
    std::u32string out;
    for (size_t i = before; i < rig_->device->Pieces().size(); ++i) out += rig_->PieceText(i);
    return ToUtf8(out);
  }

  // The reading alone: accent marks and phrase boundaries taken out.
  static std::string Kana(const std::u32string& line) {
    std::string s = Read(line);
    std::string out;
    for (char c : s)
      if (c != '\'' && c != '/') out += c;
    return out;
  }

  static std::unique_ptr<EngineRig> rig_;
};

std::unique_ptr<EngineRig> Lexicon::rig_;

TEST_F(Lexicon, SmallTsuKeptBeforeMarksAndOtherScript) {
  // after an accent mark, with and without intonation
  EXPECT_EQ(Kana(U"姫は横たわっておられた。"), "ひめわよこたわっておられた。");
  EXPECT_EQ(Read(U"姫は横たわっておられた。", false), "ひめわ/よこたわっておられた。");
  // after a phrase boundary
  EXPECT_EQ(Kana(U"真っ直ぐ行きなさい。"), "まっすぐいきなさい。");
  EXPECT_EQ(Read(U"真っ直ぐ行きなさい。", false).substr(0, 7), "まっ/");
  // katakana ッ before hiragana, hiragana っ before katakana
  EXPECT_EQ(Kana(U"ザーッと雨が降った。"), "ザーッとあめがふった。");
  EXPECT_EQ(Kana(U"あっベルが鳴った。"), "あっベルがなった。");
}

}  // namespace
}  // namespace kotonel
