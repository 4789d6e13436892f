#include "engine/phonetic_filter.h"

#include "util/width.h"

namespace kotonel {

namespace {

KanaSet MakeHiragana() {
  return {
      U"あいうえおかがきぎくぐけげこごさざしじすずせぜそぞただちっつてでとどなにぬねのはばぱひびぴ"
      U"ふぶぷへべぺほぼぽまみむめもやゆよらりるれろわをんー",
      U"ぁぃぅぇぉゃゅょゎ",
      U"いぇきゃきゅきぇきょしゃしゅしぇしょじゃじゅじぇじょちゃちゅちぇちょにゃにゅにぇにょひゃひ"
      U"ゅ"
      U"ひぇひょみゃみゅみぇみょりゃりゅりぇりょぎゃぎゅぎぇぎょうぃうぇうぉつぁつぃつぇつぉふぁふ"
      U"ぃ"
      U"ふぇふぉびゃびゅびぇびょぴゃぴゅぴぇぴょすぃてぃずぃでぃとぅどぅでゅてゅ",
      U"っ"};
}

KanaSet ToKatakanaSet(const KanaSet& h) {
  return {ToKatakana(h.base), ToKatakana(h.small), ToKatakana(h.pairs), ToKatakana(h.sokuon)};
}

// Substring membership as the tables are searched: the empty string is in every string.
bool In(std::u32string_view set, char32_t c) {
  return c == 0 || set.find(c) != std::u32string_view::npos;
}

bool IsPunctuation(char32_t c) {
  return c == U',' || c == U'、' || c == U'。' || c == U'？';
}
bool IsPhraseMark(char32_t c) {
  return c == U'\'' || c == U'/' || c == U';' || c == U'+';
}

}  // namespace

const KanaSet& HiraganaSet() {
  static const KanaSet set = MakeHiragana();
  return set;
}

const KanaSet& KatakanaSet() {
  static const KanaSet set = ToKatakanaSet(HiraganaSet());
  return set;
}

std::u32string FilterPhonetic(std::u32string_view s) {
  const KanaSet& h = HiraganaSet();
  const KanaSet& k = KatakanaSet();
  static const std::u32string smalls = h.small + k.small;
  static const std::u32string fullOfSmall = U"あいうえおやゆよわあいうえおやゆよわ";
  static const std::u32string pairs = h.pairs + U"," + k.pairs;
  std::u32string out;
  out.reserve(s.size());
  char32_t prev = 0;
  for (char32_t ch : s) {
    size_t smallAt = smalls.find(ch);
    if (smallAt != std::u32string::npos) {
      bool paired = prev != 0 && pairs.find(std::u32string{prev, ch}) != std::u32string::npos;
      out.push_back(paired ? ch : fullOfSmall[smallAt]);
    } else if (h.base.find(ch) != std::u32string::npos || k.base.find(ch) != std::u32string::npos ||
               kPhoneticMarks.find(ch) != std::u32string_view::npos) {
      out.push_back(ch);
    } else {
      if (IsPhraseMark(prev) && !out.empty()) out.pop_back();
      out.push_back(U'、');
    }
    prev = ch;
  }
  return out;
}

std::u32string CleanPhonetic(std::u32string_view s) {
  const KanaSet& h = HiraganaSet();
  const KanaSet& k = KatakanaSet();
  std::u32string out;
  out.reserve(s.size());
  char32_t prev = 0;
  bool spoken = false;
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t ch = s[i];
    char32_t nx = i + 1 < s.size() ? s[i + 1] : 0;
    if (IsPunctuation(ch)) {
      if (prev != 0 && In(kPhoneticMarks, prev) && ch != U',' && !out.empty()) continue;
      out.push_back(ch);
      spoken = false;
      prev = ch;
    } else if (IsPhraseMark(ch)) {
      if (prev != 0 &&
          (In(h.base, prev) || In(h.small, prev) || In(k.base, prev) || In(k.small, prev)))
        out.push_back(ch);
    } else if (ch == U'っ' || ch == U'ッ') {
      const KanaSet& set = ch == U'っ' ? h : k;
      if ((In(set.base, nx) || In(set.small, nx)) && prev != ch && nx != U'ー' && prev != 0)
        out.push_back(ch);
      prev = ch;
    } else if (ch == U'ー') {
      if (spoken) out.push_back(ch);
      prev = ch;
    } else {
      out.push_back(ch);
      spoken = true;
      prev = ch;
    }
  }
  return out;
}

}  // namespace kotonel
