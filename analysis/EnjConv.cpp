#include "analysis/EnjConv.h"
#include "analysis/dictionary_file.h"

#include <vector>

#include "analysis/numeric_field.h"
#include "util/dictionary_error.h"
#include "util/files.h"
#include "util/lists.h"
#include "util/strings.h"

namespace kotonel {

namespace {

constexpr std::u32string_view kLoadError = U"英語ファイルの以下の行でエラーが発生しました。";

// Marks that join the parts of an address or a file name into one Latin word.
constexpr std::u32string_view kMarks = U"./";

// Keys are stored and looked up in lower case. Besides ASCII this folds the full-width Latin,
// Greek and Cyrillic capitals, which a file or a caller may also use.
std::u32string FoldCase(std::u32string_view text) {
  std::u32string out(text);
  for (char32_t& c : out) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xFF21 && c <= 0xFF3A) ||
        (c >= 0x0391 && c <= 0x03A9 && c != 0x03A2) || (c >= 0x0410 && c <= 0x042F))
      c += 0x20;
    else if (c == 0x0401)
      c = 0x0451;
  }
  return out;
}

}  // namespace

EnjConv::EnjConv(const std::string& dictionaryFolder) {
  const std::string path = dictionaryFolder + "eng.ktn";
  ReadDictionaryLines(path, kLoadError, 3, [&](const std::u32string& line, auto& fields) {
    const int32_t table = RoundedField(fields[0]);
    if (table < 0 || table >= kTables)
      throw DictionaryError(std::u32string(kLoadError), line, path);
    auto [it, added] = tables_[static_cast<size_t>(table)].emplace(FoldCase(fields[1]), fields[2]);
    if (!added) throw DictionaryError(std::u32string(kLoadError), line, path);
  });
}

std::u32string EnjConv::LookUp(Table table, std::u32string_view key) const {
  const auto& map = tables_[table];
  auto it = map.find(FoldCase(key));
  return it == map.end() ? std::u32string() : it->second;
}

std::u32string EnjConv::Convert(std::u32string_view strWRD) const {
  if (strWRD.empty()) return U"";
  std::u32string whole = LookUp(kWords, strWRD);
  if (!whole.empty()) return whole;
  if (strWRD.find_first_of(kMarks) != std::u32string_view::npos) return ConvertParts(strWRD);
  return ConvertWord(strWRD);
}

std::u32string EnjConv::ConvertParts(std::u32string_view strWRD) const {
  // An address or a file name (www.example.com, index.html, and/or) is read part by part as
  // people say it, the marks by their single-letter readings (どっと, すらっしゅ). Parts of
  // one letter each are an abbreviation (e.g, u.s.a): its letters are spelled, the marks
  // left silent.
  std::vector<std::u32string_view> parts;
  std::vector<char32_t> marks;
  size_t from = 0;
  bool letters = true;
  for (size_t at = 0; at <= strWRD.size(); ++at) {
    if (at < strWRD.size() && kMarks.find(strWRD[at]) == std::u32string_view::npos) continue;
    parts.push_back(strWRD.substr(from, at - from));
    letters = letters && parts.back().size() <= 1;
    if (at < strWRD.size()) marks.push_back(strWRD[at]);
    from = at + 1;
  }
  std::u32string result;
  for (size_t k = 0; k < parts.size(); ++k) {
    if (letters) {
      if (!parts[k].empty()) result += LookUp(kNames, parts[k]);
      continue;
    }
    if (!parts[k].empty()) {
      std::u32string known = LookUp(kWords, parts[k]);
      result += known.empty() ? ConvertWord(parts[k]) : known;
    }
    if (k < marks.size()) result += LookUp(kLetters, std::u32string_view(&marks[k], 1));
  }
  return result;
}

std::u32string EnjConv::ConvertWord(std::u32string_view strWRD) const {
  const size_t n = strWRD.size();
  std::u32string result;
  bool found = false;
  for (size_t p = 0; p < n; ++p) {
    // A piece may begin at the word's start or at a consonant; a vowel inside the word only
    // ever starts an ending. The test is exact: words arrive lower-cased from segmentation.
    const bool start =
        p == 0 || std::u32string_view(U"aiueo").find(strWRD[p]) == std::u32string_view::npos;
    bool read = false;
    for (size_t b : {3u, 2u}) {
      if (n <= b) continue;
      const std::u32string_view piece = strWRD.substr(p, b);
      std::u32string reading;
      if (p + b == n) reading = LookUp(kEndings, piece);
      if (reading.empty() && piece.size() == b && start) reading = LookUp(kPieces, piece);
      if (!reading.empty()) {
        result += reading;
        found = true;
        p += b - 1;
        read = true;
        break;
      }
    }
    if (!read) result += LookUp(kLetters, strWRD.substr(p, 1));
  }

  if (!found) {
    // Not a single known piece: spell the word out.
    result.clear();
    for (size_t p = 0; p < n; ++p) result += LookUp(kNames, strWRD.substr(p, 1));
  }
  return result;
}

}  // namespace kotonel
