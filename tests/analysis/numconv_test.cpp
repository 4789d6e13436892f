#include "analysis/NumConv.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "temp_dictionary.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

const std::string kFixtures = std::string(KOTONEL_TEST_DATA) + "numconv/";

// The number's reading and the following word, in UTF-8 for readable failures.
std::pair<std::string, std::string> Read(NumConv& conv, std::string_view number,
                                         std::string_view word = "", int32_t position = 1) {
  std::u32string afNm = U"garbage", afWd = U"garbage";
  conv.Convert(U32(number), U32(word), afNm, afWd, position);
  return {ToUtf8(afNm), ToUtf8(afWd)};
}

std::string Number(NumConv& conv, std::string_view number, int32_t position = 1) {
  return Read(conv, number, "", position).first;
}

using P = std::pair<std::string, std::string>;

TEST(NumConvTest, ReadsIntegersByPlacesAndBigUnits) {
  NumConv conv(kFixtures);
  EXPECT_EQ(Number(conv, ""), "");
  EXPECT_EQ(Number(conv, "0"), "れー");
  EXPECT_EQ(Number(conv, "000"), "れー");
  EXPECT_EQ(Number(conv, "007"), "なな");
  EXPECT_EQ(Number(conv, "10"), "じゅう");
  EXPECT_EQ(Number(conv, "11"), "じゅういち");
  EXPECT_EQ(Number(conv, "20"), "にじゅう");
  EXPECT_EQ(Number(conv, "100"), "ひゃく");
  EXPECT_EQ(Number(conv, "300"), "さんびゃく");
  EXPECT_EQ(Number(conv, "600"), "ろっぴゃく");
  EXPECT_EQ(Number(conv, "800"), "はっぴゃく");
  EXPECT_EQ(Number(conv, "1000"), "せん");
  EXPECT_EQ(Number(conv, "3000"), "さんぜん");
  EXPECT_EQ(Number(conv, "8000"), "はっせん");
  EXPECT_EQ(Number(conv, "10000"), "いちまん");
  EXPECT_EQ(Number(conv, "100000000"), "いちおく");
  EXPECT_EQ(Number(conv, "1,0000,0000"), "いちおく");
  EXPECT_EQ(Number(conv, "100010001"), "いちおく,いちまん,いち");
  EXPECT_EQ(Number(conv, "12345"), "いちまん,にせんさんびゃくよんじゅうご");
  EXPECT_EQ(Number(conv, "１２"), "じゅうに");
  // Characters other than digits take a place but add no reading.
  EXPECT_EQ(Number(conv, "1x"), "じゅう");

  // 69 digits reach the last big unit; 72 are still read by places.
  const std::string unit17 = "1" + std::string(68, '0');
  EXPECT_EQ(Number(conv, unit17), "いちむりょーたいすー");
  EXPECT_EQ(Number(conv, "1" + std::string(71, '0')), "いっせんむりょーたいすー");
  // More than 72 characters as written, commas included, are read digit by digit.
  std::string groups4 = "1";
  for (int i = 0; i < 17; ++i) groups4 += ",0000";
  std::string digits;
  for (int i = 0; i < 16; ++i) digits += ",れーれーれーれー";
  // From the right: a group of three, then groups of four, the rest in front.
  EXPECT_EQ(Number(conv, groups4), "いちれー" + digits + ",れーれーれー");
  EXPECT_EQ(Number(conv, "1" + std::string(72, '0')),
            "いちれー" + digits + ",れーれーれーれー,れーれーれー");
}

TEST(NumConvTest, ReadsFractionsAndSeveralPointsDigitByDigit) {
  NumConv conv(kFixtures);
  EXPECT_EQ(Number(conv, "3.14"), "さんてん,いちよん");
  EXPECT_EQ(Number(conv, "0.5"), "れーてん,ご");
  EXPECT_EQ(Number(conv, ".5"), "れーてん,ご");
  EXPECT_EQ(Number(conv, "10.5"), "じゅってん,ご");
  EXPECT_EQ(Number(conv, "100.25"), "ひゃくてん,にーご");
  EXPECT_EQ(Number(conv, "3.14159"), "さんてん,いちよん,いちごきゅう");
  EXPECT_EQ(Number(conv, "1.2.3"), "いちてん,にーてん,さん");
  EXPECT_EQ(Number(conv, "3."), "さんてん");
  // A full-width point is a decimal point like the half-width one.
  EXPECT_EQ(Number(conv, "１．５"), "いちてん,ご");
}

TEST(NumConvTest, ReadsCountersWithSoundChanges) {
  NumConv conv(kFixtures);
  EXPECT_EQ(Read(conv, "1", "本"), P("いっ", "ぽん"));
  EXPECT_EQ(Read(conv, "3", "本"), P("さん", "ぼん"));
  EXPECT_EQ(Read(conv, "6", "本"), P("ろっ", "ぽん"));
  EXPECT_EQ(Read(conv, "8", "本"), P("はっ", "ぽん"));
  EXPECT_EQ(Read(conv, "10", "本"), P("じゅっ", "ぽん"));
  EXPECT_EQ(Read(conv, "20", "本"), P("にじゅっ", "ぽん"));
  EXPECT_EQ(Read(conv, "100", "本"), P("ひゃっ", "ぽん"));
  EXPECT_EQ(Read(conv, "300", "本"), P("さんびゃっ", "ぽん"));
  EXPECT_EQ(Read(conv, "600", "本"), P("ろっぴゃっ", "ぽん"));
  EXPECT_EQ(Read(conv, "1000", "本"), P("せん", "ぼん"));
  EXPECT_EQ(Read(conv, "1,000", "本"), P("せん", "ぼん"));
  EXPECT_EQ(Read(conv, "10000", "本"), P("いちまん", "ぼん"));
  EXPECT_EQ(Read(conv, "１，０００", "本"), P("せん", "ぼん"));
  EXPECT_EQ(Read(conv, "0", "本"), P("れー", "ほん"));
  EXPECT_EQ(Read(conv, "1.5", "本"), P("いちてん,ご", "ほん"));
  EXPECT_EQ(Read(conv, "1", "本棚"), P("いっ", "ぽん棚"));

  EXPECT_EQ(Read(conv, "1", "つ"), P("ひと", "つ"));
  EXPECT_EQ(Read(conv, "2", "つ"), P("ふた", "つ"));
  EXPECT_EQ(Read(conv, "3", "つ"), P("みっ", "つ"));
  EXPECT_EQ(Read(conv, "9", "つ"), P("ここの", "つ"));
  EXPECT_EQ(Read(conv, "4", "年"), P("よ", "ねん"));
  EXPECT_EQ(Read(conv, "14", "年"), P("じゅうよ", "ねん"));
  EXPECT_EQ(Read(conv, "1", "通"), P("いっ", "つう"));
  EXPECT_EQ(Read(conv, "8", "通"), P("はっ", "つう"));
  EXPECT_EQ(Read(conv, "10", "通"), P("じゅっ", "つう"));
  EXPECT_EQ(Read(conv, "100", "通"), P("ひゃく", "つう"));

  // The first counter in file order wins, even when a longer one follows.
  EXPECT_EQ(Read(conv, "2", "回目"), P("に", "かい目"));
  // An empty reading keeps the word as written; it still is a counter (class 0 here).
  EXPECT_EQ(Read(conv, "1", "個"), P("いち", "個"));
  // Types are rounded halves to even: 2.5 is 2 (no shift after 000), 3.5 is 4 (none after 1).
  EXPECT_EQ(Read(conv, "1000", "杯"), P("せん", "はい"));
  EXPECT_EQ(Read(conv, "1", "匹"), P("いっ", "ひき"));
  // A type that is not a number reads 0; one outside 0..4 shifts nothing.
  EXPECT_EQ(Read(conv, "3", "軒"), P("さん", "けん"));
  EXPECT_EQ(Read(conv, "3", "階"), P("さん", "かい"));
  // Fields after the third are ignored.
  EXPECT_EQ(Read(conv, "5", "円"), P("ご", "えん"));
  // Not a counter: the word comes back as it was and the number is read plainly.
  EXPECT_EQ(Read(conv, "1", "人"), P("いち", "人"));
  EXPECT_EQ(Read(conv, "1", "ほん"), P("いち", "ほん"));
  // The euro sign, which no Shift_JIS file can hold, is a built-in counter.
  EXPECT_EQ(Read(conv, "100", "€"), P("ひゃく", "ゆ'ーろ"));
}

TEST(NumConvTest, ReadsDigitByDigitWithinFivePositionsAfterKeyword) {
  NumConv conv(kFixtures);
  conv.BefWord(U"tel", 3);
  EXPECT_EQ(Number(conv, "0123", 5), "れー,いちにーさん");
  // The call cleared the keyword: the next number is read by places again.
  EXPECT_EQ(Number(conv, "0123", 6), "ひゃくにじゅうさん");

  conv.BefWord(U"tel", 1);
  EXPECT_EQ(Number(conv, "09012345678", 2), "れーきゅうれーいち,にーさんよんご,ろくななはち");

  // The window is the five positions after the keyword, not the keyword's own.
  conv.BefWord(U"id", 10);
  EXPECT_EQ(Number(conv, "12", 15), "いちに");
  conv.BefWord(U"id", 10);
  EXPECT_EQ(Number(conv, "12", 16), "じゅうに");
  conv.BefWord(U"id", 10);
  EXPECT_EQ(Number(conv, "12", 10), "じゅうに");
  // Even a call outside the window uses up the keyword.
  conv.BefWord(U"id", 10);
  EXPECT_EQ(Number(conv, "12", 20), "じゅうに");
  EXPECT_EQ(Number(conv, "12", 11), "じゅうに");

  // Latin keywords are whole words, case-sensitively; other words leave the position alone.
  conv.BefWord(U"tel", 1);
  conv.BefWord(U"の", 2);
  EXPECT_EQ(Number(conv, "12", 3), "いちに");
  conv.BefWord(U"mytelephone", 1);
  EXPECT_EQ(Number(conv, "12", 2), "じゅうに");
  conv.BefWord(U"android", 1);
  EXPECT_EQ(Number(conv, "13", 2), "じゅうさん");
  conv.BefWord(U"covid", 1);
  EXPECT_EQ(Number(conv, "19", 2), "じゅうきゅう");
  conv.BefWord(U"TEL", 1);
  EXPECT_EQ(Number(conv, "12", 2), "じゅうに");
  conv.BefWord(U"郵便番号", 1);
  EXPECT_EQ(Number(conv, "1000", 2), "いち,れーれーれー");
  conv.BefWord(U"電話番号は", 1);
  EXPECT_EQ(Number(conv, "0312", 3), "れー,さんいちに");
  // Kanji keywords stand inside compounds; 番号 and 局番 name every such number.
  conv.BefWord(U"携帯電話番号", 1);
  EXPECT_EQ(Number(conv, "12", 2), "いちに");
  conv.BefWord(U"会員番号", 1);
  EXPECT_EQ(Number(conv, "12", 2), "いちに");
  conv.BefWord(U"市外局番", 1);
  EXPECT_EQ(Number(conv, "213", 2), "にーいちさん");

  // A counter after the number cancels the digit-by-digit reading, even one without reading.
  conv.BefWord(U"pass", 1);
  EXPECT_EQ(Read(conv, "3", "本", 2), P("さん", "ぼん"));
  conv.BefWord(U"address", 1);
  EXPECT_EQ(Read(conv, "123", "個", 2), P("ひゃくにじゅうさん", "個"));
  // A word that is no counter does not.
  conv.BefWord(U"tel", 1);
  EXPECT_EQ(Read(conv, "123", "番", 2), P("いちにーさん", "番"));
}

// 千 alone reads せん; いっせん only before a big unit (1千万 いっせんまん).
TEST(NumConvTest, ReadsOneThousandAsSenExceptBeforeABigUnit) {
  NumConv conv(kFixtures);
  EXPECT_EQ(Number(conv, "1000"), "せん");
  EXPECT_EQ(Number(conv, "1,500"), "せんごひゃく");
  EXPECT_EQ(Number(conv, "1473"), "せんよんひゃくななじゅうさん");
  EXPECT_EQ(Number(conv, "21000"), "にまん,せん");
  EXPECT_EQ(Number(conv, "10000000"), "いっせんまん");
  EXPECT_EQ(Number(conv, "11000000"), "いっせんひゃくまん");
  EXPECT_EQ(Number(conv, "100001000"), "いちおく,せん");
  EXPECT_EQ(Number(conv, "3000"), "さんぜん");
  EXPECT_EQ(Number(conv, "8000"), "はっせん");
}

// The sign changes the value: it is read, not dropped.
TEST(NumConvTest, ReadsTheMinusSign) {
  NumConv conv(kFixtures);
  EXPECT_EQ(Number(conv, "-5"), "まいなすご");
  EXPECT_EQ(Number(conv, "－3"), "まいなすさん");
  EXPECT_EQ(Number(conv, "−3"), "まいなすさん");
  EXPECT_EQ(Number(conv, "-0.5"), "まいなすれーてん,ご");
  EXPECT_EQ(Number(conv, "-1,000"), "まいなすせん");
  EXPECT_EQ(Read(conv, "-3", "本"), P("まいなすさん", "ぼん"));
  // A lone sign is no number.
  EXPECT_EQ(Number(conv, "-"), "");
}

// Telephone numbers (first part beginning with 0) and postal codes (three digits and four)
// are said digit by digit with every zero; other hyphenated numbers part by part.
TEST(NumConvTest, ReadsTelephoneNumbersAndPostalCodesDigitByDigit) {
  NumConv conv(kFixtures);
  EXPECT_EQ(Number(conv, "03-1234-5678"), "ぜろさん、いちにーさんよん、ごーろくななはち");
  EXPECT_EQ(Number(conv, "090-1234-5678"), "ぜろきゅうぜろ、いちにーさんよん、ごーろくななはち");
  EXPECT_EQ(Number(conv, "０１２０－１２３－４５６"),
            "ぜろいちにーぜろ、いちにーさん、よんごーろく");
  EXPECT_EQ(Number(conv, "100-0001"), "いちぜろぜろ、ぜろぜろぜろいち");
  EXPECT_EQ(Number(conv, "486ー2435"), "よんはちろく、にーよんさんごー");
  EXPECT_EQ(Number(conv, "06‐6123‐4567"), "ぜろろく、ろくいちにーさん、よんごーろくなな");
  // A range or a score: each part by places, the counter with the last.
  EXPECT_EQ(Read(conv, "3-5", "本"), P("さん、ご", "ほん"));
  EXPECT_EQ(Read(conv, "1-10", "本"), P("いち、じゅっ", "ぽん"));
  EXPECT_EQ(Number(conv, "2024-01-15"), "にせんにじゅうよん、いち、じゅうご");
  // A telephone number keeps the word after it.
  EXPECT_EQ(Read(conv, "03-1234-5678", "です"),
            P("ぜろさん、いちにーさんよん、ごーろくななはち", "です"));
}

// Kanji multipliers after digits belong to the number, and its counter sounds after them.
TEST(NumConvTest, TakesKanjiMultipliersIntoTheNumber) {
  NumConv conv(kFixtures);
  EXPECT_EQ(Read(conv, "3", "千本"), P("さんぜん", "ぼん"));
  EXPECT_EQ(Read(conv, "3", "百"), P("さんびゃく", ""));
  EXPECT_EQ(Read(conv, "1", "万本"), P("いちまん", "ぼん"));
  EXPECT_EQ(Read(conv, "1", "千万"), P("いっせんまん", ""));
  EXPECT_EQ(Read(conv, "2", "億円"), P("におく", "えん"));
  EXPECT_EQ(Read(conv, "100", "万回"), P("ひゃくまん", "かい"));
  EXPECT_EQ(Read(conv, "2.5", "億円"), P("にてん,ごおく", "えん"));
  EXPECT_EQ(Read(conv, "3", "千本"), P("さんぜん", "ぼん"));
  // Only at the start of the word.
  EXPECT_EQ(Read(conv, "3", "本千"), P("さん", "ぼん千"));
}

// A reading that begins with the accent mark puts the compound's accent on the number's last
// mora, off ん, っ and a long vowel's う; a mark inside the reading is the counter's own; no
// mark leaves the compound flat.
TEST(NumConvTest, MarksTheAccentOfNumberAndCounter) {
  test::TempDictionary dict;
  dict.Write("num.ktn", U"時間 じ'かん 0\r\n時 'じ 0\r\n本 'ほん 3\r\n回 かい 0\r\n晩 'ばん 6\r\n");
  NumConv conv(dict.Folder());
  EXPECT_EQ(Read(conv, "1", "時"), P("いち'", "じ"));
  EXPECT_EQ(Read(conv, "3", "時"), P("さ'ん", "じ"));
  EXPECT_EQ(Read(conv, "10", "時"), P("じゅ'う", "じ"));
  EXPECT_EQ(Read(conv, "2024", "時"), P("にせ'ん/に'じゅう/よ'ん", "じ"));
  EXPECT_EQ(Read(conv, "1", "本"), P("い'っ", "ぽん"));
  EXPECT_EQ(Read(conv, "300", "本"), P("さんびゃ'っ", "ぽん"));
  EXPECT_EQ(Read(conv, "2000000000", "時"), P("にじゅうお'く", "じ"));
  EXPECT_EQ(Read(conv, "10000", "時"), P("いちま'ん", "じ"));
  EXPECT_EQ(Read(conv, "1", "晩"), P("ひと'", "ばん"));
  EXPECT_EQ(Read(conv, "1", "時間"), P("いち", "じ'かん"));
  EXPECT_EQ(Read(conv, "2", "回"), P("に", "かい"));
  // No counter, no accent.
  EXPECT_EQ(Read(conv, "3", ""), P("さん", ""));
  EXPECT_EQ(Read(conv, "3", "個"), P("さん", "個"));
}

// Before a counter that puts the accent on the number, the tens are a phrase apart from the
// ones, and the hundreds and thousands apart from the tens, each with its own accent; a number
// without ones or with tens of one or none is one phrase.
TEST(NumConvTest, SaysTheTensApartFromTheOnes) {
  test::TempDictionary dict;
  dict.Write("num.ktn", U"年 'ねん 0\r\n時間 じ'かん 0\r\n");
  NumConv conv(dict.Folder());
  EXPECT_EQ(Read(conv, "1473", "年"), P("せ'んよんひゃく/なな'じゅう/さ'ん", "ねん"));
  EXPECT_EQ(Read(conv, "1968", "年"), P("せ'んきゅうひゃく/ろくじゅ'う/はち'", "ねん"));
  EXPECT_EQ(Read(conv, "776", "年"), P("なな'ひゃく/なな'じゅう/ろく'", "ねん"));
  EXPECT_EQ(Read(conv, "821", "年"), P("はっぴゃ'く/に'じゅう/いち'", "ねん"));
  EXPECT_EQ(Read(conv, "2061", "年"), P("にせ'ん/ろくじゅ'う/いち'", "ねん"));
  EXPECT_EQ(Read(conv, "39", "年"), P("さ'んじゅう/きゅ'う", "ねん"));
  EXPECT_EQ(Read(conv, "30", "年"), P("さんじゅ'う", "ねん"));
  EXPECT_EQ(Read(conv, "119", "年"), P("ひゃくじゅうきゅ'う", "ねん"));
  EXPECT_EQ(Read(conv, "2005", "年"), P("にせんご'", "ねん"));
  EXPECT_EQ(Read(conv, "12345", "年"), P("いちまん,にせんさんびゃくよんじゅうご'", "ねん"));
  // a counter with its own accent leaves the number whole
  EXPECT_EQ(Read(conv, "24", "時間"), P("にじゅうよん", "じ'かん"));
}

// A katakana or Latin word is a counter only as a whole: 3カップ is not 3カ + ップ.
TEST(NumConvTest, KatakanaAndLatinCountersMatchWholeWords) {
  test::TempDictionary dict;
  dict.Write("num.ktn",
             U"カ か 0\r\nカロリー かろりー 0\r\nm めーとる 0\r\nmin ふん 5\r\n"
             U"分 ふん 5\r\n本 ほん 3\r\n晩 ばん 6\r\nページ ぺーじ 0\r\n"
             U"ポンド ぽんど 0\r\nフィート ふぃーと 0\r\n");
  NumConv conv(dict.Folder());
  EXPECT_EQ(Read(conv, "3", "カップ"), P("さん", "カップ"));
  EXPECT_EQ(Read(conv, "5", "カラット"), P("ご", "カラット"));
  EXPECT_EQ(Read(conv, "3", "カラ"), P("さん", "カラ"));
  EXPECT_EQ(Read(conv, "6", "カ"), P("ろっ", "か"));
  EXPECT_EQ(Read(conv, "100", "カロリー"), P("ひゃっ", "かろりー"));
  EXPECT_EQ(Read(conv, "5", "min"), P("ご", "ふん"));
  EXPECT_EQ(Read(conv, "5", "ms"), P("ご", "ms"));
  EXPECT_EQ(Read(conv, "3", "times"), P("さん", "times"));
  EXPECT_EQ(Read(conv, "5", "m"), P("ご", "めーとる"));
  // Kanji and kana counters still begin the word.
  EXPECT_EQ(Read(conv, "3", "本目"), P("さん", "ぼん目"));
  // Type 5 half-voices after 千 and 万 as well: せんぷん.
  EXPECT_EQ(Read(conv, "1000", "分"), P("せん", "ぷん"));
  EXPECT_EQ(Read(conv, "10000", "分"), P("いちまん", "ぷん"));
  EXPECT_EQ(Read(conv, "3", "分"), P("さん", "ぷん"));
  EXPECT_EQ(Read(conv, "1", "分"), P("いっ", "ぷん"));
  EXPECT_EQ(Read(conv, "5", "分"), P("ご", "ふん"));
  // The ぱ row geminates like the た and さ rows.
  EXPECT_EQ(Read(conv, "1", "ページ"), P("いっ", "ぺーじ"));
  EXPECT_EQ(Read(conv, "10", "ページ"), P("じゅっ", "ぺーじ"));
  EXPECT_EQ(Read(conv, "8", "ページ"), P("はっ", "ぺーじ"));
  EXPECT_EQ(Read(conv, "6", "ページ"), P("ろく", "ぺーじ"));
  // Other ぱ-row loanwords and loanword syllables double nothing.
  EXPECT_EQ(Read(conv, "1", "ポンド"), P("いち", "ぽんど"));
  EXPECT_EQ(Read(conv, "8", "フィート"), P("はち", "ふぃーと"));
  // Type 6, a native counter: one and two alone read ひと, ふた.
  EXPECT_EQ(Read(conv, "1", "晩"), P("ひと", "ばん"));
  EXPECT_EQ(Read(conv, "2", "晩"), P("ふた", "ばん"));
  EXPECT_EQ(Read(conv, "3", "晩"), P("さん", "ばん"));
  EXPECT_EQ(Read(conv, "11", "晩"), P("じゅういち", "ばん"));
}

TEST(NumConvTest, ParsesKanjiNumerals) {
  auto parse = [](std::string_view text) {
    size_t length = 0;
    std::u32string digits;
    if (!NumConv::ParseKanjiNumber(U32(text), length, digits)) return std::string("-");
    return ToUtf8(digits) + "/" + std::to_string(length);
  };
  EXPECT_EQ(parse("三枚"), "3/1");
  EXPECT_EQ(parse("二十四時"), "24/3");
  EXPECT_EQ(parse("八千円"), "8000/2");
  EXPECT_EQ(parse("千"), "1000/1");
  EXPECT_EQ(parse("三百五十"), "350/4");
  EXPECT_EQ(parse("一万五千"), "15000/4");
  EXPECT_EQ(parse("一億二千万人"), "120000000/5");
  EXPECT_EQ(parse("二〇二四年"), "2024/4");
  EXPECT_EQ(parse("枚"), "-");
  EXPECT_EQ(parse(""), "-");
}

TEST(NumConvTest, LoadsAnyLineEndAndRejectsShortLines) {
  const std::u32string message = U"助数詞ファイルの以下の行でエラーが発生しました。";
  auto expectFailure = [&](const std::string& folder, const std::u32string& line) {
    try {
      NumConv conv(folder);
      ADD_FAILURE() << "loaded " << folder;
    } catch (const DictionaryError& e) {
      EXPECT_EQ(ToUtf8(e.Message()), ToUtf8(message));
      EXPECT_EQ(ToUtf8(e.Line()), ToUtf8(line));
      // A file that cannot be read says so; a refused line is shown under the message.
      std::u32string head = e.Reason().empty() ? message + U"\r\n\r\n" + line + U"\r\n\r\n"
                                               : U"助数詞ファイルを読み込めませんでした。";
      EXPECT_EQ(ToUtf8(e.Text().substr(0, head.size())), ToUtf8(head));
    }
  };

  {
    test::TempDictionary missing;
    expectFailure(missing.Folder(), U"");
  }
  {
    test::TempDictionary dict;
    dict.Write("num.ktn", U"本 ほん 3\r\n本 ほん\r\nつ つ 0\r\n");
    expectFailure(dict.Folder(), U"本 ほん");
  }
  {
    test::TempDictionary dict;
    dict.Write("num.ktn", U"本 ほん 3\r\n\r\nつ つ 0\r\n");
    expectFailure(dict.Folder(), U"");
  }
  {
    test::TempDictionary dict;
    dict.Write("num.ktn", U"本 ほん 3\r\n\r\n");
    expectFailure(dict.Folder(), U"");
  }
  {
    test::TempDictionary dict;
    dict.Write("num.ktn", U"本 ほん 3\r\nつ\r\n");
    expectFailure(dict.Folder(), U"つ");
  }
  {
    // Files edited elsewhere: lone LF, lone CR, no final line end; an empty file is fine.
    test::TempDictionary dict;
    dict.Write("num.ktn", U"本 ほん 3\nつ つ 0\r年 ねん 0");
    NumConv conv(dict.Folder());
    EXPECT_EQ(Read(conv, "3", "本"), P("さん", "ぼん"));
    EXPECT_EQ(Read(conv, "3", "つ"), P("みっ", "つ"));
    EXPECT_EQ(Read(conv, "4", "年"), P("よ", "ねん"));
    dict.Write("num.ktn", U"");
    NumConv empty(dict.Folder());
    EXPECT_EQ(Read(empty, "3", "本"), P("さん", "本"));
  }
}

}  // namespace
}  // namespace kotonel
