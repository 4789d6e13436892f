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
#include <utility>

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

// A kana without its voicing marks (が か, ぱ は), for comparing readings.
char32_t Unvoiced(char32_t c) {
  static constexpr std::u32string_view kVoiced = U"がぎぐげござじずぜぞだぢづでどばびぶべぼ";
  static constexpr std::u32string_view kPlain = U"かきくけこさしすせそたちつてとはひふへほ";
  static constexpr std::u32string_view kHalf = U"ぱぴぷぺぽ";
  if (size_t i = kVoiced.find(c); i != std::u32string_view::npos) return kPlain[i];
  if (size_t i = kHalf.find(c); i != std::u32string_view::npos) return kPlain[15 + i];
  return c;
}

// What the word dictionary makes of text read alone, without touching the accent state.
std::pair<std::u32string, int32_t> LookUpAlone(RevConv& r, Intonation* intonation,
                                               std::u32string_view text) {
  const int32_t saved = r.品詞();
  r.抑揚(nullptr);
  r.元字(text);
  r.直前(U"");
  r.仮名(U"");
  r.種類(0, -1);
  r.種類(1, kKanji);
  r.種類(2, -1);
  r.Convert();
  std::pair<std::u32string, int32_t> found{r.読み(), r.品詞()};
  r.抑揚(intonation);
  r.品詞(saved);
  return found;
}

// A kanji numeral before a counter (三枚, 八千円くらい, 第一回) is read by the number reader,
// so that the counter wins over okurigana (円く) and takes its sound change (さんまい, not
// さんばい). The word dictionary keeps the pairs it reads as a whole (一人 ひとり, 二十歳
// はたち, 十分 じゅうぶん, 四国 しこく) unless its reading is a name read natively (三本
// みもと) or begins with the numeral as the number reader says it (一回 いちかい).
bool ReadKanjiCount(NumConv& num, RevConv& rev, Intonation* intonation, std::u32string& word,
                    int32_t position, bool& allKana) {
  static constexpr std::u32string_view kPrefixes = U"第約計各全毎満築総";
  size_t start = 0;
  if (word.size() > 2 && kPrefixes.find(word[0]) != std::u32string_view::npos) start = 1;
  size_t length = 0;
  std::u32string digits;
  const std::u32string_view text = std::u32string_view(word).substr(start);
  if (!NumConv::ParseKanjiNumber(text, length, digits) || length >= text.size()) return false;
  const std::u32string_view rest = text.substr(length);
  const size_t counterEnd = length + num.CounterLength(rest);
  if (counterEnd == length) return false;

  std::u32string plain, unused, reading, after;
  num.Convert(digits, U"", plain, unused, position);
  for (size_t end = text.size(); end > length; --end) {
    if (!rev.Contains(text.substr(0, end))) continue;
    auto [known, code] = LookUpAlone(rev, intonation, text.substr(0, end));
    static constexpr std::u32string_view kSino[] = {
        U"いち", U"いっ",   U"に",     U"さん", U"し",     U"よ",   U"ご",
        U"ろく", U"ろっ",   U"しち",   U"なな", U"はち",   U"はっ", U"きゅう",
        U"く",   U"じゅう", U"じゅっ", U"じっ", U"ひゃく", U"せん", U"まん"};
    bool sino = false;
    for (auto s : kSino) sino = sino || StartsWith(known, s);
    // The dictionary's reading stands. After a prefix it reads the numeral and counter alone
    // (第一歩 だいいっぽ, not 第一 + 歩), when they end the word.
    auto keep = [&, &known = known] {
      if (start == 0 || end != text.size() ||
          known.find_first_of(U"ぁぃぅぇぉゃゅょゎ") != std::u32string::npos)
        return false;
      word = word.substr(0, start) + known;
      return true;
    };
    // A longer compound the dictionary knows (一部分, 三日月) is its business; a shorter one
    // that cuts the counter (一年 of 一年生) is not, unless it is a numeral form (二日 of 二日目).
    if (end > counterEnd) return keep();
    if (end < counterEnd && code != 24) break;
    if (code == 20) {
      if (sino) return keep();
      break;
    }
    // Numerals with their counters (四分 よんぷん, 一人 ひとり) and adverbs (十分, 一番).
    if (code == 24 || code == 26) return keep();
    const std::u32string geminate =
        plain.empty() ? plain : plain.substr(0, plain.size() - 1) + U"っ";
    const size_t numeral = StartsWith(known, plain)      ? plain.size()
                           : StartsWith(known, geminate) ? geminate.size()
                                                         : 0;
    if (numeral == 0) return keep();
    // The same counter, voiced or not (一回 いちかい, 一分 いちぶん), is read by the number
    // reader; another word after the numeral (一行 いっこう, 一期 いちご) is the dictionary's.
    num.Convert(digits, rest, reading, after, position);
    if (numeral >= known.size() || after.empty() ||
        Unvoiced(known[numeral]) != Unvoiced(after.front()))
      return keep();
    break;
  }
  num.Convert(digits, rest, reading, after, position);
  std::u32string kana = reading + after;
  // Kana inside a kanji word take no part in its accent template, which may then fall
  // inside them: a small kana or っ there would be cut from its pair (第三章 だいさんし'よう).
  const bool kanjiAfter =
      std::any_of(after.begin(), after.end(), [](char32_t c) { return c < U'ぁ' || c > U'ゖ'; });
  const bool mixed = start > 0 || kanjiAfter;
  if (mixed && kana.find_first_of(U"ぁぃぅぇぉゃゅょゎ") != std::u32string::npos) return false;
  if (kanjiAfter && kana.find(U'っ') != std::u32string::npos) return false;
  // Before a word of two kanji or more the numeral and counter are the first part of a
  // compound, whose accent the last part decides (三人家族 さんにんか'ぞく).
  const size_t kanjiCount =
      static_cast<size_t>(std::count_if(after.begin(), after.end(), [](char32_t c) {
        return c != U'\'' && (c < U'ぁ' || c > U'ゖ');
      }));
  if (kanjiCount >= 2 && start == 0)
    kana.erase(std::remove(kana.begin(), kana.end(), U'\''), kana.end());
  word = word.substr(0, start) + kana;
  allKana = !mixed;
  return true;
}

// An apostrophe or quotation mark of the text (It's, ’) is not an accent: only the accent step
// puts "'" into the phonetic string, and with intonation off there must be none at all.
std::u32string WithoutAccentMarks(std::u32string s) {
  s.erase(std::remove(s.begin(), s.end(), U'\''), s.end());
  return s;
}

// Whether the part of a word before its first phrase boundary carries an accent mark.
bool HeadAccented(std::u32string_view word) {
  const std::u32string_view head = word.substr(0, word.find(U'/'));
  return head.find(U'\'') != std::u32string_view::npos;
}

// A kana word that begins with a form of する: one that no particle or ending begins with.
bool StartsWithSuru(std::u32string_view word) {
  static constexpr std::u32string_view kForms[] = {
      U"する", U"すれ", U"すべ", U"した", U"して", U"しな", U"しよ", U"しろ", U"しま",
      U"しそ", U"しつ", U"しち", U"され", U"させ", U"せず", U"せよ", U"せぬ"};
  return StartsWithAny(word, kForms);
}

// A kana word that begins with a particle or the copula, which stay with the word before.
// ない and its forms are no particle (全然なかった).
bool StartsWithParticle(std::u32string_view word) {
  if (word.substr(0, 2) == U"ない" || word.substr(0, 2) == U"なか" || word.substr(0, 2) == U"なく")
    return false;
  return !word.empty() &&
         std::u32string_view(U"はがをにのでともへやかなだじよさこっばねわまくぐほずけ")
                 .find(word[0]) != std::u32string_view::npos;
}

bool IsSpecialMora(char32_t c) {
  return c == U'ー' || c == U'ん' || c == U'っ';
}

bool IsKana(char32_t c) {
  return (c >= U'ぁ' && c <= U'ゖ') || (c >= U'ァ' && c <= U'ヺ');
}

// Whether a hiragana word ends in the honorific prefix お or ご standing apart (the whole word,
// or after the boundary the accent rules put behind a particle: …の/お): the prefix belongs to
// the kanji word after it (お/なまえ would split おなまえ).
bool EndsInHonorificPrefix(std::u32string_view word) {
  if (word.empty() || (word.back() != U'お' && word.back() != U'ご')) return false;
  return word.size() == 1 || word[word.size() - 2] == U'/';
}

}  // namespace

std::u32string clsMAIN::ConvertSentence(const std::u32string& sentence) {
  Separate& w = *separate_;
  w.単語分割(sentence);
  const int32_t n = w.単語数();
  counterHeld_.assign(static_cast<size_t>(n) + 2, false);
  kanaTaken_.assign(static_cast<size_t>(n) + 2, false);
  endsInAdverb_.assign(static_cast<size_t>(n) + 2, false);

  for (int32_t i = 1; i <= n; ++i) {
    numConv_->BefWord(w.単語(i), i);
    if (w.種類(i) == kKanji) {
      std::u32string word = w.単語(i);
      bool allKana = false;
      if (ReadKanjiCount(*numConv_, *revConv_, intonation_.get(), word, i, allKana)) {
        w.単語(i, Intonation() ? word : WithoutAccentMarks(word));
        // Read through, it is a number word now: nothing is left to look up.
        if (allKana) w.種類(i, kDigit);
      }
      continue;
    }
    if (w.種類(i) != kDigit) continue;
    std::u32string afterNumber, afterWord;
    std::u32string beforeWord = i < w.単語数() ? w.単語(i + 1) : std::u32string();
    numConv_->Convert(w.単語(i), beforeWord, afterNumber, afterWord, i);
    // A counter read in kana goes with the number when kanji follow it in the word and it
    // holds a small kana (2錠飲んだ, 1週間以上), or when a word of two kanji or more follows
    // (3人家族, 3年連続): kana inside a kanji word take no part in its accent template, which
    // would fall between a small kana and its pair (にじ'ようのんだ) or among the kana
    // (さんに''んかぞく, ご'ふ'んまった). A single kanji after it is a suffix read with the
    // counter (5ヶ月分 ぶん, 3人組 ぐみ).
    if (w.種類(i + 1) == kKanji && afterWord != beforeWord) {
      size_t kana = 0;
      while (kana < afterWord.size() &&
             ((afterWord[kana] >= U'ぁ' && afterWord[kana] <= U'ゖ') || afterWord[kana] == U'\''))
        ++kana;
      const bool small =
          afterWord.substr(0, kana).find_first_of(U"ぁぃぅぇぉゃゅょゎ") != std::u32string::npos;
      // A verb of one kanji whose okurigana begins with っ or ん (5分待った, 2杯飲んだ) is no
      // suffix either.
      const std::u32string okurigana = w.種類(i + 2) == kHiragana ? w.単語(i + 2) : U"";
      const bool verb = !okurigana.empty() && (okurigana[0] == U'っ' || okurigana[0] == U'ん');
      if ((small && kana < afterWord.size()) || afterWord.size() >= kana + 2 ||
          (verb && kana > 0 && afterWord.size() == kana + 1)) {
        afterNumber += afterWord.substr(0, kana);
        afterWord.erase(0, kana);
      } else {
        counterHeld_[static_cast<size_t>(i) + 1] = kana > 0;
      }
    }
    // The number reader marks the accent of number + counter; without intonation none stays.
    if (!Intonation()) {
      afterNumber = WithoutAccentMarks(std::move(afterNumber));
      afterWord = WithoutAccentMarks(std::move(afterWord));
    }
    w.単語(i, afterNumber);
    if (i < w.単語数()) w.単語(i + 1, afterWord);
  }

  // No kanji word of the sentence before carries over into this one.
  revConv_->品詞(-1);
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
        kanaTaken_[static_cast<size_t>(i)] = r.送り() > 0;
        endsInAdverb_[static_cast<size_t>(i)] = r.EndsInAdverb();
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
      case kDigit:
        // Only the number reader's kana and accent marks are left in a number word.
        revConv_->品詞(-1);
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
  // Words written in kana that begin with は: after で or れ that は is no particle
  // (ではちきれそう, それではじめて).
  static const std::u32string_view kHaWords[] = {U"はちきれ", U"はじめ", U"はじま", U"はっきり",
                                                 U"はずれ",   U"はみだ", U"はしゃ"};
  std::u32string work = word;
  for (const auto& k : waContexts_) {
    if (!Contains(work, U"は")) break;
    const std::u32string from = k + U"は";
    for (size_t at = work.find(from); at != std::u32string::npos; at = work.find(from, at + 1)) {
      std::u32string_view rest = std::u32string_view(work).substr(at + k.size());
      bool word = false;
      for (auto w : kHaWords) word = word || rest.substr(0, w.size()) == w;
      if (!word) work[at + k.size()] = U'わ';
    }
  }
  return work;
}

void clsMAIN::ApplyParticleRules() {
  Separate& w = *separate_;
  int64_t c = 0;
  for (int32_t i = 1; i <= w.単語数(); ++i) {
    std::u32string word = w.単語(i);
    // Accent marks the number reader put in are no characters of the text.
    const int64_t len = static_cast<int64_t>(
        word.size() - static_cast<size_t>(std::count(word.begin(), word.end(), U'\'')));
    if (w.種類(i) == kPunctuation)
      c = 0;
    else
      c += len;

    if (!word.empty() && w.種類(i) == kHiragana) {
      word = ReadWaContexts(word);
      // へ then は are two particles wherever they meet (ここへは): both say how they sound,
      // as they do after a kanji word (港へは みなとえわ).
      word = ReplaceAll(word, U"へは", U"えわ");

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
  bool previousNumber = false;
  for (int32_t i = 1; i <= w.単語数(); ++i) {
    intonation_->アクセント(i);
    bool change = intonation_->Change();
    // Two changed words meet at a phrase boundary only when both carry an accent and the later
    // one begins with its accented piece: particles in front of the first "/" the rules put
    // into a hiragana word (が/よ'い, わ/な'い), a word that only changed its spelling (とゆー)
    // and a flat word that only holds the flat mark (とーきょーだいがくに'わ) still belong to
    // the phrase before, as the accent rules' own joins keep them.
    // After a number, a kanji word whose accent its template hands on to its okurigana
    // (飲 の + 'んだ) is accented too.
    const bool accented =
        HeadAccented(w.単語(i)) ||
        (previousNumber && w.種類(i) == kKanji && w.発音(i).find(U'\'') != std::u32string::npos);
    if ((change || previousNumber) && (previousChange || previousNumber) &&
        (s.empty() || s.back() != U'/') && accented)
      s += U'/';
    // The flat mark "+" that a word hands on to its ending is for the accent rules only; one
    // they did not take up (a word whose reading outran its template) must not devoice a kana.
    std::u32string word = w.単語(i);
    word.erase(std::remove(word.begin(), word.end(), U'+'), word.end());
    // An accent handed on to the start of a kana word cannot fall from the ー, ん or っ that
    // ends the reading before it (しん + 'じて): it falls from the kana before them (し'んじて).
    if (!word.empty() && word.front() == U'\'') {
      size_t p = s.size();
      while (p > 0 && IsSpecialMora(s[p - 1])) --p;
      if (p < s.size() && p > 0 && IsKana(s[p - 1])) {
        word.erase(0, 1);
        s.insert(p, 1, U'\'');
      }
    }
    // Only the word's last phrase meets the next word: a kanji word that ends in a phrase of
    // its own without an accent (いち'なん/さ + 'って) hands its ending no boundary.
    const size_t lastPhrase =
        w.種類(i) == kKanji && word.rfind(U'/') != std::u32string::npos ? word.rfind(U'/') + 1 : 0;
    previousChange = change && word.find(U'\'', lastPhrase) != std::u32string::npos;
    // A number read with its accent and an accented kanji word or kanji numeral after it
    // (3人家族, 2024年一人, 3人一組) are two phrases: one phrase has one nucleus.
    previousNumber = w.種類(i) == kDigit && (w.種類(i + 1) == kKanji || w.種類(i + 1) == kDigit) &&
                     !counterHeld_[static_cast<size_t>(i) + 1] &&
                     word.find(U'\'') != std::u32string::npos;
    s += word;
    if (i >= w.単語数()) continue;
    int32_t kind = w.種類(i), next = w.種類(i + 1);
    // する after a noun accented in its own phrase (よ'うい + したので) begins a phrase as
    // often as not; the accent rules then read it as a phrase's first word (した'ので).
    if (kind == kKanji && next == kHiragana && previousChange && w.品詞(i) == 15 &&
        !kanaTaken_[static_cast<size_t>(i)] && StartsWithSuru(w.単語(i + 1)))
      w.単語(i + 1, U"/" + w.単語(i + 1));
    // An adverb in kanji before a kana word that is no particle or copula (一見つまらない,
    // 全然なかった, 今更そんな) ends its phrase.
    const bool adverbBefore =
        kind == kKanji && next == kHiragana && endsInAdverb_[static_cast<size_t>(i)] &&
        !kanaTaken_[static_cast<size_t>(i)] && !StartsWithParticle(w.単語(i + 1));
    bool keptJoined = (next == kHiragana && kind != kHiragana && !adverbBefore) ||
                      CounterPrefix(i) ||
                      (kind == kHiragana && next == kKanji && EndsInHonorificPrefix(word));
    if (!keptJoined && kind != kDigit && kind != kSymbol && next != kPunctuation &&
        next != kSymbol && !intonation_->特殊() && !(s.size() && IsSentenceMark(s.back())))
      s += U'/';
  }
  // Two rules may each end a phrase at the same place (を/ + /たくさん): one boundary, not an
  // empty phrase.
  s.erase(std::unique(s.begin(), s.end(),
                      [](char32_t a, char32_t b) { return a == U'/' && b == U'/'; }),
          s.end());
  return s;
}

}  // namespace kotonel
