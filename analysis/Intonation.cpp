#include "analysis/Intonation.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "analysis/Separate.h"
#include "analysis/dictionary_file.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"
#include "util/files.h"
#include "util/strings.h"
#include "util/width.h"

namespace kotonel {

namespace {

constexpr char32_t kAccent = U'\'';
constexpr char32_t kBoundary = U'/';

// The pitch cannot fall from the long-vowel mark, the moraic nasal or the geminate: an accent
// that a compound puts at the end of a part ending in one of them (the end of もくよー before
// び) falls from the kana before it (もくよ'ーび, にほ'んじん), as a Tokyo speaker says it.
std::u32string OffSpecialMorae(std::u32string s) {
  auto special = [](char32_t c) { return c == U'ー' || c == U'ん' || c == U'っ'; };
  for (size_t j = 2; j < s.size(); ++j) {
    if (s[j] != kAccent) continue;
    // the flat mark a part hands on may stand between the kana and the accent
    size_t k = j;
    bool moved = false;
    while (k > 0 && (special(s[k - 1]) || s[k - 1] == U'+')) {
      moved = moved || special(s[k - 1]);
      --k;
    }
    // the second vowel of あい, うい, おい likewise (どくさ'いしゃ), inside the word
    if (!moved) {
      size_t p = j;
      while (p > 0 && s[p - 1] == U'+') --p;
      static constexpr std::u32string_view kBeforeI =
          U"あかさたなはまやらわがざだばぱうくすつぬふむゆるぐずぶぷおこそとのほもよろをごぞどぼぽ";
      if (p >= 3 && j + 1 < s.size() && s[p - 1] == U'い' &&
          kBeforeI.find(s[p - 2]) != std::u32string_view::npos) {
        moved = true;
        k = p - 1;
      }
    }
    while (k < j && s[k] == U'+') ++k;
    if (!moved || k == 0 || s[k - 1] == kAccent || s[k - 1] == kBoundary) continue;
    s.erase(j, 1);
    s.insert(k, 1, kAccent);
  }
  return s;
}

const std::u32string kLoadError = U"アクセントファイルの以下の行でエラーが発生しました。";

// The number at the start of an accent item, read the way a lenient number reader does:
// optional sign, digits, an optional fraction; anything else ends it, no digits read 0.
double LeadingNumber(std::u32string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == U' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == U'-' || text[i] == U'+')) negative = text[i++] == U'-';
  double v = 0;
  for (; i < text.size() && text[i] >= U'0' && text[i] <= U'9'; ++i) v = v * 10 + (text[i] - U'0');
  if (i < text.size() && text[i] == U'.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= U'0' && text[i] <= U'9'; ++i, scale /= 10)
      v += (text[i] - U'0') * scale;
  }
  return negative ? -v : v;
}

// A whole field that is a decimal number: optional sign, digits, optional fraction.
bool ParseNumber(std::u32string_view text, double& value) {
  size_t i = 0;
  if (i < text.size() && (text[i] == U'-' || text[i] == U'+')) ++i;
  size_t digits = 0;
  for (size_t j = i; j < text.size(); ++j) {
    if (text[j] >= U'0' && text[j] <= U'9') {
      ++digits;
    } else if (text[j] != U'.' || text.find(U'.', j + 1) != std::u32string_view::npos) {
      return false;
    }
  }
  if (digits == 0) return false;
  value = LeadingNumber(text);
  return true;
}

// A template position count, kept inside what a string can hold.
size_t ClampedCount(double v, size_t high) {
  if (!(v > 0)) return 0;
  int64_t r = RoundHalfEven(std::min(v, 1e9));
  return std::min(static_cast<size_t>(std::max<int64_t>(r, 0)), high);
}

std::u32string WithoutAccents(std::u32string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (char32_t c : s)
    if (c != kAccent) out.push_back(c);
  return out;
}

// The pieces before a phrase boundary in the template are a phrase of their own: a later
// piece takes back only the accents of its own phrase (ほ'ん/しんりん + ない).
std::u32string WithoutAccentsInLastPhrase(std::u32string_view s) {
  const size_t boundary = s.rfind(kBoundary);
  const size_t kept = boundary == std::u32string_view::npos ? 0 : boundary + 1;
  return std::u32string(s.substr(0, kept)) + WithoutAccents(s.substr(kept));
}

bool HasAccent(std::u32string_view s) {
  return s.find(kAccent) != std::u32string_view::npos;
}

bool IsBlank(std::u32string_view s) {
  return std::all_of(s.begin(), s.end(), [](char32_t c) { return c == U' '; });
}

// How many characters of a replacing rule's pattern index it.
constexpr size_t kInfixHead = 3;

// The first index in the ascending list that is >= from, lowering best when it is smaller.
void Consider(std::span<const uint32_t> list, uint32_t from, uint32_t& best) {
  auto it = std::lower_bound(list.begin(), list.end(), from);
  if (it != list.end() && *it < best) best = *it;
}

// Keeps the ascending list of distinct pattern lengths.
void AddLength(std::vector<size_t>& lengths, size_t len) {
  auto it = std::lower_bound(lengths.begin(), lengths.end(), len);
  if (it == lengths.end() || *it != len) lengths.insert(it, len);
}

uint32_t HashKey(std::u32string_view key) {
  uint64_t h = 0xcbf29ce484222325ULL;
  for (char32_t c : key) h = (h ^ c) * 0x100000001b3ULL;
  h ^= h >> 32;
  h *= 0xd6e8feb86659fd93ULL;
  h ^= h >> 32;
  return static_cast<uint32_t>(h);
}

// The rule file is read through a buffer of this many bytes (more for a longer line) and
// decoded a piece of whole lines at a time: the few pages it takes serve the whole file.
constexpr size_t kReadBuffer = 64 * 1024;

// An open file, closed with the object.
struct OpenFile {
  explicit OpenFile(const std::string& path)
      // Non-blocking, so that opening a named pipe does not wait for a writer.
      : fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)) {}
  ~OpenFile() {
    if (fd >= 0) ::close(fd);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int fd;
};

// Reads the regular file at path in pieces that end just after a line ending (a CR LF whole),
// the last one at the end of the file, calling onPiece(bytes) for each in order; lineBound(n)
// is called first with at least the number of lines. A line ending byte is never part of a
// two-byte character, so decoding piece by piece gives what decoding at once does. A file that
// cannot be read throws DictionaryError::Unreadable with the system's reason.
template <class OnLineBound, class OnPiece>
void ReadInPieces(const std::string& path, std::u32string_view message, OnLineBound&& lineBound,
                  OnPiece&& onPiece) {
  OpenFile file(path);
  struct stat st;
  if (path.empty() || file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    // The whole-file reader names what is wrong as it does for the other dictionaries.
    std::string bytes;
    std::string why;
    if (!ReadWholeFile(path, bytes, &why))
      throw DictionaryError::Unreadable(std::u32string(message), path, why);
    lineBound(static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n') +
                                  std::count(bytes.begin(), bytes.end(), '\r') + 1));
    onPiece(std::string_view(bytes));
    return;
  }
  std::string buffer(kReadBuffer, '\0');
  off_t offset = 0;
  // Up to buffer.size() bytes from offset on; 0 at the end of the file.
  auto readMore = [&](size_t at) {
    for (;;) {
      ssize_t n = ::pread(file.fd, buffer.data() + at, buffer.size() - at, offset);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        char text[256];
        // The GNU strerror_r hands back its own text or the buffer.
        throw DictionaryError::Unreadable(std::u32string(message), path,
                                          ::strerror_r(errno, text, sizeof text));
      }
      offset += n;
      return static_cast<size_t>(n);
    }
  };
  // A first pass counts the line endings, so that the rules are stored without moving.
  size_t lf = 0;
  size_t cr = 0;
  while (size_t n = readMore(0)) {
    lf += static_cast<size_t>(std::count(buffer.begin(), buffer.begin() + n, '\n'));
    cr += static_cast<size_t>(std::count(buffer.begin(), buffer.begin() + n, '\r'));
  }
  lineBound(std::max(lf, cr) + 1);
  offset = 0;
  size_t have = 0;
  for (;;) {
    if (have == buffer.size()) buffer.resize(buffer.size() * 2);  // a line longer than it
    size_t n = readMore(have);
    if (n == 0) {
      if (have > 0) onPiece(std::string_view(buffer.data(), have));
      return;
    }
    have += n;
    // A CR at the very end may have its LF still to come: the piece ends before its line.
    const std::string_view got(buffer.data(), have);
    size_t q = got.find_last_of("\r\n");
    if (q != std::string_view::npos && got[q] == '\r' && q + 1 == have)
      q = q == 0 ? std::string_view::npos : got.find_last_of("\r\n", q - 1);
    if (q == std::string_view::npos) continue;
    onPiece(got.substr(0, q + 1));
    have -= q + 1;
    std::memmove(buffer.data(), buffer.data() + q + 1, have);
  }
}

// Pool blocks hold this many characters unless a rule needs more.
constexpr size_t kPoolBlock = 64 * 1024;

}  // namespace

std::u32string 連結(std::u32string_view left, std::u32string_view middle,
                    std::u32string_view right) {
  // Two pieces meet at a phrase boundary only when the accents that touch the seam do: an
  // accent behind a boundary already in a piece belongs to another phrase (こと' + が/で'きた
  // stays ことが/で'きた, not こと'/が/で'きた).
  auto head = [](std::u32string_view v) { return HasAccent(v.substr(0, v.find(kBoundary))); };
  auto tail = [](std::u32string_view v) {
    size_t b = v.rfind(kBoundary);
    return HasAccent(b == std::u32string_view::npos ? v : v.substr(b + 1));
  };
  std::u32string out;
  out.reserve(left.size() + middle.size() + right.size() + 2);
  out.append(left);
  if (tail(left) && head(middle) && !EndsWith(left, U"/") && !StartsWith(middle, U"/"))
    out.push_back(kBoundary);
  out.append(middle);
  if (tail(middle) && head(right) && !EndsWith(middle, U"/") && !StartsWith(right, U"/"))
    out.push_back(kBoundary);
  out.append(right);
  return out;
}

std::u32string 置換(std::u32string_view s, std::u32string_view pattern,
                    std::u32string_view replacement) {
  std::u32string text(s);
  // An empty pattern would match everywhere and never let the search move on.
  if (pattern.empty() || replacement == pattern) return text;
  size_t from = 0;
  for (;;) {
    size_t p = text.find(pattern, from);
    if (p == std::u32string::npos) return text;
    std::u32string_view view(text);
    std::u32string_view left = view.substr(0, p);
    bool slashBefore = HasAccent(left) && HasAccent(replacement) && !EndsWith(left, U"/") &&
                       !StartsWith(replacement, U"/");
    std::u32string joined = 連結(left, replacement, view.substr(p + pattern.size()));
    text = std::move(joined);
    // Go on after the replacement itself; a "/" put in front of it shifts it by one, and
    // searching inside it could find the pattern again and again.
    from = p + replacement.size() + (slashBefore ? 1 : 0);
  }
}

Intonation::Intonation(const std::string& dictionaryFolder) {
  const std::string path = dictionaryFolder + "acc.ktn";
  // Lines and fields as the other dictionary files have them: a line ends at CR LF, a lone CR
  // or a lone LF, a last line without an ending still counts, every space cuts a field.
  std::vector<std::u32string_view> f;
  int64_t number = 0;
  auto take = [&](std::u32string_view line) {
    ++number;
    SplitFields(line, f);
    if (f.size() < 5) throw DictionaryError(kLoadError, std::u32string(line), path, number);
    // Mode and code are compared as numbers; a rule whose mode (or, in mode 3, code) is not a
    // number belongs to no mode.
    double mode, code = -1;
    if (!ParseNumber(f[4], mode)) return;
    if (mode != 0 && mode != 1 && mode != 2 && mode != 3) return;
    if (mode == 3 && !ParseNumber(f[1], code)) return;
    AddRule(ParseIntLenient(f[0]), f[2], f[3], static_cast<int32_t>(mode), code == 5 || code == 29);
  };
  ReadInPieces(
      path, kLoadError,
      [&](size_t lines) {
        rules_.reserve(lines);
        keys_.reserve(lines);
      },
      [&](std::string_view piece) {
        const std::u32string text = FromCp932(piece);
        const std::u32string_view v(text);
        size_t start = 0;
        for (size_t i = 0; i < v.size(); ++i) {
          if (v[i] != U'\r' && v[i] != U'\n') continue;
          take(v.substr(start, i - start));
          if (v[i] == U'\r' && i + 1 < v.size() && v[i + 1] == U'\n') ++i;
          start = i + 1;
        }
        if (start < v.size()) take(v.substr(start));
      });
  FinishKeys();
}

const char32_t* Intonation::Keep(std::u32string_view pattern, std::u32string_view replacement) {
  const size_t need = pattern.size() + replacement.size();
  if (pool_.empty() || poolSize_ - poolUsed_ < need) {
    poolSize_ = std::max(kPoolBlock, need);
    pool_.push_back(std::make_unique_for_overwrite<char32_t[]>(poolSize_));
    poolUsed_ = 0;
  }
  char32_t* out = pool_.back().get() + poolUsed_;
  std::copy(pattern.begin(), pattern.end(), out);
  std::copy(replacement.begin(), replacement.end(), out + pattern.size());
  poolUsed_ += need;
  return out;
}

void Intonation::AddRule(int32_t kind, std::u32string_view p, std::u32string_view replacement,
                         int32_t mode, bool accentsNext) {
  // An empty mode-0 pattern never matches; such a rule does nothing.
  if (mode == 0 && (p.empty() || replacement == p)) return;
  const char32_t* text = Keep(p, replacement);
  const std::u32string_view kept(text, p.size());
  // The rules of one kind mostly come together.
  if (lastSet_ == nullptr || kind != lastKind_) {
    lastSet_ = &rulesByKind_[kind];
    lastKind_ = kind;
  }
  RuleSet& set = *lastSet_;
  auto index = static_cast<uint32_t>(rules_.size());
  uint32_t key = kNoKey;
  switch (mode) {
    case 0:
      key = AddKey(set.infixByHead, kept.substr(0, kInfixHead));
      AddLength(set.infixHeadLengths, std::min(p.size(), kInfixHead));
      break;
    case 1:
      if (p.empty()) {
        set.emptyPrefix.push_back(index);
      } else {
        key = AddKey(set.prefixByPattern, kept);
        AddLength(set.prefixLengths, p.size());
      }
      break;
    case 2:
      if (p.empty()) {
        set.emptySuffix.push_back(index);
      } else {
        key = AddKey(set.suffixByPattern, kept);
        AddLength(set.suffixLengths, p.size());
      }
      break;
    default:
      key = AddKey(set.whole, kept);
      break;
  }
  rules_.push_back(Rule{text, static_cast<uint32_t>(p.size()),
                        static_cast<uint32_t>(replacement.size()), key, static_cast<uint8_t>(mode),
                        accentsNext});
  ++ruleCount_;
}

size_t Intonation::Slot(const KeyIndex& index, std::u32string_view key, uint32_t hash) const {
  const size_t mask = index.slots.size() - 1;
  size_t i = hash & mask;
  for (; index.slots[i] != 0; i = (i + 1) & mask) {
    if (index.slots[i] >> 32 != hash) continue;
    const Key& k = keys_[(index.slots[i] & 0xFFFFFFFF) - 1];
    if (std::u32string_view(k.text, k.length) == key) break;
  }
  return i;
}

uint32_t Intonation::AddKey(KeyIndex& index, std::u32string_view key) {
  if ((index.keys + 1) * 2 > index.slots.size()) {
    // Grown by placing the slots again by the hashes they hold.
    std::vector<uint64_t> old;
    old.swap(index.slots);
    index.slots.assign(old.empty() ? 64 : old.size() * 2, 0);
    const size_t mask = index.slots.size() - 1;
    for (uint64_t v : old) {
      if (v == 0) continue;
      size_t i = (v >> 32) & mask;
      while (index.slots[i] != 0) i = (i + 1) & mask;
      index.slots[i] = v;
    }
  }
  const uint32_t hash = HashKey(key);
  const size_t slot = Slot(index, key, hash);
  if (index.slots[slot] == 0) {
    keys_.push_back(Key{key.data(), static_cast<uint32_t>(key.size()), 0, 0});
    index.slots[slot] = uint64_t{hash} << 32 | keys_.size();
    ++index.keys;
  }
  const auto n = static_cast<uint32_t>((index.slots[slot] & 0xFFFFFFFF) - 1);
  ++keys_[n].begin;
  return n;
}

void Intonation::FinishKeys() {
  // The counts have sized each key's run; the rules, in file order, fill the runs.
  uint32_t next = 0;
  for (Key& k : keys_) {
    const uint32_t count = k.begin;
    k.begin = next;
    k.end = next;
    next += count;
  }
  ruleNumbers_.resize(next);
  for (uint32_t r = 0; r < rules_.size(); ++r)
    if (rules_[r].key != kNoKey) ruleNumbers_[keys_[rules_[r].key].end++] = r;
}

std::span<const uint32_t> Intonation::Find(const KeyIndex& index, std::u32string_view key) const {
  if (index.keys == 0) return {};
  const uint64_t v = index.slots[Slot(index, key, HashKey(key))];
  if (v == 0) return {};
  const Key& k = keys_[(v & 0xFFFFFFFF) - 1];
  return std::span<const uint32_t>(ruleNumbers_).subspan(k.begin, k.end - k.begin);
}

bool Intonation::品詞判定(int32_t code) {
  return code == 5 || code == 29 || code == 30 || code == 32;
}

std::u32string Intonation::発音判定(std::u32string_view str発音, std::u32string_view str読み,
                                    std::u32string_view str発音設定, int32_t lngIDX,
                                    int32_t lng現品詞) const {
  size_t n = str読み.size();
  std::u32string blanks(n, U' ');
  std::u32string result = std::u32string(str発音) + blanks;
  if (品詞判定(lng現品詞) && !str発音.empty() && previousCode_ != -1)
    result = WithoutAccentsInLastPhrase(str発音) + kAccent + blanks;
  if (str発音設定.empty()) return result;

  std::vector<std::u32string> elements = SplitText(str発音設定, U',');
  if (lngIDX < 0 || static_cast<size_t>(lngIDX) >= elements.size()) return result;
  const std::u32string& element = elements[static_cast<size_t>(lngIDX)];
  // An empty element names no position at all; it is read like "0".
  if (element == U"0" || element.empty()) return result;

  std::vector<std::u32string> items = SplitText(element, U'-');
  double m = LeadingNumber(items.back());
  std::u32string t = blanks;
  if (m > static_cast<double>(n)) t.assign(ClampedCount(m, 4096), U' ');
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    const std::u32string& item = *it;
    if (item.empty()) continue;  // "1--2": the empty item has no mark to place
    char32_t mark = item.size() == 1 ? kAccent : item.back();
    // Positions before the start or past the end put the mark at that end.
    size_t k = ClampedCount(LeadingNumber(item), t.size());
    t.insert(t.begin() + static_cast<std::ptrdiff_t>(k), mark);
  }
  // A compound has one nucleus, and its last part decides it: a later piece with an accent of
  // its own takes back the accent of the pieces before (暴力 + 事件 ぼうりょくじ'けん).
  if (HasAccent(t)) return WithoutAccentsInLastPhrase(str発音) + t;
  return std::u32string(str発音) + t;
}

void Intonation::アクセント(int32_t i) {
  change_ = false;
  special_ = false;
  if (!enabled_ || words_ == nullptr) return;
  std::u32string before = words_->単語(i);
  型当て(i, false);
  規則適用(i);
  型当て(i, true);
  if (words_->種類(i) == 8) words_->単語(i, OffSpecialMorae(words_->単語(i)));
  change_ = words_->単語(i) != before;
}

void Intonation::型当て(int32_t i, bool own) {
  Separate& w = *words_;
  std::u32string tmpl;
  size_t start;  // 0-based position in the template where the walk begins
  if (own) {
    carry_ = 0;
    if (w.種類(i) != 8) return;
    tmpl = w.発音(i);
    start = 0;
  } else {
    if (carry_ == 0) return;
    if (w.種類(i) != 4 || w.種類(i - 1) != 8) {
      carry_ = 0;
      return;
    }
    tmpl = w.発音(i - 1);
    start = tmpl.size() >= static_cast<size_t>(carry_) ? tmpl.size() - carry_ : 0;
  }
  if (IsBlank(tmpl)) return;

  std::u32string word = w.単語(i);
  std::u32string out;
  size_t used = 0;
  size_t stop = tmpl.size();  // 1-based position where the walk stopped; the end if it ran out
  for (size_t p = start; p < tmpl.size(); ++p) {
    if (tmpl[p] != U' ') {
      out.push_back(tmpl[p]);
      continue;
    }
    ++used;
    if (used <= word.size()) out.push_back(word[used - 1]);
    if (used >= word.size()) {
      stop = p + 1;
      break;
    }
  }
  if (carry_ == 0) carry_ = static_cast<int32_t>(tmpl.size() - stop);
  if (used < word.size()) out.append(word, used, std::u32string::npos);
  w.単語(i, std::move(out));
}

void Intonation::規則適用(int32_t i) {
  Separate& w = *words_;
  std::u32string s = w.単語(i);
  if (s.empty()) return;
  auto found = rulesByKind_.find(w.種類(i));
  if (found == rulesByKind_.end()) return;
  const RuleSet& set = found->second;
  bool nextSpecial = w.種類(i + 1) == 8 && 品詞判定(w.品詞(i + 1));
  bool prefixDone = false;
  bool suffixDone = false;

  // Rules go in file order. Instead of trying every rule, each round asks the indexes for the
  // first rule at or after `from` that could match the text as it now stands: a whole-word
  // rule for exactly this text, a prefix rule for its first character, a suffix rule for its
  // last, a replacing rule for any of its characters.
  uint32_t from = 0;
  for (;;) {
    constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();
    uint32_t best = kNone;
    Consider(Find(set.whole, s), from, best);
    if (!prefixDone) {
      Consider(set.emptyPrefix, from, best);
      for (size_t len : set.prefixLengths) {
        if (len > s.size()) break;
        Consider(Find(set.prefixByPattern, std::u32string_view(s).substr(0, len)), from, best);
      }
    }
    if (!suffixDone) {
      Consider(set.emptySuffix, from, best);
      for (size_t len : set.suffixLengths) {
        if (len > s.size()) break;
        Consider(Find(set.suffixByPattern, std::u32string_view(s).substr(s.size() - len)), from,
                 best);
      }
    }
    // A replacing rule counts only where its pattern occurs in the text as it now stands:
    // the others would change nothing, and skipping them here saves a round each.
    const std::u32string_view sv(s);
    for (size_t pos = 0; pos < sv.size(); ++pos) {
      for (size_t len : set.infixHeadLengths) {
        if (pos + len > sv.size()) break;
        const std::span<const uint32_t> list = Find(set.infixByHead, sv.substr(pos, len));
        for (auto it = std::lower_bound(list.begin(), list.end(), from);
             it != list.end() && *it < best; ++it) {
          if (sv.find(rules_[*it].pattern()) != std::u32string_view::npos) {
            best = *it;
            break;
          }
        }
      }
    }
    if (best == kNone) break;

    const Rule& rule = rules_[best];
    from = best + 1;
    const std::u32string_view pat = rule.pattern();
    size_t len = pat.size();
    if (rule.mode == 0) {
      s = 置換(s, pat, rule.replacement());
    } else if (rule.mode == 1) {
      if (!prefixDone && StartsWith(s, pat)) {
        prefixDone = true;
        s = 連結(rule.replacement(), std::u32string_view(s).substr(len), U"");
      }
    } else if (rule.mode == 2) {
      if (!suffixDone && EndsWith(s, pat)) {
        suffixDone = true;
        s = 連結(std::u32string_view(s).substr(0, s.size() - len), rule.replacement(), U"");
      }
    } else if (s == pat) {
      if (rule.accentsNext && nextSpecial) {
        s = ToHiragana(s) + kAccent;
        w.発音(i + 1, WithoutAccents(w.発音(i + 1)));
        special_ = true;
      } else {
        s = std::u32string(rule.replacement());
      }
      break;
    }
  }
  w.単語(i, std::move(s));
}

}  // namespace kotonel
