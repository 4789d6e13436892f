#include "analysis/MarkTable.h"
#include "analysis/dictionary_file.h"

#include <algorithm>

#include "util/dictionary_error.h"
#include "util/files.h"
#include "util/strings.h"

namespace kotonel {

namespace {

// "\" is the yen sign on the Japanese code page. The euro sign has no code there, so no file
// can name it: it is built in like the others.
constexpr std::u32string_view kCurrencySigns = U"\\$￡￠€";

}  // namespace

MarkTable::MarkTable() {
  Add(U"|", U"｜");
  Add(U"\"", U"、");
  Add(U"“", U"‘");
  Add(U"”", U"’");
  Add(U"\\", U"円");
  Add(U"$", U"ドル");
  Add(U"￡", U"ポンド");
  Add(U"￠", U"セント");
  Add(U"€", U"ユーロ");
  // Characters that Shift_JIS folds into one of its own, so that mrk.ktn cannot name them:
  // the half-width yen sign is the yen of the code page (¥3,980 is 3980円), the minus sign
  // U+2212 its full-width minus.
  Add(U"¥", U"\\");
  Add(U"−", U"－");
}

void MarkTable::Add(std::u32string key, std::u32string replacement) {
  keys_.Add(std::move(key));
  replacements_.Add(std::move(replacement));
}

void MarkTable::Load(const std::string& path) {
  // Like a missing file, a folder of that name holds no entries.
  if (!FileExists(path) || IsDirectory(path)) return;
  ReadDictionaryLines(path, kMessage, 2, [&](const std::u32string&, auto& fields) {
    Add(std::move(fields[0]), std::move(fields[1]));
  });
}

std::u32string MarkTable::Replace(std::u32string_view text) const {
  std::u32string out(text);
  // Most entries cannot occur in a short sentence: the sorted characters of the text rule them
  // out by their first character before any search. A replacement brings new characters, so
  // the set is made again after each one.
  std::u32string present;
  auto collect = [&] {
    present = out;
    std::sort(present.begin(), present.end());
  };
  collect();
  for (int32_t i = 1; i <= keys_.Count(); ++i) {
    const auto& key = keys_[i];
    // The currency signs are read by the second pass, never replaced here.
    if (key.empty() || kCurrencySigns.find(key) != std::u32string_view::npos) continue;
    if (!std::binary_search(present.begin(), present.end(), key[0])) continue;
    if (out.find(key) == std::u32string::npos) continue;
    out = ReplaceAll(out, key, replacements_[i]);
    collect();
  }
  return out;
}

std::u32string MarkTable::CurrencyReading(char32_t sign) const {
  if (!IsCurrencySign(sign)) return {};
  // The built-in entries come first, so a file entry for a sign is never the one found.
  for (int32_t i = 1; i <= keys_.Count(); ++i)
    if (keys_[i].size() == 1 && keys_[i][0] == sign) return replacements_[i];
  return {};
}

bool MarkTable::IsCurrencySign(char32_t c) {
  return c != 0 && kCurrencySigns.find(c) != std::u32string_view::npos;
}

}  // namespace kotonel
