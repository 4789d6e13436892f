#include "analysis/NumConv.h"
#include "analysis/dictionary_file.h"

#include <algorithm>

#include "analysis/numeric_field.h"
#include "util/dictionary_error.h"
#include "util/files.h"
#include "util/strings.h"
#include "util/width.h"

namespace kotonel {

namespace {

constexpr std::u32string_view kLoadError = U"助数詞ファイルの以下の行でエラーが発生しました。";

// Voicing shift of a counter's first kana by the tail of the number before it and the
// counter's type 1..5 (columns). Type 5 is type 2 that also half-voices after 千 and 万
// (せんぷん, いちまんぽ), which every は-row counter of type 2 does.
int32_t ShiftFor(std::u32string_view tail, int32_t type) {
  if (type < 1 || type > 5) return 0;
  static constexpr int32_t kOneZero[] = {0, 2, 2, 0, 2};    // "1", "0", "00"
  static constexpr int32_t kThree[] = {1, 2, 1, 1, 2};      // "3"
  static constexpr int32_t kSixEight[] = {2, 2, 2, 0, 2};   // "6", "8"
  static constexpr int32_t kThousands[] = {0, 0, 1, 0, 2};  // "000", "0000"
  const size_t column = static_cast<size_t>(type - 1);
  if (tail == U"1" || tail == U"0" || tail == U"00") return kOneZero[column];
  if (tail == U"3") return kThree[column];
  if (tail == U"6" || tail == U"8") return kSixEight[column];
  if (tail == U"000" || tail == U"0000") return kThousands[column];
  return 0;
}

bool AllZero(std::u32string_view text) {
  return std::all_of(text.begin(), text.end(), [](char32_t c) { return c == U'0'; });
}

constexpr int32_t kNativeType = 6;

bool IsDigit(char32_t c) {
  return c >= U'0' && c <= U'9';
}

bool AllDigits(std::u32string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// Katakana and Latin words are whole words: a counter written in them must be the whole word,
// or 3カップ would read as 3カ + ップ and 5min as 5m + in.
bool IsWholeWordScript(char32_t c) {
  return (c >= U'ァ' && c <= U'ー') || (c >= 0xFF66 && c <= 0xFF9F) || (c >= U'a' && c <= U'z') ||
         (c >= U'A' && c <= U'Z') || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A);
}

// A number written with a kanji multiplier after it (3千, 1万, 2億) takes its zeros.
int32_t MultiplierZeros(char32_t c) {
  switch (c) {
    case U'十':
      return 1;
    case U'百':
      return 2;
    case U'千':
      return 3;
    case U'万':
      return 4;
    case U'億':
      return 8;
    case U'兆':
      return 12;
    default:
      return 0;
  }
}

std::u32string_view MultiplierReading(char32_t c) {
  switch (c) {
    case U'十':
      return U"じゅう";
    case U'百':
      return U"ひゃく";
    case U'千':
      return U"せん";
    case U'万':
      return U"まん";
    case U'億':
      return U"おく";
    case U'兆':
      return U"ちょう";
    default:
      return U"";
  }
}

// Telephone numbers and postal codes are said digit by digit, every zero kept.
// Two and five are lengthened as people say them in a row of digits (にー, ごー).
std::u32string SayDigits(std::u32string_view digits) {
  static constexpr std::u32string_view kNames[] = {U"ぜろ", U"いち", U"にー", U"さん", U"よん",
                                                   U"ごー", U"ろく", U"なな", U"はち", U"きゅう"};
  std::u32string out;
  for (char32_t c : digits) out += kNames[c - U'0'];
  return out;
}

// A minus sign before a number: the hyphen-minus, its full-width form and U+2212.
bool IsMinus(char32_t c) {
  return c == U'-' || c == U'－' || c == U'−';
}

// What joins the parts of a telephone number: a minus sign, a hyphen, or a long-vowel mark
// written for one (486ー2435).
bool IsGroupMark(char32_t c) {
  return IsMinus(c) || c == U'‐' || c == U'ー' || c == U'ｰ';
}

bool BeginsQuantitySuffix(std::u32string_view rest) {
  static constexpr std::u32string_view kSuffixes[] = {
      U"以上", U"以下", U"以内", U"以外", U"以後", U"以降", U"以前", U"未満", U"前後",
      U"分",   U"後",   U"前",   U"余",   U"強",   U"弱",   U"半",   U"毎"};
  return StartsWithAny(rest, kSuffixes);
}

// Puts the accent on the last mora of a number's reading. The pitch cannot fall from ん, っ, ー
// or the う of a long vowel, so the accent goes to the mora before them (さ'んじ, い'っぽん,
// じゅ'うじ, ひゃ'っきろ).
void MarkLastMora(std::u32string& reading) {
  size_t p = reading.size();
  while (p > 0) {
    const char32_t c = reading[p - 1];
    const bool longU = c == U'う' && p >= 2 && (reading[p - 2] == U'ゅ' || reading[p - 2] == U'ょ');
    if (c != U'ん' && c != U'っ' && c != U'ー' && !longU) break;
    --p;
  }
  if (p == 0 || reading[p - 1] < U'ぁ' || reading[p - 1] > U'ゖ') return;
  // A big unit keeps its own accent on its first mora: にじゅうお'くえん, like いちま'んえん.
  if (p == reading.size() && p >= 2 && reading.compare(p - 2, 2, U"おく") == 0) --p;
  reading.insert(p, 1, U'\'');
}

}  // namespace

NumConv::NumConv(const std::string& dictionaryFolder) {
  const std::string path = dictionaryFolder + "num.ktn";
  ReadDictionaryLines(path, kLoadError, 3, [&](const std::u32string&, auto& fields) {
    // A reading that begins with the accent mark ('じ, 'ねん) puts the accent of number +
    // counter on the number's last mora (いち'じ, にせんにじゅうよ'ねん); a mark inside the
    // reading (しゅ'うかん, ぱーせ'んと) is the counter's own accent, which the compound keeps;
    // a reading without one makes the compound flat (いっかい, にかい).
    std::u32string reading = fields[1];
    const bool onNumber = !reading.empty() && reading.front() == U'\'';
    if (onNumber) reading.erase(0, 1);
    counters_.push_back({fields[0], std::move(reading), RoundedField(fields[2]), onNumber});
  });
  // The euro sign has no code in Shift_JIS, so the file cannot name it: 100€ is 100ユーロ.
  counters_.push_back({U"€", U"ゆ'ーろ", 0, false});
  // clang-format off
  bigUnits_ = {U"まん,", U"おく,", U"ちょー,", U"けい,", U"がい,", U"じょ,", U"じょー,",
               U"こう,", U"かん,", U"せい,", U"さい,", U"ごく,", U"ごうがしゃ,", U"あそうぎ,",
               U"なゆた,", U"ふかしぎ,", U"むりょーたいすー,"};
  // clang-format on
  // 番号 and 局番 stand for every kind of number said digit by digit (会員番号, 市外局番).
  keywords_ = {U"id", U"tel", U"pass", U"address", U"郵便番号", U"電話番号", U"番号", U"局番"};
}

void NumConv::BefWord(std::u32string_view strWRD, int32_t lngPOS) {
  for (const std::u32string& keyword : keywords_) {
    // A Latin keyword is a word of its own: "id" inside android or covid is none. The kanji
    // ones also stand inside compounds (携帯電話番号).
    const bool latin = keyword.front() < 0x80;
    if (latin ? strWRD == keyword : Contains(strWRD, keyword)) {
      keywordPosition_ = lngPOS;
      return;
    }
  }
}

void NumConv::Convert(std::u32string_view strBfNm, std::u32string_view strBfWd,
                      std::u32string& strAfNm, std::u32string& strAfWd, int32_t lngPOS) {
  // Full-width digits and points count as their half-width forms everywhere, so that a
  // full-width "１．５" is a decimal like "1.5" and "１０００" ends in "000".
  std::u32string number = ToNarrow(strBfNm);
  std::u32string word(strBfWd);
  const bool fromKeyword = keywordPosition_ != 0 && keywordPosition_ < int64_t{lngPOS} &&
                           int64_t{lngPOS} <= int64_t{keywordPosition_} + 5;
  keywordPosition_ = 0;

  // The sign changes the value: -5 is まいなすご, never ご.
  std::u32string sign;
  if (number.size() > 1 && IsMinus(number.front()) && (IsDigit(number[1]) || number[1] == U'.')) {
    sign = U"まいなす";
    number.erase(0, 1);
  }

  if (std::any_of(number.begin(), number.end(), IsGroupMark)) {
    ReadGroups(number, word, strAfNm, strAfWd);
    strAfNm.insert(0, sign);
    return;
  }

  // Kanji multipliers after the digits belong to the number: 3千本 is 3000本 (さんぜんぼん),
  // 1万本 is 10000本, 2.5億 is read 2.5 and then おく.
  size_t m = 0;
  int32_t zeros = 0;
  while (m < word.size() && MultiplierZeros(word[m]) > 0) zeros += MultiplierZeros(word[m++]);
  const bool plain = std::all_of(number.begin(), number.end(),
                                 [](char32_t c) { return IsDigit(c) || c == U',' || c == U'.'; });
  if (m > 0 && plain && number.find_first_of(U"0123456789") != std::u32string::npos) {
    const std::u32string units = word.substr(0, m);
    word.erase(0, m);
    if (number.find(U'.') == std::u32string::npos) {
      number.erase(std::remove(number.begin(), number.end(), U','), number.end());
      number.append(static_cast<size_t>(zeros), U'0');
    } else {
      decimal_ = true;
      strAfNm = sign + ReadNumber(number, 0, false);
      for (char32_t unit : units) strAfNm += MultiplierReading(unit);
      decimal_ = false;
      std::u32string rewritten;
      int32_t type = 0;
      LookUpCounter(word, rewritten, type);
      strAfWd = Voice(U"1" + std::u32string(static_cast<size_t>(zeros), U'0'), std::move(rewritten),
                      type);
      return;
    }
  }

  ReadWithCounter(number, word, fromKeyword, strAfNm, strAfWd);
  strAfNm.insert(0, sign);
}

void NumConv::ReadWithCounter(const std::u32string& number, const std::u32string& word,
                              bool fromKeyword, std::u32string& reading, std::u32string& after) {
  decimal_ = Contains(number, U".");

  std::u32string rewritten;
  int32_t type = 0;
  const bool found = LookUpCounter(word, rewritten, type);

  int32_t counterClass = 0;
  if (found) {
    const char32_t kana = rewritten.empty() ? U'\0' : rewritten.front();
    // A loanword syllable (ふぃーと, ふぁいる) does not double the number before it.
    const bool loan =
        rewritten.size() > 1 &&
        std::u32string_view(U"ぁぃぅぇぉ").find(rewritten[1]) != std::u32string_view::npos;
    if (kana != U'\0' && !loan &&
        std::u32string_view(U"かきくけこはひふへほ").find(kana) != std::u32string_view::npos)
      counterClass = 1;
    // Percent and page double the number like the た and さ rows (いっぱーせんと, じゅっぺーじ);
    // other ぱ-row loanwords do not (いちぽんど).
    if (kana != U'\0' && !loan &&
        std::u32string_view(U"たちつてとさしすせそぱぺ").find(kana) != std::u32string_view::npos)
      counterClass = 2;
    if (StartsWith(word, U"年")) counterClass = 3;
    if (StartsWith(word, U"つ")) counterClass = 4;
  }

  // A native counter counts one and two the native way: 一晩 ひとばん, 二組 ふたくみ.
  if (type == kNativeType && (number == U"1" || number == U"2")) {
    reading = number == U"1" ? U"ひと" : U"ふた";
    after = std::move(rewritten);
  } else {
    reading = ReadNumber(number, counterClass, fromKeyword && !found);
    after = Voice(number, std::move(rewritten), type);
  }
  // A number and its counter are one word with one accent (いち'じ, ひと'ばん). A word of
  // quantity after the counter (以上, 未満, 分, 後 ...) makes them the first part of a compound
  // whose later part gives the accent (5歳未満 ごさいみ'まん, 1週間以上 いっしゅうかんい'じょー,
  // 5ヶ月分 ごかげつぶん); other kanji there begin a word of their own (3足買った, 一晩泊まる).
  const size_t counterLength = found ? CounterLength(word) : 0;
  const bool compound =
      counterLength > 0 && BeginsQuantitySuffix(std::u32string_view(word).substr(counterLength));
  if (compound) {
    after.erase(std::remove(after.begin(), after.end(), U'\''), after.end());
    return;
  }
  const std::u32string head =
      accentOnNumber_ && found && !decimal_ ? PlacePhrases(number, reading) : U"";
  if (accentOnNumber_ && found) MarkLastMora(reading);
  reading.insert(0, head);
}

// A number of two places or more before its counter is said in phrases, each with its own
// accent: the tens apart from the ones (27日 に'じゅう/なのか, 24時間 に'じゅう/よじかん), and
// the hundreds and thousands apart from the tens (1473年 せ'んよんひゃく/なな'じゅう/
// さ'んねん). Returns the phrases before the ones, with their "/", and leaves the ones in
// `reading`; empty when the number is said in one phrase (30日, 12時, 119番).
std::u32string NumConv::PlacePhrases(const std::u32string& number, std::u32string& reading) const {
  if (number.size() < 2 || number.size() > 4 || !AllDigits(number) || number.front() == U'0')
    return U"";
  const char32_t tens = number[number.size() - 2];
  const char32_t ones = number.back();
  if (tens < U'2' || ones == U'0') return U"";
  const size_t onesLength =
      std::min(reading.size(), ReadNumber(std::u32string(1, ones), 0, false).size());
  const std::u32string onesReading = reading.substr(reading.size() - onesLength);
  std::u32string tensReading = ReadNumber(std::u32string(1, tens), 0, false);
  const std::u32string_view higher =
      std::u32string_view(reading).substr(0, reading.size() - onesReading.size());
  const std::u32string tensWord = tensReading + U"じゅう";
  if (!EndsWith(higher, tensWord)) return U"";
  // the tens' accent: に'じゅう, さ'んじゅう, なな'じゅう, but ろくじゅ'う, はちじゅ'う
  if (tens == U'6' || tens == U'8') {
    tensReading += U"じゅ'う";
  } else {
    MarkLastMora(tensReading);
    tensReading += U"じゅう";
  }
  std::u32string out(higher.substr(0, higher.size() - (tensReading.size() - 1)));
  if (!out.empty()) {
    // the thousands' accent on their first mora (せ'ん, にせ'ん, さんぜ'ん), the hundreds' as
    // the tens' (なな'ひゃく, さ'んびゃく) but ひゃ'く, ろっぴゃ'く, はっぴゃ'く
    const char32_t lead = number.front();
    size_t at = std::u32string::npos;
    if (number.size() == 4) {
      at = std::min(out.find(U"せん"), out.find(U"ぜん"));
      if (at != std::u32string::npos) ++at;
    } else if (lead == U'1' || lead == U'6' || lead == U'8') {
      at = out.find(U"ゃく");
      if (at != std::u32string::npos) ++at;
    } else {
      std::u32string digit = ReadNumber(std::u32string(1, lead), 0, false);
      MarkLastMora(digit);
      at = digit.find(U'\'');
    }
    if (at != std::u32string::npos && at < out.size()) out.insert(at, 1, U'\'');
    out += U'/';
  }
  out += tensReading + U'/';
  reading = onesReading;
  return out;
}

void NumConv::ReadGroups(const std::u32string& number, const std::u32string& word,
                         std::u32string& reading, std::u32string& after) {
  std::vector<std::u32string> groups;
  std::u32string group;
  for (char32_t c : number) {
    if (IsGroupMark(c)) {
      if (!group.empty()) groups.push_back(std::move(group));
      group.clear();
    } else {
      group += c;
    }
  }
  if (!group.empty()) groups.push_back(std::move(group));
  reading.clear();
  after = word;
  if (groups.empty()) return;

  // A telephone number begins with 0 (03-1234-5678, 0120-123-456); a postal code is three
  // digits and four (123-4567). Both are said digit by digit with their zeros.
  const bool digitsOnly = std::all_of(groups.begin(), groups.end(), AllDigits);
  const bool telephone = digitsOnly && groups.size() >= 2 && groups.front().front() == U'0';
  const bool postal =
      digitsOnly && groups.size() == 2 && groups[0].size() == 3 && groups[1].size() == 4;
  if (telephone || postal) {
    for (size_t g = 0; g < groups.size(); ++g) {
      if (g > 0) reading += U"、";
      reading += SayDigits(groups[g]);
    }
    int32_t type = 0;
    LookUpCounter(word, after, type);
    return;
  }
  // Otherwise each part is a number of its own (a score, a range, a street number), the
  // last one read with the counter after it.
  for (size_t g = 0; g < groups.size(); ++g) {
    std::u32string part, partAfter;
    ReadWithCounter(groups[g], g + 1 == groups.size() ? word : std::u32string(), false, part,
                    partAfter);
    if (g > 0) reading += U"、";
    reading += part;
    if (g + 1 == groups.size()) after = partAfter;
  }
}

bool NumConv::LookUpCounter(const std::u32string& word, std::u32string& rewritten, int32_t& type) {
  rewritten = word;
  type = 0;
  accentOnNumber_ = false;
  if (word.empty()) return false;
  const bool whole = IsWholeWordScript(word.front());
  // First match in file order: the file lists a longer counter before a shorter one that
  // begins it.
  for (const Counter& counter : counters_) {
    if (whole ? word != counter.surface : !StartsWith(word, counter.surface)) continue;
    if (!counter.reading.empty()) rewritten = counter.reading + word.substr(counter.surface.size());
    type = counter.type;
    accentOnNumber_ = counter.accentOnNumber;
    return true;
  }
  return false;
}

size_t NumConv::CounterLength(std::u32string_view word) const {
  if (word.empty()) return 0;
  const bool whole = IsWholeWordScript(word.front());
  for (const Counter& counter : counters_)
    if (whole ? word == counter.surface : StartsWith(word, counter.surface))
      return counter.surface.size();
  return 0;
}

bool NumConv::ParseKanjiNumber(std::u32string_view text, size_t& length, std::u32string& digits) {
  static constexpr std::u32string_view kDigits = U"〇一二三四五六七八九";
  // 二千二十四 by places, 二〇二四 digit by digit; 万 and larger close a group of four.
  uint64_t total = 0, section = 0, current = 0;
  bool any = false;
  size_t i = 0;
  for (; i < text.size(); ++i) {
    const char32_t c = text[i];
    const size_t d = kDigits.find(c);
    if (d != std::u32string_view::npos) {
      if (current >= 100000000000ULL) break;
      current = current * 10 + d;
      any = true;
      continue;
    }
    const int32_t z = MultiplierZeros(c);
    if (z == 0) break;
    uint64_t unit = 1;
    for (int32_t k = 0; k < z; ++k) unit *= 10;
    if (z < 4) {
      section += (current == 0 ? 1 : current) * unit;
    } else {
      const uint64_t block = section + current;
      total += (block == 0 ? 1 : block) * unit;
      section = 0;
    }
    current = 0;
    any = true;
  }
  if (!any) return false;
  length = i;
  const uint64_t value = total + section + current;
  digits.clear();
  for (char c : std::to_string(value)) digits += static_cast<char32_t>(c);
  return true;
}

std::u32string NumConv::ReadNumber(const std::u32string& number, int32_t counterClass,
                                   bool digitByDigit) const {
  if (number.empty()) return U"";

  bool fraction = decimal_;
  const size_t firstPoint = std::min(number.find(U'.'), number.size());
  const size_t maxDigits = 4 * (static_cast<size_t>(bigUnits_.Count()) + 1);
  if (std::count(number.begin(), number.end(), U'.') >= 2 || firstPoint > maxDigits)
    digitByDigit = true;

  std::u32string work;
  for (char32_t c : number)
    if (c != U',') work += c;
  // A number said digit by digit keeps its leading zeros: 0123 is not 123.
  if (!digitByDigit) work.erase(0, std::min(work.find_first_not_of(U'0'), work.size()));

  // Built from the right, every piece going in front of what is there.
  std::u32string r;
  int32_t j = 0;
  int32_t k = 0;
  bool afterPoint = false;
  for (size_t at = work.size(); at-- > 0;) {
    const char32_t c = work[at];
    const std::u32string digit(1, c);
    ++j;
    if ((fraction || digitByDigit) && j == 4) {
      r.insert(0, U",");
      j = 0;
    }
    const bool positional = !fraction && !digitByDigit;
    if (positional) {
      switch (j) {
        case 1:
          if (c != U'0') afterPoint = false;
          break;
        case 2:
          if (c != U'0') {
            const bool geminate =
                afterPoint ||
                (r.empty() && (counterClass == 1 || counterClass == 2 || counterClass == 4));
            r.insert(0, geminate ? U"じゅっ" : U"じゅう");
          }
          afterPoint = false;
          break;
        case 3:
          if (c != U'0')
            r.insert(0, Voice(digit, r.empty() && counterClass == 1 ? U"ひゃっ" : U"ひゃく", 1));
          break;
        case 4:
          if (c != U'0') r.insert(0, Voice(digit, U"せん", 4));
          break;
        case 5: {
          ++k;
          const size_t groupStart = at >= 3 ? at - 3 : 0;
          if (!AllZero(std::u32string_view(work).substr(groupStart, at - groupStart + 1)))
            r.insert(0, ItemOf(bigUnits_, k));
          j = 1;
          break;
        }
        default:
          break;
      }
    }

    const bool none = r.empty();
    const bool last = at + 1 == work.size();
    std::u32string_view piece;
    switch (c) {
      case U'1':
        if (none && counterClass == 4)
          piece = U"ひと";
        else if (none && (counterClass == 1 || counterClass == 2))
          piece = U"いっ";
        else if (positional && j == 4 && k > 0)
          // 千 alone is せん (1000 せん, 1500 せんごひゃく); before a big unit it is いっせん
          // (1千万 いっせんまん).
          piece = U"いっ";
        else if (positional && j == 4)
          piece = U"";
        else if (j == 1 || !positional)
          piece = U"いち";
        break;
      case U'2':
        if (none && counterClass == 4)
          piece = U"ふた";
        else if (!positional && !last)
          piece = U"にー";
        else
          piece = U"に";
        break;
      case U'3':
        piece = none && counterClass == 4 ? U"みっ" : U"さん";
        break;
      case U'4':
        if (none && counterClass == 4)
          piece = U"よっ";
        else if (none && counterClass == 3)
          piece = U"よ";
        else
          piece = U"よん";
        break;
      case U'5':
        piece = none && counterClass == 4 ? U"いつ" : U"ご";
        break;
      case U'6':
        if (none && counterClass == 4)
          piece = U"むっ";
        else if ((none && counterClass == 1) || (positional && j == 3))
          piece = U"ろっ";
        else
          piece = U"ろく";
        break;
      case U'7':
        piece = U"なな";
        break;
      case U'8':
        if (none && counterClass == 4)
          piece = U"やっ";
        else if ((none && (counterClass == 1 || counterClass == 2)) ||
                 (positional && (j == 3 || j == 4)))
          piece = U"はっ";
        else
          piece = U"はち";
        break;
      case U'9':
        piece = none && counterClass == 4 ? U"ここの" : U"きゅう";
        break;
      case U'0':
        if (!positional) piece = U"れー";
        break;
      case U'.':
        piece = U"てん,";
        afterPoint = true;
        fraction = false;
        j = 0;
        break;
      default:
        break;
    }
    r.insert(0, piece);
  }

  if (!r.empty() && r.back() == U',')
    r.pop_back();
  else if (work.empty() && r.empty())
    r = U"れー";
  else if (!work.empty() && work.front() == U'.')
    r.insert(0, U"れー");
  return r;
}

std::u32string NumConv::Voice(const std::u32string& number, std::u32string reading,
                              int32_t type) const {
  if (type == 0 || reading.empty() || number.empty()) return reading;
  std::u32string_view t(number);
  std::u32string_view tail = t.substr(t.size() - 1);
  if (t.size() == 1 || decimal_) {
    if (tail == U"0") tail = {};
  } else {
    for (size_t n : {4u, 3u, 2u}) {
      if (t.size() >= n && AllZero(t.substr(t.size() - n))) {
        tail = t.substr(t.size() - n);
        break;
      }
    }
  }
  const int32_t shift = ShiftFor(tail, type);
  if (shift == 0) return reading;
  // Voiced and semi-voiced kana follow their plain kana in the code page (は ば ぱ).
  const char32_t voiced = ShiftCp932(reading.front(), shift);
  if (voiced != U'\0') reading.front() = voiced;
  return reading;
}

}  // namespace kotonel
