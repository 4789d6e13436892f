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
// counter's type 1..4 (columns).
int32_t ShiftFor(std::u32string_view tail, int32_t type) {
  if (type < 1 || type > 4) return 0;
  static constexpr int32_t kOneZero[] = {0, 2, 2, 0};    // "1", "0", "00"
  static constexpr int32_t kThree[] = {1, 2, 1, 1};      // "3"
  static constexpr int32_t kSixEight[] = {2, 2, 2, 0};   // "6", "8"
  static constexpr int32_t kThousands[] = {0, 0, 1, 0};  // "000", "0000"
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

}  // namespace

NumConv::NumConv(const std::string& dictionaryFolder) {
  const std::string path = dictionaryFolder + "num.ktn";
  ReadDictionaryLines(path, kLoadError, 3, [&](const std::u32string&, auto& fields) {
    counters_.push_back({fields[0], fields[1], RoundedField(fields[2])});
  });
  // clang-format off
  bigUnits_ = {U"まん,", U"おく,", U"ちょー,", U"けい,", U"がい,", U"じょ,", U"じょー,",
               U"こう,", U"かん,", U"せい,", U"さい,", U"ごく,", U"ごうがしゃ,", U"あそうぎ,",
               U"なゆた,", U"ふかしぎ,", U"むりょーたいすー,"};
  // clang-format on
  keywords_ = {U"id", U"tel", U"pass", U"address", U"郵便番号", U"電話番号"};
}

void NumConv::BefWord(std::u32string_view strWRD, int32_t lngPOS) {
  for (const std::u32string& keyword : keywords_) {
    if (Contains(strWRD, keyword)) {
      keywordPosition_ = lngPOS;
      return;
    }
  }
}

void NumConv::Convert(std::u32string_view strBfNm, std::u32string_view strBfWd,
                      std::u32string& strAfNm, std::u32string& strAfWd, int32_t lngPOS) {
  // Full-width digits and points count as their half-width forms everywhere, so that a
  // full-width "１．５" is a decimal like "1.5" and "１０００" ends in "000".
  const std::u32string number = ToNarrow(strBfNm);
  const std::u32string word(strBfWd);
  decimal_ = Contains(number, U".");

  std::u32string rewritten;
  int32_t type = 0;
  const bool found = LookUpCounter(word, rewritten, type);
  const int64_t position = lngPOS;
  const int64_t keyword = keywordPosition_;
  const bool fromKeyword = keyword != 0 && keyword < position && position <= keyword + 5 && !found;

  int32_t counterClass = 0;
  if (found) {
    const char32_t kana = rewritten.empty() ? U'\0' : rewritten.front();
    if (kana != U'\0' &&
        std::u32string_view(U"かきくけこはひふへほ").find(kana) != std::u32string_view::npos)
      counterClass = 1;
    if (kana != U'\0' &&
        std::u32string_view(U"たちつてとさしすせそ").find(kana) != std::u32string_view::npos)
      counterClass = 2;
    if (StartsWith(word, U"年")) counterClass = 3;
    if (StartsWith(word, U"つ")) counterClass = 4;
  }

  strAfNm = ReadNumber(number, counterClass, fromKeyword);
  strAfWd = Voice(number, std::move(rewritten), type);
  keywordPosition_ = 0;
}

bool NumConv::LookUpCounter(const std::u32string& word, std::u32string& rewritten,
                            int32_t& type) const {
  rewritten = word;
  type = 0;
  if (word.empty()) return false;
  // First match in file order: the file lists a longer counter before a shorter one that
  // begins it.
  for (const Counter& counter : counters_) {
    if (!StartsWith(word, counter.surface)) continue;
    if (!counter.reading.empty()) rewritten = counter.reading + word.substr(counter.surface.size());
    type = counter.type;
    return true;
  }
  return false;
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
  work.erase(0, std::min(work.find_first_not_of(U'0'), work.size()));

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
        else if (positional && j == 4)
          piece = U"いっ";
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
