// The converting path of the engine: one sentence of ordinary Japanese through the word table,
// numbers, English, kanji readings, particles and accents to the synthesizer's kana and marks.
#include "analysis/EnjConv.h"
#include "analysis/Intonation.h"
#include "analysis/NumConv.h"
#include "analysis/RevConv.h"
#include "analysis/Separate.h"
#include "engine/clsMAIN.h"
#include "util/strings.h"

#include <algorithm>

namespace kotonel {

namespace {

enum Kind : int32_t {
  kSymbol = 0,
  kDigit = 2,
  kLatin = 3,
  kHiragana = 4,
  kKatakana = 5,
  kPunctuation = 7,
  kKanji = 8,
};

bool IsSentenceMark(char32_t c) {
  return c == U'、' || c == U'。' || c == U'？';
}

// An apostrophe or quotation mark of the text (It's, ’) is not an accent: only the accent step
// puts "'" into the phonetic string, and with intonation off there must be none at all.
std::u32string WithoutAccentMarks(std::u32string s) {
  s.erase(std::remove(s.begin(), s.end(), U'\''), s.end());
  return s;
}

}  // namespace

std::u32string clsMAIN::ConvertSentence(const std::u32string& sentence) {
  Separate& w = *separate_;
  w.単語分割(sentence);
  const int32_t n = w.単語数();

  for (int32_t i = 1; i <= n; ++i) {
    numConv_->BefWord(w.単語(i), i);
    if (w.種類(i) != kDigit) continue;
    std::u32string afterNumber, afterWord;
    std::u32string beforeWord = i < w.単語数() ? w.単語(i + 1) : std::u32string();
    numConv_->Convert(w.単語(i), beforeWord, afterNumber, afterWord, i);
    w.単語(i, afterNumber);
    if (i < w.単語数()) w.単語(i + 1, afterWord);
  }

  for (int32_t i = 1; i <= n; ++i) {
    switch (w.種類(i)) {
      case kKanji: {
        RevConv& r = *revConv_;
        r.元字(w.単語(i));
        r.直前(w.単語(i - 1));
        r.仮名(w.種類(i + 1) == kHiragana ? w.単語(i + 1) : std::u32string());
        r.種類(0, w.種類(i - 1));
        r.種類(1, w.種類(i));
        r.種類(2, w.種類(i + 1));
        r.Convert();
        w.単語(i, r.読み());
        w.発音(i, r.発音());
        w.品詞(i, r.品詞());
        break;
      }
      case kLatin:
        w.単語(i, WithoutAccentMarks(enjConv_->Convert(w.単語(i))));
        revConv_->品詞(-1);
        break;
      case kKatakana:
        w.単語(i, ReplaceAll(ReplaceAll(w.単語(i), U"ヂ", U"ジ"), U"ヅ", U"ズ"));
        revConv_->品詞(-1);
        break;
      case kHiragana:
        break;
      default:
        w.単語(i, WithoutAccentMarks(w.単語(i)));
        revConv_->品詞(-1);
        break;
    }
  }

  ApplyParticleRules();
  return JoinWords();
}

std::u32string clsMAIN::ReadWaContexts(const std::u32string& word) const {
  std::u32string work = word;
  for (const auto& k : waContexts_) {
    if (!Contains(work, U"は")) break;
    work = ReplaceAll(work, k + U"は", k + U"わ");
  }
  return work;
}

void clsMAIN::ApplyParticleRules() {
  Separate& w = *separate_;
  int64_t c = 0;
  for (int32_t i = 1; i <= w.単語数(); ++i) {
    std::u32string word = w.単語(i);
    const int64_t len = static_cast<int64_t>(word.size());
    if (w.種類(i) == kPunctuation)
      c = 0;
    else
      c += len;

    if (!word.empty() && w.種類(i) == kHiragana) {
      word = ReadWaContexts(word);

      if (i > 1 && w.種類(i - 1) != kPunctuation) {
        std::u32string f = word.substr(0, 2);
        char32_t p = !f.empty() && f != U"へん" ? f[0] : 0;
        p = p == U'は' ? U'わ' : p == U'へ' ? U'え' : p == U'を' ? U'を' : 0;
        if (p != 0) {
          std::u32string particle(1, p);
          if (c >= 14 && len > 1 && f != U"へと" && f != U"への" && f != U"へも" && f != U"をも") {
            particle += U"、";
            c = 0;
          }
          word = particle + word.substr(1);
        }
      }

      std::u32string last2 = word.size() >= 2 ? word.substr(word.size() - 2) : word;
      char32_t p = 0;
      if (last2 != U"この" && last2 != U"その" && last2 != U"あの" && last2 != U"どの")
        p = word.back();
      static const std::u32string kKept = U"かがくてでとどにばもやをの";
      if (p == U'は')
        p = U'わ';
      else if (p == U'へ')
        p = U'え';
      else if (kKept.find(p) == std::u32string::npos)
        p = 0;
      if (p != 0) {
        std::u32string particle(1, p);
        if (w.種類(i + 1) != kPunctuation && c >= 14) {
          particle += U"、";
          c = 0;
        }
        word = word.substr(0, word.size() - 1) + particle;
      }
    }
    word = ReplaceAll(ReplaceAll(word, U"ぢ", U"じ"), U"づ", U"ず");
    w.単語(i, word);
  }
}

// The か of 1か月, 3ヶ所, 2カ国 belongs to the counter word after it: the number reader has
// read it with the number, and no phrase boundary goes between it and the kanji.
bool clsMAIN::CounterPrefix(int32_t i) const {
  const Separate& w = *separate_;
  int32_t kind = w.種類(i);
  if ((kind != kHiragana && kind != kKatakana) || w.種類(i - 1) != kDigit ||
      w.種類(i + 1) != kKanji)
    return false;
  std::u32string word = w.単語(i);
  return word.empty() || word == U"か" || word == U"カ" || word == U"ヶ" || word == U"ヵ";
}

std::u32string clsMAIN::JoinWords() {
  Separate& w = *separate_;
  std::u32string s;
  bool previousChange = false;
  for (int32_t i = 1; i <= w.単語数(); ++i) {
    intonation_->アクセント(i);
    bool change = intonation_->Change();
    if (change && previousChange && (s.empty() || s.back() != U'/')) s += U'/';
    previousChange = change;
    // The flat mark "+" that a word hands on to its ending is for the accent rules only; one
    // they did not take up (a word whose reading outran its template) must not devoice a kana.
    std::u32string word = w.単語(i);
    word.erase(std::remove(word.begin(), word.end(), U'+'), word.end());
    s += word;
    if (i >= w.単語数()) continue;
    int32_t kind = w.種類(i), next = w.種類(i + 1);
    bool keptJoined = (next == kHiragana && kind != kHiragana) || CounterPrefix(i);
    if (!keptJoined && kind != kDigit && kind != kSymbol && next != kPunctuation &&
        next != kSymbol && !intonation_->特殊() && !(s.size() && IsSentenceMark(s.back())))
      s += U'/';
  }
  return s;
}

}  // namespace kotonel
