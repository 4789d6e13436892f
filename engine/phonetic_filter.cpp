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

// Membership of the kana block U+3000..U+30FF in the four sets, looked up in one step.
enum : uint8_t { kHiraBase = 1, kHiraSmall = 2, kKataBase = 4, kKataSmall = 8 };

struct KanaFlags {
  uint8_t flags[256] = {};
  KanaFlags(const KanaSet& h, const KanaSet& k) {
    auto mark = [&](const std::u32string& set, uint8_t flag) {
      for (char32_t c : set)
        if (c >= 0x3000 && c <= 0x30FF) flags[c - 0x3000] |= flag;
    };
    mark(h.base, kHiraBase);
    mark(h.small, kHiraSmall);
    mark(k.base, kKataBase);
    mark(k.small, kKataSmall);
  }
  uint8_t Of(char32_t c) const { return c >= 0x3000 && c <= 0x30FF ? flags[c - 0x3000] : 0; }
};

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

namespace {

const KanaFlags& Flags() {
  static const KanaFlags flags(HiraganaSet(), KatakanaSet());
  return flags;
}

}  // namespace

std::u32string FilterPhonetic(std::u32string_view s) {
  const KanaSet& h = HiraganaSet();
  const KanaSet& k = KatakanaSet();
  const KanaFlags& flags = Flags();
  static const std::u32string smalls = h.small + k.small;
  static const std::u32string fullOfSmall = U"あいうえおやゆよわあいうえおやゆよわ";
  static const std::u32string pairs = h.pairs + U"," + k.pairs;
  std::u32string out;
  out.reserve(s.size());
  char32_t prev = 0;
  for (char32_t ch : s) {
    uint8_t f = flags.Of(ch);
    if (f & (kHiraSmall | kKataSmall)) {
      const char32_t pair[2] = {prev, ch};
      bool paired = prev != 0 && pairs.find(pair, 0, 2) != std::u32string::npos;
      out.push_back(paired ? ch : fullOfSmall[smalls.find(ch)]);
    } else if ((f & (kHiraBase | kKataBase)) ||
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
    // An accent mark or phrase boundary between a sokuon and its consonant
    // must not cost the sokuon (よこたわっ'て, まっ/すぐ): look past them.
    size_t j = i + 1;
    if (ch == U'っ' || ch == U'ッ')
      while (j < s.size() && IsPhraseMark(s[j])) ++j;
    char32_t nx = j < s.size() ? s[j] : 0;
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
      // A sokuon doubles the next consonant whichever script spells it (ザーッと, あっベル).
      bool kana = In(h.base, nx) || In(h.small, nx) || In(k.base, nx) || In(k.small, nx);
      if (kana && prev != U'っ' && prev != U'ッ' && nx != U'ー' && prev != 0) out.push_back(ch);
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
