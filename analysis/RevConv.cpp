#include "analysis/RevConv.h"

#include <algorithm>
#include <stdexcept>

#include "analysis/Intonation.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"
#include "util/files.h"
#include "util/strings.h"

namespace kotonel {

namespace {

const std::u32string kLoadError = U"辞書ファイルの以下の行でエラーが発生しました。";
constexpr char32_t kNoChar = 0;  // the empty character: nothing before or after a match

// Headwords are compared without regard to letter case: ASCII, Latin-1, full-width Latin,
// Greek and Cyrillic capitals fold to their small letters.
char32_t FoldCase(char32_t c) {
  if (c < 0x80) return c >= U'A' && c <= U'Z' ? c + 0x20 : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0xFF21 && c <= 0xFF3A) ||
      (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
    return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

bool NeedsFolding(std::u32string_view s) {
  return std::any_of(s.begin(), s.end(), [](char32_t c) { return FoldCase(c) != c; });
}

uint64_t Hash(std::u32string_view s) {
  uint64_t h = 0xcbf29ce484222325ULL;
  for (char32_t c : s) h = (h ^ c) * 0x100000001b3ULL;
  return h ^ (h >> 29);
}

// Splits the way the dictionary's lists are read: the empty text is an empty list.
void SplitList(std::u32string_view text, std::vector<std::u32string_view>& out) {
  out.clear();
  if (text.empty()) return;
  size_t start = 0;
  for (;;) {
    size_t p = text.find(U',', start);
    if (p == std::u32string_view::npos) {
      out.push_back(text.substr(start));
      return;
    }
    out.push_back(text.substr(start, p - start));
    start = p + 1;
  }
}

// The okurigana that may follow (or precede) a reading of each part-of-speech code.
std::u32string_view Okurigana(int32_t code) {
  switch (code) {
    case 1:
      return U"か,き,く,け,こ,い,っ";
    case 2:
      return U"が,ぎ,ぐ,げ,ご,い";
    case 3:
    case 5:
    case 6:
      return U"さ,し,す,せ,そ";
    case 4:
      return U"ざ,じ,ず,ぜ,ぞ";
    case 7:
      return U"た,ち,つ,て,と,っ";
    case 8:
      return U"な,に,ぬ,ね,の,ん";
    case 9:
      return U"ば,び,ぶ,べ,ぼ,ん";
    case 10:
      return U"ま,み,む,め,も,ん";
    case 11:
      return U"ら,り,る,れ,ろ,っ";
    case 12:
      return U"わ,い,う,え,お,っ";
    case 13:
    case 14:
      return U"た,て,な,に,ぬ,ね,よ,ら,る,れ,ろ,ず,ち";
    case 16:
      return U"か,く,き,け,い,う,し,が,さ,そ,め";
    case 17:
    case 18:
    case 19:
      return U"た,だ,で,と,な,る,に,が";
    case 34:
      return U"た,だ,う,く,す,る,の";
    case 35:
      return U"り,み,に,い,き,し,え,れ,め";
    default:
      return U"";
  }
}

// The list text contains the character; so a comma is in every non-empty list.
bool OkuriganaHas(int32_t code, char32_t c) {
  return Okurigana(code).find(c) != std::u32string_view::npos;
}

bool OneOf(int32_t v, std::initializer_list<int32_t> set) {
  return std::find(set.begin(), set.end(), v) != set.end();
}

}  // namespace

RevConv::RevConv(const std::string& dictionaryFolder) {
  Load(dictionaryFolder + "dic.ktn");
}

void RevConv::Load(const std::string& path) {
  std::string bytes;
  if (!FileExists(path) || IsDirectory(path) || !ReadWholeFile(path, bytes))
    throw DictionaryError(kLoadError, U"", path);
  text_ = FromCp932(bytes);
  bytes.clear();
  bytes.shrink_to_fit();
  if (text_.size() >= UINT32_MAX) throw DictionaryError(kLoadError, U"", path);

  size_t lineEnds = std::count(text_.begin(), text_.end(), U'\n') +
                    std::count(text_.begin(), text_.end(), U'\r') + 1;
  size_t capacity = 16;
  while (capacity < lineEnds * 2) capacity *= 2;
  slots_.assign(capacity, 0);
  entries_.reserve(lineEnds);
  codes_.reserve(lineEnds + lineEnds / 2);

  std::vector<std::u32string_view> readings;
  std::vector<std::u32string_view> codes;
  auto processLine = [&](size_t begin, size_t end) {
    std::u32string_view line = std::u32string_view(text_).substr(begin, end - begin);
    auto fail = [&]() { throw DictionaryError(kLoadError, std::u32string(line), path); };
    // Fields are cut at every space; the fourth (accent) may be missing.
    size_t s1 = line.find(U' ');
    if (s1 == std::u32string_view::npos) fail();
    size_t s2 = line.find(U' ', s1 + 1);
    if (s2 == std::u32string_view::npos) fail();
    size_t s3 = line.find(U' ', s2 + 1);
    size_t codesEnd = s3 == std::u32string_view::npos ? line.size() : s3;
    size_t accentBegin = s3 == std::u32string_view::npos ? line.size() : s3 + 1;
    size_t accentEnd = std::min(line.find(U' ', accentBegin), line.size());

    SplitList(line.substr(s1 + 1, s2 - s1 - 1), readings);
    SplitList(line.substr(s2 + 1, codesEnd - s2 - 1), codes);
    // Every code must be a number, and there must be a reading for each.
    if (codes.empty() || codes.size() > readings.size()) fail();
    Entry e{};
    e.codes = static_cast<uint32_t>(codes_.size());
    for (auto c : codes) {
      int32_t v;
      if (!ParseIntStrict(c, v)) fail();
      codes_.push_back(v);
    }
    e.codeCount = static_cast<uint32_t>(codes.size());
    e.key = static_cast<uint32_t>(begin);
    e.keyLength = static_cast<uint32_t>(s1);
    e.readings = static_cast<uint32_t>(begin + s1 + 1);
    e.readingsLength = static_cast<uint32_t>(s2 - s1 - 1);
    e.accent = static_cast<uint32_t>(begin + accentBegin);
    e.accentLength = static_cast<uint32_t>(accentEnd - accentBegin);

    std::u32string_view key = line.substr(0, s1);
    std::u32string folded;
    if (NeedsFolding(key)) {
      folded.reserve(key.size());
      for (char32_t c : key) folded.push_back(FoldCase(c));
      if (Find(folded) >= 0) fail();
      std::copy(folded.begin(), folded.end(), text_.begin() + static_cast<std::ptrdiff_t>(begin));
      key = Text(e.key, e.keyLength);
    }
    size_t mask = slots_.size() - 1;
    for (size_t h = Hash(key) & mask;; h = (h + 1) & mask) {
      uint32_t slot = slots_[h];
      if (slot == 0) {
        entries_.push_back(e);
        slots_[h] = static_cast<uint32_t>(entries_.size());
        break;
      }
      const Entry& other = entries_[slot - 1];
      if (Text(other.key, other.keyLength) == key) fail();
    }
    maxKeyLength_ = std::max(maxKeyLength_, key.size());
  };

  // Lines end at CR LF, a lone CR or a lone LF; the end of the file ends the last line.
  size_t start = 0;
  for (size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] != U'\r' && text_[i] != U'\n') continue;
    processLine(start, i);
    if (text_[i] == U'\r' && i + 1 < text_.size() && text_[i + 1] == U'\n') ++i;
    start = i + 1;
  }
  if (start < text_.size()) processLine(start, text_.size());
  codes_.shrink_to_fit();
}

int32_t RevConv::Find(std::u32string_view key) const {
  size_t mask = slots_.size() - 1;
  for (size_t h = Hash(key) & mask;; h = (h + 1) & mask) {
    uint32_t slot = slots_[h];
    if (slot == 0) return -1;
    const Entry& e = entries_[slot - 1];
    if (e.keyLength == key.size() && Text(e.key, e.keyLength) == key)
      return static_cast<int32_t>(slot - 1);
  }
}

bool RevConv::Contains(std::u32string_view text) const {
  std::u32string folded;
  for (char32_t c : text) folded.push_back(FoldCase(c));
  return Find(folded) >= 0;
}

void RevConv::直前(std::u32string_view text) {
  before_ = text.empty() ? std::u32string() : std::u32string(1, text.back());
}

void RevConv::仮名(std::u32string_view text) {
  kana_ = text.substr(0, 2);
}

void RevConv::種類(int32_t k, int32_t kind) {
  if (k < 0 || k > 2) throw std::out_of_range("RevConv::種類: position must be 0 to 2");
  kinds_[k] = kind;
}

int32_t RevConv::種類(int32_t k) const {
  if (k < 0 || k > 2) throw std::out_of_range("RevConv::種類: position must be 0 to 2");
  return kinds_[k];
}

size_t RevConv::SelectReading(const Entry& e, bool single, bool lone, bool firstLone,
                              bool innerLone, char32_t prev, char32_t next) const {
  const int32_t* codes = codes_.data() + e.codes;
  size_t count = e.codeCount;
  // The lowest position whose code satisfies pred, or count when there is none.
  auto first = [&](auto pred) {
    for (size_t k = 0; k < count; ++k)
      if (pred(codes[k])) return k;
    return count;
  };
  auto is = [](int32_t want) { return [want](int32_t c) { return c == want; }; };
  const int32_t p = code_;
  const int32_t k0 = kinds_[0];
  const int32_t k2 = kinds_[2];
  size_t k = count;
  if (single && p == -1 && OneOf(k0, {2, 3, 5}))
    k = first([&](int32_t c) { return c == 32 || (c == 23 && k0 == 2); });
  if (k == count && lone && k2 == 5) k = first(is(25));
  if (k == count && firstLone) k = first(is(25));
  if (k == count && OneOf(p, {16, 17, 18, 19, 30})) k = first(is(34));
  if (k == count) {
    if (prev != kNoChar)
      k = first([&](int32_t c) { return c == 35 && OkuriganaHas(c, prev); });
    else if (OneOf(p, {3, 4, 5}))
      k = first(is(35));
  }
  if (k == count && prev != kNoChar)
    k = first([&](int32_t c) { return c == 34 && OkuriganaHas(c, prev); });
  if (k == count && OneOf(p, {27, 29, 31})) k = first(is(36));
  if (k == count && next != kNoChar)
    k = first([&](int32_t c) { return c != 34 && c != 35 && OkuriganaHas(c, next); });
  if (k == count && OneOf(p, {27, 31})) k = first([](int32_t c) { return c == 27 || c == 31; });
  if (k == count && innerLone) {
    k = first(is(33));
    if (k == count) k = first(is(32));
  }
  if (k == count)
    k = first([](int32_t c) { return OneOf(c, {5, 15, 18, 20, 21, 23, 24, 26, 28, 29, 30}); });
  if (k == count) k = 0;
  return k;
}

void RevConv::Convert() {
  reading_.clear();
  template_.clear();
  std::u32string r;
  const std::u32string s = word_ + kana_;
  std::u32string folded(s);
  for (char32_t& c : folded) c = FoldCase(c);
  const size_t n = kana_.size();
  char32_t prev = before_.empty() ? kNoChar : before_[0];
  size_t pos = 0;
  int step = 0;
  bool anyMatch = false;
  std::vector<std::u32string_view> readings;

  while (s.size() - pos > n) {
    ++step;
    const size_t rest = s.size() - pos;
    size_t c = std::min(rest, maxKeyLength_);
    int32_t index = -1;
    for (; c >= 1; --c) {
      index = Find(std::u32string_view(folded).substr(pos, c));
      if (index >= 0) break;
    }
    if (index < 0) {
      r.push_back(s[pos]);
      c = 1;
    } else {
      const Entry& e = entries_[static_cast<size_t>(index)];
      std::u32string_view field = Text(e.readings, e.readingsLength);
      SplitList(field, readings);
      size_t k = 0;
      // A headword with one reading needs no choosing.
      if (field.find(U',') != std::u32string_view::npos) {
        char32_t next = c + n >= rest && c < rest ? s[pos + c] : kNoChar;
        bool single = word_.size() == 1 && c == 1;
        bool lone = word_.size() + n == 1;
        bool firstLone = word_.size() > 1 && c == 1 && !anyMatch;
        bool innerLone = word_.size() > 1 && c == 1 && step > 1;
        k = SelectReading(e, single, lone, firstLone, innerLone, prev, next);
      }
      if (intonation_) intonation_->旧品詞(code_);
      code_ = codes_[e.codes + k];
      if (intonation_)
        template_ = intonation_->発音判定(template_, readings[k], Text(e.accent, e.accentLength),
                                          static_cast<int32_t>(k), code_);
      r.append(readings[k]);
      anyMatch = true;
    }
    pos += c;
    prev = kNoChar;
  }
  // The okurigana a match took in is read by the engine as the hiragana word it belongs to.
  size_t taken = n - (s.size() - pos);
  if (taken > 0) r.erase(r.size() - std::min(taken, r.size()));
  reading_ = std::move(r);
}

}  // namespace kotonel
