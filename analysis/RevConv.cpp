#include "analysis/RevConv.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <unordered_map>

#include <sys/stat.h>

#include "analysis/Intonation.h"
#include "analysis/dictionary_cache.h"
#include "analysis/dictionary_file.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"
#include "util/files.h"

namespace kotonel {

namespace {

const std::u32string kLoadError = U"辞書ファイルの以下の行でエラーが発生しました。";
// The cache of the word dictionary: its name, and the layout of what it holds.
constexpr std::string_view kCacheKind = "dic";
constexpr uint32_t kCacheFormat = 1;
constexpr char32_t kNoChar = 0;  // the empty character: nothing before or after a match

#include "analysis/kana_nouns.inc"

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

bool IsLeadByte(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The index works on the file's own code page 932 bytes, so loading never decodes the file.
// Every headword character is put in one canonical form first: the code of its case-folded
// character, and for characters the code page holds twice, the code that encoding gives.
// For a double-byte code, 0 means the pair is no character.
const std::vector<uint16_t>& CanonicalCodes() {
  static const std::vector<uint16_t> table = [] {
    std::vector<uint16_t> t(65536, 0);
    for (int code = 0; code < 65536; ++code) {
      char32_t c = FromCp932Code(code);
      if (c == 0 && code != 0) {
        if (code < 0x100) t[code] = static_cast<uint16_t>(code);
        continue;
      }
      int folded = Cp932Code(FoldCase(c));
      // The canonical code must keep the byte length so that a key can be rewritten in place.
      bool sameLength = folded >= 0 && (folded < 0x100) == (code < 0x100);
      t[code] = static_cast<uint16_t>(sameLength ? folded : code);
    }
    return t;
  }();
  return table;
}

// The code of the first character of a canonical key (one or two bytes).
uint16_t FirstCode(const char* key, size_t size) {
  auto b = static_cast<uint8_t>(key[0]);
  if (IsLeadByte(b) && size >= 2 && CanonicalCodes()[b << 8 | static_cast<uint8_t>(key[1])] != 0)
    return static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(key[1]));
  return b;
}

uint64_t Hash(std::string_view s) {
  uint64_t h = 0xcbf29ce484222325ULL;
  for (char c : s) h = (h ^ static_cast<uint8_t>(c)) * 0x100000001b3ULL;
  // FNV's low bits mix poorly; the index uses them, so finish with a full avalanche.
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ULL;
  return h ^ (h >> 33);
}

// A slot of the headword index holds the entry number + 1 in its low half and the top half of
// the headword's hash in its high half, so that probing past other headwords rarely has to
// look at their text.
constexpr uint64_t kTagMask = 0xFFFFFFFF00000000ULL;

// A code in its whole-field form: optional sign and decimal digits within 32 bits.
bool ParseCode(std::string_view text, int32_t& value) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
    if (v > (1LL << 31)) return false;
  }
  v = negative ? -v : v;
  if (v > std::numeric_limits<int32_t>::max()) return false;
  value = static_cast<int32_t>(v);
  return true;
}

// Splits the way the dictionary's lists are read: the empty text is an empty list.
void SplitList(std::u32string_view text, std::vector<std::u32string_view>& out) {
  out.clear();
  if (!text.empty()) SplitAt(text, U',', out);
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

enum class PieceKind { kOther, kAdverb, kDeterminer, kPronoun, kNoun, kSuffix };

constexpr int32_t kAdverbCode = 26;
constexpr int32_t kPrefixCode = 25;
constexpr int32_t kInnerCode = 33;
constexpr int32_t kNaAdjectiveCode = 18;
constexpr int32_t kPronounCode = 21;
constexpr int32_t kSuffixCode = 32;

bool IsVerbCode(int32_t code) {
  return (code >= 1 && code <= 4) || (code >= 6 && code <= 14);
}

bool StartsAWord(int32_t code) {
  return (code >= 1 && code <= 21) || OneOf(code, {24, 25, 26});
}

PieceKind KindOfPiece(int32_t code, size_t length, char32_t first) {
  if (code == kAdverbCode && length >= 2) return PieceKind::kAdverb;
  // the prefixes that point at a thing (本, 当, 現, 某) or take all of it (全, 各, 両), and 反
  if (code == kPrefixCode && length == 1 &&
      std::u32string_view(U"本当現某全各両反").find(first) != std::u32string_view::npos)
    return PieceKind::kDeterminer;
  if (code == kPronounCode) return PieceKind::kPronoun;
  if (code == kSuffixCode || (code == kInnerCode && length == 1)) return PieceKind::kSuffix;
  if (length >= 2 && OneOf(code, {5, 15, 20, 23, 24, 32, 33})) return PieceKind::kNoun;
  return PieceKind::kOther;
}

// Whether a piece of a kanji run begins a new accent phrase after the piece before it.
// - After an adverb of two kanji or more, a pronoun, or a prefix said as a word of its own, a
//   word of the same run starts a new phrase (突然暴発 とつぜん/ぼ'ーはつ, 大変苦労, 彼一人
//   か'れ/ひとり, 本論文 ほ'ん/ろんぶん). A
//   suffix after it (一番目) stays in its compound; a word of two kanji or more read as the end
//   of a compound is a word all the same.
// - A verb ending the run after a noun of two kanji or more is the predicate of a noun whose
//   particle the writer left out (就職決まった, 一難去って), but not an honorific verb that
//   follows a noun of action as one word (遠慮下さい, 提出頂き), nor a verb that makes a word of
//   the noun (標準化された, 名前付き). So is a na-adjective of two kanji or more after such a
//   noun (神経抜群, 気宇壮大, 世界有数).
bool BeginsAPhrase(PieceKind before, int32_t code, size_t length, char32_t first, bool twoKanji,
                   bool endsRun) {
  const bool word = StartsAWord(code) || (code == kInnerCode && length >= 2);
  switch (before) {
    case PieceKind::kAdverb:
    case PieceKind::kPronoun:
      return word;
    case PieceKind::kDeterminer:
      return word && length >= 2;
    case PieceKind::kSuffix:
      if (word && twoKanji) return true;
      [[fallthrough]];
    case PieceKind::kNoun:
      return (IsVerbCode(code) && endsRun &&
              std::u32string_view(U"下頂戴申致化付").find(first) == std::u32string_view::npos) ||
             (code == kNaAdjectiveCode && length >= 2);
    case PieceKind::kOther:
      break;
  }
  return false;
}

}  // namespace

RevConv::RevConv(const std::string& dictionaryFolder) {
  Load(dictionaryFolder + "dic.ktn");
}

void RevConv::Load(const std::string& path) {
  // A large file is read through its cache when the cache matches the file as it is now.
  struct stat identity;
  const bool cached = DictionaryCache::Identify(path, identity);
  if (cached && LoadCache(DictionaryCache::Open(path, identity, kCacheKind, kCacheFormat, 6)))
    return;

  std::string bytes;
  std::vector<Entry> entries;
  std::vector<int32_t> codeTable;
  std::vector<uint64_t> slots;
  std::vector<uint8_t> longestByFirst;
  std::string why;
  if (!ReadWholeFile(path, bytes, &why)) throw DictionaryError::Unreadable(kLoadError, path, why);
  // Entries keep 32-bit offsets into the file.
  if (bytes.size() >= UINT32_MAX)
    throw DictionaryError::Unreadable(kLoadError, path, std::strerror(EFBIG));
  const std::vector<uint16_t>& canonical = CanonicalCodes();

  // Bytes below 0x40 are never the second byte of a double-byte character, so spaces,
  // commas, digits and line ends can be found in the bytes directly.
  // At most one entry a line: the lines are counted first, so that the tables never move.
  const size_t lines = std::max(std::count(bytes.begin(), bytes.end(), '\n'),
                                std::count(bytes.begin(), bytes.end(), '\r')) +
                       1;
  entries.reserve(lines);
  longestByFirst.assign(65536, 0);
  codeTable.reserve(lines * 2);

  // First every line is parsed in file order up to the first malformed one; then the
  // headwords go into the index, with the slots a few entries ahead fetched early, since
  // filling a table of this size is otherwise one cache miss after another.
  std::vector<uint64_t> hashes;
  hashes.reserve(lines);
  std::unordered_map<size_t, std::string> rewrittenKeys;  // entry -> headword as in the file
  // The number of the line starting at begin, counting line ends as the loop below does.
  auto numberAt = [&](size_t begin) {
    int64_t number = 1;
    for (size_t i = 0; i < begin; ++i)
      if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
        ++number;
    return number;
  };
  // The line starting at begin as the file has it, for the message; entry is its number.
  auto lineAt = [&](size_t begin, size_t entry) {
    size_t end = begin;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    std::string line = bytes.substr(begin, end - begin);
    if (auto it = rewrittenKeys.find(entry); it != rewrittenKeys.end())
      line.replace(0, it->second.size(), it->second);
    return FromCp932(line);
  };
  auto parseLine = [&](size_t begin, size_t end) -> bool {
    std::string_view line = std::string_view(bytes).substr(begin, end - begin);
    // Fields are cut at every space; the fourth (accent) may be missing.
    size_t s1 = line.find(' ');
    if (s1 == std::string_view::npos) return false;
    size_t s2 = line.find(' ', s1 + 1);
    if (s2 == std::string_view::npos) return false;
    size_t s3 = line.find(' ', s2 + 1);
    size_t codesEnd = std::min(s3, line.size());
    size_t accentBegin = s3 == std::string_view::npos ? line.size() : s3 + 1;
    size_t accentEnd = std::min(line.find(' ', accentBegin), line.size());

    // Every code must be a number, and there must be a reading for each.
    std::string_view readings = line.substr(s1 + 1, s2 - s1 - 1);
    std::string_view codes = line.substr(s2 + 1, codesEnd - s2 - 1);
    if (codes.empty()) return false;
    size_t readingCount =
        readings.empty() ? 0 : std::count(readings.begin(), readings.end(), ',') + 1;
    Entry e{};
    e.codes = static_cast<uint32_t>(codeTable.size());
    for (size_t from = 0;;) {
      size_t comma = std::min(codes.find(',', from), codes.size());
      int32_t v;
      if (!ParseCode(codes.substr(from, comma - from), v)) return false;
      codeTable.push_back(v);
      if (comma == codes.size()) break;
      from = comma + 1;
    }
    e.codeCount = static_cast<uint32_t>(codeTable.size() - e.codes);
    if (e.codeCount > readingCount) return false;
    e.key = static_cast<uint32_t>(begin);
    e.keyLength = static_cast<uint32_t>(s1);
    e.readings = static_cast<uint32_t>(begin + s1 + 1);
    e.readingsLength = static_cast<uint32_t>(readings.size());
    e.accent = static_cast<uint32_t>(begin + accentBegin);
    e.accentLength = static_cast<uint32_t>(accentEnd - accentBegin);

    // The headword in canonical form, rewritten in place.
    char* key = bytes.data() + begin;
    size_t characters = 0;
    for (size_t i = 0; i < s1; ++characters) {
      auto b = static_cast<uint8_t>(key[i]);
      uint16_t code = b;
      size_t width = 1;
      if (IsLeadByte(b) && i + 1 < s1) {
        uint16_t pair = static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(key[i + 1]));
        if (canonical[pair] != 0) code = pair, width = 2;
      }
      uint16_t canon = width == 2 ? canonical[code] : canonical[b];
      if (canon != code) {
        rewrittenKeys.try_emplace(entries.size(), key, s1);
        if (width == 2) key[i] = static_cast<char>(canon >> 8);
        key[i + width - 1] = static_cast<char>(canon & 0xFF);
      }
      i += width;
    }
    if (characters > 0) {
      uint8_t& longest = longestByFirst[FirstCode(key, s1)];
      longest = static_cast<uint8_t>(std::min<size_t>(std::max<size_t>(longest, characters), 255));
    }
    maxKeyLength_ = std::max(maxKeyLength_, characters);
    hashes.push_back(Hash(std::string_view(key, s1)));
    entries.push_back(e);
    return true;
  };

  // Lines end at CR LF, a lone CR or a lone LF; the end of the file ends the last line.
  bool malformed = false;
  size_t malformedBegin = 0;
  auto take = [&](size_t begin, size_t end) {
    if (!parseLine(begin, end)) malformed = true, malformedBegin = begin;
  };
  const char* data = bytes.data();
  const size_t size = bytes.size();
  for (size_t start = 0; start < size && !malformed;) {
    auto* lf = static_cast<const char*>(std::memchr(data + start, '\n', size - start));
    size_t end = lf ? static_cast<size_t>(lf - data) : size;
    auto* cr = static_cast<const char*>(std::memchr(data + start, '\r', end - start));
    size_t next = end + 1;
    if (cr) {
      // CR LF ends the line like LF; a lone CR ends it too.
      next =
          static_cast<size_t>(cr - data) + 1 == end ? end + 1 : static_cast<size_t>(cr - data) + 1;
      end = static_cast<size_t>(cr - data);
    }
    take(start, end);
    start = next;
  }

  size_t capacity = 16;
  while (capacity < entries.size() * 2) capacity *= 2;
  slots.assign(capacity, 0);
  const size_t mask = slots.size() - 1;
  constexpr size_t kAhead = 8;
  for (size_t k = 0; k < entries.size(); ++k) {
    if (k + kAhead < entries.size()) __builtin_prefetch(&slots[hashes[k + kAhead] & mask]);
    const uint64_t tag = hashes[k] & kTagMask;
    const Entry& e = entries[k];
    std::string_view headword = std::string_view(bytes).substr(e.key, e.keyLength);
    for (size_t h = hashes[k] & mask;; h = (h + 1) & mask) {
      uint64_t slot = slots[h];
      if (slot == 0) {
        slots[h] = tag | (k + 1);
        break;
      }
      if ((slot & kTagMask) != tag) continue;
      const Entry& other = entries[(slot & ~kTagMask) - 1];
      if (std::string_view(bytes).substr(other.key, other.keyLength) == headword)
        throw DictionaryError(kLoadError, lineAt(e.key, k), path, numberAt(e.key));
    }
  }
  if (malformed)
    throw DictionaryError(kLoadError, lineAt(malformedBegin, SIZE_MAX), path,
                          numberAt(malformedBegin));

  if (cached) {
    const uint64_t maxKeyLength = maxKeyLength_;
    DictionaryCache::Write(path, identity, kCacheKind, kCacheFormat,
                           {{bytes.data(), bytes.size()},
                            {entries.data(), entries.size() * sizeof(Entry)},
                            {codeTable.data(), codeTable.size() * sizeof(int32_t)},
                            {slots.data(), slots.size() * sizeof(uint64_t)},
                            {longestByFirst.data(), longestByFirst.size()},
                            {&maxKeyLength, sizeof maxKeyLength}});
  }
  bytes_ = Table<char>::Own(std::move(bytes));
  entries_ = Table<Entry>::Own(std::move(entries));
  codes_ = Table<int32_t>::Own(std::move(codeTable));
  slots_ = Table<uint64_t>::Own(std::move(slots));
  longestByFirst_ = Table<uint8_t>::Own(std::move(longestByFirst));
}

bool RevConv::LoadCache(const DictionaryCache& cache) {
  if (!cache || cache.Bytes(5) != sizeof(uint64_t)) return false;
  Table<char> bytes = cache.Get<char>(0);
  Table<Entry> entries = cache.Get<Entry>(1);
  Table<int32_t> codes = cache.Get<int32_t>(2);
  Table<uint64_t> slots = cache.Get<uint64_t>(3);
  Table<uint8_t> longestByFirst = cache.Get<uint8_t>(4);
  uint64_t maxKeyLength = cache.Get<uint64_t>(5)[0];
  // Whatever the file holds, every view must stay inside its tables and every probe must end.
  if (longestByFirst.size() != 65536 || slots.size() < 16 ||
      (slots.size() & (slots.size() - 1)) != 0 || slots.size() <= entries.size() ||
      entries.size() * sizeof(Entry) != cache.Bytes(1) || bytes.size() >= UINT32_MAX ||
      maxKeyLength > bytes.size())
    return false;
  const uint64_t byteCount = bytes.size(), codeCount = codes.size();
  for (const Entry& e : entries)
    if (uint64_t{e.key} + e.keyLength > byteCount ||
        uint64_t{e.readings} + e.readingsLength > byteCount ||
        uint64_t{e.accent} + e.accentLength > byteCount ||
        uint64_t{e.codes} + e.codeCount > codeCount || e.codeCount == 0)
      return false;
  size_t empty = 0;
  for (uint64_t slot : slots) {
    const uint64_t entry = slot & ~kTagMask;
    if (slot == 0)
      ++empty;
    else if (entry == 0 || entry > entries.size())
      return false;
  }
  if (empty == 0) return false;
  bytes_ = std::move(bytes);
  entries_ = std::move(entries);
  codes_ = std::move(codes);
  slots_ = std::move(slots);
  longestByFirst_ = std::move(longestByFirst);
  maxKeyLength_ = static_cast<size_t>(maxKeyLength);
  return true;
}

int32_t RevConv::Find(std::string_view key) const {
  const uint64_t hash = Hash(key);
  const uint64_t tag = hash & kTagMask;
  size_t mask = slots_.size() - 1;
  for (size_t h = hash & mask;; h = (h + 1) & mask) {
    uint64_t slot = slots_[h];
    if (slot == 0) return -1;
    if ((slot & kTagMask) != tag) continue;
    size_t index = (slot & ~kTagMask) - 1;
    const Entry& e = entries_[index];
    if (Bytes(e.key, e.keyLength) == key) return static_cast<int32_t>(index);
  }
}

bool RevConv::EncodeKey(std::u32string_view text, std::string& bytes, std::vector<size_t>& ends,
                        std::vector<size_t>& runs) {
  const std::vector<uint16_t>& canonical = CanonicalCodes();
  bytes.clear();
  ends.assign(1, 0);
  runs.assign(text.size() + 1, 0);
  bool all = true;
  for (char32_t c : text) {
    int code = Cp932Code(FoldCase(c));
    if (code < 0) {
      // No bytes: the run of encodable characters ends here.
      all = false;
    } else {
      uint16_t canon = canonical[static_cast<size_t>(code)];
      if (code >= 0x100) bytes.push_back(static_cast<char>(canon >> 8));
      bytes.push_back(static_cast<char>(canon & 0xFF));
    }
    ends.push_back(bytes.size());
  }
  for (size_t i = text.size(); i-- > 0;) runs[i] = ends[i + 1] == ends[i] ? 0 : runs[i + 1] + 1;
  return all;
}

bool RevConv::Contains(std::u32string_view text) const {
  std::string bytes;
  std::vector<size_t> ends, runs;
  return EncodeKey(text, bytes, ends, runs) && Find(bytes) >= 0;
}

void RevConv::直前(std::u32string_view text) {
  before_ = text.empty() ? std::u32string() : std::u32string(1, text.back());
  // The kana a verb's continuative (or a noun made from one) ends in; an adjective's い is
  // no stem of a compound (高い声 こえ).
  static constexpr std::u32string_view kStemEnds =
      U"いきしちにひみりぎじびぴえけせてねへめれげぜでべぺ";
  afterStem_ = !text.empty() && text.size() == taken_ && !OneOf(code_, {16, 17, 18, 19}) &&
               kStemEnds.find(text.back()) != std::u32string_view::npos;
  afterKanaNoun_ = EndsInKanaNoun(text);
  // An honorific verb before 方 makes it a person (くださる方 かた); a plain attributive is
  // mostly a comparison (する方が ほう), and a past one advice (なさった方がいい).
  auto endsIn = [&](std::u32string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
  };
  afterHonorific_ = endsIn(U"くださる") || endsIn(U"なさる") || endsIn(U"しゃる");
  afterHonorificPast_ = endsIn(U"くださった") || endsIn(U"なさった") || endsIn(U"しゃった");
}

bool RevConv::EndsInKanaNoun(std::u32string_view text) const {
  auto known = [](std::u32string_view w) {
    return std::binary_search(std::begin(kKanaCompoundNouns), std::end(kKanaCompoundNouns), w);
  };
  // The whole word, when no kanji word stands before it to end in it (食べた, 勉強した):
  // the engine writes -1 after any other word and at the start of a sentence.
  if (code_ == -1 && text.size() >= 2 && known(text)) return true;
  // Or a particle and a noun of three kana or more (…にかゆみ止め); a shorter tail is too
  // often the end of another word.
  static constexpr std::u32string_view kParticles = U"のにをがはもとでへや";
  for (size_t i = taken_; i + 4 <= text.size(); ++i)
    if (kParticles.find(text[i]) != std::u32string_view::npos && known(text.substr(i + 1)))
      return true;
  return false;
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
                              bool innerLone, bool afterStem, bool afterKanaNoun,
                              bool afterHonorific, const std::vector<std::u32string_view>& readings,
                              char32_t prev, char32_t next) const {
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
  // After a hiragana noun that UniDic's compounds join to a voiced kanji (うがい薬), the
  // kanji's voiced form, when it has one, or else the reading it takes ending a word (すし屋
  // や).
  if (k == count && afterKanaNoun && count > 0) {
    const std::u32string_view usual = readings[0];
    for (size_t i = 1; i < count && k == count; ++i) {
      const std::u32string_view r = readings[i];
      if ((codes[i] == 33 || codes[i] == 36) && !usual.empty() && r.size() == usual.size() &&
          r[0] == usual[0] + 1 && r.substr(1) == usual.substr(1))
        k = i;
    }
    if (k == count) k = first(is(33));
  }
  if (k == count && afterHonorific) k = first(is(35));
  // Right after a verb's stem the word is the second half of a compound: its voiced form
  // (書き がき), or the reading that follows a continuative (方 かた).
  if (k == count && afterStem) {
    k = first(is(36));
    if (k == count) k = first(is(35));
  }
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
  // The key bytes of s, where each character's bytes end, and how many characters from each
  // position can be part of a headword.
  std::string key;
  std::vector<size_t> ends, runs;
  EncodeKey(s, key, ends, runs);
  const size_t n = kana_.size();
  char32_t prev = before_.empty() ? kNoChar : before_[0];
  size_t pos = 0;
  int step = 0;
  bool anyMatch = false;
  std::u32string field;
  std::vector<std::u32string_view> readings;
  // What the piece before was, and where its part of the template begins.
  PieceKind before = PieceKind::kOther;
  size_t beforeStart = 0;
  char32_t beforeFirst = kNoChar;

  while (s.size() - pos > n) {
    ++step;
    const size_t rest = s.size() - pos;
    size_t c = 0;
    if (runs[pos] > 0) {
      // No headword is longer than the longest one that starts with this character.
      std::string_view at = std::string_view(key).substr(ends[pos], ends[pos + 1] - ends[pos]);
      size_t longest = longestByFirst_[FirstCode(at.data(), at.size())];
      if (longest == 255) longest = maxKeyLength_;
      c = std::min({rest, longest, runs[pos]});
    }
    int32_t index = -1;
    for (; c >= 1; --c) {
      index = Find(std::string_view(key).substr(ends[pos], ends[pos + c] - ends[pos]));
      if (index >= 0) break;
    }
    if (index < 0) {
      before = PieceKind::kOther;
      r.push_back(s[pos]);
      // A character no headword reads (the kana a number word left in the word) still takes
      // its place in the accent template, so that the marks of the pieces after it land on
      // their own kana.
      if (intonation_) template_.push_back(U' ');
      c = 1;
    } else {
      const Entry& e = entries_[static_cast<size_t>(index)];
      field = FromCp932(Bytes(e.readings, e.readingsLength));
      SplitList(field, readings);
      size_t k = 0;
      // A headword with one reading needs no choosing.
      if (field.find(U',') != std::u32string::npos) {
        char32_t next = c + n >= rest && c < rest ? s[pos + c] : kNoChar;
        bool single = word_.size() == 1 && c == 1;
        bool lone = word_.size() + n == 1;
        bool firstLone = word_.size() > 1 && c == 1 && !anyMatch;
        // a lone kanji, or a word of more characters ending a kanji word (現金払い, 腕時計),
        // or right after katakana, a kanji word read whole with its okurigana or of two kanji
        // or more (カード払い, パシフィック通り)
        bool innerLone = (word_.size() > 1 && step > 1 && (c == 1 || pos + c >= word_.size())) ||
                         (step == 1 && kinds_[0] == 5 && c > 1 && c >= word_.size());
        k = SelectReading(
            e, single, lone, firstLone, innerLone, step == 1 && afterStem_,
            step == 1 && afterKanaNoun_,
            step == 1 && (afterHonorific_ || (afterHonorificPast_ && kana_.substr(0, 1) != U"が")),
            readings, prev, next);
      }
      std::u32string_view reading = readings[k];
      // After a sokuon a は-row kana is said ぱ (引っ張る ひっぱる, 出っ歯 でっぱ): no word
      // of ours says っは.
      std::u32string halfVoiced;
      if (step == 1 && prev == U'っ' && !reading.empty() &&
          std::u32string_view(U"はひふへほ").find(reading[0]) != std::u32string_view::npos) {
        halfVoiced = reading;
        halfVoiced[0] += 2;
        reading = halfVoiced;
      }
      if (intonation_) intonation_->旧品詞(code_);
      code_ = codes_[e.codes + k];
      const PieceKind kind = KindOfPiece(code_, c, s[pos]);
      if (intonation_ && BeginsAPhrase(before, code_, c, s[pos], c >= 2 && pos + 1 < word_.size(),
                                       pos + c >= word_.size())) {
        // A prefix said as a word of its own is accented on its first mora (ほ'ん/ろんぶん).
        if (before == PieceKind::kDeterminer && template_.size() > beforeStart + 1 &&
            template_.find(U'\'', beforeStart) == std::u32string::npos)
          template_.insert(beforeStart + 1, 1, U'\'');
        // A word made with 的 is flat (ひかくてき, いちぎてき), whatever its first part's accent.
        if (beforeFirst == U'的') {
          const size_t phrase = template_.rfind(U'/');
          const auto from =
              template_.begin() +
              static_cast<std::ptrdiff_t>(phrase == std::u32string::npos ? 0 : phrase + 1);
          template_.erase(std::remove(from, template_.end(), U'\''), template_.end());
        }
        template_.push_back(U'/');
        intonation_->旧品詞(-1);
      }
      before = kind;
      beforeFirst = s[pos];
      beforeStart = template_.size();
      if (intonation_)
        template_ =
            intonation_->発音判定(template_, reading, FromCp932(Bytes(e.accent, e.accentLength)),
                                  static_cast<int32_t>(k), code_);
      r.append(reading);
      anyMatch = true;
    }
    pos += c;
    prev = kNoChar;
  }
  // The okurigana a match took in is read by the engine as the hiragana word it belongs to.
  size_t taken = n - (s.size() - pos);
  if (taken > 0) r.erase(r.size() - std::min(taken, r.size()));
  taken_ = taken;
  // A word no headword covers has no template at all.
  if (!anyMatch) template_.clear();
  endsInAdverb_ = before == PieceKind::kAdverb;
  reading_ = std::move(r);
}

}  // namespace kotonel
